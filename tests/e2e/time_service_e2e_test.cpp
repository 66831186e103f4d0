// SPDX-License-Identifier: GPL-3.0-or-later
// The real korvane on a simulated clock that refuses direct setting, as a normal user's process
// is refused: it sets the clock through the project's stand-in time service on a private system
// bus, reports the service's refusals in plain words, and the original refusal with no bus.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <set>
#include <thread>

#include "e2e/e2e_support.h"
#include "e2e/window/desktop.h"
#include "temp_folder.h"

namespace korvane::e2e {
namespace {

namespace fs = std::filesystem;
using korvane::testing::readText;
using korvane::testing::writeText;
using namespace std::chrono_literals;

constexpr auto kStatusWait = 20s;
constexpr auto kPeersWait = 180s;

bool canConnect(const std::string& socketPath) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  socketPath.copy(addr.sun_path, sizeof addr.sun_path - 1);
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
  close(fd);
  return ok;
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

// A system bus of this test alone: Debian's dbus-daemon with a configuration of its own.
class PrivateSystemBus {
 public:
  explicit PrivateSystemBus(const std::string& folder) : socket_(folder + "/system_bus_socket") {
    const std::string config = folder + "/system-bus.conf";
    writeText(config,
              "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\""
              " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
              "<busconfig><type>system</type><listen>unix:path=" +
                  socket_ +
                  "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                  "<allow user=\"*\"/><allow own=\"*\"/><allow send_destination=\"*\"/>"
                  "<allow receive_sender=\"*\"/></policy></busconfig>\n");
    daemon_ = std::make_unique<Process>(
        std::vector<std::string>{"dbus-daemon", "--config-file=" + config, "--nofork"},
        std::map<std::string, std::string>{}, folder + "/dbus-daemon.txt");
    ready_ = waitUntil([&] { return canConnect(socket_); }, 10s);
  }
  bool ready() const { return ready_; }
  std::string address() const { return "unix:path=" + socket_; }

