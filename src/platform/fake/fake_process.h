// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A launcher that records every argument vector and answers as the test set it.
#include <vector>

#include "platform/process.h"

namespace korvane::platform {

class FakeProcessLauncher : public ProcessLauncher {
 public:
  LaunchResult start(const std::vector<std::string>& argv) override {
    started.push_back(argv);
    return result;
  }
  std::vector<std::vector<std::string>> started;
  LaunchResult result;
};

}  // namespace korvane::platform
