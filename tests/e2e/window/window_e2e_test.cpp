// SPDX-License-Identifier: GPL-3.0-or-later
// The real korvane on a private X display: single instance, shut-down on a signal, the main
// window's size, the tray and its menu, a plain start and the run-once mode synchronising with
// the loopback time servers, and the settings a close writes.
#include "e2e/window/window_e2e.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <thread>

namespace korvane::e2e {
namespace {

namespace fs = std::filesystem;
using korvane::testing::readText;
using korvane::testing::writeText;
using namespace std::chrono_literals;

// The second start ends with status 0 and the hidden first instance shows its window.
TEST_F(WindowE2ETest, SecondStartShowsTheRunningInstancesWindowAndEnds) {
  Desktop desktop(false);
  auto first = startKorvane(desktop, "-rs");
  const std::string lock = folder + "/runtime/korvane.lock";
  ASSERT_FALSE(desktop.waitForOutput("flock -n " + lock + " true || echo held", 10s).empty())
      << "the first instance holds the lock";
  EXPECT_EQ(desktop.run(kWindowByName), "") << "-rs starts hidden";
  auto second = startKorvane(desktop, "", "stderr2.txt");
  const auto status = second->waitFor(8s);
  ASSERT_TRUE(status.has_value()) << "the second instance still runs";
  EXPECT_EQ(*status, 0);
  EXPECT_FALSE(first->waitFor(0ms).has_value()) << "the first one keeps running";
  const std::string shown = desktop.waitForOutput(kWindowByName, 10s);
  ASSERT_FALSE(shown.empty()) << readFile("stderr.txt");
  EXPECT_EQ(shown.find('\n'), std::string::npos) << "one window: " << shown;
  first->signal(SIGTERM);
  EXPECT_EQ(first->waitFor(10s), std::optional<int>(0));
}

TEST_F(WindowE2ETest, SigtermRunsTheWholeShutDown) {
  Desktop desktop(false);
  auto korvane = startKorvane(desktop, "-x");
  ASSERT_FALSE(desktop.waitForOutput(kWindowByName, 15s).empty());
  korvane->signal(SIGTERM);
  ASSERT_EQ(korvane->waitFor(10s), std::optional<int>(0));
  EXPECT_NE(readFile("stderr.txt").find("shut-down complete, unload mode 2"), std::string::npos)
      << readFile("stderr.txt");
}

// The offscreen platform has no X connection: the first run writes its hive, and a signal
// still saves the window's settings.
TEST_F(WindowE2ETest, HiddenStartRunsAndShutsDownOnTheOffscreenPlatform) {
  Process korvane({KORVANE_E2E_BINARY, "-rs"}, offscreenEnvironment(folder),
                  folder + "/stderr.txt");
  const std::string hive = folder + "/registry.reg";
  const auto end = std::chrono::steady_clock::now() + 15s;
  while (hiveValue(readText(hive), "Settings").empty() && std::chrono::steady_clock::now() < end &&
         !korvane.waitFor(100ms))
    std::this_thread::sleep_for(100ms);
  ASSERT_EQ(hiveValue(readText(hive), "Settings"), "YES:59:Minutes/s:NA") << readFile("stderr.txt");
  korvane.signal(SIGTERM);
  ASSERT_EQ(korvane.waitFor(10s), std::optional<int>(0)) << readFile("stderr.txt");
  EXPECT_EQ(hiveValue(readText(hive), "Settings"), "NO:59:Minute/s:NA")
      << "the shut-down saves the window's values";
}

// A run-once whose exchange fails ends at once with a failure status, so scripts can tell.
// Nothing listens on 127.0.0.2 (the loopback servers bind 127.0.0.1 only).
TEST_F(WindowE2ETest, FailedRunOnceEndsAtOnceWithAFailureStatus) {
  const auto env = offscreenEnvironment(folder);
  writeText(env.at("KORVANE_HOME") + "/NXO_KRV5.KRV",
            "Korvane test list\r\nunreachable\r\n-\r\n-\r\n-\r\n"
            "127.0.0.2:::Refusing Server NA:::2:::37:123:13:519\r\n");
  std::string hive = startingHive("Default Time Protocol");
  hive.replace(hive.find("127.0.0.1"), 9, "127.0.0.2");
  writeText(folder + "/registry.reg", hive);
  const auto started = std::chrono::steady_clock::now();
  Process korvane({KORVANE_E2E_BINARY, "-ro"}, env, folder + "/stderr.txt");
  const auto status = korvane.waitFor(20s);
  ASSERT_TRUE(status.has_value()) << readFile("stderr.txt");
  EXPECT_NE(*status, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
  EXPECT_NE(readFile("stderr.txt").find("shut-down complete"), std::string::npos)
      << readFile("stderr.txt");
}

// Whether something accepts connections on address:port within the time.
bool acceptsWithin(const char* address, int port, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  do {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, address, &to.sin_addr);
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    close(fd);
    if (ok) return true;
    std::this_thread::sleep_for(50ms);
  } while (std::chrono::steady_clock::now() < end);
  return false;
}

// A clock ten years ahead of the loopback Time server: on that one server's word run-once
// leaves it, says why and ends with a failure status; with a second server of the region (ours,
// on 127.0.0.2) agreeing, the change is made once.
TEST_F(WindowE2ETest, RunOnceMakesATenYearChangeOnlyWhenASecondServerAgrees) {
  KORVANE_START_PEERS(kTimeDayTimePeer, kPeersWait);
  constexpr long long kTenYearsMs = 315569520000LL;
  std::map<std::string, std::string> env = offscreenEnvironment(folder);
  env["KORVANE_UPDATE_HOST"] = "";
  for (const bool second : {false, true}) {
    SCOPED_TRACE(second ? "two servers" : "one server");
    writeText(env.at("KORVANE_HOME") + "/NXO_KRV5.KRV",
              std::string("Korvane test list\r\nloopback\r\n-\r\n-\r\n-\r\n"
                          "127.0.0.1:::Loopback Time NA:::2:::37:0:0:0\r\n") +
                  (second ? "127.0.0.2:::Second Time NA:::2:::37:0:0:0\r\n" : ""));
    writeText(folder + "/registry.reg", startingHive("Default Time Protocol"));
    writeText(folder + "/clock-offset", std::to_string(kTenYearsMs) + "\n");
    std::optional<Process> peer;
    if (second) {
      peer.emplace(std::vector<std::string>{KORVANE_UNIXTIME_PEER, "--address", "127.0.0.2",
                                            "--port", "37", "--epoch", "1900"},
                   std::map<std::string, std::string>{}, folder + "/peer.txt");
      ASSERT_TRUE(acceptsWithin("127.0.0.2", 37, 5s)) << readFile("peer.txt");
    }
    const std::string log = folder + (second ? "/stderr2.txt" : "/stderr1.txt");
    Process korvane({KORVANE_E2E_BINARY, "-ro"}, env, log);
    const auto status = korvane.waitFor(30s);
    ASSERT_TRUE(status.has_value()) << readText(log);
    const long long offset = readClockOffset(folder + "/clock-offset");
    if (second) {
      EXPECT_EQ(*status, 0) << readText(log);
      EXPECT_TRUE(waitForStatus(log, "Time Adjusted by (-?[0-9]+) second\\(s\\)", 1s))
          << readText(log);
      EXPECT_LT(std::llabs(offset), 2000) << readText(log);
    } else {
      EXPECT_NE(*status, 0);
      EXPECT_TRUE(
          waitForStatus(log, "Clock left unchanged: 127\\.0\\.0\\.1 says it is (3652) days", 1s))
          << readText(log);
      EXPECT_EQ(offset, kTenYearsMs);
    }
  }
}

// The user's own synchronisation asks before a ten-year change; a SIGTERM while the question is
// open answers it No: the clock stays, the exit is clean and the settings are saved.
TEST_F(WindowE2ETest, ASigtermWhileTheClockQuestionIsOpenLeavesTheClockAndSaves) {
  KORVANE_START_PEERS(kTimeDayTimePeer, kPeersWait);
  constexpr long long kTenYearsMs = 315569520000LL;
  Desktop desktop(false);
  const std::map<std::string, std::string> env = desktop.korvaneEnvironment(folder);
  writeText(env.at("KORVANE_HOME") + "/NXO_KRV5.KRV",
            "Korvane test list\r\nloopback\r\n-\r\n-\r\n-\r\n"
            "127.0.0.1:::Loopback Time NA:::2:::37:0:0:0\r\n");
  writeText(folder + "/registry.reg", startingHive("Default Time Protocol"));
  writeText(folder + "/clock-offset", std::to_string(kTenYearsMs) + "\n");
  auto korvane = startKorvane(desktop, "");
  const std::string log = folder + "/stderr.txt";
  ASSERT_TRUE(waitForStatus(log, "Clock left unchanged: .* says it is (3652) days", kStatusWait))
      << "the start's own synchronisation asks nobody\n"
      << readText(log);
  const std::string main = desktop.waitForOutput(kWindowByName, 10s);
  ASSERT_FALSE(main.empty());
  const std::vector<std::string> before = desktop.windowsNamed("");
  desktop.clickIn(main, (4665 + 1320 / 2) / 15, (3315 + 375 / 2) / 15);  // Synchronize
  const std::string question = desktop.waitForNewWindow("^Korvane$", before, kStatusWait);
  ASSERT_FALSE(question.empty()) << readText(log);
  desktop.run(std::string("import -window root ") + KORVANE_E2E_SCREENS + "/clock_question.png");
  korvane->signal(SIGTERM);
  EXPECT_EQ(korvane->waitFor(10s), std::optional<int>(0)) << readText(log);
  EXPECT_EQ(readClockOffset(folder + "/clock-offset"), kTenYearsMs);
  EXPECT_EQ(hiveValue(readFile("registry.reg"), "KRVLastServer"), "127.0.0.1");
}

TEST_F(WindowE2ETest, MainWindowHasTheDesignedClientArea) {
  Desktop desktop(false);
  auto korvane = startKorvane(desktop, "-x");
  const std::string id = desktop.waitForOutput(kWindowByName, 15s);
  ASSERT_FALSE(id.empty());
  std::this_thread::sleep_for(1500ms);  // one tick writes the clock text
  const std::string shot = std::string(KORVANE_E2E_SCREENS) + "/main_window.png";
  desktop.run("import -window " + id + " " + shot);
  EXPECT_EQ(desktop.run("identify -format %wx%h " + shot), "403x249");
  // Without a tray, Minimize must not hide the window where nobody could bring it back.
  const auto [x, y] = windowOrigin(desktop, id);
  desktop.run("xdotool mousemove " + std::to_string(x + 330) + " " + std::to_string(y + 176) +
              " click 1");
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(desktop.run(kWindowByName), id);
  // "About / Help" opens the about box beside the main window.
  desktop.run("xdotool mousemove " + std::to_string(x + 330) + " " + std::to_string(y + 74) +
              " click 1");
  const std::string about =
      desktop.waitForOutput("xdotool search --onlyvisible --name '^About Korvane$'", 5s);
  ASSERT_FALSE(about.empty());
  const std::string aboutShot = std::string(KORVANE_E2E_SCREENS) + "/about_box.png";
  desktop.run("import -window " + about + " " + aboutShot);
  EXPECT_EQ(desktop.run("identify -format %wx%h " + aboutShot), "382x176");
  EXPECT_EQ(desktop.run(kWindowByName), id) << "modeless: the main window stays";
  korvane->signal(SIGTERM);
  EXPECT_EQ(korvane->waitFor(10s), std::optional<int>(0));
}

TEST_F(WindowE2ETest, MinimiseToTrayOpenTheMenuAndRestore) {
  Desktop desktop(true);
  auto korvane = startKorvane(desktop, "-x");
  const std::string id = desktop.waitForOutput(kWindowByName, 15s);
  ASSERT_FALSE(id.empty());
  const auto [x, y] = windowOrigin(desktop, id);
  desktop.run("xdotool mousemove " + std::to_string(x + 330) + " " + std::to_string(y + 176) +
              " click 1");  // Minimize
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(desktop.run(kWindowByName), "") << "hidden to the tray";
  // The tray panel sits at the bottom right; the icon fills its right end.
  const std::string panel = desktop.run(
      "xwininfo -root -tree | grep '\"panel\"' | sed -E 's/.*  "
      "([0-9]+)x([0-9]+)\\+([0-9]+)\\+([0-9]+).*/\\1 \\2 \\3 \\4/'");
  int pw = 0, ph = 0, px = 0, py = 0;
  ASSERT_EQ(sscanf(panel.c_str(), "%d %d %d %d", &pw, &ph, &px, &py), 4) << panel;
  const std::string iconAt = std::to_string(px + pw - 12) + " " + std::to_string(py + ph / 2);
  desktop.run("xdotool mousemove " + iconAt + " click 3");
  std::this_thread::sleep_for(1s);
  const std::string shot = std::string(KORVANE_E2E_SCREENS) + "/tray_menu.png";
  desktop.run("import -window root " + shot);
  EXPECT_TRUE(fs::exists(shot));
  EXPECT_EQ(desktop.run(kWindowByName), "") << "the menu leaves the window hidden";
  desktop.run("xdotool key Escape");
  std::this_thread::sleep_for(300ms);
  desktop.run("xdotool mousemove " + iconAt + " click 1");
  EXPECT_EQ(desktop.waitForOutput(kWindowByName, 5s), id) << "a click on the icon restores";
  korvane->signal(SIGTERM);
  EXPECT_EQ(korvane->waitFor(10s), std::optional<int>(0));
}

// A plain start synchronises with the protocol of the settings: the simulated clock is set right
// and the window's status line reports the adjustment. Closing the window then writes the server
// box's text as the last server and Settings with the interval box's text, typed by a person.
TEST_F(WindowE2ETest, PlainStartSynchronisesAndClosingSavesTheBoxes) {
  KORVANE_START_PEERS(kNtpPeer | kTimeDayTimePeer, kPeersWait);
  struct Case {
    const char* name;
    const char* protocol;
    long long start;     // the simulated clock's offset before the run
    const char* status;  // the adjustment's status line; its number in the group
    long long adjustLow, adjustHigh;
    long long offsetLow, offsetHigh;  // the simulated clock once set
    const char* typedInterval;
    const char* typedHost;  // typed into the server box; nothing when empty
    const char* settings;
    const char* lastServer;
  };
  const Case cases[] = {
      {"sntp", "Default SNTP Protocol", 2345, " KRV Adjusted by: (-?[0-9]+) ms ", -2350, -2340, -5,
       5, "15a", "", "NO:15:Minute/s:NA", "127.0.0.1"},
      // Whole seconds: the clock ends behind by the part of the server's second already gone
      // and the reply's way, never ahead.
      {"time", "Default Time Protocol", -3210, "Time Adjusted by (-?[0-9]+) second\\(s\\)", 3, 4,
       -1100, 100, "120", "127.0.0.2", "NO:120:Minute/s:NA", "127.0.0.2"},
  };
  Desktop desktop(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string at = folder + "/" + c.name;
    fs::create_directories(at);
    writeText(at + "/registry.reg", startingHive(c.protocol));
    writeText(at + "/clock-offset", std::to_string(c.start) + "\n");
    auto korvane = startKorvane(desktop, "", "stderr.txt", at);
    const std::string log = at + "/stderr.txt";
    const std::optional<long long> adjusted = waitForStatus(log, c.status, kStatusWait);
    ASSERT_TRUE(adjusted.has_value()) << readText(log);
    EXPECT_GE(*adjusted, c.adjustLow - kTimingSlackMs);
    EXPECT_LE(*adjusted, c.adjustHigh + kTimingSlackMs);
    const long long offset = readClockOffset(at + "/clock-offset");
    EXPECT_GE(offset, c.offsetLow - kTimingSlackMs);
    EXPECT_LE(offset, c.offsetHigh + kTimingSlackMs);

    const std::string id = desktop.waitForOutput(kWindowByName, 10s);
    ASSERT_FALSE(id.empty()) << "a plain start shows the window";
    desktop.run("import -window " + id + " " + KORVANE_E2E_SCREENS + "/plain_start_" + c.name +
                ".png");
    const auto [x, y] = windowOrigin(desktop, id);
    typeInto(desktop, x + 163, y + 231, c.typedInterval);               // SyncN
    if (*c.typedHost) typeInto(desktop, x + 154, y + 88, c.typedHost);  // vbRemoteHost
    std::this_thread::sleep_for(300ms);
    desktop.closeWindow(id);
    ASSERT_EQ(korvane->waitFor(10s), std::optional<int>(0)) << readText(log);
    EXPECT_NE(readText(log).find("shut-down complete, unload mode 0"), std::string::npos)
        << readText(log);
    const std::string hive = readText(at + "/registry.reg");
    EXPECT_EQ(hiveValue(hive, "Settings"), c.settings) << hive;
    EXPECT_EQ(hiveValue(hive, "KRVLastServer"), c.lastServer) << hive;
    EXPECT_EQ(hiveValue(hive, "Protocol"), c.protocol) << hive;
  }
}

// Run-once synchronises hidden with the Time protocol, whatever the settings name, and ends by
// itself once the version query has failed (nothing listens on the update host), long before its
// 60 seconds, having saved its settings.
TEST_F(WindowE2ETest, RunOnceSetsTheClockAndEndsOnceTheVersionQueryFailed) {
  KORVANE_START_PEERS(kTimeDayTimePeer, kPeersWait);
  Desktop desktop(true);
  writeText(folder + "/registry.reg", startingHive("Default SNTP Protocol"));
  writeText(folder + "/clock-offset", "2345\n");
  // Run-once may end, and save, before the test has read its status.
  const auto written = fs::last_write_time(folder + "/registry.reg");
  const auto started = std::chrono::steady_clock::now();
  auto korvane = startKorvane(desktop, "-ro");
  const std::string log = folder + "/stderr.txt";
  const std::optional<long long> adjusted =
      waitForStatus(log, "Time Adjusted by (-?[0-9]+) second\\(s\\)", kStatusWait);
  ASSERT_TRUE(adjusted.has_value()) << readText(log);
  stopPeers();  // done with: other runs may have the servers during the long wait
  EXPECT_GE(*adjusted, -3);
  EXPECT_LE(*adjusted, -2);
  EXPECT_EQ(desktop.run(kWindowByName), "") << "run-once shows no window";

  const auto status = korvane->waitFor(std::chrono::duration_cast<std::chrono::milliseconds>(
      65s - (std::chrono::steady_clock::now() - started)));
  ASSERT_TRUE(status.has_value()) << "still running 65 s after start";
  EXPECT_EQ(*status, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 30s) << "a refused query ends run-once";
  EXPECT_NE(readText(log).find("shut-down complete, unload mode 1"), std::string::npos)
      << readText(log);
  const long long offset = readClockOffset(folder + "/clock-offset");
  EXPECT_GE(offset, -1100);
  EXPECT_LE(offset, 100);
  EXPECT_GT(fs::last_write_time(folder + "/registry.reg"), written)
      << "the shut-down saves the settings";
  EXPECT_EQ(hiveValue(readText(folder + "/registry.reg"), "KRVLastServer"), "127.0.0.1");
}

// Without an update server nothing waits for a version reply: run-once ends once the clock is
// set, instead of after its minute.
TEST_F(WindowE2ETest, RunOnceWithoutAnUpdateServerEndsRightAfterSettingTheClock) {
  KORVANE_START_PEERS(kTimeDayTimePeer, kPeersWait);
  std::map<std::string, std::string> env = offscreenEnvironment(folder);
  env["KORVANE_UPDATE_HOST"] = "";  // set and empty: no server, whatever the build chose
  writeText(folder + "/registry.reg", startingHive("Default Time Protocol"));
  writeText(folder + "/clock-offset", "2345\n");
  Process korvane({KORVANE_E2E_BINARY, "-ro"}, env, folder + "/stderr.txt");
  const std::string log = folder + "/stderr.txt";
  ASSERT_TRUE(waitForStatus(log, "Time Adjusted by (-?[0-9]+) second\\(s\\)", kStatusWait))
      << readText(log);
  const auto status = korvane.waitFor(10s);
  stopPeers();
  ASSERT_TRUE(status.has_value()) << "still running 10 s after setting the clock";
  EXPECT_EQ(*status, 0) << readText(log);
  EXPECT_NE(readText(log).find("shut-down complete, unload mode 1"), std::string::npos)
      << readText(log);
}

}  // namespace
}  // namespace korvane::e2e
