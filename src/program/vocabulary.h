// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words the settings store and the windows offer: protocol choices, server regions and
// interval units. The synchronisation reads the protocol choices too, so this header needs
// nothing but the standard library.
#include <string_view>

namespace korvane::program {

namespace choice {
constexpr std::string_view kAutomatic = "Automatic/Random";
constexpr std::string_view kDayTime = "Default DayTime Protocol";
constexpr std::string_view kTime = "Default Time Protocol";
constexpr std::string_view kSntp = "Default SNTP Protocol";
constexpr std::string_view kUnixTime = "Default UnixTime Protocol!";
}  // namespace choice

// In the order the options dialog lists them.
constexpr std::string_view kProtocolChoices[] = {choice::kAutomatic, choice::kDayTime,
                                                 choice::kTime, choice::kSntp, choice::kUnixTime};
constexpr std::string_view kDefaultProtocol = choice::kSntp;

// The server regions; a stored region that is none of them reads as the first.
constexpr std::string_view kRegionCodes[] = {"NA", "SA", "EU", "AF", "AW", "AE", "AP"};
// The region list as the options dialog shows it, in the codes' order: an entry starts with its
// code.
constexpr std::string_view kRegionEntries[] = {
    "NA - North America [USA, Canada, Mexico]",
    "SA - South America [Chile , Brazil, Columbia]",
    "EU - Europe [UK, Spain, Italy, France]",
    "AF - Africa [Kenya, Egypt, South Africa]",
    "AW - West Asia [Afghanistan, Russia, Indonesia]",
    "AE - East Asia [Bangladesh, Thailand, India, China]",
    "AP - Asia Pacific [Australia, Japan, New Zealand]",
};
// The options dialog's region box before the settings fill it.
constexpr std::string_view kRegionBoxDesignText = "North America NA";

// The units of the synchronisation interval, as the main window lists and "Settings" stores them.
constexpr std::string_view kIntervalUnits[] = {"Second/s", "Minute/s", "Hour/s", "Day/s"};
constexpr std::string_view kDefaultIntervalUnit = kIntervalUnits[1];

namespace vocabulary_checks {
constexpr bool entriesStartWithTheirCodes() {
  if (std::size(kRegionEntries) != std::size(kRegionCodes)) return false;
  for (size_t i = 0; i < std::size(kRegionCodes); ++i)
    if (kRegionEntries[i].substr(0, 2) != kRegionCodes[i]) return false;
  return true;
}
static_assert(entriesStartWithTheirCodes());
}  // namespace vocabulary_checks

}  // namespace korvane::program
