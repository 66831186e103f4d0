// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The time zone as the protocols need it: the bias in seconds and the name in force.
#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace korvane::sync {

struct ZoneBias {
  int32_t seconds = 0;  // UTC = local time + seconds
  std::string name;     // the daylight name while daylight time is in force, else the standard
};

// Reads the zone now; failure or no daylight rules count as standard time.
ZoneBias readZoneBias(const platform::SystemClock& clock);

// The zone names as the clock reports them, each up to its first NUL.
struct ZoneNames {
  std::string standardName;
  std::string daylightName;
  std::string ZoneName;  // the one in force
};

// Reads the names now (CheckTimeZone).
ZoneNames CheckTimeZone(const platform::SystemClock& clock);

}  // namespace korvane::sync
