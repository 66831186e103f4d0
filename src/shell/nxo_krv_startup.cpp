// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: single instance, the records and lists, the settings, the zone, the command line.
#include "common/text.h"
#include "common/tip_field.h"
#include "program/vocabulary.h"
#include "shell/nxo_krv.h"
#include "shell/nxo_pwin.h"
#include "shell/product.h"

namespace korvane::shell {

void NXO_KRV::Form_Load() {
  if (!shell_.environment.claimSingleInstance()) {
    // End without the shut-down: saving this instance's design values would overwrite the
    // settings of the one that runs.
    secondInstance = true;
    hiddenByCode = true;
    return;
  }
  versionString =
      shell::versionString(shell_.versionMajor, shell_.versionMinor, shell_.versionRevision);
  const WindowsIdentity id = IdentifyWindows(program_.os, shell_.windows.compositing());
  windowsCode = id.code;
  settings.layeredCapable = id.layeredCapable;
  setCaption(kProductTitle);
  NOLLabel.setCaption("Korvane " + versionString);
  frmAbout.setVersion(versionString);

  trayRecord = {};
  trayRecord.iconFile = trayIconFile(kOwnIcon);
  trayRecord.tip.assign(withNul(" " + kProductTitle));

  for (std::string_view unit : program::kIntervalUnits) SyncIntC.addItem(std::string(unit));
  for (ui::ImageBox* led : {&LED0, &LED1, &LED2}) led->setPicture(kLampDark);
  SyncLimit = 59;
  SyncTimeNow.setCaption("Synchronize");
  Advanced.setEnabled(program_.program.hasWindow(program::window::kOptions));
  Advanced.setToolTipText(Advanced.enabled() ? "" : " The options dialog is not available ");

  SyncNow.setEnabled(true);
  ReadKRVFile();

  zone = sync::CheckTimeZone(services_.clock);
  lastZoneName = zone.ZoneName;
  Current.setText(currentText());
  Current.setToolTipText(currentTip());

  const std::string line = shell_.environment.commandLine();
  if (line.empty()) {
    SyncTimeNow_Click();
  } else {
    GetCommandLine();
    const std::string& first = commandLineWords.front();
    if (first == "-ro") {
      RunOnce();
    } else if (first == "-rs") {
      hiddenByCode = true;
      hide();
    }
  }
  if (!hiddenByCode) show();
}

void NXO_KRV::GetCommandLine() {
  commandLineWords = text::split(shell_.environment.commandLine(), " ");
  if (commandLineWords.empty()) commandLineWords.emplace_back();
}

void NXO_KRV::RunOnce() {
  hiddenByCode = true;
  hide();
  runOnce = true;
  SyncTimeNow_Click();
}

}  // namespace korvane::shell
