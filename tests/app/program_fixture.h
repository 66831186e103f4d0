// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole program wired on fakes, its timers run by the fake scheduler, with the settings of
// an earlier run and a list of one loopback server.
#include <gtest/gtest.h>

#include <string>

#include "app/korvane_program.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_form_hosts.h"
#include "platform/fake/fake_images.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_os_version.h"
#include "platform/fake/fake_pickers.h"
#include "platform/fake/fake_process.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_scheduler.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_socket.h"
#include "platform/fake/fake_windows.h"
#include "sync/server_list.h"

namespace korvane::app::testing {

class ProgramFixture : public ::testing::Test {
 protected:
  ProgramFixture() {
    setting("Settings", "NO:5:Minute/s:NA");
    setting("KRVLastServer", "127.0.0.1");
    setting("Protocol", "Default Time Protocol");
    files.putInProgramFolder(std::string(sync::kServerListFile),
                             "list\r\nh2\r\nh3\r\nh4\r\nh5\r\n"
                             "127.0.0.1:::Loopback Server NA:::27:::37:0:0:0\r\n");
  }
  void setting(const char* name, const char* value) {
    registry.put(platform::HKEY_LOCAL_MACHINE, program::kSettingsKey, name, value);
  }
  std::string stored(const char* name) const {
    return registry.value(platform::HKEY_LOCAL_MACHINE, program::kSettingsKey, name)
        .value_or("<none>");
  }
  KorvaneProgram& make(const std::string& commandLine = "") {
    environment.line = commandLine;
    program =
        std::make_unique<KorvaneProgram>(ProgramBackends{{clock, events, locale, rng, sockets},
                                                         {shell, windows, environment, 5, 1, 12},
                                                         hosts,
                                                         registry,
                                                         boxes,
                                                         files,
                                                         os,
                                                         pickers,
                                                         images,
                                                         launcher});
    return *program;
  }
  // The synchronisation's socket, the first the program makes.
  platform::FakeSocket& timeSocket() { return *sockets.made.at(0); }
  // The Time protocol's reply of a server aheadSeconds ahead of the fake clock.
  std::vector<uint8_t> timeReply(int aheadSeconds = 0) const {
    const auto v = static_cast<uint32_t>(clock.utcMillis() / 1000 + 2208988800LL + aheadSeconds);
    return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
  }

  platform::FakeClock clock{1765123545678LL};  // 2025-12-07 16:05:45.678 UTC
  platform::FakeScheduler scheduler{clock};
  platform::FakeFormHosts hosts{&scheduler};
  platform::FakeEventLoop events;
  platform::FakeLocale locale;
  platform::FakeRandom rng;
  platform::FakeSocketFactory sockets;
  platform::FakeShell shell;
  platform::FakeWindows windows;
  platform::FakeEnvironment environment;
  platform::FakeRegistry registry;
  platform::FakeMessageBoxes boxes;
  platform::FakeFiles files;
  platform::FakeOsVersion os;
  platform::FakePickers pickers;
  platform::FakeImages images;
  platform::FakeProcessLauncher launcher;
  std::unique_ptr<KorvaneProgram> program;
};

}  // namespace korvane::app::testing
