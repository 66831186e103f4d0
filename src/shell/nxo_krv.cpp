#include "shell/nxo_krv.h"

namespace korvane::shell {

NXO_KRV::NXO_KRV(sync::SyncServices services)
    : sync({SyncTimeNow, Servers, vbRemoteHost, RandomCheck, {&LED0, &LED1, &LED2}}, services,
           *this, tables) {
  SyncTimeNow.setCaption("Synchronize");
  SyncTimeNow.Click.connect([this] { SyncTimeNow_Click(); });
  RandomCheck.setCaption("Randomize Atomic Time Servers");
  for (ui::ImageBox* led : {&LED0, &LED1, &LED2}) led->setPicture(sync::kLampDark);
}

void NXO_KRV::UpdateSZTIP() {
  if (!minimised) return;
  if (tip == lastTipSent) return;
  if (tip.contains("KRV - No Adjustment")) {
    trayPicture = kOwnIcon;
  } else if (tip.contains("Adjusted")) {
    trayPicture = kAdjustedPicture;
  } else if (tip.contains("Checking") && Servers.validIndex(Servers.selectedIndex())) {
    trayPicture = Servers.item(Servers.selectedIndex()).image;
  }
  ++tipSends;
  lastTipSent = tip;
}

}  // namespace korvane::shell
