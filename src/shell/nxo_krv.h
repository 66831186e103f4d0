#pragma once
// The main window's logic: its controls, the synchronisation it owns and the tray tip.
#include <array>
#include <functional>
#include <string_view>

#include "common/tip_field.h"
#include "platform/files.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/command_button.h"
#include "platform/ui/image_box.h"
#include "platform/ui/image_combo.h"
#include "platform/ui/text_box.h"
#include "shell/registry.h"
#include "shell/settings.h"
#include "sync/server_tables.h"
#include "sync/sync_driver.h"
#include "sync/sync_shell.h"

namespace korvane::shell {

// The tray picture: the window's own icon, or a picture of the image list.
constexpr int kOwnIcon = 0;
constexpr int kAdjustedPicture = 1;

class NXO_KRV : public sync::SyncShell {
 public:
  explicit NXO_KRV(sync::SyncServices services);

  // Controls.
  ui::CommandButton SyncTimeNow{"SyncTimeNow"};
  ui::ImageCombo Servers{"Servers"};
  ui::TextBox vbRemoteHost{"vbRemoteHost"};
  ui::CheckBox RandomCheck{"RandomCheck"};
  ui::ImageBox LED0{"LED(0)"}, LED1{"LED(1)"}, LED2{"LED(2)"};
  ui::TextBox SyncN{"SyncN"};
  ui::ComboBox SyncIntC{"SyncIntC"};

  sync::ServerTables tables;
  sync::SyncDriver sync;

  void SyncTimeNow_Click() { sync.SyncTimeNow_Click(); }

  // Settings and the server list.
  Settings settings;
  bool syncAfterNewList = false;  // the update service asks for a synchronisation after a list
  void ReadKRVFile(Registry& registry, const platform::Files& files, std::function<void()> CalcIntC,
                   std::function<void()> NXOUpdate);
  void Servers_Click();

  // Tray tip and picture.
  TipField tip;
  TipField lastTipSent;
  int trayPicture = kOwnIcon;
  int tipSends = 0;
  bool minimised = false;
  bool runOnce = false;

  // SyncShell.
  void setTip(std::string_view text) override { tip.assign(text); }
  void UpdateSZTIP() override;
  bool runOnceMode() const override { return runOnce; }
  bool windowNormal() const override { return !minimised; }
  void timeDataArrived() override {}
};

}  // namespace korvane::shell
