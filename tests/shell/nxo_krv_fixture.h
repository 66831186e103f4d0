// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window on fakes, with one server of region NA and a log of control changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/text.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_os_version.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_socket.h"
#include "platform/fake/fake_windows.h"
#include "shell/nxo_krv.h"
#include "sync/protocol.h"
#include "sync/server_list.h"
#include "sync/synchroniser.h"

namespace korvane::shell::testing {

// 2025-12-07 16:05:45.678 UTC, a Sunday.
constexpr int64_t kStartUtcMillis = 1765123545678LL;

// The settings of an earlier run, kept in memory; writing Settings logs "save SERVER COUNT UNIT"
// and onRead runs before the first read.
class RecordingRegistry : public platform::FakeRegistry {
 public:
  platform::RegResult openKey(platform::HKey key, std::string_view subKey, uint32_t access,
                              platform::HKey& opened) override {
    if (onRead) std::exchange(onRead, nullptr)();
    return FakeRegistry::openKey(key, subKey, access, opened);
  }
  platform::RegResult setString(platform::HKey key, std::string_view name,
                                std::string_view text) override {
    if (name == "KRVLastServer") lastServer = text;
    if (name == "Settings" && log) {
      const std::vector<std::string> f = text::split(std::string(text), ":");
      log->push_back("save " + lastServer + " " + (f.size() > 2 ? f[1] + " " + f[2] : ""));
    }
    return FakeRegistry::setString(key, name, text);
  }
  std::vector<std::string>* log = nullptr;
  std::function<void()> onRead;
  std::string lastServer;
};

// The other windows, as the main window asks for them: each request is logged.
class RecordingProgram : public program::Program {
 public:
  explicit RecordingProgram(std::vector<std::string>& log) : log_(log) {}
  void synchronise() override { log_.push_back("synchronise"); }
  bool hasWindow(std::string_view name) const override {
    return std::find(windows.begin(), windows.end(), name) != windows.end();
  }
  ui::Form* loadWindow(std::string_view name) override { return record("load", name); }
  ui::Form* showWindow(std::string_view name) override { return record("show", name); }
  ui::Form* loadedWindow(std::string_view) const override { return nullptr; }
  void unloadWindow(std::string_view name) override { record("unload", name); }
  void unloadOtherWindows() override { log_.push_back("unload other windows"); }
  void closeConnections() override {
    log_.push_back("close connections");
    if (onCloseConnections) onCloseConnections();
  }
  void rereadServerList() override { log_.push_back("reread list"); }
  void useServerChoice() override { log_.push_back("use server choice"); }
  std::vector<std::string_view> windows;  // the windows the program has
  std::function<void()> onCloseConnections;

 private:
  ui::Form* record(const char* verb, std::string_view name) {
    if (name == program::window::kFloatingClock && std::string_view(verb) == "load")
      log_.push_back("floating clock");
    else if (name == program::window::kTaskbarClock && std::string_view(verb) == "show")
      log_.push_back("taskbar clock");
    else
      log_.push_back(std::string(verb) + " " + std::string(name));
    return nullptr;
  }
  std::vector<std::string>& log_;
};

class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowFixture() {
    shell.log = &log;
    events.onDoEvents = [this] { log.push_back("doEvents"); };
    program.onCloseConnections = [this] { synchroniser.stop(); };
  }

  NXO_KRV& window() { return *window_; }
  sync::SyncServices services() { return {clock, events, locale, rng, sockets}; }
  // The socket of the window's synchronisation.
  platform::FakeSocket& syncSocket() { return *sockets.made.at(0); }

  // Builds the window; commandLine is what follows the program name. The registry holds the
  // settings of an earlier run (Time protocol chosen by the list's one server, not at random)
  // and, withServer, the list holds one loopback server of region NA.
  NXO_KRV& make(const std::string& commandLine = "") {
    environment.line = commandLine;
    registry.log = nullptr;  // seeding is not saving
    using platform::HKEY_LOCAL_MACHINE;
    registry.put(HKEY_LOCAL_MACHINE, program::kSettingsKey, "Settings", "NO:59:Minute/s:NA");
    registry.put(HKEY_LOCAL_MACHINE, program::kSettingsKey, "KRVLastServer", "127.0.0.1");
    registry.put(HKEY_LOCAL_MACHINE, program::kSettingsKey, "Protocol", protocol);
    registry.put(HKEY_LOCAL_MACHINE, program::kSettingsKey, "OpenMinimized",
                 openMinimized ? "YES" : "NO");
    if (withServer)
      files.putInProgramFolder(std::string(sync::kServerListFile),
                               "list\r\nh2\r\nh3\r\nh4\r\nh5\r\n"
                               "127.0.0.1:::Loopback Server NA:::27:::37:123:13:519\r\n");
    registry.log = &log;
    window_ = nullptr;
    window_ = std::make_unique<NXO_KRV>(services(), synchroniser,
                                        ShellServices{shell, windows, environment, 5, 1, 12},
                                        ProgramServices{state, program, files, os});
    return *window_;
  }
  NXO_KRV& start(const std::string& commandLine = "") {
    make(commandLine);
    window_->load();
    return *window_;
  }

  // Records every property change of these controls by name, in order.
  void watch(std::initializer_list<ui::Control*> controls) {
    for (ui::Control* c : controls)
      c->PropertyChanged.connect([this, c](ui::Property) { log.push_back(c->name()); });
  }

  // True when `expected` appears in the log in this order (other entries may come between).
  bool logHasInOrder(const std::vector<std::string>& expected) const {
    size_t i = 0;
    for (const std::string& entry : log)
      if (i < expected.size() && entry == expected[i]) ++i;
    return i == expected.size();
  }
  std::string logText() const {
    std::string s;
    for (const std::string& e : log) s += e + " | ";
    return s;
  }

  platform::FakeClock clock{kStartUtcMillis};
  platform::FakeEventLoop events;
  platform::FakeLocale locale;
  platform::FakeRandom rng;
  platform::FakeSocketFactory sockets;
  platform::FakeShell shell;
  platform::FakeWindows windows;
  platform::FakeEnvironment environment;
  platform::FakeFiles files;
  platform::FakeOsVersion os;
  platform::FakeMessageBoxes boxes;
  std::vector<std::string> log;
  RecordingRegistry registry;
  program::ProgramState state{registry, boxes, clock};
  RecordingProgram program{log};
  sync::Synchroniser synchroniser{services()};
  std::string protocol{sync::choice::kSntp};
  bool withServer = true;
  bool openMinimized = false;

 private:
  std::unique_ptr<NXO_KRV> window_;
};

}  // namespace korvane::shell::testing
