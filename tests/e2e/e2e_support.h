// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the end-to-end suites share: a private simulated-clock file and the peers' fixture.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "e2e/peers.h"

namespace korvane::e2e {

// How much wider a measured SNTP offset may spread: a stamp taken late on one side of the
// exchange skews it by half the delay. A loaded 2-core machine delays one by several
// milliseconds; a sanitizer build, running the program several times slower, by more.
inline constexpr long long kTimingSlackMs = KORVANE_SANITIZED ? 25 : 10;
// The median of several exchanges is steadier: only the sanitizer build widens it.
inline constexpr long long kMedianSlackMs = KORVANE_SANITIZED ? 15 : 0;

// The offset in milliseconds a simulated-clock file holds; a missing or empty file reads as 0,
// like the clock reads it.
inline long long readClockOffset(const std::string& path) {
  std::ifstream in(path);
  long long v = 0;
  in >> v;
  return v;
}

// A simulated-clock offset file of this test alone, removed afterwards.
class ClockFile {
 public:
  ClockFile() {
    char dir[] = "/tmp/korvane-e2e-clock-XXXXXX";
    dir_ = mkdtemp(dir) ? dir : "/tmp";
    path_ = dir_ + "/offset";
  }
  ~ClockFile() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  const std::string& path() const { return path_; }
  std::string env() const { return "KORVANE_CLOCK_FILE=" + path_; }
  void write(long long millis) const { std::ofstream(path_) << millis << '\n'; }
  // The offset the file holds now.
  long long read() const { return readClockOffset(path_); }

 private:
  std::string dir_;
  std::string path_;
};

// Starts the peers a test needs and goes on with it; or ends the test, skipped with the reason
// when this machine cannot run them, failed when they would not start.
#define KORVANE_START_PEERS(...)                                   \
  do {                                                             \
    startPeers(__VA_ARGS__);                                       \
    if (HasFatalFailure() || ::testing::Test::IsSkipped()) return; \
  } while (0)

class PeersTest : public ::testing::Test {
 protected:
  // lockWait: how long to wait for another run to release the servers.
  void startPeers(unsigned kinds, std::chrono::milliseconds lockWait = std::chrono::seconds(90)) {
    if (const std::string why = peersUnavailable(kinds); !why.empty()) GTEST_SKIP() << why;
    peers_ = std::make_unique<LoopbackPeers>(kinds, lockWait);
    ASSERT_TRUE(peers_->error().empty()) << peers_->error();
  }
  void stopPeers() { peers_.reset(); }
  std::unique_ptr<LoopbackPeers> peers_;
  ClockFile clockFile;
};

}  // namespace korvane::e2e
