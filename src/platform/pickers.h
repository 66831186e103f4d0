// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's font and colour choosers.
#include <array>
#include <optional>

#include "common/colour.h"
#include "platform/ui/control.h"

namespace korvane::ui {
class Form;
}

namespace korvane::platform {

// The sixteen custom colours a colour chooser offers and keeps while it is open.
using CustomColours = std::array<Colour, 16>;

// Each pick runs a nested event loop: once it returns, the caller checks that its window is
// still loaded before touching it.
class Pickers {
 public:
  virtual ~Pickers() = default;
  // The font and text colour the user chose, starting from initial; none when cancelled.
  // Sizes are limited to minPoints..maxPoints.
  struct FontChoice {
    ui::Font font;
    Colour colour = 0;
  };
  virtual std::optional<FontChoice> pickFont(const ui::Form* owner, const FontChoice& initial,
                                             int minPoints, int maxPoints) = 0;
  // The colour the user chose (an RGB value), starting from initial; custom keeps what the user
  // put there. None when cancelled.
  virtual std::optional<Colour> pickColour(const ui::Form* owner, Colour initial,
                                           CustomColours& custom) = 0;
};

}  // namespace korvane::platform
