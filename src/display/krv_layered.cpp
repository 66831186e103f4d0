// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/krv_layered.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace korvane::display {

namespace {

constexpr int kSnapMarginTwips = 10;

int64_t overlap(const ui::TwipsRect& a, const ui::TwipsRect& b) {
  const int64_t w = std::min<int64_t>(int64_t{a.left} + a.width, int64_t{b.left} + b.width) -
                    std::max(a.left, b.left);
  const int64_t h = std::min<int64_t>(int64_t{a.top} + a.height, int64_t{b.top} + b.height) -
                    std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

ui::TwipsRect ScreenOf(const ui::TwipsRect& window, const std::vector<ui::TwipsRect>& screens) {
  if (screens.empty()) return {};
  const ui::TwipsRect* best = &screens.front();
  int64_t bestArea = 0;
  for (const ui::TwipsRect& s : screens) {
    const int64_t area = overlap(window, s);
    if (area > bestArea) {
      best = &s;
      bestArea = area;
    }
  }
  return *best;
}

void SetTranslucency(ui::Form& window, platform::Windows& windows, bool on, int opacity) {
  int32_t style = windows.getWindowLong(window, platform::kGwlExStyle);
  style = on ? (style | platform::kWsExLayered) : (style & ~platform::kWsExLayered);
  windows.setWindowLong(window, platform::kGwlExStyle, style);
  const auto alpha = static_cast<uint8_t>(std::clamp(opacity, 0, 255));
  windows.setLayeredWindowAttributes(window, 0, alpha, platform::kLwaAlpha);
}

void KeepOnScreen(ui::Form& window, const platform::Windows& windows) {
  if (window.windowState() == ui::WindowState::Minimized) return;
  ui::TwipsRect r = window.bounds();
  const ui::TwipsRect screen = ScreenOf(r, windows.screensTwips());
  const int right = screen.left + screen.width;
  const int bottom = screen.top + screen.height;
  if (r.top < screen.top + kSnapMarginTwips) r.top = screen.top;
  if (r.left < screen.left + kSnapMarginTwips) r.left = screen.left;
  if (r.top > bottom - r.height - kSnapMarginTwips) r.top = bottom - r.height;
  if (r.left > right - r.width - kSnapMarginTwips) r.left = right - r.width;
  window.move(r.left, r.top);
}

}  // namespace korvane::display
