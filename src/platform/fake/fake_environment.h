// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>

#include "platform/environment.h"

namespace korvane::platform {

// A command line, a program folder and a single-instance answer chosen by the test.
class FakeEnvironment : public Environment {
 public:
  std::string commandLine() const override { return line; }
  std::string programFolder() const override { return folder; }
  bool claimSingleInstance() override { return !otherInstance; }
  std::string userDataFolder() const override { return dataFolder; }
  std::string updateHost() const override { return host; }

  std::string line;
  std::string folder = "/opt/korvane";
  bool otherInstance = false;
  std::string dataFolder;
  std::string host;  // the update host; empty: none configured
};

}  // namespace korvane::platform
