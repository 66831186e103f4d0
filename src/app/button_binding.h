// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own button on a hosted form: its binding, registered with the Qt host.
#include "platform/qt/control_bindings.h"

namespace korvane::app {

void addButtonBinding(platform::ControlBindings& bindings);

}  // namespace korvane::app
