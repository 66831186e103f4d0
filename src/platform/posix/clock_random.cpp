// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/clock_random.h"

#include <chrono>
#include <random>

namespace korvane::platform {

double ClockRandom::draw() {
  // The clock alone would repeat for draws within one tick; the device's entropy keeps them apart.
  std::random_device device;
  const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  std::seed_seq seed{static_cast<uint64_t>(now), static_cast<uint64_t>(now) >> 32,
                     static_cast<uint64_t>(device()), static_cast<uint64_t>(device())};
  std::mt19937_64 generator(seed);
  return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

}  // namespace korvane::platform
