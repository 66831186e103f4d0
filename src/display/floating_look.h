// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floating clock's font and colours: how the settings keep them and how the controls show
// them. The clock and its settings dialog read and write them through here.
#include "common/colour.h"
#include "platform/ui/control.h"
#include "program/settings.h"

namespace korvane::display {

struct FloatingLook {
  ui::Font font;
  Colour text = 0;
  Colour back = 0;
};

FloatingLook FloatingLookOf(const program::Settings& s);
// The size is kept in whole points, rounded half to even.
void StoreFloatingLook(const FloatingLook& look, program::Settings& s);

}  // namespace korvane::display
