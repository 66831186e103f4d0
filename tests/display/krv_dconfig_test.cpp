// SPDX-License-Identifier: GPL-3.0-or-later
// The floating clock settings dialog on fakes: what it enables, warns about, asks and writes.
#include "display/krv_dconfig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "display_fakes.h"
#include "recording_program.h"

namespace korvane::display {
namespace {

using platform::MsgResult;

// Message boxes that may run something while one is open (the user closing the dialog).
class OpenBoxes : public platform::FakeMessageBoxes {
 public:
  MsgResult show(const std::string& text, const std::string& title, platform::MsgButtons buttons,
                 platform::MsgIcon icon) override {
    if (whileOpen) whileOpen();
    return FakeMessageBoxes::show(text, title, buttons, icon);
  }
  std::function<void()> whileOpen;
};

// A change the user makes whatever the box showed.
void toggle(ui::CheckBox& box) {
  box.setValue(box.ticked() ? 0 : 1);
}

class DConfigTest : public ::testing::Test,
                    protected testing::DisplayFakes<platform::LoggingRegistry, OpenBoxes> {
 protected:
  DConfigTest() {
    program::Settings& s = state.settings;
    s.clockOverlay = true;
    s.clockAmPm = true;
    s.floatingSkin = "KRV_Blue Dots.gif";
    s.opacity = 200;
    s.floatingStyle = "KRV";
    s.floatingOnTop = true;
    s.floatingX = 300;
    s.floatingY = 450;
    s.fontName = "Arial";
    s.fontSize = 10;
    s.fontBold = true;
    s.textColour = 0;
    s.backColour = program::kWindowBackgroundColour;
    for (const char* name : {"krv_amber.GIF", "KRV_Blue Dots.gif", "AMP_x.bmp", "KRV_a.bmp"})
      files.putInProgramFolder(std::string("Skins/") + name, "");
  }

  KRV_DConfig& open() {
    dialog = std::make_unique<KRV_DConfig>(servicesFor(program),
                                           DialogTitle{"Korvane", "Korvane 5.1.12", {}});
    dialog->load();
    return *dialog;
  }

  testing::RecordingProgram program{registry.log};
  std::unique_ptr<KRV_DConfig> dialog;
};

TEST_F(DConfigTest, ApplyIsEnabledOnlyByARealChangeAndCancelWritesNothing) {
  struct Case {
    const char* what;
    std::function<void(KRV_DConfig&)> act;
    bool enabled;
  };
  const Case cases[] = {
      {"nothing", [](KRV_DConfig&) {}, false},
      {"a clock-text box", [](KRV_DConfig& d) { d.DShowChk[1].setValue(1); }, true},
      {"the font style", [](KRV_DConfig& d) { d.KRV_Dopt[1].setValue(true); }, true},
      {"the launch box", [](KRV_DConfig& d) { d.Detach_Chk[0].setValue(1); }, true},
      {"another skin", [](KRV_DConfig& d) { d.KRV_DSkin.choose(0); }, true},
      {"the same skin again", [](KRV_DConfig& d) { d.KRV_DSkin.choose(1); }, false},
      {"the slider", [](KRV_DConfig& d) { d.sldTransparent.setValue(100); }, true},
      {"a typed opacity", [](KRV_DConfig& d) { d.txtTransparent.setText("150"); }, true},
      {"a typed word", [](KRV_DConfig& d) { d.txtTransparent.setText("abc"); }, false},
      {"a cancelled colour", [](KRV_DConfig& d) { d.fntBKG.click(); }, false},
      {"a cancelled font", [](KRV_DConfig& d) { d.fntAdjust.click(); }, false},
  };
  EXPECT_EQ(open().KRV_DSkin.items(),
            (std::vector<std::string>{"krv_amber.GIF", "KRV_Blue Dots.gif"}));
  for (const Case& c : cases) {
    registry.log.clear();
    KRV_DConfig& d = open();
    c.act(d);
    EXPECT_EQ(d.DTApply.enabled(), c.enabled) << c.what;
    d.DTCancel.click();
    EXPECT_FALSE(d.loaded()) << c.what;
    EXPECT_TRUE(registry.log.empty()) << c.what;  // no write, the floating clock left running
  }
}

TEST_F(DConfigTest, SliderWarnsBelowTenAndResetsZeroToTheSafeValue) {
  const std::string almost = "CAUTION: This setting will make yout form almost invisible!";
  const std::string gone =
      "CAUTION: This setting will make KRV Float completely invisible!\r\n"
      "Resetting to a safe value (125)!";
  struct Case {
    int moved;
    std::string warning;  // empty: none
    int slider;
  };
  const Case cases[] = {
      {5, almost, 5}, {9, almost, 9}, {1, almost, 1}, {10, "", 10}, {0, gone, 125}};
  for (const Case& c : cases) {
    boxes.shown.clear();
    KRV_DConfig& d = open();
    d.sldTransparent.setValue(c.moved);
    EXPECT_EQ(boxes.shown.empty() ? "" : boxes.shown[0].text, c.warning) << c.moved;
    EXPECT_EQ(d.sldTransparent.value(), c.slider) << c.moved;
    EXPECT_EQ(d.txtTransparent.text(), std::to_string(c.slider)) << c.moved;
    EXPECT_TRUE(d.DTApply.enabled());
  }
}

TEST_F(DConfigTest, ATypedOpacityWarnsOnceWhenCommittedNeverMidTyping) {
  const std::string almost = "CAUTION: This setting will make yout form almost invisible!";
  const auto enter = [](KRV_DConfig& d) { d.txtTransparent.typeCharacter('\r'); };
  const auto leave = [](KRV_DConfig& d) { d.txtTransparent.LostFocus(); };
  const auto apply = [](KRV_DConfig& d) { d.DTApply.click(); };
  struct Case {
    const char* typed;
    std::function<void(KRV_DConfig&)> commit;
    std::string warning;  // empty: none
    const char* shown;    // the text box afterwards
  };
  const Case cases[] = {
      {"150", enter, "", "150"},
      {"5", enter, almost, "5"},
      {"5", leave, almost, "5"},
      {"0", leave,
       "CAUTION: This setting will make KRV Float completely invisible!\r\n"
       "Resetting to a safe value (125)!",
       "125"},
      {"012", leave, "", "012"},
      {"7", apply, almost, "7"},  // last: its writes are looked at below
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    registry.log.clear();
    KRV_DConfig& d = open();
    d.txtTransparent.setText("");
    boxes.shown.clear();
    for (const char* k = c.typed; *k; ++k) d.txtTransparent.typeCharacter(*k);
    EXPECT_TRUE(boxes.shown.empty()) << "warned mid-typing";
    EXPECT_EQ(d.txtTransparent.text(), c.typed);
    c.commit(d);
    if (d.loaded()) leave(d);  // the focus leaving after Enter warns no second time
    EXPECT_EQ(boxes.shown.empty() ? "" : boxes.shown[0].text, c.warning);
    EXPECT_EQ(std::count_if(boxes.shown.begin(), boxes.shown.end(),
                            [](const auto& b) { return b.title == "CAUTION!"; }),
              c.warning.empty() ? 0 : 1);
    if (d.loaded()) {
      EXPECT_EQ(d.txtTransparent.text(), c.shown);
    }
  }
  EXPECT_NE(std::find(registry.log.begin(), registry.log.end(), "KRVSkinTransP=7"),
            registry.log.end());
}

TEST_F(DConfigTest, EnterPressesAnEnabledApplyUnlessTheOpacityBoxWarnedOfIt) {
  KRV_DConfig& d = open();
  d.EnterPressed();
  EXPECT_TRUE(d.loaded()) << "nothing to apply";
  int enter = '\r';
  d.txtTransparent.setText("4");
  d.txtTransparent.KeyPress(enter);
  EXPECT_EQ(enter, 0) << "the warning ends this Enter";
  enter = '\r';
  d.txtTransparent.setText("40");
  d.txtTransparent.KeyPress(enter);
  EXPECT_EQ(enter, '\r');
  boxes.answer(MsgResult::No);
  d.EnterPressed();
  EXPECT_FALSE(d.loaded()) << "applied";
  EXPECT_NE(std::find(registry.log.begin(), registry.log.end(), "KRVSkinTransP=40"),
            registry.log.end());
}

TEST_F(DConfigTest, ApplyWritesInOrderAfterClosingTheClockAndAsks) {
  KRV_DConfig& d = open();
  pickers.fontAnswers.push_back(
      platform::Pickers::FontChoice{{"Courier New", 12.4, false, true, false, true}, 0x0000FF});
  pickers.colourAnswers.push_back(0x00FF00);
  d.fntAdjust.click();  // a bold font chosen regular
  d.fntBKG.click();
  d.KRV_Dopt[1].setValue(true);
  d.KRV_DSkin.choose(0);
  d.Detach_Chk[0].setValue(1);
  d.txtTransparent.setText("300");
  EXPECT_EQ(d.sldTransparent.value(), 200);  // beyond the slider: it stays
  boxes.answer(MsgResult::No);
  d.DTApply.click();

  EXPECT_EQ(registry.log, (std::vector<std::string>{
                              "unload KRV_DetachF",
                              "KRVClockSkin=YES:NO:NO:YES",
                              "KRVSkinDetach=krv_amber.GIF",
                              "KRVSkinTransP=300",
                              "KRVDetachMode=FNT:y:y:300:450",
                              "KRVDetachFont=Courier New,12,n,y,n,y,255,65280",
                          }));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].title, "Load KRV Floating Clock Now?");
  EXPECT_EQ(boxes.shown[0].text, "Load the KRV Floating clock with the new settings?");
  EXPECT_FALSE(d.loaded());
  EXPECT_EQ(state.settings.opacity, 255);  // as a start-up reads "300"
}

