// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colour values: 0x00BBGGRR, or 0x80000000 + n for system colour n.
#include <cstdint>

namespace korvane {

using Colour = uint32_t;

// The value that names system colour index (0x8000000F is the button face).
constexpr Colour systemColour(int index) {
  return 0x80000000u | (static_cast<Colour>(index) & 0xFFFFFFu);
}
// A value of 0x01000000 or more names a system colour by its low 24 bits.
constexpr bool isSystemColour(Colour value) {
  return value >= 0x01000000u;
}
constexpr int systemColourIndex(Colour value) {
  return static_cast<int>(value & 0xFFFFFFu);
}

constexpr int red(Colour c) {
  return static_cast<int>(c & 0xFFu);
}
constexpr int green(Colour c) {
  return static_cast<int>((c >> 8) & 0xFFu);
}
constexpr int blue(Colour c) {
  return static_cast<int>((c >> 16) & 0xFFu);
}

// A colour from three components; a component above 255 counts as 255, below 0 as 0.
constexpr Colour makeColour(int r, int g, int b) {
  auto clamp = [](int v) { return static_cast<Colour>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
  return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
}

// Red and green moved by k, blue by k/192 of its own value (truncated); each clamped to 0..255.
Colour shade(Colour c, int k);
// Every component moved by k, clamped to 0..255.
Colour add(Colour c, int k);

}  // namespace korvane
