// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clock that tests set and step by hand; it can be told to refuse changes.
#include <functional>
#include <vector>

#include "platform/clock.h"

namespace korvane::platform {

class FakeClock : public SystemClock {
 public:
  // Starts at the given UTC time, milliseconds since 1970, with a fixed zone.
  explicit FakeClock(int64_t utcMillis = 1765000000000LL) : utcMillis_(utcMillis) {}

  SystemTime localTime() const override;
  uint32_t tickCount() const override { return ticks_; }
  int64_t suspendedMillis() const override { return suspended_; }
  ZoneState timeZoneInformation(TimeZoneInfo& info) const override;
  ClockResult setSystemTime(const SystemTime& utc) override;
  ClockResult shiftSystemTime(int64_t microseconds) override;
  void setSystemTimeThen(const SystemTime& utc, ClockAnswer done) override;
  void shiftSystemTimeThen(int64_t microseconds, ClockAnswer done) override;

  // Test controls.
  // Changes asked for with an answer wait, as a time service asking for a password does,
  // until answerHeld() makes the change and answers.
  void holdAnswers(bool on) { holding_ = on; }
  bool answerPending() const { return static_cast<bool>(held_); }
  void answerHeld();
  void advance(int64_t millis);
  // The computer sleeps: the time of day moves on, the tick count does not.
  void suspend(int64_t millis) {
    utcMillis_ += millis;
    suspended_ += millis;
  }
  int64_t utcMillis() const { return utcMillis_; }
  void setZone(const TimeZoneInfo& info, ZoneState state);
  void refuseChanges(const std::string& reason) { refusal_ = reason; }
  int setCount() const { return setCount_; }
  // How the last change was asked for: by an offset, or as a time.
  bool lastSetWasShift() const { return lastSetWasShift_; }

 private:
  int64_t biasMillis() const;
  ClockResult apply(int64_t utcMillis);

  int64_t utcMillis_;
  uint32_t ticks_ = 1000;
  int64_t suspended_ = 0;
  TimeZoneInfo zone_{0, "UTC", 0, "UTC", 0};
  ZoneState zoneState_ = ZoneState::Unknown;
  std::string refusal_;
  int setCount_ = 0;
  bool lastSetWasShift_ = false;
  bool holding_ = false;
  std::function<void()> held_;
};

}  // namespace korvane::platform
