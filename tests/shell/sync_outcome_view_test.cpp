// SPDX-License-Identifier: GPL-3.0-or-later
// How a change the engine would not make on one server's word, or a server it may not ask, is
// shown: plain words, never a success the tray would picture.
#include "shell/sync_outcome_view.h"

#include <gtest/gtest.h>

namespace korvane::shell {
namespace {

TEST(SyncOutcomeView, RefusedChangesSayWhyWithoutClaimingAnAdjustment) {
  struct Case {
    double offsetMillis;
    std::string disagreeing;
    bool hinted;
    std::string status;  // empty: only the hint is checked
  };
  const std::string hint =
      " Another system on this computer may keep the hardware clock in local time "
      "(timedatectl set-local-rtc 0).";
  const Case cases[] = {
      {-315569520e3, "", false,
       "Clock left unchanged: a.example says it is 3652 days, 10 hours, 12 minutes and 0 seconds "
       "ahead, more than the 1000 s changed on one server's word, and no second server "
       "confirmed it."},
      {7200e3 + 59e3, "b.example", true,
       "Clock left unchanged: a.example says it is 0 days, 2 hours, 0 minutes and 59 seconds "
       "behind, more than the 1000 s changed on one server's word, and a second server, "
       "b.example, does not agree." +
           hint},
      {-3600e3 * 14 + 30e3, "", true, ""},  // fourteen hours: still the hint
      {-3600e3 * 15, "", false, ""},        // fifteen: no zone is that far off
      {7200e3 + 61e3, "", false, ""},
  };
  for (const Case& c : cases) {
    sync::SyncOutcome o;
    o.kind = sync::OutcomeKind::Unconfirmed;
    o.host = "a.example";
    o.offsetMillis = c.offsetMillis;
    o.boundSeconds = 1000;
    o.disagreeing = c.disagreeing;
    const OutcomeView v = viewOf(o, "12/9/2026 4:00:00 AM");
    ASSERT_TRUE(v.status && v.tip);
    if (!c.status.empty()) {
      EXPECT_EQ(*v.status, c.status);
    }
    EXPECT_EQ(v.status->find(hint) != std::string::npos, c.hinted) << c.offsetMillis;
    EXPECT_EQ(v.status->find("Adjust"), std::string::npos);
    EXPECT_EQ(v.tip->find("Adjust"), std::string::npos);
    EXPECT_EQ(v.picture, TrayPicture::Failed);
  }
  sync::SyncOutcome notAsked;
  notAsked.kind = sync::OutcomeKind::NotAsked;
  notAsked.text = "Not asked: a.example turned this computer away";
  EXPECT_EQ(viewOf(notAsked, "now").status, notAsked.text);
  EXPECT_EQ(viewOf(notAsked, "now").picture, TrayPicture::Failed);
}

}  // namespace
}  // namespace korvane::shell
