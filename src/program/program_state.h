// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program-wide state: the settings every window reads and changes, the registry they are
// kept in, and the writers each window calls when it saves what it owns.
#include <string_view>

#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "program/registry.h"
#include "program/settings.h"
#include "program/update_requests.h"

namespace korvane::program {

class ProgramState {
 public:
  ProgramState(platform::RegistryStore& store, platform::MessageBoxes& boxes,
               const platform::SystemClock& clock)
      : boxes_(boxes), registry_(store, boxes, clock) {}
  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;

  Settings settings;
  UpdateRequests updates;
  Registry& registry() { return registry_; }
  platform::MessageBoxes& boxes() { return boxes_; }

  // Main window, on unload.
  void saveMainWindow(std::string_view serverBoxText, const MainWindowBoxes& boxes,
                      std::string_view regionCode) {
    writeMainWindowSettings(registry_, serverBoxText, boxes, regionCode);
  }
  // Options dialog, on close after a change.
  void saveOptions(std::string_view programCommand) {
    writeOptionsSettings(registry_, settings, programCommand);
  }
  // Floating clock settings, on apply.
  void saveFloating() { writeFloatingSettings(registry_, settings); }
  // Floating clock, on close after it was moved.
  void saveFloatingPosition() { writeFloatingPosition(registry_, settings); }

 private:
  platform::MessageBoxes& boxes_;
  Registry registry_;
};

}  // namespace korvane::program
