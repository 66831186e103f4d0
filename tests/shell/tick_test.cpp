// SPDX-License-Identifier: GPL-3.0-or-later
// The one-second tick, the interval and its text box.
#include <algorithm>
#include <limits>

#include "shell/nxo_krv_fixture.h"

namespace korvane::shell::testing {
namespace {

using TickTest = MainWindowFixture;

TEST_F(TickTest, NineStepsRunInOrder) {
  NXO_KRV& w = start("-rs");
  w.settings.floatingLaunch = true;
  w.floatingClockDelay = 4;
  w.move(-300, 20);  // sticks out on the left
  w.SyncTimeNow_Click();
  synchroniser.SyncTicks = 24;
  w.LED1.setPicture(kLampLit);
  w.LED2.setPicture(kLampLit);
  clock.setZone({-60, "CET", 0, "CEST", -60}, platform::ZoneState::Standard);
  w.PropertyChanged.connect([this] { log.push_back("form"); });
  watch({&w.Current, &w.LED0, &w.LED1, &w.LED2, &w.SyncTimeNow});
  log.clear();

  w.SyncNow.tick();

  EXPECT_TRUE(logHasInOrder({"Current", "form", "LED(1)", "LED(2)", "LED(0)", "LED(0)",
                             "SyncTimeNow", "Current", "floating clock", "SyncTimeNow"}))
      << logText();
  EXPECT_EQ(w.Current.toolTipText(), " Current Time Zone: CET ");
  EXPECT_EQ(w.bounds().left, 0);
  EXPECT_NE(w.Current.text().find("Unable to Synchronize: Timed Out!"), std::string::npos);
  EXPECT_TRUE(w.synchronising()) << "the zone change started a new synchronisation";
  EXPECT_EQ(w.SyncCountdown, 0);
}

TEST_F(TickTest, ZoneChangeStartsASynchronisationWithinOneTick) {
  NXO_KRV& w = start("-rs");
  w.SyncN.setText("2");
  w.SyncIntC.choose(3);  // days
  ASSERT_EQ(w.SyncLimit, 172800);
  for (int i = 0; i < 3; ++i) w.SyncNow.tick();
  EXPECT_FALSE(w.synchronising());
  clock.setZone({300, "EST", 0, "EDT", -60}, platform::ZoneState::Daylight);
  w.SyncNow.tick();
  EXPECT_TRUE(w.synchronising());
  EXPECT_EQ(w.lastZoneName, "EDT");
}

TEST_F(TickTest, CountdownStartsTheAutomaticSynchronisation) {
  NXO_KRV& w = start("-rs");
  w.SyncN.setText("31");
  w.SyncIntC.choose(0);
  for (int i = 0; i < 30; ++i) w.SyncNow.tick();
  EXPECT_FALSE(w.synchronising());
  w.SyncNow.tick();
  EXPECT_TRUE(w.synchronising());
  EXPECT_EQ(w.SyncCountdown, 0);
}

// A resume (seen by the clocks, or told by the system) or the network's return starts one
// synchronisation a few ticks later, whatever the interval, which then counts from it; several
// together start one, and one that runs stands for it.
TEST_F(TickTest, AWakeStartsOneSynchronisationAFewTicksLater) {
  struct Case {
    const char* name;
    bool suspend;    // the clocks see the computer slept
    bool told;       // logind or the network tells of it
    bool busy;       // a synchronisation runs meanwhile
    size_t started;  // synchronisations the wake starts
  };
  const Case cases[] = {
      {"resume seen by the clocks", true, false, false, 1},
      {"network back", false, true, false, 1},
      {"both at once", true, true, false, 1},
      {"while one runs", true, true, true, 0},
      {"a short pause is no suspend", false, false, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NXO_KRV& w = start("-rs");
    w.SyncN.setText("2");
    w.SyncIntC.choose(3);  // days
    for (int i = 0; i < 3; ++i) w.SyncNow.tick();
    if (c.busy) w.SyncTimeNow_Click();
    size_t started = 0;
    auto tick = [&] {
      const bool was = w.synchronising();
      w.SyncNow.tick();
      if (w.synchronising() && !was) ++started;
    };
    clock.suspend(c.suspend ? 8 * 3600 * 1000 : 500);
    if (c.told) w.wake.seen();
    for (int i = 1; i < WakeResync::kSettleTicks; ++i) tick();
    EXPECT_EQ(started, 0u) << "not at once";
    for (int i = 0; i < 30; ++i) {
      tick();
      if (i == 0 && c.started) {
        EXPECT_EQ(w.SyncCountdown, 0);
      }
    }
    EXPECT_EQ(started, c.started);
    w.unload(ui::kCloseFromCode);
  }
}

TEST_F(TickTest, CalcIntCTurnsCountAndUnitIntoTicks) {
  struct Case {
    const char* count;
    int unit;  // index in the unit list
    int32_t limit;
    const char* shown;
  };
  const Case cases[] = {
      {"10", 0, 30, "30"},
      {"30", 0, 30, "30"},
      {"31", 0, 31, "31"},
      {"", 0, 30, "30"},
      {"59", 1, 3540, "59"},
      {"2", 3, 172800, "2"},
      {"3", 2, 10800, "3"},
      {"2.5", 1, 120, "2.5"},  // ties to even
      {"35791395", 1, std::numeric_limits<int32_t>::max(), "35791395"},
      {"99999999999", 3, std::numeric_limits<int32_t>::max(), "99999999999"},
      // Every unit is floored at 30 seconds: 0 or less would ask every second.
      {"-99999999999", 2, 30, "-99999999999"},
      {"0", 1, 30, "0"},
      {"-1", 3, 30, "-1"},
      {"0", 2, 30, "0"},
  };
  NXO_KRV& w = start("-rs");
  for (const Case& c : cases) {
    w.SyncN.setText(c.count);
    w.SyncIntC.choose(c.unit);
    EXPECT_EQ(w.SyncLimit, c.limit) << c.count << " unit " << c.unit;
    EXPECT_EQ(w.SyncN.text(), c.shown) << c.count;
    EXPECT_TRUE(w.SyncTimeNow.enabled());
  }
}

TEST_F(TickTest, StoredUnitTextCountsByItsFirstThreeLetters) {
  NXO_KRV& w = start("-rs");
  w.SyncIntC.setText("Minutes/s");
  w.SyncN.setText("5");
  w.CalcIntC();
  EXPECT_EQ(w.SyncLimit, 300);
}

TEST_F(TickTest, EnterComputesTheIntervalOtherKeysDoNot) {
  NXO_KRV& w = start("-rs");
  ASSERT_EQ(w.SyncLimit, 3540);
  w.SyncN.setText("7");
  EXPECT_EQ(w.SyncLimit, 3540) << "changing the count alone keeps the interval";
  w.SyncN.typeCharacter('1');
  EXPECT_EQ(w.SyncLimit, 3540);
  w.SyncN.typeCharacter(13);
  EXPECT_EQ(w.SyncLimit, 71 * 60);
}

TEST_F(TickTest, NonNumericTypingIsUndone) {
  NXO_KRV& w = start("-rs");
  w.SyncN.setText("");
  for (char ch : std::string("12a")) w.SyncN.typeCharacter(ch);
  EXPECT_EQ(w.SyncN.text(), "12");
  w.SyncN.setText("12abc");
  EXPECT_EQ(w.SyncN.text(), "12");
  w.SyncN.setText("x");
  EXPECT_EQ(w.SyncN.text(), "");
}

TEST_F(TickTest, TimeOutAfterTwentyFiveTicksFreesTheButton) {
  NXO_KRV& w = start();
  ASSERT_TRUE(w.synchronising());
  for (int i = 0; i < 24; ++i) w.SyncNow.tick();
  EXPECT_TRUE(w.synchronising());
  EXPECT_FALSE(w.SyncTimeNow.enabled());
  w.SyncNow.tick();
  EXPECT_FALSE(w.synchronising());
  EXPECT_TRUE(w.SyncTimeNow.enabled());
  EXPECT_EQ(w.SyncStatus, "Unable to Synchronize: Timed Out!");
}

TEST_F(TickTest, LampsBlinkWhileBusyAndStayPutWhileMinimised) {
  NXO_KRV& w = start();
  ASSERT_TRUE(w.synchronising());
  EXPECT_EQ(w.LED0.picture(), kLampLit);  // the start lit SRC
  w.LED1.setPicture(kLampLit);
  w.SyncNow.tick();
  EXPECT_EQ(w.LED0.picture(), kLampDark);
  EXPECT_EQ(w.LED1.picture(), kLampDark);
  w.SyncNow.tick();
  EXPECT_EQ(w.LED0.picture(), kLampLit);
  w.setWindowState(ui::WindowState::Minimized);
  w.SyncNow.tick();
  w.SyncNow.tick();
  w.SyncNow.tick();
  EXPECT_EQ(w.LED0.picture(), kLampLit) << "no picture change while minimised";
  w.mnuShow_Click();
  w.SyncNow.tick();  // the blink state went on flipping while hidden: dark -> lit now
  EXPECT_EQ(w.LED0.picture(), kLampLit);
  synchroniser.stop();
  w.SyncNow.tick();
  w.SyncNow.tick();
  EXPECT_EQ(w.LED0.picture(), kLampDark);
}

TEST_F(TickTest, CurrentShowsDayMonthYearTimeAndStatus) {
  NXO_KRV& w = start("-rs");
  w.SyncStatus = "Atomically Correct: No Adjustment!";
  w.SyncNow.tick();
  EXPECT_EQ(w.Current.text(),
            "   SUN DECEMBER 7 2025 4:05:45 PM\r\n  Atomically Correct: No Adjustment!");
}

TEST_F(TickTest, RunOnceEndsItselfAfterSixtyTicksWithSettingsSaved) {
  NXO_KRV& w = start("-ro");
  sockets.made[0]->deliver({0xEC, 0xE0, 0x24, 0x95});  // a minute on: set
  ASSERT_TRUE(w.clockSynchronised()) << w.SyncStatus;
  for (int i = 0; i < kRunOnceLimitTicks - 1; ++i) w.SyncNow.tick();
  EXPECT_TRUE(w.loaded());
  w.SyncNow.tick();
  EXPECT_FALSE(w.loaded());
  EXPECT_TRUE(logHasInOrder({"save 127.0.0.1 59 Minute/s"})) << logText();
}

TEST_F(TickTest, RunOnceEndsAtTheTickAfterAFailedExchange) {
  NXO_KRV& w = start("-ro");
  sockets.made[0]->raiseError(10061, "Connection is forcibly rejected");
  ASSERT_TRUE(w.loaded());
  w.SyncNow.tick();
  EXPECT_FALSE(w.loaded());
  EXPECT_FALSE(w.clockSynchronised()) << "the exit status tells the failure";
  EXPECT_TRUE(logHasInOrder({"save 127.0.0.1 59 Minute/s"})) << logText();
}

TEST_F(TickTest, ShutDownWhileTheZoneChangeLetEventsRunEndsTheTick) {
  NXO_KRV& w = start("-rs");
  events.onDoEvents = [&] {
    events.onDoEvents = nullptr;
    w.unload(ui::kCloseForSessionEnd);
  };
  clock.setZone({300, "EST", 0, "EDT", -60}, platform::ZoneState::Daylight);
  w.SyncNow.tick();
  EXPECT_FALSE(w.loaded());
  EXPECT_FALSE(w.synchronising()) << "no synchronisation after the sockets were closed";
}

TEST_F(TickTest, ZoneChangeAtTheLargestIntervalStillSynchronises) {
  NXO_KRV& w = start("-rs");
  w.SyncN.setText("99999999999");
  w.SyncIntC.choose(3);
  ASSERT_EQ(w.SyncLimit, std::numeric_limits<int32_t>::max());
  clock.setZone({300, "EST", 0, "EDT", -60}, platform::ZoneState::Daylight);
  w.SyncNow.tick();
  EXPECT_TRUE(w.synchronising());
  EXPECT_EQ(w.SyncCountdown, 0);
}

TEST_F(TickTest, ChoosingSecondsWhileSynchronisingStartsNoSecondExchange) {
  NXO_KRV& w = start();
  ASSERT_TRUE(w.synchronising());
  w.SyncNow.tick();
  w.SyncIntC.choose(0);
  EXPECT_FALSE(w.SyncTimeNow.enabled());
  w.SyncTimeNow.setEnabled(true);  // whatever frees the button, the busy guard holds
  w.SyncTimeNow.click();
  w.mnuSync.click();
  EXPECT_EQ(synchroniser.SyncTicks, 1) << "the running exchange was not started over";
}

// A reply during the exchange (or none to wait for, without an update server) must not end the
// run before the clock is set.
TEST_F(TickTest, RunOnceEndsWhenTheVersionReplyArrivesAndTheExchangeIsOver) {
  NXO_KRV& w = start("-ro");
  ASSERT_TRUE(w.synchronising());
  w.versionQueryAnswered();
  w.SyncNow.tick();
  EXPECT_TRUE(w.loaded()) << "the clock is not set yet";
  sockets.made[0]->deliver({0xEC, 0xE0, 0x24, 0x95});
  ASSERT_TRUE(w.clockSynchronised()) << w.SyncStatus;
  w.SyncNow.tick();
  EXPECT_FALSE(w.loaded());
  NXO_KRV& done = start("-ro");
  syncSocket().raiseError(10061, "Connection is forcibly rejected");
  ASSERT_FALSE(done.synchronising());
  done.versionQueryAnswered();
  EXPECT_FALSE(done.loaded()) << "nothing running: at once";
  NXO_KRV& plain = start("");
  plain.versionQueryAnswered();
  EXPECT_TRUE(plain.loaded());
}

TEST_F(TickTest, DeferredWindowsWaitFiveTicksAndNotInRunOnce) {
  NXO_KRV& w = start("-rs");
  w.settings.floatingLaunch = true;
  w.settings.clockOverlay = true;
  for (int i = 0; i < 4; ++i) w.SyncNow.tick();
  EXPECT_TRUE(std::find(log.begin(), log.end(), "floating clock") == log.end());
  w.SyncNow.tick();
  EXPECT_TRUE(logHasInOrder({"floating clock", "taskbar clock"})) << logText();
  for (int i = 0; i < 10; ++i) w.SyncNow.tick();
  EXPECT_EQ(std::count(log.begin(), log.end(), "floating clock"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "taskbar clock"), 3);

  log.clear();
  NXO_KRV& once = start("-ro");
  once.settings.floatingLaunch = true;
  once.settings.clockOverlay = true;
  for (int i = 0; i < 10; ++i) once.SyncNow.tick();
  EXPECT_EQ(std::count(log.begin(), log.end(), "floating clock"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "taskbar clock"), 0);
}

}  // namespace
}  // namespace korvane::shell::testing
