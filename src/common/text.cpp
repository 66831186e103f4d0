// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/text.h"

#include <algorithm>

namespace korvane::text {

std::string left(std::string_view s, long n) {
  if (n <= 0) return {};
  return std::string(s.substr(0, static_cast<size_t>(n)));
}

std::string right(std::string_view s, long n) {
  if (n <= 0) return {};
  const size_t count = std::min(s.size(), static_cast<size_t>(n));
  return std::string(s.substr(s.size() - count));
}

std::string mid(std::string_view s, long start, long n) {
  if (start < 1 || static_cast<size_t>(start) > s.size() || n == 0) return {};
  const size_t from = static_cast<size_t>(start - 1);
  return std::string(n < 0 ? s.substr(from) : s.substr(from, static_cast<size_t>(n)));
}

long instr(std::string_view s, std::string_view needle, long start) {
  if (start < 1 || static_cast<size_t>(start - 1) > s.size()) return 0;
  const size_t at = s.find(needle, static_cast<size_t>(start - 1));
  return at == std::string_view::npos ? 0 : static_cast<long>(at) + 1;
}

bool contains(std::string_view s, std::string_view needle) {
  return s.find(needle) != std::string_view::npos;
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(s);
  std::string out;
  size_t pos = 0;
  for (size_t at; (at = s.find(from, pos)) != std::string_view::npos; pos = at + from.size()) {
    out.append(s.substr(pos, at - pos));
    out.append(to);
  }
  out.append(s.substr(pos));
  return out;
}

std::vector<std::string> split(std::string_view s, std::string_view sep, int limit) {
  std::vector<std::string> fields;
  if (sep.empty() || limit == 1) {
    fields.emplace_back(s);
    return fields;
  }
  size_t pos = 0;
  for (size_t at; (at = s.find(sep, pos)) != std::string_view::npos; pos = at + sep.size()) {
    if (limit > 0 && static_cast<int>(fields.size()) == limit - 1) break;
    fields.emplace_back(s.substr(pos, at - pos));
  }
  fields.emplace_back(s.substr(pos));
  return fields;
}

std::string trim(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

std::string toUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string toLower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

namespace {
char foldCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

bool matchesPattern(std::string_view name, std::string_view pattern) {
  // Greedy match with one backtrack point: linear enough for file names.
  size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || foldCase(pattern[p]) == foldCase(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool lessIgnoringCase(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i)
    if (foldCase(a[i]) != foldCase(b[i])) return foldCase(a[i]) < foldCase(b[i]);
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

}  // namespace korvane::text
