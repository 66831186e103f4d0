#pragma once
// Window helpers: translucency through the layered style, and keeping a window on screen.
#include "platform/ui/form.h"
#include "platform/windows.h"

namespace korvane::display {

// Sets or clears the layered style and applies the opacity (0..255; larger values count as 255).
void SetTranslucency(ui::Form& window, platform::Windows& windows, bool on, int opacity);

// Moves a window that sticks out of its screen back inside it; a minimised one stays put.
void KeepOnScreen(ui::Form& window, const platform::Windows& windows);

}  // namespace korvane::display
