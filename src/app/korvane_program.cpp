// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/korvane_program.h"

#include <memory>

#include "display/krv_clock.h"
#include "display/krv_dconfig.h"
#include "display/krv_detachf.h"
#include "options/krv_config.h"
#include "shell/product.h"
#include "shell/server_list_box.h"

namespace korvane::app {

KorvaneProgram::KorvaneProgram(ProgramBackends b)
    : state_(b.registry, b.boxes, b.sync.clock),
      windows_(b.hosts),
      synchroniser_(b.sync, b.monotonic),
      main_(b.sync, synchroniser_, b.shell, {state_, *this, b.files, b.os}),
      updateWindow_(main_, b.files, b.shell.environment.userDataFolder()),
      updates_(updateWindow_, shell::UpdateServices{b.sync.sockets, b.files, b.boxes, b.launcher},
               shell::UpdateSettings{b.shell.environment.updateHost(),
                                     b.shell.environment.userDataFolder()}),
      display_{state_,   *this,   b.sync.clock, b.sync.locale, b.sync.events, b.shell.windows,
               b.images, b.files, b.boxes,      b.shell.shell, b.pickers,     b.shell.buttons} {
  synchroniser_.setNts(b.nts);
  windows_.adopt(main_);
  windows_.adopt(main_.frmAbout);
  // The Run value starts this very program; "korvane" from the path where it cannot be told.
  const std::string programFile = b.shell.environment.programFile();
  addWindows(programFile.empty() ? "korvane" : programFile);
  // The one-second tick is a top-level event: no handler of an unloaded window runs then.
  tickCollect_ = main_.SyncNow.Tick.connect([this] { windows_.collect(); });
  wireUpdates();
}

void KorvaneProgram::addWindows(const std::string& runCommand) {
  // Unloaded at shut-down in the order added.
  windows_.add(std::string(program::window::kTaskbarClock),
               [this] { return std::make_unique<display::KRV_Clock>(display_); });
  windows_.add(std::string(program::window::kFloatingSettings), [this] {
    return std::make_unique<display::KRV_DConfig>(
        display_, display::DialogTitle{shell::kProductTitle, "Korvane " + main_.versionString,
                                       main_.iconFiles()});
  });
  windows_.add(std::string(program::window::kFloatingClock),
               [this] { return std::make_unique<display::KRV_DetachF>(display_); });
  windows_.add(std::string(program::window::kOptions), [this, runCommand] {
    return std::make_unique<options::KRV_Config>(options::OptionsServices{display_, runCommand});
  });
}

void KorvaneProgram::wireUpdates() {
  tickUpdates_ = main_.SyncNow.Tick.connect([this] { updates_.tick(); });
  dataArrived_ = main_.TimeDataArrived.connect([this] { updates_.timeDataArrived(); });
  listMissing_ = main_.ServerListMissing.connect([this] { updates_.NXOUpdate(); });
  // The options dialog's update button.
  checkRequested_ = state_.updates.CheckForUpdates.connect([this] { updates_.checkForUpdates(); });
  checkButton_ = state_.updates.CheckUpdateButton.connect(
      [this](ui::Control* button) { updates_.attachCheckUpdate(button); });
}

void KorvaneProgram::closeConnections() {
  synchroniser_.stop();
  updates_.nxo().Close();
  updates_.NXO_PLI().Close();
}

void KorvaneProgram::useServerChoice() {
  main_.regionCode = state_.settings.regionCode;
  main_.protocolChoice = state_.settings.protocol;
  shell::CalcRandR(main_.Servers, main_.regionCode, main_.tables);
}

bool KorvaneProgram::start() {
  main_.load();
  return !main_.secondInstance && main_.loaded();
}

}  // namespace korvane::app
