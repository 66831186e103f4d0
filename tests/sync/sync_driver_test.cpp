// Starting a synchronisation: guards, server and protocol choice, time-out.
#include "sync_fixture.h"

namespace korvane::sync::testing {
namespace {

using platform::SocketProtocol;

class SyncDriverTest : public SyncFixture {};

TEST_F(SyncDriverTest, TwoQuickClicksStartOneSynchronisation) {
  addServer("time.example", "37:123:13:519");
  selectServer(1);
  driver.protocolChoice = "Default Time Protocol";
  driver.SyncTimeNow_Click();
  driver.SyncTimeNow_Click();
  EXPECT_EQ(tcpTime().connects, 1);
  EXPECT_TRUE(driver.SyncBusy);
  EXPECT_FALSE(button.enabled());
  EXPECT_EQ(driver.SyncStatus, "Synchronizing using Time...");
  EXPECT_EQ(led0.toolTipText(), " Time Protocol: Time ");
  EXPECT_EQ(shell.sentTips.back(), " Checking Time Server: Server NA ");
}

TEST_F(SyncDriverTest, NothingHappensWithoutServersOfTheRegion) {
  driver.SyncTimeNow_Click();  // empty list
  addServer("eu.example", "37:0:0:0", "Europe EU");
  selectServer(1);
  driver.SyncTimeNow_Click();  // region NA has none
  EXPECT_FALSE(driver.SyncBusy);
  EXPECT_TRUE(button.enabled());
  EXPECT_EQ(tcpTime().connects, 0);
  EXPECT_TRUE(shell.sentTips.empty());
}

TEST_F(SyncDriverTest, NoCurrentServerSelectsServerOneAndEndsWithoutExchange) {
  // None chosen yet, or a number left by an earlier, longer list (its ports are still there).
  for (const int current : {0, 5}) {
    servers.clear();
    tables = ServerTables{};
    addServer("first.example", "37:0:0:0");
    addServer("second.example", "37:0:0:0");
    tables.ServerPorts[5] = "37:0:0:0";
    driver.CurServer = current;
    host.setText(current ? "old.example" : "");
    driver.SyncTimeNow_Click();
    EXPECT_EQ(driver.CurServer, 1) << current;
    EXPECT_EQ(host.text(), "first.example");
    EXPECT_FALSE(driver.SyncBusy);
    EXPECT_TRUE(button.enabled());
    EXPECT_EQ(tcpTime().connects, 0);
  }
}

TEST_F(SyncDriverTest, RandomServerDrawIsRoundedHalfEven) {
  struct Case {
    int servers;
    double r;
    int chosen;
  };
  // k = r x (n - 1) + 1, halves to even: the first and last of three are half as likely.
  const Case cases[] = {{1, 0.99, 1}, {2, 0.49, 1}, {2, 0.5, 2},  {3, 0.24, 1},
                        {3, 0.25, 2}, {3, 0.75, 2}, {3, 0.76, 3}, {3, 0.0, 1}};
  for (const Case& c : cases) {
    servers.clear();
    tables = ServerTables{};
    for (int i = 1; i <= c.servers; ++i) addServer("h" + std::to_string(i), "37:0:0:0");
    addServer("eu", "37:0:0:0", "Elsewhere EU");
    selectServer(c.servers + 1);
    random.setValue(1);
    rng.always(c.r);
    button.setEnabled(true);
    driver.SyncBusy = false;
    driver.SyncTimeNow_Click();
    EXPECT_EQ(driver.CurServer, c.chosen) << c.servers << " servers, r=" << c.r;
    EXPECT_EQ(host.text(), "h" + std::to_string(c.chosen));
    EXPECT_EQ(servers.selectedIndex(), c.chosen);
  }
}

TEST_F(SyncDriverTest, ProtocolTable) {
  struct Case {
    const char* choice;
    const char* ports;
    double r;
    const char* status;  // empty: no exchange
  };
  const Case cases[] = {
      {"Default Time Protocol", "0:123:13:519", 0, "Synchronizing using Time..."},
      {"Default SNTP Protocol", "37:123:0:0", 0, "Synchronizing using SNTP..."},
      {"Default SNTP Protocol", "37:0:13:0", 0, "Synchronizing using Time..."},
      {"Default DayTime Protocol", "37:123:0:519", 0, "Synchronizing using Time..."},
      {"Default DayTime Protocol", "37:123:13:519", 0, "Synchronizing using DayTime..."},
      {"Default UnixTime Protocol!", "37:0:0:519", 0, "Synchronizing using UnixTime..."},
      {"Default UnixTime Protocol!", "37:0:0:0", 0, "Synchronizing using Time..."},
      {"Automatic/Random", "37:0:0:0", 0.0, "Synchronizing using Time..."},
      {"Automatic/Random", "37:0:0:0", 0.3, "Synchronizing using Time..."},  // j=1: "0", p1 "0"
      {"Automatic/Random", "37:123:0:0", 0.3, "Synchronizing using SNTP..."},
      {"Automatic/Random", "37:123:13:0", 0.6, "Synchronizing using DayTime..."},  // j=2
      {"Automatic/Random", "37:123:13:519", 0.99, "Synchronizing using UnixTime..."},
      {"Automatic/Random", "37:123:13:x", 0.99, ""},
      {"default sntp protocol", "37:123:13:519", 0, ""},
      {"Default Time Protocol", "37:123", 0, ""},
  };
  for (const Case& c : cases) {
    servers.clear();
    tables = ServerTables{};
    addServer("h", c.ports);
    selectServer(1);
    driver.SyncStatus = "before";
    driver.protocolChoice = c.choice;
    rng.always(c.r);
    button.setEnabled(true);
    driver.SyncTimeNow_Click();
    const std::string expected = *c.status ? c.status : "before";
    EXPECT_EQ(driver.SyncStatus, expected) << c.choice << " " << c.ports << " r=" << c.r;
    EXPECT_EQ(driver.SyncBusy, *c.status != '\0') << c.choice << " " << c.ports;
    EXPECT_EQ(shell.sentTips.back(), " Checking Time Server: Server NA ");
  }
}

TEST_F(SyncDriverTest, RunOnceUsesTimeWithTheTypedHostAndLeavesTheTip) {
  addServer("listed.example", "37:123:13:519");
  selectServer(1);
  host.setText("  typed.example ");
  shell.runOnce = true;
  driver.SyncTimeNow_Click();
  EXPECT_EQ(tcpTime().remoteHost(), "typed.example");
  EXPECT_EQ(tcpTime().remotePort(), 37);
  EXPECT_EQ(driver.SyncProtocol, 0);
  EXPECT_TRUE(shell.sentTips.empty());
}

TEST_F(SyncDriverTest, TimesOutOnTheTwentyFifthTick) {
  addServer("silent.example", "37:123:0:0");
  selectServer(1);
  driver.SyncTimeNow_Click();
  for (int i = 1; i < 25; ++i) tick();
  EXPECT_EQ(driver.SyncStatus, "Synchronizing using SNTP...");
  EXPECT_FALSE(button.enabled());
  const auto tipsBefore = shell.sentTips;
  tick();
  EXPECT_EQ(driver.SyncStatus, "Unable to Synchronize: Timed Out!");
  EXPECT_TRUE(button.enabled());
  EXPECT_FALSE(driver.SyncBusy);
  EXPECT_EQ(driver.SyncTicks, 0);
  EXPECT_EQ(shell.sentTips, tipsBefore);
  EXPECT_EQ(udp123().closes, 1);  // only the close before the send: the socket stays open
}

TEST_F(SyncDriverTest, NoTimeOutWithoutSynchronizingInTheStatus) {
  driver.SyncStatus = "Atomically Correct: No Adjustment!";
  driver.SyncTicks = 40;
  driver.applyTimeOut();
  EXPECT_EQ(driver.SyncStatus, "Atomically Correct: No Adjustment!");
}

}  // namespace
}  // namespace korvane::sync::testing
