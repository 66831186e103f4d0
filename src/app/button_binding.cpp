// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/button_binding.h"

#include "app/qt_button_widget.h"
#include "controls/nxo_buttons.h"

namespace korvane::app {

void addButtonBinding(platform::ControlBindings& bindings) {
  bindings.add<controls::NXOButtons>(
      [](controls::NXOButtons& m, QWidget* parent, platform::FormHost&) {
        auto* w = new ButtonWidget(m, parent);
        return platform::ControlBinding{&m, w, [w] { w->refresh(); },
                                        /*reportsMouse=*/true};
      });
}

}  // namespace korvane::app
