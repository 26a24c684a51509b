"""A pytest plugin: names every skipped test in the line GoogleTest uses for its own skips, so that
./test can list both kinds after the run."""


def pytest_terminal_summary(terminalreporter):
    for report in terminalreporter.stats.get("skipped", []):
        longrepr = report.longrepr
        reason = longrepr[2] if isinstance(longrepr, tuple) else str(longrepr)
        terminalreporter.write_line(f"[  SKIPPED ] {report.nodeid}: {reason}")
