#include "display/krv_layered.h"

#include <algorithm>

namespace korvane::display {

namespace {
constexpr int kSnapMarginTwips = 10;
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
  const int screenW = windows.screenWidthTwips();
  const int screenH = windows.screenHeightTwips();
  ui::TwipsRect r = window.bounds();
  if (r.top < kSnapMarginTwips) r.top = 0;
  if (r.left < kSnapMarginTwips) r.left = 0;
  if (r.top > screenH - r.height - kSnapMarginTwips) r.top = screenH - r.height;
  if (r.left > screenW - r.width - kSnapMarginTwips) r.left = screenW - r.width;
  window.move(r.left, r.top);
}

}  // namespace korvane::display
