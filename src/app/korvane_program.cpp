#include "app/korvane_program.h"

#include <memory>

#include "display/krv_clock.h"
#include "display/krv_dconfig.h"
#include "display/krv_detachf.h"
#include "options/krv_config.h"
#include "shell/product.h"
#include "sync/server_list.h"

namespace korvane::app {

KorvaneProgram::KorvaneProgram(ProgramBackends b)
    : state_(b.registry, b.boxes, b.sync.clock),
      windows_(b.hosts),
      main_(b.sync, b.shell, {state_, *this, b.files, b.os}),
      display_{state_,   *this,   b.sync.clock, b.sync.locale, b.sync.events, b.shell.windows,
               b.images, b.files, b.boxes,      b.shell.shell, b.pickers,     b.shell.buttons} {
  windows_.adopt(main_);
  windows_.adopt(main_.frmAbout);
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
  // The Run value starts this very program; "korvane" from the path where it cannot be told.
  const std::string programFile = b.shell.environment.programFile();
  const std::string runCommand = programFile.empty() ? "korvane" : programFile;
  windows_.add(std::string(program::window::kOptions), [this, runCommand] {
    return std::make_unique<options::KRV_Config>(options::OptionsServices{display_, runCommand});
  });
  // The one-second tick is a top-level event: no handler of an unloaded window runs then.
  main_.SyncNow.Tick.connect([this] { windows_.collect(); });
}

void KorvaneProgram::useServerChoice() {
  main_.sync.regionCode = state_.settings.regionCode;
  main_.sync.protocolChoice = state_.settings.protocol;
  sync::CalcRandR(main_.Servers, main_.sync.regionCode, main_.tables);
}

bool KorvaneProgram::start() {
  main_.load();
  return !main_.secondInstance && main_.loaded();
}

}  // namespace korvane::app
