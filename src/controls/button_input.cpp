// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse, keys, focus and hover tracking of the button.
#include "controls/nxo_buttons.h"

namespace korvane::controls {

namespace {
constexpr int kLeft = 1;
constexpr int kRight = 2;
}  // namespace

bool NXOButtons::inside(float x, float y) const {
  return x >= 0 && y >= 0 && x < static_cast<float>(width_) && y < static_cast<float>(height_);
}

void NXOButtons::mouseDown(int button, int shift, float x, float y) {
  if (!enabled()) return;
  last_ = {static_cast<int16_t>(button), static_cast<int16_t>(shift), x, y};
  if (button != kRight) {
    flags_.pressed = true;
    Refresh();
  }
  MouseDown(button, shift, x, y);
}

// The second click of a double click presses the button again.
void NXOButtons::mouseDoubleClick() {
  if (!enabled()) return;
  CaptureMouse();
  mouseDown(last_.button, last_.shift, last_.x, last_.y);
}

void NXOButtons::mouseMove(int button, int shift, float x, float y) {
  if (!enabled()) return;
  if (inside(x, y) && !flags_.hover) {
    overTimer_.setEnabled(true);
    flags_.hover = true;
    if (p_.pictureHover) current_ = p_.pictureHover;
    MouseIn(shift);
    Refresh();
    if (services_.events) services_.events->doEvents();
  }
  MouseMove(button, shift, x, y);
}

void NXOButtons::mouseUp(int button, int shift, float x, float y) {
  if (!enabled()) return;
  flags_.pressed = false;
  if (button != kRight) {
    Refresh();
    if (inside(x, y)) {
      Click();
      GoToURL();
    }
  }
  MouseUp(button, shift, x, y);
}

void NXOButtons::keyDown(int keyCode, int shift) {
  if (!enabled()) return;
  if (!flags_.keyLatch && keyCode == kSpace) {
    flags_.pressed = true;
    flags_.hover = true;
    Refresh();
  }
  flags_.keyLatch = true;  // so an auto-repeating Space presses only once
  KeyDown(keyCode, shift);
}

void NXOButtons::keyPress(int keyAscii) {
  if (!enabled()) return;
  KeyPress(keyAscii);
}

void NXOButtons::keyUp(int keyCode, int shift) {
  if (!enabled()) return;
  if (keyCode == kSpace) {
    flags_.pressed = false;
    flags_.hover = false;
    Refresh();
    mouseUp(kLeft, shift, 0, 0);
  }
  flags_.keyLatch = false;
  KeyUp(keyCode, shift);
}

void NXOButtons::gotFocus() {
  if (!enabled()) return;
  flags_.focus = true;
  Refresh();
}

void NXOButtons::lostFocus() {
  flags_.focus = false;
  flags_.pressed = false;
  // A hover set by the Space key (not by the pointer, whose timer runs) ends here too,
  // or the hot look would stay until the pointer next passes over.
  if (!overTimer_.enabled()) flags_.hover = false;
  flags_.keyLatch = false;
  Refresh();
}

void NXOButtons::accessKeyPressed() {
  if (!enabled()) return;
  Click();
  GoToURL();
}

// Hover ends: shown released even while held, so that returning shows it pressed again.
void NXOButtons::endHover() {
  overTimer_.setEnabled(false);
  flags_.hover = false;
  current_ = normal_;
  MouseOut(last_.shift);
  Refresh();
  if (flags_.pressed) {
    flags_.pressed = false;
    Refresh();
    flags_.pressed = true;
  }
}

void NXOButtons::pointerLeft() {
  if (flags_.hover) endHover();
}

void NXOButtons::OverTimer_Timer() {
  // Without a probe the host reports leaving through pointerLeft().
  if (!services_.pointer || services_.pointer->pointerOver(*this)) return;
  endHover();
}

}  // namespace korvane::controls
