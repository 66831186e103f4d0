// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One synchronisation a few seconds after the computer wakes from a suspend or the network
// comes back (once the network answers), never a burst, never while one runs.
#include <cstdint>
#include <optional>

namespace korvane::shell {

class WakeResync {
 public:
  // Ticks from a wake to its synchronisation.
  static constexpr int kSettleTicks = 5;
  // Time suspended between two ticks that counts as a suspend.
  static constexpr int64_t kSuspendMillis = 1000;

  // A resume or the network's return, told by the system.
  void seen() { wait_ = kSettleTicks; }
  // One tick, with the time the computer has spent suspended so far: whether a synchronisation
  // is due now. One that runs when it falls due stands for it.
  bool tick(int64_t suspendedMillis, bool synchronising);

 private:
  std::optional<int64_t> lastSuspended_;
  int wait_ = 0;  // ticks to go; 0: none due
};

}  // namespace korvane::shell
