// Turning a server's answer into a setting of the clock, and the time zone reading.
#include <cmath>

#include "common/ntp_timestamp.h"
#include "common/text.h"
#include "common/tip_field.h"
#include "sync/ntp_time.h"
#include "sync/sync_driver.h"
#include "sync/zone_bias.h"

namespace korvane::sync {

int32_t SyncDriver::GrabBias() {
  ZoneBias bias = readZoneBias(services_.clock);
  zone.ZoneName = std::move(bias.name);
  return bias.seconds;
}

void SyncDriver::CheckTimeZone() {
  platform::TimeZoneInfo info;
  const platform::ZoneState state = services_.clock.timeZoneInformation(info);
  zone.daylightName = info.daylightName.substr(0, info.daylightName.find('\0'));
  zone.standardName = info.standardName.substr(0, info.standardName.find('\0'));
  zone.ZoneName = state == platform::ZoneState::Daylight ? zone.daylightName : zone.standardName;
}

NtpTimestamp SyncDriver::GrabTime() {
  return ntpTimestampOf(localNow(), GrabBias());
}

// t is a local date value; the difference counts whole seconds from the local clock to it.
void SyncDriver::UpdateTime(OleDate t) {
  enableSyncButton();
  const int64_t target = (oleMillisFromDate(t) + 500) / 1000 - kOle1900InSeconds;
  const int64_t now = localSecondsSince1900(localNow());
  wholeSecondAdjustment(target - now, target + GrabBias());
}

void SyncDriver::handleWholeSecondReply(const std::vector<uint8_t>& bytes, int64_t epochAfter1900) {
  const int32_t bias = GrabBias();
  const int64_t d = localSecondsSince1900(localNow()) - epochAfter1900;
  // The server's UTC count in the era nearest the local clock (Time wraps in 2036, UnixTime in
  // 2106), made local, since the epoch.
  const int64_t v = nearestEra(readBigEndian32(bytes, 0), d + bias) - bias;
  wholeSecondAdjustment(v - d, v + epochAfter1900 + bias);
}

// The server's time is UTC: one UTC setting, so neither the repeated hour of a daylight-saving
// change nor midnight between setting a date and a time of day can put the clock wrong.
void SyncDriver::wholeSecondAdjustment(int64_t difference, int64_t newUtcSecondsSince1900) {
  if (difference != 0) {
    const platform::ClockResult r =
        services_.clock.setSystemTime(systemTimeFromMillisSince1900(newUtcSecondsSince1900 * 1000));
    if (!r.ok) return reportRefusedClock(r.reason);
    SyncStatus = "Time Adjusted by " + std::to_string(difference) + " second(s)";
  } else {
    SyncStatus = "Atomically Correct: No Adjustment!";
  }
  finishWithTip();
}

// A shift by the offset, not a time to set: the clock stays right however long the change takes
// to reach it (the system's time service may ask for a password first).
void SyncDriver::sntpClockSetting(double thetaMillis, int32_t reportedMillis) {
  const auto micros = static_cast<int64_t>(std::llround(thetaMillis * 1000.0));
  const platform::ClockResult r = services_.clock.shiftSystemTime(micros);
  if (!r.ok) return reportRefusedClock(r.reason);
  SyncStatus = " KRV Adjusted by: " + text::left(std::to_string(reportedMillis), 10) + " ms ";
  finishWithTip();
}

void SyncDriver::finishWithTip() {
  shell_.setTip(withNul(" " + SyncStatus + " "));
  enableSyncButton();
  shell_.UpdateSZTIP();
  SyncBusy = false;
}

void SyncDriver::reportRefusedClock(const std::string& reason) {
  SyncStatus = "Unable to set the clock: " + reason;
  shell_.setTip("KRV - No Adjustment: " + reason.substr(0, reason.find("; ")));
  shell_.UpdateSZTIP();
  returnToIdle();
}

}  // namespace korvane::sync
