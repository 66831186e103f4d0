#include "common/tip_field.h"

#include <algorithm>

namespace korvane {

void TipField::assign(std::string_view text) {
  chars_.fill(' ');
  std::copy_n(text.begin(), std::min(text.size(), kSize), chars_.begin());
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
