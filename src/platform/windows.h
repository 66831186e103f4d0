// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window operations the logic needs beyond the form model: the screen, extended styles,
// layered opacity, the taskbar clock the overlay covers, and the system move.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "common/rect.h"
#include "platform/ui/control.h"

namespace korvane::ui {
class Form;
}

namespace korvane::platform {

// The taskbar's clock window and the notification area holding it, in screen pixels. Where the
// desktop has no clock window to adopt, a stand-in at the bottom-right of the primary screen's
// available area takes its place.
struct TaskbarClock {
  Rect notificationArea;
  Rect clock;
  bool standIn = false;
  bool operator==(const TaskbarClock&) const = default;
};

constexpr int kGwlExStyle = -20;
constexpr int32_t kWsExLayered = 0x00080000;
constexpr uint32_t kLwaAlpha = 2;

class Windows {
 public:
  virtual ~Windows() = default;
  virtual int twipsPerPixelX() const = 0;
  virtual int twipsPerPixelY() const = 0;
  // The primary screen's size in twips.
  virtual int screenWidthTwips() const = 0;
  virtual int screenHeightTwips() const = 0;
  // Every screen of the virtual desktop in twips, each at its own origin; the primary first.
  virtual std::vector<ui::TwipsRect> screensTwips() const {
    return {{0, 0, screenWidthTwips(), screenHeightTwips()}};
  }
  virtual int32_t getWindowLong(ui::Form& window, int index) const = 0;
  virtual void setWindowLong(ui::Form& window, int index, int32_t value) = 0;
  // With kLwaAlpha: the window's opacity while it carries the layered style.
  virtual void setLayeredWindowAttributes(ui::Form& window, uint32_t colourKey, uint8_t alpha,
                                          uint32_t flags) = 0;
  // Whether windows can be translucent (a compositing window system).
  virtual bool compositing() const = 0;

  // The taskbar clock as it is now; none when the desktop has neither a clock nor a stand-in.
  virtual std::optional<TaskbarClock> findTaskbarClock() const { return std::nullopt; }
  // Makes overlay a child of the taskbar clock: from now on its position is relative to the
  // clock's top-left and it follows the clock when moveTaskbarClock moves it.
  virtual void adoptOverlay(ui::Form& /*overlay*/) {}
  // Moves and sizes the clock window, in pixels relative to the notification area.
  virtual void moveTaskbarClock(const Rect& /*inNotificationArea*/) {}
  // Lets the user drag window with the mouse button (ui::kLeftButton, ...) that is down, as by
  // its title bar; ended runs once the drag is over, and not at all when the window is gone by
  // then.
  virtual void beginSystemMove(ui::Form& /*window*/, int /*button*/, std::function<void()> ended) {
    if (ended) ended();
  }
  // The primary screen's area without panels and docks, in twips.
  virtual ui::TwipsRect availableAreaTwips() const {
    return {0, 0, screenWidthTwips(), screenHeightTwips()};
  }
};

}  // namespace korvane::platform
