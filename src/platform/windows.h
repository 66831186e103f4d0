#pragma once
// Window operations the logic needs beyond the form model: the screen, extended styles,
// layered opacity and the foreground.
#include <cstdint>
#include <vector>

#include "platform/ui/control.h"

namespace korvane::ui {
class Form;
}

namespace korvane::platform {

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
};

}  // namespace korvane::platform