 private:
  std::string socket_;
  std::unique_ptr<Process> daemon_;
  bool ready_ = false;
};

// The first group of the first status line matching pattern, once the debug log shows it.
std::optional<std::string> waitForStatus(const std::string& log, const std::string& pattern) {
  const std::regex status("korvane: status: +(" + pattern + ")");
  std::optional<std::string> found;
  waitUntil(
      [&] {
        std::smatch m;
        const std::string text = readText(log);
        if (std::regex_search(text, m, status)) found = m[1].str();
        return found.has_value();
      },
      kStatusWait);
  return found;
}

std::string startingHive(const std::string& protocol) {
  return "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvane]\n"
         "\"Settings\"=\"NO:59:Minute/s:NA\"\n\"KRVLastServer\"=\"127.0.0.1\"\n"
         "\"Protocol\"=\"" +
         protocol + "\"\n\n";
}

class TimeServiceE2ETest : public PeersTest {
 protected:
  korvane::testing::TempFolder folder;
};

TEST_F(TimeServiceE2ETest, RefusedDirectSettingGoesThroughTheTimeService) {
  KORVANE_START_PEERS(kNtpPeer | kTimeDayTimePeer, kPeersWait);
  PrivateSystemBus bus(folder.path().string());
  ASSERT_TRUE(bus.ready()) << readText(folder.file("dbus-daemon.txt"));
  struct Case {
    const char* name;
    const char* answer;  // the service's answer; nullptr: no bus at all
    const char* protocol;
    long long start;                  // the simulated clock's offset before the run
    const char* status;               // the status line, as a pattern
    long long offsetLow, offsetHigh;  // the simulated clock once the status shows
    const char* call;                 // what the service was asked, as a pattern
  };
  const Case cases[] = {
      {"sntp", "set", "Default SNTP Protocol", 2345, "KRV Adjusted by: -23[0-9][0-9] ms ", -5, 5,
       "SetTime -23[0-9]{5} 1 1\n"},
      {"time", "set", "Default Time Protocol", -3210, "Time Adjusted by [34] second\\(s\\)", -1100,
       100, "SetTime [2-4][0-9]{6} 1 1\n"},
      {"automatic", "automatic-sync", "Default SNTP Protocol", 2345,
       "Unable to set the clock: automatic time synchronisation is on; turn it off with: "
       "timedatectl set-ntp false",
       2345, 2345, "SetTime -23[0-9]{5} 1 1\n"},
      {"unauthorised", "interactive-auth", "Default Time Protocol", -3210,
       "Unable to set the clock: not authorised to set the time", -3210, -3210,
       "SetTime [2-4][0-9]{6} 1 1\n"},
      {"denied", "access-denied", "Default SNTP Protocol", 2345,
       "Unable to set the clock: not authorised to set the time", 2345, 2345, "SetTime"},
      {"no bus", nullptr, "Default Time Protocol", -3210,
       "Unable to set the clock: Operation not permitted", -3210, -3210, ""},
  };
  Desktop desktop(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string at = folder.file(c.name);
    fs::create_directories(at);
    writeText(at + "/registry.reg", startingHive(c.protocol));
    writeText(at + "/clock-offset", std::to_string(c.start) + "\n");
    std::unique_ptr<Process> service;
    const std::string serviceLog = at + "/service-calls.txt";
    auto env = desktop.korvaneEnvironment(at);
    env["KORVANE_CLOCK_REFUSE_DIRECT"] = "1";
    env["DBUS_SYSTEM_BUS_ADDRESS"] = c.answer ? bus.address() : "unix:path=" + at + "/no-bus";
    if (c.answer) {
      service = std::make_unique<Process>(
          std::vector<std::string>{KORVANE_TIME_SERVICE_PEER, c.answer, serviceLog}, env,
          at + "/service.txt");
      ASSERT_TRUE(waitUntil([&] { return readText(serviceLog) == "ready\n"; }, 10s))
          << readText(at + "/service.txt");
    }
    Process korvane({KORVANE_E2E_BINARY}, env, at + "/stderr.txt");
    const std::optional<std::string> status =
        waitForStatus(at + "/stderr.txt", "Unable to set.*|.*Adjusted by.*");
    ASSERT_TRUE(status.has_value()) << readText(at + "/stderr.txt");
    EXPECT_TRUE(std::regex_match(*status, std::regex(c.status))) << *status;
    const long long offset = readClockOffset(at + "/clock-offset");
    // A clock left alone stays exact; a set one may spread with the build's timing.
    const long long slack = c.offsetLow == c.offsetHigh ? 0 : kTimingSlackMs;
    EXPECT_GE(offset, c.offsetLow - slack);
    EXPECT_LE(offset, c.offsetHigh + slack);
    const std::string calls = c.answer ? readText(serviceLog) : "";
    EXPECT_TRUE(std::regex_search(calls, std::regex(c.call))) << calls;
    korvane.signal(SIGTERM);
    EXPECT_EQ(korvane.waitFor(10s), std::optional<int>(0)) << readText(at + "/stderr.txt");
  }
}

// A service that answers 5 s after the call, as while polkit asks for a password: the floating
// clock's seconds go on changing meanwhile, and the status then shows the answer.
TEST_F(TimeServiceE2ETest, TheClocksGoOnWhileTheTimeServiceTakesItsTime) {
  KORVANE_START_PEERS(kNtpPeer, kPeersWait);
  PrivateSystemBus bus(folder.path().string());
  ASSERT_TRUE(bus.ready()) << readText(folder.file("dbus-daemon.txt"));
  const std::string at = folder.path().string();
  // Hidden, no synchronisation at the start: the first one comes on the thirtieth tick, long
  // after the floating clock (24 h with seconds) has opened on the fifth.
  writeText(at + "/registry.reg",
            "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvane]\n"
            "\"Settings\"=\"NO:30:Second/s:NA\"\n\"KRVLastServer\"=\"127.0.0.1\"\n"
            "\"Protocol\"=\"Default SNTP Protocol\"\n\"OpenMinimized\"=\"NO\"\n"
            "\"KRVClockSkin\"=\"NO:YES:YES:NO\"\n\"KRVSkinLocal\"=\"KRV_Default Skin.gif\"\n"
            "\"KRVSkinDetach\"=\"KRV_Default Skin.gif\"\n\"KRVSkinTransP\"=\"255\"\n"
            "\"KRVDetachMode\"=\"KRV:y:y:400:300\"\n"
            "\"KRVDetachFont\"=\"Arial,10,n,n,n,n,0,-2147483643\"\n\n");
  writeText(at + "/clock-offset", "2345\n");
  Desktop desktop(false);
  auto env = desktop.korvaneEnvironment(at);
  env["KORVANE_CLOCK_REFUSE_DIRECT"] = "1";
  env["DBUS_SYSTEM_BUS_ADDRESS"] = bus.address();
  const std::string serviceLog = at + "/service-calls.txt";
  Process service({KORVANE_TIME_SERVICE_PEER, "slow-set", serviceLog}, env, at + "/service.txt");
  ASSERT_TRUE(waitUntil([&] { return readText(serviceLog) == "ready\n"; }, 10s))
      << readText(at + "/service.txt");
  Process korvane({KORVANE_E2E_BINARY, "-rs"}, env, at + "/stderr.txt");
  std::string clock;
  ASSERT_TRUE(waitUntil(
      [&] {
        const auto ids = desktop.windowsNamed("^korvane$");
        if (!ids.empty()) clock = ids.front();
        return !clock.empty();
      },
      20s))
      << readText(at + "/stderr.txt");
  ASSERT_TRUE(
      waitUntil([&] { return readText(serviceLog).find("SetTime") != std::string::npos; }, 45s))
      << readText(at + "/stderr.txt");
  std::set<std::string> pictures;
  for (int k = 0; k < 4; ++k) {
    pictures.insert(desktop.run("import -window " + clock + " -depth 8 rgb:- | md5sum"));
    std::this_thread::sleep_for(1100ms);
  }
  EXPECT_EQ(readText(serviceLog).find("answered"), std::string::npos)
      << "the clock was looked at while the service had yet to answer";
  EXPECT_GE(pictures.size(), 3u) << "the floating clock's seconds stood still";
  const std::optional<std::string> status = waitForStatus(at + "/stderr.txt", ".*Adjusted by.*");
  ASSERT_TRUE(status.has_value()) << readText(at + "/stderr.txt");
  EXPECT_TRUE(std::regex_match(*status, std::regex("KRV Adjusted by: -23[0-9][0-9] ms ")))
      << *status;
  EXPECT_NE(readText(serviceLog).find("answered"), std::string::npos);
  EXPECT_NEAR(static_cast<double>(readClockOffset(at + "/clock-offset")), 0, kTimingSlackMs);
  korvane.signal(SIGTERM);
  EXPECT_EQ(korvane.waitFor(10s), std::optional<int>(0)) << readText(at + "/stderr.txt");
}

}  // namespace
}  // namespace korvane::e2e
