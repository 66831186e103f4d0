// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every desktop service the clock windows and their dialogs use, as fakes, with the settings
// state over the fake registry; the program the windows ask for others is the user's own.
#include <cstdint>

#include "display/display_services.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_images.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_pickers.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_windows.h"
#include "program/program_state.h"

namespace korvane::display::testing {

template <class Registry = platform::FakeRegistry, class Boxes = platform::FakeMessageBoxes>
struct DisplayFakes {
  DisplayFakes() = default;
  explicit DisplayFakes(int64_t utcMillis) : clock{utcMillis} {}

  DisplayServices servicesFor(program::Program& program) {
    return {state, program, clock, locale, events, windows, images, files, boxes, shell, pickers};
  }

  platform::FakeClock clock;
  platform::FakeEventLoop events;
  platform::FakeLocale locale;
  platform::FakeWindows windows;
  platform::FakeImages images;
  platform::FakeFiles files;
  Boxes boxes;
  platform::FakeShell shell;
  platform::FakePickers pickers;
  Registry registry;
  program::ProgramState state{registry, boxes, clock};
};

}  // namespace korvane::display::testing
