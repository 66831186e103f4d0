// SPDX-License-Identifier: GPL-3.0-or-later
// Closing: record why, then stop the timer, close the sockets, save, remove the tray icon.
#include "common/text.h"
#include "shell/nxo_krv.h"

namespace korvane::shell {

void NXO_KRV::Form_QueryUnload(int& /*cancel*/, int mode) {
  unloadMode = mode;
}

void NXO_KRV::Form_Unload(int& /*cancel*/) {
  // From here on no event (a tick, a fresh list, a tray click) starts a synchronisation.
  shuttingDown = true;
  SyncNow.setEnabled(false);
  services_.events.doEvents();
  program_.program.closeConnections();
  services_.events.doEvents();
  saveSettings();
  shell_.shell.trayDelete(trayRecord);
  program_.program.unloadOtherWindows();
  if (unloadMode == ui::kCloseFromControlMenu || exitMenu) frmAbout.unload(ui::kCloseFromCode);
  services_.events.doEvents();
}

}  // namespace korvane::shell
