// The tray tip rules of the main window.
#include <gtest/gtest.h>

#include "common/tip_field.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_socket.h"
#include "shell/nxo_krv.h"

namespace korvane::shell {
namespace {

class TrayTipTest : public ::testing::Test {
 protected:
  platform::FakeClock clock;
  platform::FakeEventLoop events;
  platform::FakeLocale locale;
  platform::FakeRandom rng;
  platform::FakeSocketFactory sockets;
  NXO_KRV window{{clock, events, locale, rng, sockets}};
};

TEST_F(TrayTipTest, PictureFollowsTheWordsInOrder) {
  window.minimised = true;
  window.Servers.addItem("Tokyo AP", 26);
  window.Servers.select(1);
  struct Case {
    const char* tip;
    int picture;
  };
  const Case cases[] = {{" Checking Time Server: Tokyo AP ", 26},
                        {" Time Adjusted by 3 second(s) ", kAdjustedPicture},
                        {" Atomically Correct: No Adjustment! ", kAdjustedPicture},  // kept
                        {"KRV - No Adjustment: 12/8/2026", kOwnIcon},
                        {"KRV - No Adjustment: Checking Adjusted", kOwnIcon}};
  for (const Case& c : cases) {
    window.setTip(withNul(c.tip));
    window.UpdateSZTIP();
    EXPECT_EQ(window.trayPicture, c.picture) << c.tip;
  }
}

TEST_F(TrayTipTest, SameTipIsSentOnceAndNothingIsSentWhileShown) {
  window.setTip(withNul(" a "));
  window.UpdateSZTIP();
  EXPECT_EQ(window.tipSends, 0);
  window.minimised = true;
  window.UpdateSZTIP();
  window.UpdateSZTIP();
  EXPECT_EQ(window.tipSends, 1);
}

}  // namespace
}  // namespace korvane::shell
