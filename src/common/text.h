// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Exact, case-sensitive text helpers with 1-based positions, safe at every length.
#include <string>
#include <string_view>
#include <vector>

namespace korvane::text {

// The first n characters (all when n is larger; none when n <= 0).
std::string left(std::string_view s, long n);
// The last n characters.
std::string right(std::string_view s, long n);
// From 1-based position start, at most n characters (n < 0: to the end).
std::string mid(std::string_view s, long start, long n = -1);
// 1-based position of needle at or after 1-based start; 0 when absent.
long instr(std::string_view s, std::string_view needle, long start = 1);
bool contains(std::string_view s, std::string_view needle);
// Every occurrence of from replaced by to.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);
// Split on sep into at most limit fields (limit < 0: no limit); the last field keeps the rest.
std::vector<std::string> split(std::string_view s, std::string_view sep, int limit = -1);
// Leading and trailing spaces removed (spaces only, as the settings and server list expect).
std::string trim(std::string_view s);
std::string toUpper(std::string_view s);
std::string toLower(std::string_view s);
// Whether name matches a file pattern of "*" (any run) and "?" (any one character), ASCII case
// ignored, as the desktop's file listings match.
bool matchesPattern(std::string_view name, std::string_view pattern);
// Name order with ASCII case ignored (ties by the exact text), the order of file listings.
bool lessIgnoringCase(std::string_view a, std::string_view b);

}  // namespace korvane::text
