// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/nxo_krv.h"

#include "shell/krv_file.h"
#include "shell/product.h"
#include "shell/server_list_box.h"
#include "sync/protocol.h"

namespace korvane::shell {

NXO_KRV::NXO_KRV(sync::SyncServices services, sync::Synchroniser& synchroniser, ShellServices shell,
                 ProgramServices program)
    : ui::Form("NXO_KRV"),
      buttonDesign(shell.windows.twipsPerPixelX()),
      About("About", buttonDesign.services(shell.buttons)),
      Advanced("Advanced", buttonDesign.services(shell.buttons)),
      Mini("Mini", buttonDesign.services(shell.buttons)),
      SyncTimeNow("SyncTimeNow", buttonDesign.services(shell.buttons)),
      frmAbout(shell.buttons, shell.windows.twipsPerPixelX()),
      lamps({&LED0, &LED1, &LED2}, [this] { return windowState() == ui::WindowState::Normal; }),
      settings(program.state.settings),
      services_(services),
      synchroniser_(synchroniser),
      shell_(shell),
      program_(program) {
  layout();
  wireEvents();
  wireSynchroniser();
}

NXO_KRV::~NXO_KRV() {
  synchroniser_.onExchangeStarted = nullptr;
  synchroniser_.onRequestSent = nullptr;
  synchroniser_.onReplyData = nullptr;
  synchroniser_.onOutcome = nullptr;
}

void NXO_KRV::wireEvents() {
  Load.connect([this] { Form_Load(); });
  Resize.connect([this] { Form_Resize(); });
  MouseMove.connect(
      [this](int button, int shift, double x, double y) { Form_MouseMove(button, shift, x, y); });
  QueryUnload.connect([this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); });
  Unload.connect([this](int& cancel) { Form_Unload(cancel); });
  SyncTimeNow.Click.connect([this] { userSync(); });
  Mini.Click.connect([this] { Mini_Click(); });
  About.Click.connect([this] { About_Click(); });
  Advanced.Click.connect([this] { Advanced_Click(); });
  SyncN.Change.connect([this] { SyncN_Change(); });
  SyncN.KeyPress.connect([this](int& key) { SyncN_KeyPress(key); });
  SyncIntC.Click.connect([this] { SyncIntC_Click(); });
  SyncNow.Tick.connect([this] { SyncNow_Timer(); });
  Servers.Click.connect([this] { Servers_Click(); });
  mnuShow.Click.connect([this] { mnuShow_Click(); });
  mnuSync.Click.connect([this] { mnuSync_Click(); });
  mnuhelp.Click.connect([this] { mnuHelp_Click(); });
  mnuOHelp.Click.connect([this] { mnuOHelp_Click(); });
  mnuExit.Click.connect([this] { mnuExit_Click(); });
  shell_.shell.onTrayMessage = [this](int message) {
    Form_MouseMove(0, 0, static_cast<double>(message) * shell_.windows.twipsPerPixelX(), 0);
  };
  frmAbout.openHelp = [this] { mnuHelp_Click(); };
  Advanced.setEnabled(false);  // until the load finds the program has the dialog
}

void NXO_KRV::showBoxes(const program::MainWindowBoxes& boxes) {
  RandomCheck.setValue(boxes.random ? 1 : 0);
  if (boxes.count) SyncN.setText(*boxes.count);
  SyncIntC.setText(boxes.unit);
}

void NXO_KRV::ReadKRVFile() {
  ReadKRVFile(
      program_.state.registry(), program_.files, [this] { CalcIntC(); },
      [this] { ServerListMissing(); });
}

void NXO_KRV::ReadKRVFile(program::Registry& registry, const platform::Files& files,
                          std::function<void()> CalcIntC, std::function<void()> NXOUpdate) {
  const KrvFileWindow window{{[this] { setWindowState(ui::WindowState::Minimized); },
                              [this](const program::MainWindowBoxes& b) { showBoxes(b); }},
                             SyncTimeNow,
                             {Servers, vbRemoteHost, tables, CurServer}};
  const KrvFileCalls calls{[this] {
                             regionCode = settings.regionCode;
                             protocolChoice = settings.protocol;
                             synchroniser_.maxSilentChangeSeconds = settings.maxSilentChangeSeconds;
                           },
                           std::move(CalcIntC), std::move(NXOUpdate),
                           [this] { SyncTimeNow_Click(); }};
  shell::ReadKRVFile(registry, files, settings, window, calls, syncAfterNewList,
                     shell_.environment.userDataFolder());
}

void NXO_KRV::Servers_Click() {
  shell::Servers_Click({Servers, vbRemoteHost, tables, CurServer});
}

void NXO_KRV::versionQueryAnswered() {
  if (!runOnce) return;
  // The clock is set when the exchange ends: the tick ends the run-once after that.
  if (synchroniser_.busy()) {
    versionAnswered = true;
    return;
  }
  unload(ui::kCloseFromCode);
}

void NXO_KRV::sessionCheckpoint() {
  if (loaded()) saveSettings();
}

void NXO_KRV::saveSettings() {
  program_.state.saveMainWindow(vbRemoteHost.text(),
                                {RandomCheck.ticked(), SyncN.text(), SyncIntC.text()}, regionCode);
}

}  // namespace korvane::shell
