// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's design: the controls where the layout puts them.
#include "shell/nxo_krv_fixture.h"

namespace korvane::shell::testing {
namespace {

using LayoutTest = MainWindowFixture;

TEST_F(LayoutTest, EveryControlSitsWhereTheDesignPutsIt) {
  NXO_KRV& w = make();
  EXPECT_EQ(w.clientWidth(), 6045);
  EXPECT_EQ(w.clientHeight(), 3735);
  struct Case {
    ui::Control* control;
    ui::TwipsRect rect;
    ui::Control* container;
  };
  const Case cases[] = {
      {&w.Frame1, {0, -75, 6045, 960}, nullptr},
      {&w.TimeSvrLbl, {45, 900, 4530, 255}, nullptr},
      {&w.vbRemoteHost, {45, 1170, 4530, 300}, nullptr},
      {&w.About, {4665, 930, 1320, 375}, nullptr},
      {&w.Advanced, {4665, 1335, 1320, 375}, nullptr},
      {&w.Mini, {4665, 2460, 1320, 375}, nullptr},
      {&w.SyncTimeNow, {4665, 3315, 1320, 375}, nullptr},
      {&w.LED_Display, {45, 1740, 5925, 585}, nullptr},
      {&w.Current, {45, 120, 4545, 435}, &w.LED_Display},
      {&w.LEDLBL, {4710, 150, 1110, 165}, &w.LED_Display},
      {&w.LED0, {4755, 270, 240, 240}, &w.LED_Display},
      {&w.LED1, {5130, 270, 240, 240}, &w.LED_Display},
      {&w.LED2, {5505, 270, 240, 240}, &w.LED_Display},
      {&w.Options, {60, 2355, 4545, 1365}, nullptr},
      {&w.Servers, {135, 210, 4290, 375}, &w.Options},
      {&w.RandomCheck, {135, 660, 4245, 240}, &w.Options},
      {&w.UpdateLbl, {225, 960, 1740, 225}, &w.Options},
      {&w.SyncN, {2010, 945, 765, 345}, &w.Options},
      {&w.SyncIntC, {2805, 945, 1620, 345}, &w.Options},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.control->geometry(), c.rect) << c.control->name();
    bool found = false;
    for (const ui::Form::Entry& e : w.controls())
      if (e.control == c.control) {
        found = true;
        EXPECT_EQ(e.container, c.container) << c.control->name();
      }
    EXPECT_TRUE(found) << c.control->name();
  }
  EXPECT_EQ(w.ROT.font().name, "Lucida Console");
  EXPECT_EQ(w.LEDLBL.caption(), "SRC  RX  TX");
  EXPECT_EQ(w.SyncN.text(), "59");
  EXPECT_EQ(w.SyncIntC.text(), "Minute/s");
  EXPECT_TRUE(w.SyncIntC.listOnly()) << "the unit box takes no typing";
  EXPECT_EQ(w.IML.count(), 34);
  EXPECT_EQ(w.SyncNow.interval(), 1000);
}

TEST_F(LayoutTest, EveryButtonIsAGradientButtonWithItsCaptionAndHandPointer) {
  NXO_KRV& w = make();
  const struct {
    controls::NXOButtons* button;
    const char* caption;
    ui::TwipsRect rect;
  } cases[] = {{&w.About, "About / Help", {4665, 930, 1320, 375}},
               {&w.Advanced, "Advanced", {4665, 1335, 1320, 375}},
               {&w.Mini, "Minimize", {4665, 2460, 1320, 375}},
               {&w.SyncTimeNow, "Synchronize", {4665, 3315, 1320, 375}},
               {&w.frmAbout.cmdHelp, "Help", {2790, 2100, 1260, 375}},
               {&w.frmAbout.cmdOK, "OK", {4230, 2100, 1260, 375}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button->name());
    EXPECT_EQ(c.button->caption(), c.caption);
    EXPECT_EQ(c.button->buttonStyle(), 3);
    EXPECT_EQ(c.button->font().name, "Arial");
    EXPECT_EQ(c.button->geometry(), c.rect);
    EXPECT_EQ(c.button->pixelWidth(), c.rect.width / 15);
    EXPECT_EQ(c.button->pixelHeight(), 25);
    EXPECT_FALSE(c.button->windowShape().empty()) << "rounded corners";
    EXPECT_TRUE(c.button->handPointer());
  }
  bool okOnAboutBox = false;
  for (const ui::Form::Entry& e : w.frmAbout.controls())
    okOnAboutBox |= e.control == &w.frmAbout.cmdOK;
  EXPECT_TRUE(okOnAboutBox);
}

}  // namespace
}  // namespace korvane::shell::testing
