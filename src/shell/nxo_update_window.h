// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window as the update service sees it.
#include <string>

#include "platform/files.h"
#include "shell/nxo_krv.h"
#include "shell/nxo_update.h"

namespace korvane::shell {

class MainWindowUpdates : public UpdateWindow {
 public:
  // files and userFolder: where the list the window reads again is found.
  MainWindowUpdates(NXO_KRV& window, const platform::Files& files, std::string userFolder);

  std::string versionString() const override { return w_.versionString; }
  std::string windowsCode() const override { return w_.windowsCode; }
  void setStatus(const std::string& text) override { w_.SyncStatus = text; }
  void setSyncEnabled(bool on) override { w_.SyncTimeNow.setEnabled(on); }
  std::string caption() const override { return w_.caption(); }
  void setCaption(const std::string& text) override { w_.setCaption(text); }
  void reloadServerList() override;
  void synchronise() override { w_.SyncTimeNow_Click(); }
  void versionQueryAnswered() override { w_.versionQueryAnswered(); }
  // A failed query ends run-once at the first tick at which the synchronisation is done.
  void versionQueryUnanswered() override;
  bool loaded() const override { return w_.loaded(); }

 private:
  NXO_KRV& w_;
  const platform::Files& files_;
  std::string userFolder_;
  // The synchronisation has ended and said how.
  bool synchronisationDone() const;
  bool endWhenIdle_ = false;
  ui::ScopedConnection tick_;
};

}  // namespace korvane::shell
