#include "shell/nxo_krv.h"

#include "shell/krv_file.h"
#include "sync/server_list.h"

namespace korvane::shell {

NXO_KRV::NXO_KRV(sync::SyncServices services)
    : sync({SyncTimeNow, Servers, vbRemoteHost, RandomCheck, {&LED0, &LED1, &LED2}}, services,
           *this, tables) {
  SyncTimeNow.setCaption("Synchronize");
  SyncTimeNow.Click.connect([this] { SyncTimeNow_Click(); });
  RandomCheck.setCaption("Randomize Atomic Time Servers");
  for (ui::ImageBox* led : {&LED0, &LED1, &LED2}) led->setPicture(sync::kLampDark);
  SyncN.setText("59");
  SyncIntC.setText("Minute/s");
  Servers.Click.connect([this] { Servers_Click(); });
}

void NXO_KRV::ReadKRVFile(Registry& registry, const platform::Files& files,
                          std::function<void()> CalcIntC, std::function<void()> NXOUpdate) {
  const KrvFileWindow window{{RandomCheck, SyncN, SyncIntC, [this] { minimised = true; }},
                             SyncTimeNow,
                             {Servers, vbRemoteHost, tables, sync.CurServer}};
  const KrvFileCalls calls{[this] {
                             sync.regionCode = settings.regionCode;
                             sync.protocolChoice = settings.protocol;
                           },
                           std::move(CalcIntC), std::move(NXOUpdate),
                           [this] { SyncTimeNow_Click(); }};
  shell::ReadKRVFile(registry, files, settings, window, calls, syncAfterNewList);
}

void NXO_KRV::Servers_Click() {
  sync::Servers_Click({Servers, vbRemoteHost, tables, sync.CurServer});
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