TEST_F(DConfigTest, TypedOpacityIsStoredAsTypedAndWorksAsAStartUpReadsIt) {
  struct Case {
    const char* typed;
    const char* stored;
    int working;
  };
  const Case cases[] = {
      {"300", "300", 255}, {"5", "5", 200},   {"10", "10", 200},           {"11", "11", 11},
      {"12.5", "12", 12},  {"abc", "0", 200}, {"1e12", "2147483647", 255}, {"-40", "-40", 200}};
  for (const Case& c : cases) {
    registry.log.clear();
    state.settings.opacity = 200;
    KRV_DConfig& d = open();
    toggle(d.Detach_Chk[0]);
    d.txtTransparent.setText(c.typed);
    boxes.answer(MsgResult::No);
    d.DTApply.click();
    EXPECT_NE(std::find(registry.log.begin(), registry.log.end(),
                        std::string("KRVSkinTransP=") + c.stored),
              registry.log.end())
        << c.typed;
    EXPECT_EQ(state.settings.opacity, c.working) << c.typed;
  }
}

TEST_F(DConfigTest, ClockTextFlagsAreSavedOnlyWhenClickedHere) {
  KRV_DConfig& d = open();
  state.settings.clockSeconds = true;  // the options dialog changed it meanwhile
  d.DShowChk[2].setValue(1);
  boxes.answer(MsgResult::No);
  d.DTApply.click();
  ASSERT_GE(registry.log.size(), 2u);
  EXPECT_EQ(registry.log[1], "KRVClockSkin=YES:YES:YES:YES");
  EXPECT_TRUE(state.settings.clockSeconds);
  EXPECT_TRUE(state.settings.clock24Hour);
}

