// SPDX-License-Identifier: GPL-3.0-or-later
// The taskbar overlay's design: a borderless pixel window, its two off-screen pictures, its
// drawing surface and the transparent label over it.
#include "display/krv_clock.h"

namespace korvane::display {

namespace {
// Where the off-screen pictures sit: far outside any window.
constexpr int kOffScreen = -30000;
}  // namespace

void KRV_Clock::layout() {
  setBorderStyle(ui::BorderStyle::None);
  setMinimizeButton(false);
  setShowInTaskbar(false);
  setPlacedByCode(true);
  // Where the desktop lends it no clock window it stands alone, above the panels.
  setTopmost(true);
  const int tpp = services_.windows.twipsPerPixelX();
  for (ui::PictureBox* box : {&picSkin, &picBuffer, &picWindow}) box->setTwipsPerPixel(tpp);
  picSkin.setGeometry({kOffScreen, kOffScreen, 0, 0});
  picSkin.setAutoSize(true);
  picSkin.setVisible(false);
  picBuffer.setGeometry({kOffScreen, kOffScreen, 0, 0});
  picBuffer.setVisible(false);
  picWindow.setGeometry({0, 0, clientWidth(), clientHeight()});
  TT_LBL.setTransparent(true);
  TT_LBL.setGeometry({0, 0, clientWidth(), clientHeight()});
  tmrMainLoop.setEnabled(false);
  tmrMainLoop.setOnSecond(true);
  for (ui::Control* c :
       std::initializer_list<ui::Control*>{&picSkin, &picBuffer, &picWindow, &TT_LBL, &tmrMainLoop})
    add(*c);
}

}  // namespace korvane::display
