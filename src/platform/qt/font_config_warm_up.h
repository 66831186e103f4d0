// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <thread>

namespace korvane::platform {

// Reads the system's font configuration and font caches on a thread of its own, from before the
// toolkit starts until the first text is laid out: reading it takes a few milliseconds of the
// start, and connecting to the display leaves a core idle meanwhile.
class FontConfigWarmUp {
 public:
  FontConfigWarmUp();

  // Waits for the read (an unfinished one is waited for at destruction): two first readers
  // would each build the whole configuration.
  void finish();

 private:
  std::jthread reader_;
};

}  // namespace korvane::platform
