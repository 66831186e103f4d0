// SPDX-License-Identifier: GPL-3.0-or-later
// The time service's answers in the words the user reads.
#include "platform/time_service.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

TEST(TimeServiceRefusalTest, AnswersBecomePlainWords) {
  const ClockResult direct{false, "Operation not permitted", true};
  struct Case {
    const char* name;
    const char* message;
    const char* reason;
  };
  const Case cases[] = {
      {"org.freedesktop.timedate1.AutomaticTimeSyncEnabled",
       "Automatic time synchronization is enabled",
       "automatic time synchronisation is on; turn it off with: timedatectl set-ntp false"},
      {"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired", "",
       "not authorised to set the time"},
      {"org.freedesktop.DBus.Error.AccessDenied", "Permission denied",
       "not authorised to set the time"},
      {"org.freedesktop.DBus.Error.ServiceUnknown", "The name is not activatable",
       "Operation not permitted"},
      {"org.freedesktop.DBus.Error.NoServer", "", "Operation not permitted"},
      {"", "", "Operation not permitted"},
      {"org.freedesktop.DBus.Error.NoReply", "Did not receive a reply",
       "the time service did not answer"},
      {"org.freedesktop.DBus.Error.Timeout", "", "the time service did not answer"},
      {"org.example.Odd", "", "the time service refused: org.example.Odd"},
  };
  for (const Case& c : cases) {
    const ClockResult r = timeServiceRefusal(c.name, c.message, direct);
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_EQ(r.reason, c.reason) << c.name;
  }
  // What the tray's short tip says first is what to do.
  EXPECT_EQ(
      timeServiceRefusal("org.freedesktop.timedate1.AutomaticTimeSyncEnabled", "", direct).brief,
      "turn off automatic time sync first");
}

}  // namespace
}  // namespace korvane::platform
