// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the server list file at start-up and after a download, with the settings before it.
#include <functional>

#include "platform/files.h"
#include "platform/ui/control.h"
#include "program/registry.h"
#include "program/settings.h"
#include "shell/server_list_box.h"

namespace korvane::shell {

// The main window's parts that the read fills.
struct KrvFileWindow {
  program::SettingsHooks settingsHooks;
  ui::Control& SyncTimeNow;
  ServerListTargets servers;
};

// What the read calls in the main window.
struct KrvFileCalls {
  std::function<void()> settingsLoaded;  // the settings are in memory
  std::function<void()> CalcIntC;
  std::function<void()> NXOUpdate;  // fetch the missing list file
  std::function<void()> SyncTimeNow_Click;
};

// Loads the settings, then the server list file into the window: the copy in userFolder when
// there is one, else the program folder's. syncAfterNewList is the update service's request for
// a synchronisation after a new list.
void ReadKRVFile(program::Registry& registry, const platform::Files& files,
                 program::Settings& settings, KrvFileWindow window, const KrvFileCalls& calls,
                 bool& syncAfterNewList, const std::string& userFolder = {});

// Empties the server list and fills it from the bytes of a list file (the settings stay).
void ReadServerList(const std::string& bytes, const program::Settings& settings,
                    ServerListTargets servers, const std::function<void()>& CalcIntC);

}  // namespace korvane::shell
