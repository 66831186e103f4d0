#pragma once
// The main window as the update service sees it.
#include <functional>
#include <string>

#include "shell/nxo_krv.h"
#include "shell/nxo_update.h"

namespace korvane::shell {

class MainWindowUpdates : public UpdateWindow {
 public:
  // reloadList empties the server list and reads the list file again, without the settings.
  MainWindowUpdates(NXO_KRV& window, std::function<void()> reloadList)
      : w_(window), reloadList_(std::move(reloadList)) {}

  std::string versionString() const override { return w_.versionString; }
  std::string windowsCode() const override { return w_.windowsCode; }
  void setStatus(const std::string& text) override { w_.sync.SyncStatus = text; }
  void setSyncEnabled(bool on) override { w_.SyncTimeNow.setEnabled(on); }
  std::string caption() const override { return w_.caption(); }
  void setCaption(const std::string& text) override { w_.setCaption(text); }
  void reloadServerList() override { reloadList_(); }
  void synchronise() override { w_.SyncTimeNow_Click(); }
  void versionQueryAnswered() override { w_.versionQueryAnswered(); }
  bool loaded() const override { return w_.loaded(); }

 private:
  NXO_KRV& w_;
  std::function<void()> reloadList_;
};

}  // namespace korvane::shell
