// SPDX-License-Identifier: GPL-3.0-or-later
// The event sequences of mouse, keys, hover tracking and links.
#include <gtest/gtest.h>

#include "button_fixture.h"

namespace korvane::controls {
namespace {

using Strings = std::vector<std::string>;

// The top inner line of a style-3 button shows whether it is painted pressed.
constexpr Colour kShownPressed = makeColour(191, 191, 175);
constexpr Colour kShownReleased = makeColour(255, 255, 255);
Colour topLine(const NXOButtons& b) {
  return b.surface().pixel(b.pixelWidth() / 2, 1);
}

TEST(ButtonInput, PressMovedOutAndReleasedOutsideGivesNoClick) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25);
  EventLog log;
  log.attach(*b);
  f.pointer.over = b.get();

  b->mouseMove(0, 0, 10, 10);
  EXPECT_TRUE(b->overTimer().enabled());
  b->mouseDown(1, 2, 10, 10);
  EXPECT_EQ(topLine(*b), kShownPressed);
  b->overTimer().tick();  // still over it: nothing changes
  b->mouseMove(1, 0, -3, 10);
  f.pointer.over = nullptr;
  b->overTimer().tick();
  EXPECT_FALSE(b->overTimer().enabled());
  EXPECT_TRUE(b->flags().pressed);
  EXPECT_EQ(topLine(*b), kShownReleased);
  // Back inside before the release: shown pressed again.
  f.pointer.over = b.get();
  b->mouseMove(1, 0, 10, 10);
  EXPECT_EQ(topLine(*b), kShownPressed);
  b->mouseMove(1, 0, 100, 10);
  f.pointer.over = nullptr;
  b->overTimer().tick();
  b->mouseUp(1, 0, 100, 10);
  EXPECT_EQ(log.withoutMoves(), (Strings{"MouseIn", "MouseDown 1", "MouseOut 2", "MouseIn",
                                         "MouseOut 2", "MouseUp 1 at 100,10"}));
  EXPECT_EQ(topLine(*b), kShownReleased);
  EXPECT_FALSE(b->flags().pressed);
}

TEST(ButtonInput, LeftPressReleasedInsideClicksAndOpensTheLink) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25);
  b->setURL("http://127.0.0.1/help");
  EventLog log;
  log.attach(*b);
  b->mouseDown(1, 0, 5, 5);
  b->mouseUp(1, 0, 5, 5);
  EXPECT_EQ(log.all, (Strings{"MouseDown 1", "Click", "MouseUp 1 at 5,5"}));
  ASSERT_EQ(f.shell.calls.size(), 1u);
}

TEST(ButtonInput, RightPressIsNeverShownPressedAndNeverClicks) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25);
  EventLog log;
  log.attach(*b);
  bool everPressed = false;
  b->Repainted.connect([&] { everPressed |= topLine(*b) == kShownPressed; });
  b->mouseDown(2, 0, 5, 5);
  b->mouseUp(2, 0, 5, 5);
  EXPECT_EQ(log.all, (Strings{"MouseDown 2", "MouseUp 2 at 5,5"}));
  EXPECT_FALSE(everPressed);
  EXPECT_FALSE(b->flags().pressed);
}

TEST(ButtonInput, DoubleClickPressesAgainWithTheRememberedPress) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25);
  EventLog log;
  log.attach(*b);
  int captures = 0;
  b->CaptureMouse.connect([&] { ++captures; });
  b->mouseDown(1, 4, 7, 8);
  b->mouseUp(1, 4, 7, 8);
  b->mouseDoubleClick();
  EXPECT_EQ(captures, 1);
  EXPECT_EQ(log.all.back(), "MouseDown 1");
  EXPECT_EQ(topLine(*b), kShownPressed);
}

TEST(ButtonInput, HeldSpaceWithAutoRepeatClicksOnce) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25);
  b->setURL("mailto:time@example.org");
  EventLog log;
  log.attach(*b);
  int pressedRepaints = 0;
  b->Repainted.connect([&] { pressedRepaints += topLine(*b) == kShownPressed; });
  for (int i = 0; i < 5; ++i) b->keyDown(NXOButtons::kSpace, 1);
  EXPECT_EQ(topLine(*b), kShownPressed);
  b->keyUp(NXOButtons::kSpace, 1);
  EXPECT_EQ(log.count("KeyDown 32"), 5);
  EXPECT_EQ(log.count("Click"), 1);
  EXPECT_EQ(log.count("MouseUp 1 at 0,0"), 1);
  EXPECT_EQ(log.count("KeyUp 32"), 1);
  EXPECT_EQ(log.all.back(), "KeyUp 32");
  EXPECT_EQ(pressedRepaints, 1);
  EXPECT_EQ(f.shell.calls.size(), 1u);
  EXPECT_FALSE(b->flags().keyLatch);
  EXPECT_EQ(topLine(*b), kShownReleased);
}

