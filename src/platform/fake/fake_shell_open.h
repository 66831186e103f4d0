// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records every link the program asks to open.
#include <string>
#include <vector>

#include "platform/shell_open.h"

namespace korvane::platform {

class RecordingShellOpen : public ShellOpen {
 public:
  struct Call {
    enum class Kind { ShellExecute, Navigate } kind;
    std::string verb;  // shell calls
    std::string file;  // the document, or the navigated URL
    std::string parameters;
    std::string directory;
    int showCommand = 0;
    std::string location;  // navigation
    std::string frame;
  };

  void shellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                    const std::string& directory, int showCommand) override {
    calls.push_back(
        {Call::Kind::ShellExecute, verb, file, parameters, directory, showCommand, {}, {}});
  }
  void navigateTo(const std::string& url, const std::string& location,
                  const std::string& frame) override {
    calls.push_back({Call::Kind::Navigate, {}, url, {}, {}, 0, location, frame});
  }

  std::vector<Call> calls;
};

}  // namespace korvane::platform
