#pragma once
// Random numbers reseeded from the monotonic clock just before every draw.
#include <chrono>
#include <random>

#include "platform/random.h"

namespace korvane::platform {

class ClockSeededRandom : public RandomSource {
 public:
  double draw() override {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    engine_.seed(static_cast<std::mt19937::result_type>(now ^ (now >> 32)));
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
  }

 private:
  std::mt19937 engine_;
};

}  // namespace korvane::platform