TEST(ButtonInput, OtherKeysOnlyRaiseTheirEvents) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25);
  EventLog log;
  log.attach(*b);
  b->keyDown(13, 0);
  b->keyPress(13);
  b->keyUp(13, 0);
  EXPECT_EQ(log.all, (Strings{"KeyDown 13", "KeyPress 13", "KeyUp 13"}));
}

TEST(ButtonInput, LinksGoToTheShellOnlyForLowerCaseMailto) {
  using Kind = platform::RecordingShellOpen::Call::Kind;
  const struct {
    std::string url;
    int calls;
    Kind kind;
  } cases[] = {
      {"mailto:time@example.org", 1, Kind::ShellExecute},
      {"MAILTO:time@example.org", 1, Kind::Navigate},
      {"Mailto:x", 1, Kind::Navigate},
      {"http://127.0.0.1/", 1, Kind::Navigate},
      {"mailto", 1, Kind::Navigate},
      {"", 0, Kind::Navigate},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    ButtonFixture f;
    auto b = f.make(3, 88, 25);
    b->setURL(c.url);
    b->accessKeyPressed();
    ASSERT_EQ(static_cast<int>(f.shell.calls.size()), c.calls);
    if (!c.calls) continue;
    const auto& call = f.shell.calls[0];
    EXPECT_EQ(call.kind, c.kind);
    EXPECT_EQ(call.file, c.url);
    if (c.kind == Kind::ShellExecute) {
      EXPECT_EQ(call.verb, "open");
      EXPECT_EQ(call.parameters, "");
      EXPECT_EQ(call.directory, "");
      EXPECT_EQ(call.showCommand, 1);
    } else {
      EXPECT_EQ(call.location, "");
      EXPECT_EQ(call.frame, "");
    }
  }
}

TEST(ButtonInput, DisabledButtonTakesNoInputAndNothingStaysHeld) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25);
  EventLog log;
  log.attach(*b);
  b->mouseDown(1, 0, 5, 5);
  b->setEnabled(false);
  b->mouseUp(1, 0, 5, 5);
  b->keyDown(NXOButtons::kSpace, 0);
  b->accessKeyPressed();
  b->click();
  EXPECT_EQ(log.all, (Strings{"MouseDown 1"}));
  b->setEnabled(true);
  EXPECT_FALSE(b->flags().pressed);
  EXPECT_EQ(topLine(*b), kShownReleased);
}

TEST(ButtonInput, FocusRingComesAndGoesAndLosingFocusReleases) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25);
  b->gotFocus();
  EXPECT_EQ(b->surface().pixel(1, 10), makeColour(140, 170, 230));
  b->keyDown(NXOButtons::kSpace, 0);
  b->lostFocus();
  EXPECT_FALSE(b->flags().pressed);
  EXPECT_FALSE(b->flags().focus);
  // The hover that Space set ends with the focus: no hot ring is left behind.
  EXPECT_FALSE(b->flags().hover);
  EXPECT_FALSE(b->flags().keyLatch);
  EXPECT_EQ(topLine(*b), kShownReleased);
  // A hover of the pointer itself outlives the focus.
  f.pointer.over = b.get();
  b->mouseMove(0, 0, 5, 5);
  b->gotFocus();
  b->lostFocus();
  EXPECT_TRUE(b->flags().hover);
}

TEST(ButtonInput, HoverTimerRepaintsOnlyOnAChange) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25);
  int repaints = 0;
  b->Repainted.connect([&] { ++repaints; });
  f.pointer.over = b.get();
  b->mouseMove(0, 0, 5, 5);
  EXPECT_EQ(f.events.passes, 1);  // pending messages ran after the MouseIn repaint
  const int afterIn = repaints;
  for (int i = 0; i < 20; ++i) b->overTimer().tick();
  b->mouseMove(0, 0, 6, 5);
  EXPECT_EQ(repaints, afterIn);
  f.pointer.over = nullptr;
  b->overTimer().tick();
  EXPECT_EQ(repaints, afterIn + 1);
}

}  // namespace
}  // namespace korvane::controls
