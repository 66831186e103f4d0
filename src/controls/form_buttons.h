// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The buttons of one form as its design stores them: each button's property bag, read when the
// form is built, and the answers the buttons ask of the window that holds them.
#include <string>
#include <utility>
#include <vector>

#include "controls/nxo_buttons.h"
#include "platform/ui/form.h"
#include "platform/ui/property_bag.h"

namespace korvane::controls {

class FormButtons : public ButtonContainer {
 public:
  // The gradient style every button of the program is designed with.
  static constexpr int32_t kDesignStyle = 3;

  explicit FormButtons(int twipsPerPixel = ui::kTwipsPerPixelAt96Dpi)
      : twipsPerPixel_(twipsPerPixel) {}

  // The font a button gets in the designer: Arial 8 point.
  static platform::Font designFont();
  // What the design stores for a gradient button with this caption.
  static ui::PropertyBag designBag(const std::string& caption);

  // The services with this form as the buttons' container.
  ButtonServices services(ButtonServices s) {
    s.container = this;
    return s;
  }
  // Builds b as designed (at r, with its caption) and adds it to form's client area, or to
  // container (a frame of form) when one is given.
  void place(ui::Form& form, NXOButtons& b, const std::string& caption, const ui::TwipsRect& r,
             ui::Control* container = nullptr);
  // The stored design of b; null for a button not placed here.
  const ui::PropertyBag* bagOf(const NXOButtons& b) const;

  int twipsPerPixel() const override { return twipsPerPixel_; }
  platform::Font ambientFont() const override { return designFont(); }

 private:
  int twipsPerPixel_;
  std::vector<std::pair<const NXOButtons*, ui::PropertyBag>> bags_;
};

}  // namespace korvane::controls
