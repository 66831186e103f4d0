#include "shell/nxo_update_window.h"

#include "shell/krv_file.h"
#include "shell/server_list_box.h"
#include "shell/server_list_location.h"

namespace korvane::shell {

void MainWindowUpdates::reloadServerList() {
  // One byte over the limit tells a cut list from one that ends there.
  const std::optional<std::string> bytes =
      files_.readAll(serverListToRead(files_, userFolder_), sync::kMaxListBytes + 1);
  if (!bytes) return;
  ReadServerList(*bytes, w_.settings, {w_.Servers, w_.vbRemoteHost, w_.tables, w_.CurServer},
                 [this] { w_.CalcIntC(); });
}

}  // namespace korvane::shell
