#pragma once
// A screen of a fixed size (15 twips per pixel) whose style and opacity calls are recorded.
#include <map>
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
  std::vector<LayeredCall> layeredCalls;
};

}  // namespace korvane::platform
