// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting programs with posix_spawn: no shell, the program in a session of its own, and its
// exit collected so that it never lingers as a zombie.
#include "platform/process.h"

namespace korvane::platform {

class PosixProcessLauncher : public ProcessLauncher {
 public:
  LaunchResult start(const std::vector<std::string>& argv) override;
};

}  // namespace korvane::platform
