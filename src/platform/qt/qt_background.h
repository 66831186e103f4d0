// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Background work on Qt's thread pool, its done posted back to the UI thread's event loop; a done
// arriving after this object is gone is dropped.
#include <memory>

#include "platform/background.h"

namespace korvane::platform {

class QtBackgroundWork final : public BackgroundWork {
 public:
  void run(std::function<void()> work, std::function<void()> done) override;

 private:
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace korvane::platform
