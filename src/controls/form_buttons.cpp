// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/form_buttons.h"

namespace korvane::controls {

platform::Font FormButtons::designFont() {
  platform::Font f;
  f.name = "Arial";
  f.size = 8.25;  // what the designer stores for 8 point
  return f;
}

ui::PropertyBag FormButtons::designBag(const std::string& caption) {
  // A button fresh from the toolbox (hand pointer included), then the designer's changes.
  ui::PropertyBag bag;
  NXOButtons(caption, {}).writeProperties(bag);
  bag.write("Caption", caption);
  bag.write("ButtonStyle", kDesignStyle);
  bag.write("Font", designFont());
  return bag;
}

void FormButtons::place(ui::Form& form, NXOButtons& b, const std::string& caption,
                        const ui::TwipsRect& r, ui::Control* container) {
  // The extender places the control before it reads its design.
  b.setGeometry(r);
  bags_.emplace_back(&b, designBag(caption));
  b.readProperties(bags_.back().second);
  form.add(b, container);
}

const ui::PropertyBag* FormButtons::bagOf(const NXOButtons& b) const {
  for (const auto& [button, bag] : bags_)
    if (button == &b) return &bag;
  return nullptr;
}

}  // namespace korvane::controls
