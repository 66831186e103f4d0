// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Screen and window operations on Qt; the layered style becomes the form's opacity. Linux
// desktops have no taskbar clock window to adopt, so a stand-in takes its place: a rectangle at
// the bottom-right of the primary screen's available area, over which the overlay floats.
#include <map>
#include <memory>

#include "platform/windows.h"

class QWidget;

namespace korvane::platform {

class QtFormHosts;
class SystemMove;

class QtWindows : public Windows {
 public:
  // hosts give the native windows of forms; without them no window is adopted or moved.
  explicit QtWindows(QtFormHosts* hosts = nullptr);
  ~QtWindows() override;
  int twipsPerPixelX() const override;
  int twipsPerPixelY() const override;
  int screenWidthTwips() const override;
  int screenHeightTwips() const override;
  std::vector<ui::TwipsRect> screensTwips() const override;
  int32_t getWindowLong(ui::Form& window, int index) const override;
  void setWindowLong(ui::Form& window, int index, int32_t value) override;
  void setLayeredWindowAttributes(ui::Form& window, uint32_t colourKey, uint8_t alpha,
                                  uint32_t flags) override;
  bool compositing() const override;

  std::optional<TaskbarClock> findTaskbarClock() const override;
  void adoptOverlay(ui::Form& overlay) override;
  // The stand-in stays in the corner, as a taskbar keeps its clock at its end: only the size
  // changes, limited to the available area.
  void moveTaskbarClock(const Rect& inNotificationArea) override;
  // The window manager moves a window only for the left button (it asks for a button-1 move);
  // for any other the window follows the pointer until that button comes up.
  void beginSystemMove(ui::Form& window, int button, std::function<void()> ended) override;
  ui::TwipsRect availableAreaTwips() const override;

  // The stand-in clock's size before any move, in pixels.
  static constexpr int kStandInClockWidth = 80;
  static constexpr int kStandInClockHeight = 24;

 private:
  QWidget* windowOf(const ui::Form& form) const;
  void forget(const ui::Form& form);
  QtFormHosts* hosts_;
  int clockWidth_ = kStandInClockWidth;
  int clockHeight_ = kStandInClockHeight;
  std::unique_ptr<SystemMove> move_;
  void applyOpacity(ui::Form& window);
  std::map<std::pair<const ui::Form*, int>, int32_t> longs_;
  std::map<const ui::Form*, uint8_t> alpha_;
};

}  // namespace korvane::platform
