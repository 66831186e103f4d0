// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/tip_field.h"

#include <algorithm>

namespace korvane {

void TipField::assign(std::string_view text) {
  chars_.fill(' ');
  size_t n = std::min(text.size(), kSize);
  // A cut inside a UTF-8 character drops the whole character, so the tip stays valid text.
  if (n < text.size()) {
    size_t start = n;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) --start;
    n = start;
  }
  std::copy_n(text.begin(), n, chars_.begin());
}

std::string TipField::shown() const {
  const std::string_view all = raw();
  return std::string(all.substr(0, all.find('\0')));
}

bool TipField::contains(std::string_view word) const {
  return raw().find(word) != std::string_view::npos;
}

std::string withNul(std::string_view text) {
  std::string s(text);
  s.push_back('\0');
  return s;
}

}  // namespace korvane
