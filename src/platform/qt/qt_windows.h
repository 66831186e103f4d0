#pragma once
// Screen and window operations on Qt; the layered style becomes the form's opacity.
#include <map>

#include "platform/windows.h"

namespace korvane::platform {

class QtWindows : public Windows {
 public:
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

 private:
  void applyOpacity(ui::Form& window);
  std::map<std::pair<const ui::Form*, int>, int32_t> longs_;
  std::map<const ui::Form*, uint8_t> alpha_;
};

}  // namespace korvane::platform
