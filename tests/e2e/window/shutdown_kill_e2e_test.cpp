// SPDX-License-Identifier: GPL-3.0-or-later
// A run killed (SIGKILL) at a random point of its shut-down never loses settings, and the
// temporary file a killed write leaves is gone once the program has started again.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <random>
#include <thread>
#include <vector>

#include "e2e/window/desktop.h"
#include "platform/posix/hive_format.h"
#include "temp_folder.h"

namespace korvane::e2e {
namespace {

namespace fs = std::filesystem;
using korvane::testing::readText;
using korvane::testing::TempFolder;
using korvane::testing::writeText;
using namespace std::chrono_literals;

constexpr int kKills = 20;

long long micros(std::chrono::nanoseconds d) {
  return std::chrono::duration_cast<std::chrono::microseconds>(d).count();
}

// The hive's temporary files in folder, other than the one of the process still running.
std::vector<std::string> leftTemporaries(const std::string& folder, pid_t running) {
  std::vector<std::string> found;
  const std::string own = "registry.reg.tmp-" + std::to_string(running);
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("registry.reg.tmp-", 0) == 0 && name != own) found.push_back(name);
  }
  return found;
}

class ShutDownKill : public ::testing::Test {
 protected:
  // Starts korvane with its window and no synchronisation, and waits until the window shows.
  std::unique_ptr<Process> start(const std::string& errName) {
    auto korvane = std::make_unique<Process>(std::vector<std::string>{KORVANE_E2E_BINARY, "-x"},
                                             desktop.korvaneEnvironment(folder.path().string()),
                                             folder.file(errName));
    EXPECT_FALSE(
        desktop.waitForOutput("xdotool search --onlyvisible --name '^Korvane - '", 30s).empty())
        << readText(folder.file(errName));
    return korvane;
  }
  std::vector<platform::StoredKey> hive() const {
    const auto keys = platform::parseHive(readText(folder.file("registry.reg")));
    return keys ? *keys : std::vector<platform::StoredKey>{};
  }

  Desktop desktop{false};
  TempFolder folder;
};

TEST_F(ShutDownKill, EveryKilledShutDownLeavesTheWholeHiveAndTheNextStartClearsItsLitter) {
  writeText(folder.file("registry.reg"),
            "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvane]\n"
            "\"Settings\"=\"NO:59:Minute/s:NA\"\n\"KRVLastServer\"=\"127.0.0.1\"\n"
            "\"Protocol\"=\"Default SNTP Protocol\"\n\n");
  // A whole shut-down first: the hive it writes is what every killed one must leave, its length
  // bounds the random points, and the hive's time tells when it writes.
  auto korvane = start("clean.txt");
  const auto termAt = fs::file_time_type::clock::now();
  korvane->signal(SIGTERM);
  ASSERT_EQ(korvane->waitFor(20s), std::optional<int>(0)) << readText(folder.file("clean.txt"));
  const auto shutDown = micros(fs::file_time_type::clock::now() - termAt);
  const auto written = micros(fs::last_write_time(folder.file("registry.reg")) - termAt);
  const std::vector<platform::StoredKey> whole = hive();
  ASSERT_FALSE(whole.empty()) << readText(folder.file("registry.reg"));

  const unsigned seed = std::random_device{}();
  std::printf("seed %u, whole shut-down %lld us, hive written at %lld us\n", seed, shutDown,
              written);
  std::mt19937 random(seed);
  // Every other kill falls in the last 30 ms before the hive was written, where the writes are.
  std::uniform_int_distribution<long long> anywhere(0, shutDown);
  std::uniform_int_distribution<long long> nearWrite(std::max(0LL, written - 30000),
                                                     std::max(0LL, written + 2000));
  int leftBehind = 0;
  for (int run = 0; run < kKills; ++run) {
    SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed));
    korvane = start("run.txt");
    EXPECT_EQ(leftTemporaries(folder.path().string(), korvane->pid()), std::vector<std::string>{})
        << "a start removes what killed writers left";
    korvane->signal(SIGTERM);
    const long long after = run % 2 ? nearWrite(random) : anywhere(random);
    std::this_thread::sleep_for(std::chrono::microseconds(after));
    korvane->signal(SIGKILL);
    ASSERT_TRUE(korvane->waitFor(10s).has_value());
    EXPECT_EQ(hive(), whole) << readText(folder.file("registry.reg"));
    leftBehind += !leftTemporaries(folder.path().string(), 0).empty();
  }
  korvane = start("last.txt");
  EXPECT_EQ(leftTemporaries(folder.path().string(), korvane->pid()), std::vector<std::string>{});
  korvane->signal(SIGTERM);
  EXPECT_EQ(korvane->waitFor(20s), std::optional<int>(0));
  std::printf("%d of %d kills left a temporary file\n", leftBehind, kKills);
}

}  // namespace
}  // namespace korvane::e2e
