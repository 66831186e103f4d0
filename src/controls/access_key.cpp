// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/access_key.h"

#include <cctype>

namespace korvane::controls {

namespace {
char lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
}  // namespace

char accessKeyOf(std::string_view caption) {
  if (caption.size() < 2) return 0;
  const size_t first = caption.find('&');
  if (first == std::string_view::npos || first + 1 >= caption.size()) return 0;
  if (caption[first + 1] != '&') return lower(caption[first + 1]);
  // Only one more marker is looked at, from two characters on.
  const size_t next = caption.find('&', first + 2);
  if (next == std::string_view::npos || next + 1 >= caption.size()) return 0;
  if (caption[next + 1] == '&') return 0;
  return lower(caption[next + 1]);
}

}  // namespace korvane::controls
