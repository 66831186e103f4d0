// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options dialog's way to the update service, which is built above the windows: main
// connects the service to these events, so no window depends on it.
#include "platform/ui/control.h"
#include "platform/ui/event.h"

namespace korvane::program {

struct UpdateRequests {
  // "Check for Software Updates" was clicked: a manual check starts.
  ui::Event<> CheckForUpdates;
  // The dialog's update button while the dialog exists, nullptr when it goes; the service
  // keeps the button's state between dialogs.
  ui::Event<ui::Control*> CheckUpdateButton;
};

}  // namespace korvane::program
