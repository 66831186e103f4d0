// SPDX-License-Identifier: GPL-3.0-or-later
// The floating clock's design: a window without a title bar, its icon, the
// skinned picture, the font style's label, the off-screen skin and the pop-up menu.
#include "display/krv_detachf.h"

namespace korvane::display {

namespace {
constexpr int kOffScreen = -30000;
constexpr int kIconPixels = 16;
}  // namespace

void KRV_DetachF::layout() {
  const int tpp = services_.windows.twipsPerPixelX();
  setBorderStyle(ui::BorderStyle::FixedSingle);  // a thin line and no title bar
  setControlBox(false);
  setCaption("");
  setMinimizeButton(false);
  setShowInTaskbar(false);
  setPlacedByCode(true);
  setIconFiles({"images/korvane-16.png", "images/korvane-32.png"});
  setClientSize(2400, kIconPixels * tpp + 30);

  KRVIcon.setGeometry({0, 15, kIconPixels * tpp, kIconPixels * tpp});
  KRVIcon.setFile("images/korvane-16.png");
  KRVIcon.setStretch(true);
  KRVIcon.setToolTipText(" Double click to close...");
  const int right = kIconPixels * tpp + 4 * tpp;
  picDraw.setTwipsPerPixel(tpp);
  picDraw.setGeometry({right, 0, 0, 0});
  detachS.setTwipsPerPixel(tpp);
  detachS.setGeometry({kOffScreen, kOffScreen, 0, 0});
  detachS.setAutoSize(true);
  detachS.setVisible(false);
  txtNow.setGeometry({right, 15, 0, 0});
  txtNow.setAutoSize(true);
  KRV_Detach.setEnabled(true);
  KRV_Detach.setOnSecond(true);
  for (ui::Control* c :
       std::initializer_list<ui::Control*>{&KRVIcon, &picDraw, &detachS, &txtNow, &KRV_Detach})
    add(*c);

  for (ui::MenuItem* item : {&mnuAdj, &mnuKRVS, &mnuSep1, &mnuHelp, &mnuSep2, &mnuClose})
    mnuMain.add(*item);
  mnuMain.setVisible(false);  // no menu bar: the pop-up only
}

}  // namespace korvane::display
