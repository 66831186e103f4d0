#include "shell/krv_file.h"

namespace korvane::shell {

namespace {

void call(const std::function<void()>& f) {
  if (f) f();
}

}  // namespace

void ReadKRVFile(program::Registry& registry, const platform::Files& files,
                 program::Settings& settings, KrvFileWindow w, const KrvFileCalls& calls,
                 bool& syncAfterNewList) {
  program::loadSettings(registry, settings, w.settingsControls);
  call(calls.settingsLoaded);

  const std::string path = platform::joinPath(files.programFolder(), sync::kServerListFile);
  // One byte over the limit tells a cut list from one that ends there.
  const std::optional<std::string> bytes =
      files.exists(path) ? files.readAll(path, sync::kMaxListBytes + 1) : std::nullopt;
  if (!bytes) {
    w.SyncTimeNow.setEnabled(false);
    call(calls.NXOUpdate);
    return;
  }

  // Servers and the tables must stay index for index, so the list starts empty.
  w.servers.Servers.clear();
  sync::fillServers(sync::parseServerList(*bytes), settings.LastServer, w.servers);
  call(calls.CalcIntC);
  sync::CalcRandR(w.servers.Servers, settings.regionCode, w.servers.tables);

  if (w.servers.vbRemoteHost.text().empty() && w.servers.Servers.count() > 0) {
    w.servers.Servers.select(1);
    w.servers.vbRemoteHost.setText(w.servers.tables.ServerHost[1]);
  }
  if (syncAfterNewList) {
    syncAfterNewList = false;
    call(calls.SyncTimeNow_Click);
  }
}

}  // namespace korvane::shell
