// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window helpers: translucency through the layered style, and keeping a window on screen.
#include <vector>

#include "platform/ui/form.h"
#include "platform/windows.h"

namespace korvane::display {

// Sets or clears the layered style and applies the opacity (0..255; larger values count as 255).
void SetTranslucency(ui::Form& window, platform::Windows& windows, bool on, int opacity);

// The screen holding most of the window; the primary (first) when it is on none of them, so a
// window left on a monitor that is gone comes back.
ui::TwipsRect ScreenOf(const ui::TwipsRect& window, const std::vector<ui::TwipsRect>& screens);

// Moves a window that sticks out of its screen back inside it; a minimised one stays put.
void KeepOnScreen(ui::Form& window, const platform::Windows& windows);

}  // namespace korvane::display
