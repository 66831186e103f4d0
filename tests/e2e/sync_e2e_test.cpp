// SPDX-License-Identifier: GPL-3.0-or-later
// One synchronisation per protocol through the real Qt sockets, against the loopback peers,
// setting the simulated clock.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "e2e/child_process.h"
#include "e2e/e2e_support.h"
#include "e2e/peers.h"
#include "platform/fake/fake_environment.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_windows.h"
#include "platform/posix/clock_random.h"
#include "platform/posix/posix_clock.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_locale.h"
#include "platform/qt/qt_socket.h"
#include "platform/qt/qt_test_app.h"
#include "shell/nxo_krv.h"
#include "shell/nxo_krv_fixture.h"

namespace korvane::e2e {
namespace {

using korvane::testing::runQtUntil;

constexpr int kSyncWaitMs = 10000;

long long coarseTickMillis() {
  timespec r{};
  clock_getres(CLOCK_REALTIME_COARSE, &r);
  return static_cast<long long>(r.tv_sec) * 1000 + (r.tv_nsec + 999999) / 1000000;
}

class SyncE2eTest : public PeersTest {
 protected:
  void SetUp() override {
    korvane::testing::qtTestApp();
    // This process's clock is its own file: the shared one of the other suites stays untouched.
    setenv("KORVANE_CLOCK_FILE", clockFile.path().c_str(), 1);
    clock = platform::makeSystemClock();
    state = std::make_unique<program::ProgramState>(registry, boxes, *clock);
    synchroniser = std::make_unique<sync::Synchroniser>(
        sync::SyncServices{*clock, events, locale, random, sockets});
    krv = std::make_unique<shell::NXO_KRV>(
        sync::SyncServices{*clock, events, locale, random, sockets}, *synchroniser,
        shell::ShellServices{shell, windows, environment, 5, 1, 0},
        shell::ProgramServices{*state, program, files, os});
    krv->Servers.addItem("Loopback NA", 1);
    krv->tables.ServerHost[1] = "127.0.0.1";
    krv->tables.ServerPorts[1] = "37:123:13:519";
    krv->tables.RegionServers[0] = 1;
    krv->tables.regionCount = 1;
    krv->regionCode = "NA";
    krv->Servers.select(1);
    krv->vbRemoteHost.setText("127.0.0.1");
    krv->CurServer = 1;
  }

  // Clicks "Synchronize" with the protocol choice and lets the events run until it is idle.
  void synchronise(const std::string& choice) {
    krv->protocolChoice = choice;
    const auto start = std::chrono::steady_clock::now();
    krv->SyncTimeNow.click();
    ASSERT_TRUE(krv->synchronising());
    ASSERT_TRUE(runQtUntil([&] { return !krv->synchronising(); }, kSyncWaitMs))
        << "still busy: " << krv->SyncStatus;
    lastSyncMillis = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now() - start)
                         .count();
    EXPECT_TRUE(krv->SyncTimeNow.enabled());
  }

  platform::QtEventLoop events;
  platform::QtLocale locale;
  platform::ClockRandom random;
  platform::QtSocketFactory sockets;
  platform::FakeShell shell;
  platform::FakeWindows windows;
  platform::FakeEnvironment environment;
  platform::FakeRegistry registry;
  platform::FakeMessageBoxes boxes;
  platform::FakeFiles files;
  platform::FakeOsVersion os;
  std::vector<std::string> requests;
  shell::testing::RecordingProgram program{requests};
  std::unique_ptr<platform::SystemClock> clock;
  std::unique_ptr<program::ProgramState> state;
  std::unique_ptr<sync::Synchroniser> synchroniser;
  std::unique_ptr<shell::NXO_KRV> krv;
  long long lastSyncMillis = 0;  // how long the last synchronisation took
};

TEST_F(SyncE2eTest, SntpSetsTheSimulatedClockToTheMillisecond) {
  KORVANE_START_PEERS(kNtpPeer);
  for (long long start : {2345LL, -3210LL}) {
    SCOPED_TRACE(start);
    clockFile.write(start);
    synchronise("Default SNTP Protocol");
    std::smatch m;
    const std::regex status(" KRV Adjusted by: (-?[0-9]+) ms ");
    ASSERT_TRUE(std::regex_match(krv->SyncStatus, m, status)) << krv->SyncStatus;
    EXPECT_NEAR(std::stod(m[1]), -start, 5);
    EXPECT_NEAR(static_cast<double>(clockFile.read()), 0.0, 5.0);
    EXPECT_EQ(krv->trayRecord.tip.shown(), " " + krv->SyncStatus + " ");
  }
}

TEST_F(SyncE2eTest, WholeSecondProtocolsSetTheSimulatedClockToTheSecond) {
  KORVANE_START_PEERS(kTimeDayTimePeer | kUnixTimePeer);
  struct Case {
    const char* choice;
    long long start;
    int low, high;  // the adjustment the status may report
  };
  const Case cases[] = {
      {"Default Time Protocol", 2345, -3, -2},      {"Default DayTime Protocol", 2345, -3, -2},
      {"Default UnixTime Protocol!", 2345, -3, -2}, {"Default Time Protocol", -3210, 3, 4},
      {"Default DayTime Protocol", -3210, 3, 4},    {"Default UnixTime Protocol!", -3210, 3, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.choice) + " from " + std::to_string(c.start));
    clockFile.write(c.start);
    synchronise(c.choice);
    std::smatch m;
    const std::regex status("Time Adjusted by (-?[0-9]+) second\\(s\\)");
    ASSERT_TRUE(std::regex_match(krv->SyncStatus, m, status)) << krv->SyncStatus;
    EXPECT_GE(std::stoi(m[1]), c.low);
    EXPECT_LE(std::stoi(m[1]), c.high);
    // The server counts whole seconds and the clock is set to the second it sent, so it ends
    // behind the machine by the part of that second already gone, plus the time the reply took
    // to arrive and be applied; never ahead. The servers read the second with time(), whose
    // coarse clock may lag the machine's by one kernel tick.
    const long long behindAtMost = 1000 + lastSyncMillis + coarseTickMillis() + 1;
    EXPECT_LE(clockFile.read(), 1);
    EXPECT_GT(clockFile.read(), -behindAtMost) << "offset left: " << clockFile.read();
  }
}

