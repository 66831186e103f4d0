// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting another program: an argument vector handed to the system as is, never to a shell.
#include <string>
#include <vector>

namespace korvane::platform {

struct LaunchResult {
  bool ok = true;
  std::string error;  // the system's words when the program could not be started
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts argv[0] (a path) with argv[1..] as its arguments and does not wait for it.
  virtual LaunchResult start(const std::vector<std::string>& argv) = 0;
};

}  // namespace korvane::platform
