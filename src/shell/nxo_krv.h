// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: its controls, start-up, the one-second tick, tray icon, menu and shut-down.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/tip_field.h"
#include "controls/form_buttons.h"
#include "controls/nxo_buttons.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/os_version.h"
#include "platform/shell.h"
#include "platform/ui/check_box.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/form.h"
#include "platform/ui/frame.h"
#include "platform/ui/image_box.h"
#include "platform/ui/image_combo.h"
#include "platform/ui/image_list.h"
#include "platform/ui/label.h"
#include "platform/ui/menu.h"
#include "platform/ui/text_box.h"
#include "platform/ui/timer.h"
#include "platform/windows.h"
#include "program/program.h"
#include "program/program_state.h"
#include "shell/about_box.h"
#include "shell/activity_lamps.h"
#include "shell/sync_outcome_view.h"
#include "shell/wake_resync.h"
#include "sync/server_tables.h"
#include "sync/synchroniser.h"
#include "sync/zone_bias.h"

namespace korvane::shell {

// The tray picture: the window's own icon, a picture of the image list, or the failure picture
// (the icon with a red badge in place of its green tick).
constexpr int kOwnIcon = 0;
constexpr int kAdjustedPicture = 1;
constexpr int kFailedPicture = -1;
// Run-once mode ends itself this many ticks after start when no version reply came.
constexpr int kRunOnceLimitTicks = 60;

struct ShellServices {
  platform::Shell& shell;
  platform::Windows& windows;
  platform::Environment& environment;
  int versionMajor = 0, versionMinor = 0, versionRevision = 0;
  // What the program's buttons draw and open with; none: no captions drawn, no links.
  controls::ButtonServices buttons = {};
};

// What the main window is given of the program: its state, the other windows, the files and
// the operating system's version.
struct ProgramServices {
  program::ProgramState& state;
  program::Program& program;
  const platform::Files& files;
  platform::OsVersion& os;
};

class NXO_KRV : public ui::Form {
 public:
  // The synchroniser is the program's; the window starts it and shows its outcomes.
  NXO_KRV(sync::SyncServices services, sync::Synchroniser& synchroniser, ShellServices shell,
          ProgramServices program);
  ~NXO_KRV() override;

  // Declared before the controls: the buttons are built with it.
  controls::FormButtons buttonDesign;

  // Controls.
  ui::Frame Frame1{"Frame1"};
  ui::ImageBox Image1{"Image1"};
  ui::Label NOLLabel{"NOLLabel"};
  ui::Label ROT{"ROT"};
  ui::Label TimeSvrLbl{"TimeSvrLbl"};
  ui::TextBox vbRemoteHost{"vbRemoteHost"};
  controls::NXOButtons About, Advanced, Mini, SyncTimeNow;
  ui::Frame LED_Display{"LED_Display"};
  ui::TextBox Current{"Current"};
  ui::Label LEDLBL{"LEDLBL"};
  ui::ImageBox LED0{"LED(0)"}, LED1{"LED(1)"}, LED2{"LED(2)"};
  ui::Frame Options{"Options"};
  ui::ImageCombo Servers{"Servers"};
  ui::CheckBox RandomCheck{"RandomCheck"};
  ui::Label UpdateLbl{"UpdateLbl"};
  ui::TextBox SyncN{"SyncN"};
  ui::ComboBox SyncIntC{"SyncIntC"};
  ui::Timer SyncNow{"SyncNow"};
  ui::ImageList IML;
  ui::Menu mnuMain{"mnuMain", "Main"};
  ui::MenuItem mnuShow{"mnuShow", "Show Korvane"}, mnuSep1{"mnuSep1", "-"},
      mnuSync{"mnuSync", "Synchronize"}, mnuSep2{"mnuSep2", "-"}, mnuhelp{"mnuhelp", "Help"},
      mnuOHelp{"mnuOHelp", "Online Help"}, mnuSep3{"mnuSep3", "-"}, mnuExit{"mnuExit", "Exit"};
  AboutBox frmAbout;

  sync::ServerTables tables;
  ActivityLamps lamps;

