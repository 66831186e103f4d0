// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/nxo_update_window.h"

#include "shell/krv_file.h"
#include "shell/server_list_box.h"
#include "shell/server_list_location.h"

namespace korvane::shell {

MainWindowUpdates::MainWindowUpdates(NXO_KRV& window, const platform::Files& files,
                                     std::string userFolder)
    : w_(window), files_(files), userFolder_(std::move(userFolder)) {
  tick_ = w_.SyncNow.Tick.connect([this] {
    if (endWhenIdle_ && synchronisationDone() && w_.loaded()) {
      endWhenIdle_ = false;
      w_.versionQueryAnswered();
    }
  });
}

void MainWindowUpdates::versionQueryUnanswered() {
  // Ended at a tick, after the window's own has shown the outcome.
  endWhenIdle_ = true;
}

bool MainWindowUpdates::synchronisationDone() const {
  return !w_.synchronising() && w_.lastOutcome.has_value();
}

void MainWindowUpdates::reloadServerList() {
  // One byte over the limit tells a cut list from one that ends there.
  const std::optional<std::string> bytes =
      files_.readAll(serverListToRead(files_, userFolder_), sync::kMaxListBytes + 1);
  if (!bytes) return;
  ReadServerList(*bytes, w_.settings, {w_.Servers, w_.vbRemoteHost, w_.tables, w_.CurServer},
                 [this] { w_.CalcIntC(); });
}

}  // namespace korvane::shell
