// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/floating_look.h"

#include "common/rounding.h"

namespace korvane::display {

FloatingLook FloatingLookOf(const program::Settings& s) {
  FloatingLook look;
  look.font.name = s.fontName;
  look.font.size = s.fontSize;
  look.font.bold = s.fontBold;
  look.font.italic = s.fontItalic;
  look.font.underline = s.fontUnderline;
  look.font.strikethrough = s.fontStrikethrough;
  // The settings keep colours as signed 32-bit values.
  look.text = static_cast<Colour>(s.textColour);
  look.back = static_cast<Colour>(s.backColour);
  return look;
}

void StoreFloatingLook(const FloatingLook& look, program::Settings& s) {
  s.fontName = look.font.name;
  s.fontSize = toInt32HalfEven(look.font.size).value_or(s.fontSize);
  s.fontBold = look.font.bold;
  s.fontItalic = look.font.italic;
  s.fontUnderline = look.font.underline;
  s.fontStrikethrough = look.font.strikethrough;
  s.textColour = static_cast<int32_t>(look.text);
  s.backColour = static_cast<int32_t>(look.back);
}

}  // namespace korvane::display
