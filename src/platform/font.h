#pragma once
// A font as controls hold it: face name, size in points and the four styles.
#include <string>

namespace korvane::platform {

struct Font {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  bool operator==(const Font&) const = default;
};

}  // namespace korvane::platform
