// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/version_text.h"

#include <algorithm>
#include <vector>

namespace korvane::shell {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The parts with their leading zeros removed, so that parts of any length compare as numbers.
std::vector<std::string_view> numericParts(std::string_view text) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('.', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view part = text.substr(start, end - start);
    while (part.size() > 1 && part.front() == '0') part.remove_prefix(1);
    parts.push_back(part);
    start = end + 1;
  }
  return parts;
}

// -1, 0 or 1 as a is smaller than, equal to or larger than b (both digits without leading zeros).
int compareNumbers(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  const int c = a.compare(b);
  return (c > 0) - (c < 0);
}

}  // namespace

bool isVersionText(std::string_view text) {
  if (text.empty() || text.size() > kMaxVersionText) return false;
  if (!isDigit(text.front()) || !isDigit(text.back())) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (isDigit(text[i])) continue;
    if (text[i] != '.' || text[i + 1] == '.') return false;
  }
  return true;
}

bool isLaterVersion(std::string_view candidate, std::string_view running) {
  if (!isVersionText(candidate) || !isVersionText(running)) return false;
  const std::vector<std::string_view> a = numericParts(candidate);
  const std::vector<std::string_view> b = numericParts(running);
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const std::string_view x = i < a.size() ? a[i] : "0";
    const std::string_view y = i < b.size() ? b[i] : "0";
    if (const int c = compareNumbers(x, y); c != 0) return c > 0;
  }
  return false;
}

}  // namespace korvane::shell
