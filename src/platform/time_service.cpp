// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/time_service.h"

#include <array>
#include <string_view>

namespace korvane::platform {

namespace {

// Answers that only say no time service is there to ask.
constexpr std::array<std::string_view, 8> kNoService = {
    "org.freedesktop.DBus.Error.ServiceUnknown", "org.freedesktop.DBus.Error.NameHasNoOwner",
    "org.freedesktop.DBus.Error.NoServer",       "org.freedesktop.DBus.Error.Disconnected",
    "org.freedesktop.DBus.Error.UnknownObject",  "org.freedesktop.DBus.Error.UnknownInterface",
    "org.freedesktop.DBus.Error.UnknownMethod",  "org.freedesktop.DBus.Error.Spawn.ServiceNotFound",
};

// The call went out and no answer came in time (polkit waited for a password, or the service
// hangs).
constexpr std::array<std::string_view, 3> kNoAnswer = {
    "org.freedesktop.DBus.Error.NoReply",
    "org.freedesktop.DBus.Error.Timeout",
    "org.freedesktop.DBus.Error.TimedOut",
};

constexpr std::array<std::string_view, 4> kNotAuthorised = {
    "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired",
    "org.freedesktop.DBus.Error.AccessDenied",
    "org.freedesktop.PolicyKit1.Error.NotAuthorized",
    "org.freedesktop.PolicyKit1.Error.Cancelled",
};

template <size_t N>
bool isOneOf(const std::string& name, const std::array<std::string_view, N>& names) {
  for (std::string_view n : names)
    if (name == n) return true;
  return false;
}

}  // namespace

ClockResult timeServiceRefusal(const std::string& errorName, const std::string& message,
                               const ClockResult& directRefusal) {
  if (errorName == "org.freedesktop.timedate1.AutomaticTimeSyncEnabled")
    return {false,
            "automatic time synchronisation is on; turn it off with: timedatectl set-ntp false",
            false, "turn off automatic time sync first"};
  if (isOneOf(errorName, kNoAnswer)) return {false, "the time service did not answer"};
  if (isOneOf(errorName, kNotAuthorised)) return {false, "not authorised to set the time"};
  if (errorName.empty() || isOneOf(errorName, kNoService)) return directRefusal;
  return {false, "the time service refused: " + (message.empty() ? errorName : message)};
}

}  // namespace korvane::platform