TEST_F(DConfigTest, CustomColoursLastWhileOpenAndStartEmpty) {
  platform::CustomColours mine{};
  mine[3] = 0x123456;
  KRV_DConfig& d = open();
  pickers.customAfterPick = mine;
  pickers.colourAnswers = {0x00FF00, std::nullopt};
  d.fntBKG.click();
  pickers.customAfterPick = platform::CustomColours{};  // changed, then cancelled
  d.fntBKG.click();
  EXPECT_EQ(d.customColours(), mine);
  d.fntBKG.click();
  ASSERT_EQ(pickers.colourRequests.size(), 3u);
  EXPECT_EQ(pickers.colourRequests[0].custom, platform::CustomColours{});
  EXPECT_EQ(pickers.colourRequests[2].custom, mine);
  EXPECT_EQ(pickers.colourRequests[2].initial, 0u);
  d.DTCancel.click();
  open().fntBKG.click();
  EXPECT_EQ(pickers.colourRequests.back().custom, platform::CustomColours{});
}

TEST_F(DConfigTest, TheAnswerDecidesWhetherTheClockOpensAgain) {
  struct Case {
    MsgResult answer;
    bool closedMeanwhile;
    bool loads;
  };
  const Case cases[] = {
      {MsgResult::Yes, false, true}, {MsgResult::No, false, false}, {MsgResult::Yes, true, false}};
  for (const Case& c : cases) {
    registry.log.clear();
    KRV_DConfig& d = open();
    toggle(d.Detach_Chk[0]);
    boxes.answer(c.answer);
    if (c.closedMeanwhile) boxes.whileOpen = [&d] { d.unload(ui::kCloseForSessionEnd); };
    d.DTApply.click();
    boxes.whileOpen = nullptr;
    EXPECT_EQ(registry.log.back() == "load KRV_DetachF", c.loads) << registry.log.back();
    EXPECT_FALSE(d.loaded());
  }
}

}  // namespace
}  // namespace korvane::display
