// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Background work the test finishes when it chooses, on its own thread.
#include <utility>
#include <vector>

#include "platform/background.h"

namespace korvane::platform {

class FakeBackgroundWork : public BackgroundWork {
 public:
  void run(std::function<void()> work, std::function<void()> done) override {
    jobs.emplace_back(std::move(work), std::move(done));
  }
  // Runs every job queued so far, work then done.
  void finishAll() {
    auto now = std::move(jobs);
    jobs.clear();
    for (auto& [work, done] : now) {
      work();
      done();
    }
  }
  std::vector<std::pair<std::function<void()>, std::function<void()>>> jobs;
};

}  // namespace korvane::platform
