// SPDX-License-Identifier: GPL-3.0-or-later
// The buttons and the tray menu.
#include "shell/nxo_krv.h"
#include "shell/product.h"

namespace korvane::shell {

void NXO_KRV::Mini_Click() {
  setWindowState(ui::WindowState::Minimized);
}

void NXO_KRV::About_Click() {
  frmAbout.load();
  frmAbout.show();
  frmAbout.bringToForeground();
}

void NXO_KRV::Advanced_Click() {
  // An open dialog behind other windows comes to the front.
  if (ui::Form* options = program_.program.showWindow(program::window::kOptions))
    options->bringToForeground();
}

void NXO_KRV::mnuShow_Click() {
  setWindowState(ui::WindowState::Normal);
  hiddenByCode = false;
  show();
  bringToForeground();  // a hidden window cannot take the foreground
}

void NXO_KRV::mnuHelp_Click() {
  shell_.shell.open(shell_.environment.programFolder() + "/help/KRV_Help.htm");
}

void NXO_KRV::mnuOHelp_Click() {
  // The online page lies on the update server; without one the local page is the help.
  const std::string online = onlineHelpAddress(shell_.environment.updateHost());
  if (online.empty())
    mnuHelp_Click();
  else
    shell_.shell.open(online);
}

void NXO_KRV::mnuExit_Click() {
  exitMenu = true;
  unload(ui::kCloseFromCode);
}

}  // namespace korvane::shell
