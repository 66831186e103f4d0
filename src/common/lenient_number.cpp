// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/lenient_number.h"

#include <cstdlib>
#include <string>

namespace korvane {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the longest number at the start of text (after any sign); 0 when there is none.
size_t numberLength(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const size_t expStart = j;
    while (j < text.size() && isDigit(text[j])) ++j;
    if (j > expStart) i = j;
  }
  return i;
}

std::string_view skipBlanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  return text.substr(i);
}

}  // namespace

double leadingNumber(std::string_view text) {
  const std::string_view rest = skipBlanks(text);
  const size_t len = numberLength(rest);
  if (len == 0) return 0.0;
  const double value = std::strtod(std::string(rest.substr(0, len)).c_str(), nullptr);
  return value;
}

bool isNumeric(std::string_view text) {
  std::string_view rest = skipBlanks(text);
  while (!rest.empty() && isBlank(rest.back())) rest.remove_suffix(1);
  const size_t len = numberLength(rest);
  return len > 0 && len == rest.size();
}

}  // namespace korvane
