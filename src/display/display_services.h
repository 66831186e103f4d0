// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the clock windows and their settings dialog are given: the program's state and windows,
// and the desktop services they draw, place and ask with.
#include "controls/nxo_buttons.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/images.h"
#include "platform/locale.h"
#include "platform/message_box.h"
#include "platform/pickers.h"
#include "platform/shell.h"
#include "platform/text_renderer.h"
#include "platform/windows.h"
#include "program/program.h"
#include "program/program_state.h"

namespace korvane::display {

struct DisplayServices {
  program::ProgramState& state;
  program::Program& program;
  const platform::SystemClock& clock;
  const platform::Locale& locale;
  platform::EventLoop& events;
  platform::Windows& windows;
  const platform::Images& images;
  const platform::Files& files;
  platform::MessageBoxes& boxes;
  platform::Shell& shell;
  platform::Pickers& pickers;
  // What the dialogs' own buttons draw and open with.
  controls::ButtonServices buttons = {};
};

}  // namespace korvane::display