// A clock ten years off on the word of the region's only server: the timer's synchronisation
// leaves it alone; one the user started asks, and only the user's Yes changes it.
TEST_F(SyncE2eTest, TenYearsOnOneServersWordNeedTheUsersYes) {
  KORVANE_START_PEERS(kTimeDayTimePeer | kUnixTimePeer);
  constexpr long long kTenYearsMs = 315569520000LL;
  for (const char* choice : {"Default Time Protocol", "Default UnixTime Protocol!"}) {
    SCOPED_TRACE(choice);
    clockFile.write(kTenYearsMs);
    krv->protocolChoice = choice;
    krv->SyncTimeNow_Click();  // as the timer starts it: nobody to ask
    ASSERT_TRUE(runQtUntil([&] { return !krv->synchronising(); }, kSyncWaitMs));
    EXPECT_EQ(krv->SyncStatus.rfind("Clock left unchanged: 127.0.0.1 says it is 3652 days", 0), 0u)
        << krv->SyncStatus;
    EXPECT_NE(krv->SyncStatus.find("no second server confirmed it"), std::string::npos);
    EXPECT_TRUE(boxes.shown.empty());
    boxes.answer(platform::MsgResult::No);
    synchronise(choice);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.rfind("127.0.0.1 says this computer's clock is 3652 days", 0), 0u)
        << boxes.shown[0].text;
    EXPECT_NE(krv->SyncStatus.find("you chose to keep it"), std::string::npos) << krv->SyncStatus;
    EXPECT_EQ(krv->SyncStatus.find("Adjust"), std::string::npos);
    EXPECT_FALSE(krv->clockSynchronised());
    EXPECT_EQ(clockFile.read(), kTenYearsMs);
    synchronise(choice);  // answered Yes
    EXPECT_TRUE(krv->clockSynchronised()) << krv->SyncStatus;
    EXPECT_LT(std::llabs(clockFile.read()), 5000);
    boxes.shown.clear();
  }
}

// Replies no careful client uses: held 4 s by the network (it would move a right clock by
// -2 s), and stamps that give a negative delay. The simulated clock stays as it was.
TEST_F(SyncE2eTest, SntpRepliesWithAnImpossibleDelayMoveNothing) {
  KORVANE_START_PEERS(kTimeDayTimePeer);  // holds the lock; port 123 stays free for ours
  struct Case {
    const char* millis;
    const char* mode;
    const char* status;
  };
  for (const Case& c :
       {Case{"4000", "hold", "SNTP reply refused: its round-trip delay of 4."},
        Case{"3000", "negative", "SNTP reply refused: its round-trip delay of -"}}) {
    SCOPED_TRACE(c.mode);
    const auto peer =
        startMisbehavingSntp({"--mode", c.mode, "--millis", c.millis}, clockFile.path() + ".peer");
    clockFile.write(0);
    synchronise("Default SNTP Protocol");
    EXPECT_EQ(krv->SyncStatus.rfind(c.status, 0), 0u) << krv->SyncStatus;
    EXPECT_EQ(clockFile.read(), 0);
  }
}

