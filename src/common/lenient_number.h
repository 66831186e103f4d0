// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading numbers from texts the way the settings and replies are read: leniently.
#include <string_view>

namespace korvane {

// The leading number of a text (blanks before it allowed, sign, decimals, exponent); 0 if none.
double leadingNumber(std::string_view text);
// True when the whole text, less surrounding white space, is one decimal number.
bool isNumeric(std::string_view text);

}  // namespace korvane
