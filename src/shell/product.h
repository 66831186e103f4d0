// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The product's name, notice and version text.
#include <string>

namespace korvane::shell {

// The caption and first tooltip: the product name and a notice naming its maker.
inline const std::string kProductTitle = "Korvane - by the Korvane developers";
// A short description for the about box.
inline const std::string kProductDescription =
    "Keeps the computer's clock right: asks a time server for the time at start, on command, "
    "when the time zone changes and at the interval you choose.";
// The online help page on the update server (host or host:port); empty when that is none.
std::string onlineHelpAddress(const std::string& updateHost);

// "major.minor.revision", each in plain decimal without leading zeros.
std::string versionString(int major, int minor, int revision);

}  // namespace korvane::shell
