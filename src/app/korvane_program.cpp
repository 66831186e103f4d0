#include "app/korvane_program.h"

namespace korvane::app {

KorvaneProgram::KorvaneProgram(ProgramBackends b)
    : state_(b.registry, b.boxes, b.sync.clock),
      windows_(b.hosts),
      main_(b.sync, b.shell, {state_, *this, b.files, b.os}) {
  windows_.adopt(main_);
  windows_.adopt(main_.frmAbout);
  // The one-second tick is a top-level event: no handler of an unloaded window runs then.
  main_.SyncNow.Tick.connect([this] { windows_.collect(); });
}

bool KorvaneProgram::start() {
  main_.load();
  return !main_.secondInstance && main_.loaded();
}

}  // namespace korvane::app
