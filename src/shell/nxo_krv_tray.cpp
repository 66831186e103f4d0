// SPDX-License-Identifier: GPL-3.0-or-later
// Minimise to the tray, restore from it, and the tray icon's tip and picture.
#include "common/rounding.h"
#include "display/krv_layered.h"
#include "shell/nxo_krv.h"

namespace korvane::shell {

std::string NXO_KRV::trayIconFile(int picture) const {
  if (picture == kFailedPicture) return "images/korvane-failed-32.png";
  if (picture == kOwnIcon || !IML.valid(picture)) return "images/korvane-32.png";
  return IML.file(picture);
}

void NXO_KRV::Form_Resize() {
  if (windowState() == ui::WindowState::Minimized) {
    // Without a tray a hidden window could never come back: stay an ordinary minimised one.
    if (!shell_.shell.trayAvailable()) return;
    hiddenByCode = true;
    hide();
    shell_.shell.trayAdd(trayRecord);
    return;
  }
  display::KeepOnScreen(*this, shell_.windows);
  shell_.shell.trayDelete(trayRecord);
}

void NXO_KRV::UpdateSZTIP(TrayPicture picture) {
  if (windowState() != ui::WindowState::Minimized) return;
  if (trayRecord.tip == lastTipSent) return;
  switch (picture) {
    case TrayPicture::Failed:
      trayPicture = kFailedPicture;
      break;
    case TrayPicture::Adjusted:
      trayPicture = kAdjustedPicture;
      break;
    case TrayPicture::Checking:
      if (Servers.validIndex(Servers.selectedIndex()))
        trayPicture = Servers.item(Servers.selectedIndex()).image;
      break;
    case TrayPicture::Unchanged:
      break;
  }
  trayRecord.iconFile = trayIconFile(trayPicture);
  shell_.shell.trayModify(trayRecord);
  lastTipSent = trayRecord.tip;
}

void NXO_KRV::Form_MouseMove(int /*button*/, int /*shift*/, double x, double /*y*/) {
  const int tpp = shell_.windows.twipsPerPixelX();
  const auto message = toInt32HalfEven(tpp > 0 ? x / tpp : x);
  if (!message) return;
  switch (*message) {
    case platform::kTrayLeftButtonUp:
    case platform::kTrayLeftDoubleClick:
      mnuShow_Click();
      break;
    case platform::kTrayRightButtonUp:
      bringToForeground();
      popupMenu(mnuMain, &mnuShow);
      break;
    default:
      break;
  }
}

}  // namespace korvane::shell
