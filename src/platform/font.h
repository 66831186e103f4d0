// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A font as controls and the settings hold it: face name, size in points, the four styles and
// the character set.
#include <string>

namespace korvane::platform {

struct Font {
  std::string name = "Arial";
  double size = 8.25;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int charset = 0;  // 0 Western; the settings keep it with the font
  bool operator==(const Font&) const = default;
};

}  // namespace korvane::platform
