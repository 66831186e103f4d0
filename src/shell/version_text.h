// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Version numbers as they come from the network: checked, then compared number by number.
#include <string_view>

namespace korvane::shell {

// The longest version text the program accepts from outside.
constexpr size_t kMaxVersionText = 32;

// True for digits and dots only, at most kMaxVersionText characters, starting and ending with a
// digit and with no empty part ("5.1.12"; not "", "5..1", "5.1.", "v5" or "5.1 beta").
bool isVersionText(std::string_view text);

// True when candidate names a later version than running, comparing the dot-separated parts as
// numbers from the left, a missing part counting as 0 (5.1.12 is later than 5.1.9; 5.1 equals
// 5.1.0). Both must be version texts; otherwise nothing is later.
bool isLaterVersion(std::string_view candidate, std::string_view running);

}  // namespace korvane::shell