  // Handlers.
  void Form_Load();
  void Form_Resize();
  void Form_MouseMove(int button, int shift, double x, double y);
  void Form_QueryUnload(int& cancel, int unloadMode);
  void Form_Unload(int& cancel);
  void GetCommandLine();
  void RunOnce();
  // Starts a synchronisation: every entry point calls this. Whatever the button shows, a
  // running synchronisation is never started over, nor one started during the shut-down.
  void SyncTimeNow_Click();
  void Mini_Click();
  void About_Click();
  void Advanced_Click();
  void mnuShow_Click();
  void mnuSync_Click() { userSync(); }
  void mnuHelp_Click();
  void mnuOHelp_Click();
  void mnuExit_Click();
  void SyncNow_Timer();
  void CalcIntC();
  void SyncN_Change();
  void SyncN_KeyPress(int& keyAscii);
  void SyncIntC_Click() { CalcIntC(); }
  void ReadKRVFile();
  // The update service's version reply arrived: a run-once instance has done its work.
  void versionQueryAnswered();
  // The desktop session saves its state (a checkpoint, or a logout that may be cancelled):
  // the settings are saved and the program runs on.
  void sessionCheckpoint();
  // The last synchronisation set the clock or found it right; a run-once exit status.
  bool clockSynchronised() const { return lastOutcome && lastOutcome->synchronised(); }

  // Settings and the server list.
  program::Settings& settings;
  bool syncAfterNewList = false;  // the update service asks for a synchronisation after a list
  // The boxes the stored settings fill, as the load hands them over.
  void showBoxes(const program::MainWindowBoxes& boxes);
  void ReadKRVFile(program::Registry& registry, const platform::Files& files,
                   std::function<void()> CalcIntC, std::function<void()> NXOUpdate);
  void Servers_Click();

  // Synchronisation state the window keeps.
  int32_t CurServer = 0;   // index of the current server in Servers; 0: none chosen yet
  std::string SyncStatus;  // the status line under the clock
  std::string protocolChoice{sync::choice::kSntp};
  std::string regionCode = "NA";
  sync::ZoneNames zone;
  std::optional<sync::SyncOutcome> lastOutcome;  // of the last synchronisation that ended
  bool synchronising() const { return synchroniser_.busy(); }

  // Window-level state.
  std::string versionString;
  std::vector<std::string> commandLineWords;
  int unloadMode = -1;
  bool exitMenu = false;
  bool runOnce = false;
  bool versionAnswered = false;       // the version reply came while a synchronisation ran
  bool secondInstance = false;        // start-up found another instance: the process must end
  bool hiddenByCode = false;          // hidden by -rs, -ro or to the tray
  bool shuttingDown = false;          // the unload has begun: nothing starts any more
  std::string windowsCode = "02UNK";  // the operating system, as the version query names it

  // Interval state.
  int32_t SyncEvery = 0;
  int32_t SyncLimit = 59;
  int32_t SyncCountdown = 0;
  std::string lastZoneName;
  int32_t taskbarClockDelay = 0;
  int32_t floatingClockDelay = 0;
  bool floatingClockLoaded = false;
  int32_t ticksSinceStart = 0;
  // A resume or the network's return starts one synchronisation (seen() when the system tells).
  WakeResync wake;

  // Tray.
  platform::TrayRecord trayRecord;
  TipField lastTipSent;
  int trayPicture = kOwnIcon;

  // The tray tip field (cut or padded to 64 characters), and passing it to the tray with the
  // picture the outcome asks for.
  void setTip(std::string_view text) { trayRecord.tip.assign(text); }
  void UpdateSZTIP(TrayPicture picture);

  // The first time data of a run arrived (the update service's version check starts).
  ui::Event<> TimeDataArrived;
  // The server list file is missing (the update service fetches it).
  ui::Event<> ServerListMissing;

  // The Current box's clock line and status, and its tip: the zone, and a status too long for
  // the box.
  std::string currentText() const;
  std::string currentTip() const;
  static constexpr size_t kStatusShown = 44;  // characters of the status the box shows whole

 private:
  void layout();
  void wireEvents();
  void fillMenu();
  std::string trayIconFile(int picture) const;
  void deferredWindows();
  void wireSynchroniser();
  bool pickRandomServer();
  int askableRegionServer(int drawn) const;
  // A synchronisation the user started from the window or the tray: a change beyond the bound
  // that no second server confirms is put to the user.
  void userSync();
  bool askToChangeClock(const sync::SyncOutcome& unconfirmed);
  bool userStarted_ = false;
  std::vector<sync::ServerChoice> regionConfirmers(const std::string& host) const;
  void exchangeStarted(sync::Protocol protocol);
  void showOutcome(const sync::SyncOutcome& outcome);
  std::string generalDateNow() const;
  // KRVLastServer (the trimmed host text) and Settings.
  void saveSettings();

  sync::SyncServices services_;
  sync::Synchroniser& synchroniser_;
  ShellServices shell_;
  ProgramServices program_;
};

}  // namespace korvane::shell
