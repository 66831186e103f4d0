// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The other windows as the clocks and their dialog see them: every request is recorded.
#include <string>
#include <string_view>
#include <vector>

#include "program/program.h"

namespace korvane::display::testing {

class RecordingProgram : public program::Program {
 public:
  RecordingProgram() : calls(own_) {}
  // Records into log, e.g. one shared with the registry's writes to see their order.
  explicit RecordingProgram(std::vector<std::string>& log) : calls(log) {}
  void synchronise() override { calls.push_back("synchronise"); }
  bool hasWindow(std::string_view) const override { return true; }
  ui::Form* loadWindow(std::string_view name) override { return record("load", name); }
  ui::Form* showWindow(std::string_view name) override { return record("show", name); }
  ui::Form* loadedWindow(std::string_view) const override { return nullptr; }
  void unloadWindow(std::string_view name) override { record("unload", name); }
  void unloadOtherWindows() override {}
  void rereadServerList() override {}
  void useServerChoice() override {}

 private:
  ui::Form* record(const char* verb, std::string_view name) {
    calls.push_back(std::string(verb) + " " + std::string(name));
    return nullptr;
  }
  std::vector<std::string> own_;

 public:
  std::vector<std::string>& calls;
};

}  // namespace korvane::display::testing
