// Closing: record why, then stop the timer, close the sockets, save, remove the tray icon.
#include "common/text.h"
#include "shell/nxo_krv.h"

namespace korvane::shell {

void NXO_KRV::Form_QueryUnload(int& /*cancel*/, int mode) {
  unloadMode = mode;
}

void NXO_KRV::Form_Unload(int& /*cancel*/) {
  SyncNow.setEnabled(false);
  services_.events.doEvents();
  // The update service's sockets (nxo first, NXO_PLI last) join this order when it exists.
  for (platform::Socket* s : {&sync.TCP519(), &sync.TCP13(), &sync.tcpTime(), &sync.UDP123()})
    s->Close();
  services_.events.doEvents();
  saveSettings();
  shell_.shell.trayDelete(trayRecord);
  program_.program.unloadOtherWindows();
  if (unloadMode == ui::kCloseFromControlMenu || exitMenu) frmAbout.unload(ui::kCloseFromCode);
  services_.events.doEvents();
}

}  // namespace korvane::shell