// A count of 0 is a server without a time, not 1970: nothing changes.
TEST_F(SyncE2eTest, ACountOfZeroIsRefused) {
  KORVANE_START_PEERS(kTimeDayTimePeer);  // the lock; port 519 stays free for this one
  const pid_t pid = fork();
  if (pid == 0) {
    execl(KORVANE_UNIXTIME_PEER, KORVANE_UNIXTIME_PEER, "--epoch", "none", nullptr);
    _exit(127);
  }
  const PeerProcess peer("zero UnixTime peer", pid, "/dev/null");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  clockFile.write(0);
  synchronise("Default UnixTime Protocol!");
  EXPECT_EQ(krv->SyncStatus, "UnixTime reply refused: the server sent a count of 0");
  EXPECT_EQ(clockFile.read(), 0);
}

// A kiss-o'-death in the form most servers send: the code is shown; after DENY the server is not
// asked again, after RATE not for a while, and the status of the next try says so.
class SyncKissE2eTest : public SyncE2eTest {
 protected:
  void kissAndRetry(const std::string& code, const std::string& consequence,
                    const std::string& retry) {
    const auto peer =
        startMisbehavingSntp({"--mode", "kiss", "--code", code}, clockFile.path() + ".peer");
    clockFile.write(0);
    synchronise("Default SNTP Protocol");
    const std::string refused =
        "SNTP reply refused: the server turned the request away (kiss code " + code + ")";
    EXPECT_EQ(krv->SyncStatus.rfind(refused + consequence, 0), 0u) << krv->SyncStatus;
    krv->SyncTimeNow.click();
    EXPECT_FALSE(krv->synchronising());
    EXPECT_EQ(krv->SyncStatus.rfind("Not asked: 127.0.0.1 " + retry, 0), 0u) << krv->SyncStatus;
    EXPECT_EQ(clockFile.read(), 0);
  }
};

TEST_F(SyncKissE2eTest, RateSlowsTheAsking) {
  KORVANE_START_PEERS(kTimeDayTimePeer);  // holds the lock; port 123 stays free for ours
  kissAndRetry("RATE", "; it is asked again in ", "asked to be asked less often");
}

TEST_F(SyncKissE2eTest, DenyStopsTheAsking) {
  KORVANE_START_PEERS(kTimeDayTimePeer);
  kissAndRetry("DENY", "; it is not asked again while the program runs",
               "turned this computer away");
}

TEST_F(SyncE2eTest, ARefusedConnectionIsAnErrorStatusAndTheDriverIsIdle) {
  KORVANE_START_PEERS(
      kTimeDayTimePeer);  // holds the peers' lock, so no UnixTime server runs meanwhile
  clockFile.write(2345);
  synchronise("Default UnixTime Protocol!");
  EXPECT_EQ(krv->SyncStatus, "Connection refused");
  EXPECT_EQ(krv->trayRecord.tip.shown().rfind("KRV - No Adjustment: ", 0), 0u)
      << krv->trayRecord.tip.shown();
  EXPECT_FALSE(krv->synchronising());
  EXPECT_EQ(clockFile.read(), 2345);
}

// With loopback down (a network namespace of its own) every send fails inside the system call,
// as a machine without a network does: the error becomes the status, after the "Checking" tip,
// and nothing crashes. The test runs itself again in such a namespace.
TEST_F(SyncE2eTest, WithTheNetworkDownTheErrorIsTheStatusNotACrash) {
  constexpr const char* kInside = "KORVANE_E2E_NETWORK_DOWN";
  if (std::getenv(kInside) == nullptr) {
    const ChildResult r = runChild(
        {"/usr/bin/unshare", "-n", std::filesystem::read_symlink("/proc/self/exe").string(),
         "--gtest_filter=SyncE2eTest.WithTheNetworkDownTheErrorIsTheStatusNotACrash"},
        {std::string(kInside) + "=1"}, 30000);
    if (r.exitCode != 0 && r.err.find("unshare failed") != std::string::npos)
      GTEST_SKIP() << "no network namespace here: " << r.err;
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    return;
  }
  for (const char* choice : {"Default SNTP Protocol", "Default Time Protocol"}) {
    synchronise(choice);
    EXPECT_EQ(krv->SyncStatus.rfind("Synchronizing", 0), std::string::npos) << choice;
    EXPECT_FALSE(krv->SyncStatus.empty()) << choice;
    EXPECT_EQ(krv->trayRecord.tip.shown().rfind("KRV - No Adjustment: ", 0), 0u) << choice;
  }
}

}  // namespace
}  // namespace korvane::e2e
