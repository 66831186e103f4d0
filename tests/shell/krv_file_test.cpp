// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the server list into the main window, with the settings before it.
#include "shell/krv_file.h"

#include <gtest/gtest.h>

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
#include "shell/nxo_krv_fixture.h"

namespace korvane::shell {
namespace {

using namespace platform;

const std::string kList =
    "Korvane list\r\nh2\r\nh3\r\nh4\r\nh5\r\n"
    "a.example:::Alpha NA:::2:::37:123:13:0\r\n"
    "b.example:::Bravo EU:::29:::0:123:0:0\r\n"
    "c.example:::Charlie EU:::x:::0:123:0:0\r\n";

class KrvFileTest : public ::testing::Test {
 protected:
  void settingsWith(const std::string& settingsText, const std::string& lastServer) {
    store.put(HKEY_LOCAL_MACHINE, program::kSettingsKey, "Settings", settingsText);
    store.put(HKEY_LOCAL_MACHINE, program::kSettingsKey, "KRVLastServer", lastServer);
  }
  void read() {
    window.ReadKRVFile(
        registry, files, [this] { ++calcIntC; }, [this] { ++updates; });
  }

  FakeClock clock;
  FakeEventLoop events;
  FakeLocale locale;
  FakeRandom rng;
  FakeSocketFactory sockets;
  FakeRegistry store;
  FakeMessageBoxes boxes;
  FakeFiles files;
  program::ProgramState state{store, boxes, clock};
  program::Registry& registry = state.registry();
  FakeShell shell;
  FakeWindows windows;
  FakeEnvironment environment;
  FakeOsVersion os;
  std::vector<std::string> requests;
  testing::RecordingProgram program{requests};
  sync::Synchroniser synchroniser{{clock, events, locale, rng, sockets}};
  NXO_KRV window{{clock, events, locale, rng, sockets},
                 synchroniser,
                 {shell, windows, environment, 5, 1, 0},
                 {state, program, files, os}};
  int calcIntC = 0;
  int updates = 0;
};

TEST_F(KrvFileTest, AMissingListDisablesSynchronisingAndFetchesIt) {
  window.syncAfterNewList = true;
  read();
  EXPECT_FALSE(window.SyncTimeNow.enabled());
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(calcIntC, 0);
  EXPECT_EQ(window.Servers.count(), 0);
  EXPECT_TRUE(store.value(HKEY_LOCAL_MACHINE, program::kSettingsKey, "Settings"))
      << "settings first";

  files.putInProgramFolder("NXO_KRV5.KRV", kList);
  files.unreadable = true;
  window.SyncTimeNow.setEnabled(true);
  read();
  EXPECT_FALSE(window.SyncTimeNow.enabled()) << "an unreadable list counts as missing";
  EXPECT_EQ(updates, 2);
}

TEST_F(KrvFileTest, TheLastServerIsSelectedAndTheRegionCollected) {
  settingsWith("YES:5:Hour/s:EU", " b.example ");
  files.putInProgramFolder("NXO_KRV5.KRV", kList);
  read();
  EXPECT_EQ(updates, 0);
  EXPECT_EQ(calcIntC, 1);
  ASSERT_EQ(window.Servers.count(), 3);
  EXPECT_EQ(window.Servers.item(3), (ui::ImageCombo::Item{"Charlie EU", 2}));
  EXPECT_EQ(window.Servers.selectedIndex(), 2);
  EXPECT_EQ(window.vbRemoteHost.text(), "b.example");
  EXPECT_EQ(window.CurServer, 2);
  EXPECT_EQ(window.tables.ServerPorts[1], "37:123:13:0");
  EXPECT_EQ(window.tables.regionCount, 2);
  EXPECT_EQ(window.tables.RegionServers[0], 2);
  EXPECT_EQ(window.tables.RegionServers[1], 3);
  EXPECT_EQ(window.regionCode, "EU");
  EXPECT_EQ(window.protocolChoice, "Default SNTP Protocol");
  EXPECT_EQ(window.SyncN.text(), "5");
  EXPECT_TRUE(window.RandomCheck.ticked());

  window.Servers.choose(3);
  EXPECT_EQ(window.vbRemoteHost.text(), "c.example");
  EXPECT_EQ(window.CurServer, 3);
}

TEST_F(KrvFileTest, WithoutAMatchTheFirstServerFillsAnEmptyHostBox) {
  settingsWith("NO:59:Minute/s:NA", "elsewhere.example");
  files.putInProgramFolder("NXO_KRV5.KRV", kList);
  read();
  EXPECT_EQ(window.Servers.selectedIndex(), 1);
  EXPECT_EQ(window.vbRemoteHost.text(), "a.example");
  EXPECT_EQ(window.CurServer, 1) << "the synchronisation after a first list must have a server";

  window.vbRemoteHost.setText("typed.example");
  window.CurServer = 0;
  window.Servers.clear();
  read();
  EXPECT_EQ(window.vbRemoteHost.text(), "typed.example") << "a host in the box is kept";
}

TEST_F(KrvFileTest, ANewListReplacesTheOldOneAndMaySynchronise) {
  settingsWith("NO:59:Minute/s:EU", "b.example");
  files.putInProgramFolder("NXO_KRV5.KRV", kList);
  read();
  files.putInProgramFolder("NXO_KRV5.KRV",
                           "1\r\n2\r\n3\r\n4\r\n5\r\nz.example:::Zulu EU:::23:::0:123:0:0\r\n");
  window.syncAfterNewList = true;
  read();
  ASSERT_EQ(window.Servers.count(), 1) << "no entries of the old list stay";
  EXPECT_EQ(window.tables.regionCount, 1);
  EXPECT_FALSE(window.syncAfterNewList);
  EXPECT_TRUE(window.synchronising()) << "the requested synchronisation started";
}

TEST_F(KrvFileTest, AReReadWithoutTheLastServerForgetsTheOldChoice) {
  settingsWith("NO:59:Minute/s:EU", "c.example");
  files.putInProgramFolder("NXO_KRV5.KRV", kList);
  read();
  ASSERT_EQ(window.CurServer, 3);
  files.putInProgramFolder(
      "NXO_KRV5.KRV",
      "1\r\n2\r\n3\r\n4\r\n5\r\nx.example:::X EU:::2:::37:0:0:0\r\n"
      "y.example:::Y EU:::2:::37:0:0:0\r\nz.example:::Z EU:::2:::0:123:0:0\r\n");
  window.Servers.clear();
  read();
  EXPECT_EQ(window.CurServer, 1) << "server 3 is another server now";
  EXPECT_EQ(window.vbRemoteHost.text(), "x.example");
  EXPECT_EQ(window.Servers.selectedIndex(), 1);
}

TEST_F(KrvFileTest, AListCutAtTheReadingLimitDropsItsPartialLastLine) {
  const std::string line = "a.example:::Alpha NA:::2:::37:123:13:519";
  struct Case {
    size_t lineBytesWithin;  // of the server line, before the limit
    int servers;
  };
  for (const Case& c : {Case{line.size() - 5, 0}, Case{line.size(), 1}}) {
    // Five header lines, the last one long enough to put the limit where the case says.
    std::string list = "1\r\n2\r\n3\r\n4\r\n";
    list += std::string(sync::kMaxListBytes - list.size() - 2 - c.lineBytesWithin, 'h') + "\r\n";
    list += line + "\r\n";
    files.putInProgramFolder("NXO_KRV5.KRV", list);
    window.Servers.clear();
    read();
    ASSERT_EQ(window.Servers.count(), c.servers) << c.lineBytesWithin;
    if (c.servers > 0) {
      EXPECT_EQ(window.tables.ServerPorts[1], "37:123:13:519");
    }
  }
}

TEST_F(KrvFileTest, AHeaderOnlyListLeavesNothingToSynchronise) {
  settingsWith("NO:59:Minute/s:NA", "a.example");
  files.putInProgramFolder("NXO_KRV5.KRV", "1\r\n2\r\n3\r\n4\r\n5\r\n");
  window.syncAfterNewList = true;
  read();
  EXPECT_EQ(window.Servers.count(), 0);
  EXPECT_EQ(window.vbRemoteHost.text(), "");
  EXPECT_FALSE(window.synchronising());
  EXPECT_TRUE(window.SyncTimeNow.enabled());
}

}  // namespace
}  // namespace korvane::shell
