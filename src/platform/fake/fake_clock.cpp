// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fake_clock.h"

#include <utility>

#include "common/ole_date.h"

namespace korvane::platform {

namespace {
constexpr int64_t kOleMillisAt1970 = 25569LL * 86400 * 1000;

SystemTime toSystemTime(int64_t millisSince1970) {
  return systemTimeOf(civilFromOleMillis(millisSince1970 + kOleMillisAt1970));
}

int64_t fromSystemTime(const SystemTime& t) {
  return oleMillisFromCivil(civilOf(t)) - kOleMillisAt1970;
}
}  // namespace

int64_t FakeClock::biasMillis() const {
  const int32_t minutes =
      zone_.bias + (zoneState_ == ZoneState::Daylight ? zone_.daylightBias : zone_.standardBias);
  return static_cast<int64_t>(minutes) * 60000;
}

SystemTime FakeClock::localTime() const {
  return toSystemTime(utcMillis_ - biasMillis());
}

ZoneState FakeClock::timeZoneInformation(TimeZoneInfo& info) const {
  info = zone_;
  return zoneState_;
}

void FakeClock::advance(int64_t millis) {
  utcMillis_ += millis;
  ticks_ += static_cast<uint32_t>(millis);
}

void FakeClock::setZone(const TimeZoneInfo& info, ZoneState state) {
  zone_ = info;
  zoneState_ = state;
}

ClockResult FakeClock::apply(int64_t utcMillis) {
  if (!refusal_.empty()) return {false, refusal_};
  utcMillis_ = utcMillis;
  ++setCount_;
  return {};
}

ClockResult FakeClock::setSystemTime(const SystemTime& utc) {
  lastSetWasShift_ = false;
  return apply(fromSystemTime(utc));
}

ClockResult FakeClock::shiftSystemTime(int64_t microseconds) {
  lastSetWasShift_ = true;
  const int64_t half = microseconds >= 0 ? 500 : -500;
  return apply(utcMillis_ + (microseconds + half) / 1000);
}

void FakeClock::setSystemTimeThen(const SystemTime& utc, ClockAnswer done) {
  if (!holding_) return done(setSystemTime(utc));
  held_ = [this, utc, done = std::move(done)] { done(setSystemTime(utc)); };
}

void FakeClock::shiftSystemTimeThen(int64_t microseconds, ClockAnswer done) {
  if (!holding_) return done(shiftSystemTime(microseconds));
  held_ = [this, microseconds, done = std::move(done)] { done(shiftSystemTime(microseconds)); };
}

void FakeClock::answerHeld() {
  auto answer = std::exchange(held_, {});
  if (answer) answer();
}

}  // namespace korvane::platform
