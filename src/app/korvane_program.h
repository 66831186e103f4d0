// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole program wired in one place: the program-wide state, the synchroniser, the update
// service, the windows by name and the main window, on whatever backends it is given (the
// desktop's in main, fakes in tests).
#include <string>
#include <string_view>

#include "display/display_services.h"
#include "platform/files.h"
#include "platform/form_hosts.h"
#include "platform/images.h"
#include "platform/message_box.h"
#include "platform/os_version.h"
#include "platform/pickers.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/ui/event.h"
#include "program/program.h"
#include "program/program_state.h"
#include "program/program_windows.h"
#include "shell/nxo_krv.h"
#include "shell/nxo_update.h"
#include "shell/nxo_update_window.h"
#include "sync/synchroniser.h"

namespace korvane::app {

struct ProgramBackends {
  sync::SyncServices sync;
  shell::ShellServices shell;
  platform::FormHosts& hosts;
  platform::RegistryStore& registry;
  platform::MessageBoxes& boxes;
  platform::Files& files;
  platform::OsVersion& os;
  platform::Pickers& pickers;
  const platform::Images& images;
  platform::ProcessLauncher& launcher;
  // The synchroniser's steady clock (tests give their own).
  sync::MonotonicMillis monotonic = sync::steadyMillis();
  // Network Time Security for the servers whose list line names a key establishment port; the
  // desktop always gives it.
  sync::NtsKeyring* nts = nullptr;
};

class KorvaneProgram : public program::Program {
 public:
  explicit KorvaneProgram(ProgramBackends backends);
  ~KorvaneProgram() override { windows_.releaseAll(); }  // before the main window goes
  KorvaneProgram(const KorvaneProgram&) = delete;
  KorvaneProgram& operator=(const KorvaneProgram&) = delete;

  // The first window with a control the hosts cannot show; empty when every window can show.
  std::string unhostableWindow() const { return windows_.unhostableWindow(); }
  shell::NXO_KRV& mainWindow() { return main_; }
  program::ProgramState& state() { return state_; }
  program::ProgramWindows& windows() { return windows_; }
  shell::NXOUpdateService& updates() { return updates_; }
  sync::Synchroniser& synchroniser() { return synchroniser_; }

  // Loads the main window; false when the process ends at once (another instance runs, or
  // the load closed the window again).
  bool start();

  void synchronise() override { main_.SyncTimeNow_Click(); }
  bool hasWindow(std::string_view name) const override { return windows_.has(name); }
  ui::Form* loadWindow(std::string_view name) override { return windows_.load(name); }
  ui::Form* showWindow(std::string_view name) override { return windows_.show(name); }
  ui::Form* loadedWindow(std::string_view name) const override { return windows_.loaded(name); }
  void unloadWindow(std::string_view name) override { windows_.unload(name); }
  void unloadOtherWindows() override { windows_.unloadMade(); }
  void closeConnections() override;
  void rereadServerList() override { main_.ReadKRVFile(); }
  void useServerChoice() override;

 private:
  void addWindows(const std::string& runCommand);
  void wireUpdates();

  program::ProgramState state_;
  program::ProgramWindows windows_;
  // Declared before the main window and the update service, which observe it.
  sync::Synchroniser synchroniser_;
  shell::NXO_KRV main_;
  shell::MainWindowUpdates updateWindow_;
  shell::NXOUpdateService updates_;
  // What the clock windows and their dialog are made with.
  display::DisplayServices display_;
  // Ended before the service and the window they join.
  ui::ScopedConnection tickUpdates_, tickCollect_, dataArrived_, listMissing_, checkRequested_,
      checkButton_;
};

}  // namespace korvane::app
