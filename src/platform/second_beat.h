// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// When a timer that ticks on each whole second of the program's clock wakes next: just after
// the second, re-derived from the clock at every wake-up, so a clock change or a slow handler
// leaves no lasting phase.
#include "platform/clock.h"

namespace korvane::platform {

// How long after the whole second a tick comes, and how early a wake-up may be and still wait.
inline constexpr int kAfterSecondMs = 2;
inline constexpr int kEarlyWakeMs = 20;

struct SecondStep {
  bool tick = true;  // false: woken just before the second, so wait for it
  int nextInMs = 1000;
};

inline SecondStep secondStep(const SystemClock& clock) {
  const int ms = clock.localTime().milliseconds;
  return {ms < 1000 - kEarlyWakeMs, 1000 - ms + kAfterSecondMs};
}

}  // namespace korvane::platform
