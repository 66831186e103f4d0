#include "sync/zone_bias.h"

namespace korvane::sync {

ZoneBias readZoneBias(const platform::SystemClock& clock) {
  platform::TimeZoneInfo info;
  if (clock.timeZoneInformation(info) == platform::ZoneState::Daylight)
    return {(info.bias + info.daylightBias) * 60, info.daylightName};
  return {info.bias * 60, info.standardName};
}

}  // namespace korvane::sync
