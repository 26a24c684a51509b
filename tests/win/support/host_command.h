// The bench runs under Wine on a Linux host; a few tests need the host itself (xdotool for keys the
// X server must agree on, chmod and chattr for files that may not be changed).
#pragma once

#include <string>

// The host path of a Windows path (which need not exist), or "" outside Wine.
std::string HostPath(const std::string& windowsPath);

// Runs a /bin/sh command line on the host, through the bench's host agent, and waits until it
// has finished; true when it exited with 0.
bool RunOnHost(const std::string& shellCommand);
