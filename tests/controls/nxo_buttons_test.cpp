// SPDX-License-Identifier: GPL-3.0-or-later
// Creation, properties, resize and the property bag.
#include "controls/nxo_buttons.h"

#include <gtest/gtest.h>

#include "button_fixture.h"
#include "controls/access_key.h"

namespace korvane::controls {
namespace {

using platform::Picture;
using Strings = std::vector<std::string>;

TEST(AccessKey, FirstSingleMarkerOrTheOneAfterADoubledMarker) {
  const struct {
    const char* caption;
    char key;
  } cases[] = {{"&Apply", 'a'}, {"Save && Exit", 0}, {"A&&B", 0}, {"x&&y&z", 'z'},  {"E&XIT", 'x'},
               {"&", 0},        {"A&", 0},           {"", 0},     {"a&&b&&c&d", 0}, {"&&&x", 'x'},
               {"&&a&B", 'b'}};
  for (const auto& c : cases) EXPECT_EQ(accessKeyOf(c.caption), c.key) << c.caption;
}

TEST(NXOButtons, NewButtonTakesTheDesignerDefaults) {
  ButtonFixture f;
  NXOButtons b("cmdApply", f.services());
  EXPECT_EQ(b.caption(), "cmdApply");
  EXPECT_EQ(b.buttonStyle(), 2);
  EXPECT_EQ(b.picturePosition(), 1);
  EXPECT_EQ(b.pictureWidth(), 32);
  EXPECT_EQ(b.pictureSize(), 1);
  EXPECT_EQ(b.backColor(), 0x8000000Fu);
  EXPECT_EQ(b.foreColor(), 0x80000012u);
  EXPECT_EQ(b.xpColorPressed(), 0x80000014u);
  EXPECT_EQ(b.xpColorHover(), 0x80000016u);
  EXPECT_EQ(b.bevel(), 1);
  EXPECT_EQ(b.bevelDepth(), 8);
  EXPECT_EQ(b.version(), "090102");
  EXPECT_TRUE(b.handPointer());
  EXPECT_EQ(b.overTimer().interval(), 10);
  EXPECT_FALSE(b.overTimer().enabled());
  b.setDefCurHand(false);
  EXPECT_FALSE(b.handPointer());
  EXPECT_EQ(b.mousePointer(), 99);
}

TEST(NXOButtons, ResizeBelowTenPixelsGrowsBackTo150Twips) {
  const struct {
    int w, h;  // twips
    int wantW, wantH;
  } cases[] = {
      {75, 375, 150, 375}, {1320, 75, 1320, 150}, {0, -30, 150, 150}, {149, 150, 150, 150}};
  for (const auto& c : cases) {
    ButtonFixture f;
    NXOButtons b("B", f.services());
    b.setGeometry({30, 45, c.w, c.h});
    EXPECT_EQ(b.geometry(), (ui::TwipsRect{30, 45, c.wantW, c.wantH}));
    EXPECT_EQ(b.pixelWidth(), c.wantW / 15);
    EXPECT_EQ(b.surface().width(), c.wantW / 15);
    EXPECT_EQ(b.rects().focus, (Rect{3, 3, c.wantW / 15 - 3, c.wantH / 15 - 3}));
  }
}

TEST(NXOButtons, Style3HasTheRoundedShapeAndClearsTransparency) {
  ButtonFixture f;
  auto b = f.make(2, 88, 25);
  b->setTransparentBG(true);
  EXPECT_TRUE(b->windowShape().empty());
  int shapes = 0;
  b->ShapeChanged.connect([&] { ++shapes; });
  b->setButtonStyle(3);
  EXPECT_FALSE(b->transparentBG());
  EXPECT_EQ(shapes, 1);
  EXPECT_FALSE(b->windowShape().contains(0, 0));
  EXPECT_TRUE(b->windowShape().contains(2, 0));
}

TEST(NXOButtons, PictureSizeSetsOrKeepsThePictureSize) {
  auto picture = std::make_shared<Picture>();
  picture->image = platform::Raster(24, 20);
  const struct {
    const char* name;
    bool withPicture;
    int32_t size;
    int wantW, wantH;
  } cases[] = {{"0 small", false, 0, 16, 16},   {"1 standard", false, 1, 32, 32},
               {"4 large", false, 4, 64, 64},   {"2 no picture", false, 2, 32, 32},
               {"2 own size", true, 2, 24, 20}, {"3 keeps", true, 3, 40, 50},
               {"-1 keeps", false, -1, 40, 50}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ButtonFixture f;
    auto b = f.make(2, 88, 60, "OK");
    if (c.withPicture) b->setPicture(picture);
    b->setPictureWidth(40);
    b->setPictureHeight(50);
    b->setPictureSize(c.size);
    EXPECT_EQ(b->pictureWidth(), c.wantW);
    EXPECT_EQ(b->pictureHeight(), c.wantH);
  }
}

TEST(NXOButtons, PictureKeepsItsOwnSizeAndFollowsPictureSize2) {
  ButtonFixture f;
  auto b = f.make(2, 88, 60);
  b->setPictureSize(2);
  auto picture = std::make_shared<Picture>();
  picture->image = platform::Raster(24, 20);
  b->setPicture(picture);
  EXPECT_EQ(b->properties().originalPicSizeW, 24);
  EXPECT_EQ(b->pictureHeight(), 20);
  b->setPicture(nullptr);
  EXPECT_EQ(b->properties().originalPicSizeW, 32);
  EXPECT_EQ(b->pictureWidth(), 32);
}

TEST(NXOButtons, EveryPropertyChangeTellsTheContainerItsName) {
  ButtonFixture f;
  auto b = f.make(2, 88, 25);
  Strings names;
  b->PropertyNotified.connect([&](const std::string& n) { names.push_back(n); });
  b->setCaption("&Go");
  b->setBevelDepth(2);
  b->setEnabled(false);
  b->setSoundOver("x.wav");
  EXPECT_EQ(names, (Strings{"Caption", "BEVELDEPTH", "Enabled", "SoundOver"}));
  EXPECT_EQ(b->accessKey(), 'g');
}

// Text boxes as the fake draws them, with the font and colour of the last caption drawn.
struct RecordingText : platform::FakeTextRenderer {
  mutable platform::Font font;
  mutable Colour colour = 0;
  void draw(platform::Raster& raster, const Rect& r, std::string_view caption,
            const platform::Font& f, Colour rgb, const platform::TextMargins& m) const override {
    font = f;
    colour = rgb;
    FakeTextRenderer::draw(raster, r, caption, f, rgb, m);
  }
};

TEST(NXOButtons, FontAndColoursSetAsAPlainControlAreWhatItDraws) {
  const platform::Font bigBold{"Verdana", 12, true, false, true, true, 0};
  const struct {
    const char* name;
    void (*set)(ui::Control&, const platform::Font&);
    Colour back, text;  // resolved against the classic table below
    const char* notified;
  } cases[] = {
      {"RGB back", [](ui::Control& c, const platform::Font&) { c.setBackColor(0x000000FFu); },
       makeColour(255, 0, 0), makeColour(0, 0, 1), "BackColor"},
      {"system back", [](ui::Control& c, const platform::Font&) { c.setBackColor(0x80000005u); },
       makeColour(5, 5, 5), makeColour(0, 0, 1), "BackColor"},
      {"system text", [](ui::Control& c, const platform::Font&) { c.setForeColor(0x80000008u); },
       makeColour(15, 15, 15), makeColour(0, 0, 8), "ForeColor"},
      {"desktop default",
       [](ui::Control& c, const platform::Font&) { c.setBackColor(ui::kDefaultColour); },
       makeColour(15, 15, 15), makeColour(0, 0, 1), "BackColor"},
      {"font", [](ui::Control& c, const platform::Font& f) { c.setFont(f); },
       makeColour(15, 15, 15), makeColour(0, 0, 1), "Font"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ButtonFixture f;
    RecordingText text;
    f.colours.set(5, makeColour(5, 5, 5));
    f.colours.set(8, makeColour(0, 0, 8));
    f.colours.set(15, makeColour(15, 15, 15));
    f.colours.set(18, makeColour(0, 0, 1));
    auto s = f.services();
    s.text = &text;
    NXOButtons b("&Go", s);
    b.setButtonStyle(0);
    b.setGeometry({0, 0, 88 * 15, 30 * 15});
    if (std::string(c.name) == "desktop default") b.setBackColor(makeColour(9, 9, 9));
    Strings names;
    b.PropertyNotified.connect([&](const std::string& n) { names.push_back(n); });
    c.set(b, bigBold);
    EXPECT_EQ(names, Strings{c.notified});
    EXPECT_EQ(b.surface().pixel(8, 15), c.back);
    EXPECT_EQ(text.colour, c.text);
    EXPECT_EQ(text.font == bigBold, std::string(c.name) == "font");
  }
}

TEST(NXOButtons, AButtonNotYetShownMeasuresNothingAndFirstShowsWhatAShownOneShows) {
  ButtonFixture lazy, shown;
  auto a = lazy.make(2, 88, 30, "First");
  auto b = shown.make(2, 88, 30, "First");
  auto picture = std::make_shared<Picture>();
  picture->image = platform::Raster(16, 16);
  const auto changes = [&picture](NXOButtons& x) {
    x.setPicture(picture);
    x.setPicturePosition(1);
    x.setCaption("A caption long enough to wrap");
    x.setPicture(nullptr);  // its place stays where the last layout put it
    x.setFont({"Verdana", 12, true, false, false, false, 0});
    x.setGeometry({0, 0, 120 * 15, 40 * 15});
  };
  b->surface();
  changes(*a);
  changes(*b);
  EXPECT_EQ(lazy.text.measured, 0);
  EXPECT_TRUE(a->surface() == b->surface());
  EXPECT_EQ(a->rects().text, b->rects().text);
  EXPECT_EQ(lazy.text.measured, 1);
  a->setCaption("Shown now");  // from the first showing on, each change is drawn at once
  EXPECT_EQ(lazy.text.measured, 2);
}

TEST(NXOButtons, SavingWritesEveryKeyInItsOrder) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25, "&Sync");
  ui::PropertyBag bag;
  b->writeProperties(bag);
  Strings keys;
  for (const auto& e : bag.entries()) keys.push_back(e.first);
  EXPECT_EQ(keys, (Strings{"Caption",
                           "PicturePosition",
                           "ButtonStyle",
                           "Picture",
                           "PictureWidth",
                           "PictureHeight",
                           "PictureSize",
                           "OriginalPicSizeW",
                           "OriginalPicSizeH",
                           "PictureHover",
                           "Enabled",
                           "Font",
                           "MouseIcon",
                           "MousePointer",
                           "ShowFocusRect",
                           "URL",
                           "XPColor_Pressed",
                           "XPColor_Hover",
                           "XPDefaultColors",
                           "BackColor",
                           "ForeColor",
                           "SoundOver",
                           "SoundClick",
                           "DefCurHand",
                           "XPShowBorderAlways",
                           "MaskColor",
                           "TransparentBG",
                           "BEVEL",
                           "BEVELDEPTH"}));
  EXPECT_EQ(bag.read<int32_t>("BackColor", 0), -2147483633);
}

TEST(NXOButtons, SettingsComeBackUnchangedAfterSavingAndLoading) {
  ButtonFixture f;
  auto b = f.make(3, 88, 25, "&Sync");
  b->setSoundOver("C:\\sounds\\hover me.wav");
  b->setSoundClick("");
  b->setURL("mailto:time@example.org");
  b->setBevel(4);
  b->setBevelDepth(-3);
  b->setBackColor(makeColour(1, 2, 3));
  b->setFont({"Arial", 10, true, false, true, false});
  b->setEnabled(false);
  ui::PropertyBag bag;
  b->writeProperties(bag);

  NXOButtons copy("Other", f.services());
  copy.setGeometry({0, 0, 88 * 15, 25 * 15});
  copy.readProperties(bag);
  EXPECT_EQ(copy.soundOver(), "C:\\sounds\\hover me.wav");
  EXPECT_EQ(copy.soundClick(), "");
  EXPECT_EQ(copy.caption(), "&Sync");
  EXPECT_EQ(copy.accessKey(), 's');
  EXPECT_EQ(copy.url(), "mailto:time@example.org");
  EXPECT_EQ(copy.bevel(), 4);
  EXPECT_EQ(copy.bevelDepth(), -3);
  EXPECT_EQ(copy.backColor(), makeColour(1, 2, 3));
  EXPECT_EQ(copy.font(), b->font());
  EXPECT_FALSE(copy.enabled());
  EXPECT_TRUE(copy.handPointer());
  EXPECT_FALSE(copy.windowShape().empty());
  ui::PropertyBag again;
  copy.writeProperties(again);
  EXPECT_EQ(again.entries().size(), bag.entries().size());
  for (size_t i = 0; i < bag.entries().size(); ++i)
    EXPECT_EQ(again.entries()[i], bag.entries()[i]) << bag.entries()[i].first;
}

TEST(NXOButtons, LoadingKeepsStoredSizesAndRejectsBadValues) {
  ButtonFixture f;
  ui::PropertyBag bag;
  bag.write("PictureSize", int32_t{0});  // stored, not applied
  bag.write("PictureWidth", int32_t{48});
  bag.write("BEVEL", int32_t{70000});          // not a 16-bit value
  bag.write("ButtonStyle", std::string("3"));  // wrong type
  bag.write("DefCurHand", false);
  NXOButtons b("cmdX", f.services());
  b.readProperties(bag);
  EXPECT_EQ(b.pictureWidth(), 48);
  EXPECT_EQ(b.pictureSize(), 0);
  EXPECT_EQ(b.bevel(), 1);
  EXPECT_EQ(b.buttonStyle(), 2);
  EXPECT_EQ(b.caption(), "cmdX");
  EXPECT_FALSE(b.defCurHand());
  EXPECT_FALSE(b.handPointer());  // the stored pointer image (none) is used as saved
  EXPECT_EQ(b.pixelWidth(), 10);  // loading ends with the resize handling
}

}  // namespace
}  // namespace korvane::controls
