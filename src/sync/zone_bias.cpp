// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/zone_bias.h"

namespace korvane::sync {

ZoneBias readZoneBias(const platform::SystemClock& clock) {
  platform::TimeZoneInfo info;
  if (clock.timeZoneInformation(info) == platform::ZoneState::Daylight)
    return {(info.bias + info.daylightBias) * 60, info.daylightName};
  return {info.bias * 60, info.standardName};
}

ZoneNames CheckTimeZone(const platform::SystemClock& clock) {
  platform::TimeZoneInfo info;
  const platform::ZoneState state = clock.timeZoneInformation(info);
  ZoneNames names;
  names.daylightName = info.daylightName.substr(0, info.daylightName.find('\0'));
  names.standardName = info.standardName.substr(0, info.standardName.find('\0'));
  names.ZoneName = state == platform::ZoneState::Daylight ? names.daylightName : names.standardName;
  return names;
}

}  // namespace korvane::sync
