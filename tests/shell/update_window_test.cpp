// SPDX-License-Identifier: GPL-3.0-or-later
// The update service on the real main window: which list copy is read, and what a download
// re-reads.
#include <gtest/gtest.h>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_os_version.h"
#include "platform/fake/fake_process.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_socket.h"
#include "platform/fake/fake_windows.h"
#include "shell/nxo_krv_fixture.h"
#include "shell/nxo_update_window.h"

namespace korvane::shell {
namespace {

using namespace platform;

std::string listOf(const std::string& servers) {
  return "h1\r\nh2\r\nh3\r\nh4\r\nh5\r\n" + servers;
}

TEST(UpdateWindowTest, TheUsersCopyIsReadFirstAndADownloadReReadsOnlyTheList) {
  FakeClock clock;
  FakeEventLoop events;
  FakeLocale locale;
  FakeRandom rng;
  FakeSocketFactory sockets;
  FakeRegistry store;
  FakeMessageBoxes boxes;
  FakeFiles files;
  FakeProcessLauncher launcher;
  program::ProgramState state{store, boxes, clock};
  program::Registry& registry = state.registry();
  FakeOsVersion os;
  std::vector<std::string> requests;
  testing::RecordingProgram program{requests};
  FakeShell shell;
  FakeWindows windows;
  FakeEnvironment environment;
  environment.dataFolder = "/home/u/.kv";
  sync::Synchroniser synchroniser{{clock, events, locale, rng, sockets}};
  NXO_KRV window{{clock, events, locale, rng, sockets},
                 synchroniser,
                 {shell, windows, environment, 5, 1, 12},
                 {state, program, files, os}};
  MainWindowUpdates updateWindow(window, files, environment.dataFolder);
  NXOUpdateService updates(updateWindow, {sockets, files, boxes, launcher}, {"h", "/home/u/.kv"});

  store.put(HKEY_LOCAL_MACHINE, program::kSettingsKey, "Settings", "NO:59:Minute/s:EU");
  store.put(HKEY_LOCAL_MACHINE, program::kSettingsKey, "KRVLastServer", "c.example");
  files.putInProgramFolder("NXO_KRV5.KRV", listOf("a.example:::A EU:::2:::0:123:0:0\r\n"));
  files.files["/home/u/.kv/NXO_KRV5.KRV"] = listOf("");
  window.ReadKRVFile(
      registry, files, [] {}, [] {});
  EXPECT_EQ(window.Servers.count(), 0) << "the user's copy is the list";

  store.put(HKEY_LOCAL_MACHINE, program::kSettingsKey, "Settings", "NO:59:Minute/s:NA");
  const std::string fresh =
      listOf("b.example:::B EU:::2:::0:123:0:0\r\nc.example:::C EU:::2:::0:123:0:0\r\n");
  updates.downloadFlag = true;
  updates.NXOUpdate();
  FakeSocket& http = *sockets.made.at(sockets.made.size() - 2);
  http.onConnect();
  http.deliverText("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(fresh.size()) +
                   "\r\n\r\n" + fresh);

  EXPECT_EQ(files.files["/home/u/.kv/NXO_KRV5.KRV"], fresh);
  EXPECT_EQ(window.Servers.count(), 2);
  EXPECT_EQ(window.regionCode, "EU") << "the settings were not read again";
  EXPECT_EQ(window.tables.regionCount, 2);
  EXPECT_EQ(window.CurServer, 2);
  EXPECT_TRUE(window.synchronising()) << "the new list is synchronised with";
}

}  // namespace
}  // namespace korvane::shell
