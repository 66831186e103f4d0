// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's mouse on a widget raised as the events of the control or form it shows.
#include <functional>

#include "platform/ui/event.h"

class QWidget;

namespace korvane::platform {

using MouseEvent = ui::Event<int, int, double, double>;  // button, shift, x, y

// Events left null are not raised. scale() converts the widget's pixels to the model's units
// (twips per pixel, or the device pixel ratio for a picture box's pixels).
struct MouseEvents {
  MouseEvent* down = nullptr;
  MouseEvent* up = nullptr;
  MouseEvent* move = nullptr;
  ui::Event<>* doubleClick = nullptr;
  std::function<double()> scale;
};

// Also turns on mouse tracking, so moves are reported without a button held. A mouse event that
// Qt passes on from a child control's widget is that child's, not the widget's.
void forwardMouse(QWidget* widget, MouseEvents events);

}  // namespace korvane::platform
