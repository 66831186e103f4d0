// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A screen of a fixed size (15 twips per pixel) whose style and opacity calls are recorded.
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/ui/form.h"
#include "platform/windows.h"

namespace korvane::platform {

class FakeWindows : public Windows {
 public:
  int twipsPerPixelX() const override { return ui::kTwipsPerPixelAt96Dpi; }
  int twipsPerPixelY() const override { return ui::kTwipsPerPixelAt96Dpi; }
  int screenWidthTwips() const override { return screenWidth; }
  int screenHeightTwips() const override { return screenHeight; }
  std::vector<ui::TwipsRect> screensTwips() const override {
    if (!screens.empty()) return screens;
    return Windows::screensTwips();
  }
  int32_t getWindowLong(ui::Form& w, int index) const override {
    const auto it = longs.find({&w, index});
    return it == longs.end() ? 0 : it->second;
  }
  void setWindowLong(ui::Form& w, int index, int32_t value) override { longs[{&w, index}] = value; }
  void setLayeredWindowAttributes(ui::Form& w, uint32_t key, uint8_t alpha,
                                  uint32_t flags) override {
    layeredCalls.push_back({&w, key, alpha, flags});
  }
  bool compositing() const override { return composites; }
  std::optional<TaskbarClock> findTaskbarClock() const override { return taskbarClock; }
  void adoptOverlay(ui::Form& overlay) override { adopted = &overlay; }
  // The clock moves inside the notification area; the record keeps each move.
  void moveTaskbarClock(const Rect& r) override {
    clockMoves.push_back(r);
    if (!taskbarClock) return;
    const Rect& area = taskbarClock->notificationArea;
    taskbarClock->clock = {area.left + r.left, area.top + r.top, area.left + r.right,
                           area.top + r.bottom};
  }
  // The drag ends when the test says so (endSystemMove), as a window manager's would.
  void beginSystemMove(ui::Form& w, int button, std::function<void()> ended) override {
    moving = &w;
    movingButton = button;
    moveEnded = std::move(ended);
  }
  void endSystemMove() {
    moving = nullptr;
    if (auto ended = std::exchange(moveEnded, nullptr)) ended();
  }
  ui::TwipsRect availableAreaTwips() const override {
    return availableArea.value_or(Windows::availableAreaTwips());
  }

  struct LayeredCall {
    ui::Form* window;
    uint32_t key;
    uint8_t alpha;
    uint32_t flags;
  };
  int screenWidth = 1024 * ui::kTwipsPerPixelAt96Dpi;
  int screenHeight = 768 * ui::kTwipsPerPixelAt96Dpi;
  bool composites = true;
  std::vector<ui::TwipsRect> screens;  // several screens; empty: one of screenWidth x screenHeight
  std::map<std::pair<ui::Form*, int>, int32_t> longs;
  std::optional<TaskbarClock> taskbarClock;
  ui::Form* adopted = nullptr;
  std::vector<Rect> clockMoves;
  ui::Form* moving = nullptr;
  int movingButton = 0;
  std::function<void()> moveEnded;
  std::optional<ui::TwipsRect> availableArea;
  std::vector<LayeredCall> layeredCalls;
};

}  // namespace korvane::platform
