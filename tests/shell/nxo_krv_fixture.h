#pragma once
// The main window on fakes, with one server of region NA and a log of control changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_socket.h"
#include "platform/fake/fake_windows.h"
#include "shell/nxo_krv.h"

namespace korvane::shell::testing {

// 2025-12-07 16:05:45.678 UTC, a Sunday.
constexpr int64_t kStartUtcMillis = 1765123545678LL;

class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowFixture() {
    seams.readKRVFile = [this] {
      log.push_back("ReadKRVFile");
      if (withServer) addServer();
      if (openMinimized) window().setWindowState(ui::WindowState::Minimized);
      window().CalcIntC();
    };
    seams.saveSettings = [this] {
      log.push_back("save " + text::trim(window().vbRemoteHost.text()) + " " +
                    window().SyncN.text() + " " + window().SyncIntC.text());
    };
    seams.loadFloatingClock = [this] { log.push_back("floating clock"); };
    seams.showTaskbarClock = [this] { log.push_back("taskbar clock"); };
    shell.log = &log;
    events.onDoEvents = [this] { log.push_back("doEvents"); };
  }

  NXO_KRV& window() { return *window_; }

  // Builds the window; commandLine is what follows the program name.
  NXO_KRV& make(const std::string& commandLine = "") {
    environment.line = commandLine;
    window_ =
        std::make_unique<NXO_KRV>(sync::SyncServices{clock, events, locale, rng, sockets},
                                  ShellServices{shell, windows, environment, 5, 1, 12}, seams);
    return *window_;
  }
  NXO_KRV& start(const std::string& commandLine = "") {
    make(commandLine);
    window_->load();
    return *window_;
  }

  void addServer() {
    NXO_KRV& w = window();
    w.Servers.addItem("Loopback Server NA", 27);
    w.tables.ServerHost[1] = "127.0.0.1";
    w.tables.ServerPorts[1] = "37:123:13:519";
    w.tables.RegionServers[0] = 1;
    w.tables.regionCount = 1;
    w.Servers.select(1);
    w.vbRemoteHost.setText("127.0.0.1");
    w.sync.CurServer = 1;
  }

  // Records every property change of these controls by name, in order.
  void watch(std::initializer_list<ui::Control*> controls) {
    for (ui::Control* c : controls)
      c->PropertyChanged.connect([this, c] { log.push_back(c->name()); });
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
  ShellSeams seams;
  bool withServer = true;
  bool openMinimized = false;
  std::vector<std::string> log;

 private:
  std::unique_ptr<NXO_KRV> window_;
};

}  // namespace korvane::shell::testing
