// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running a program as a child process and collecting what it printed.
#include <string>
#include <vector>

namespace korvane::e2e {

struct ChildResult {
  int exitCode = -1;  // -1 when it did not exit normally
  bool timedOut = false;
  std::string out;
  std::string err;
};

// Runs argv[0] (a path) with the extra NAME=value environment entries; a child still running
// after timeoutMs is killed by its PID.
ChildResult runChild(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                     int timeoutMs);

}  // namespace korvane::e2e
