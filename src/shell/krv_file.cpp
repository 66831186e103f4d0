// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/krv_file.h"

#include "shell/server_list_location.h"

namespace korvane::shell {

namespace {

void call(const std::function<void()>& f) {
  if (f) f();
}

}  // namespace

void ReadKRVFile(program::Registry& registry, const platform::Files& files,
                 program::Settings& settings, KrvFileWindow w, const KrvFileCalls& calls,
                 bool& syncAfterNewList, const std::string& userFolder) {
  program::loadSettings(registry, settings, w.settingsHooks);
  call(calls.settingsLoaded);

  const std::string path = serverListToRead(files, userFolder);
  // One byte over the limit tells a cut list from one that ends there.
  const std::optional<std::string> bytes =
      files.exists(path) ? files.readAll(path, sync::kMaxListBytes + 1) : std::nullopt;
  if (!bytes) {
    w.SyncTimeNow.setEnabled(false);
    call(calls.NXOUpdate);
    return;
  }

  ReadServerList(*bytes, settings, w.servers, calls.CalcIntC);
  if (syncAfterNewList) {
    syncAfterNewList = false;
    call(calls.SyncTimeNow_Click);
  }
}

void ReadServerList(const std::string& bytes, const program::Settings& settings,
                    ServerListTargets servers, const std::function<void()>& CalcIntC) {
  // Servers and the tables must stay index for index, so the list starts empty.
  servers.Servers.clear();
  fillServers(sync::parseServerList(bytes), settings.LastServer, servers);
  call(CalcIntC);
  CalcRandR(servers.Servers, settings.regionCode, servers.tables);

  // No server chosen (a first run, or a last server the list does not hold): server 1 becomes
  // current, so the synchronisation that follows a new list has a server to ask.
  if (servers.vbRemoteHost.text().empty() && servers.Servers.count() > 0) {
    servers.Servers.select(1);
    servers.vbRemoteHost.setText(servers.tables.ServerHost[1]);
    servers.CurServer = 1;
  }
}

}  // namespace korvane::shell
