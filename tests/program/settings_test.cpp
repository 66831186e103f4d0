// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up load, the first run and the writers, on the in-memory registry.
#include "program/settings.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_registry.h"
#include "program/shown_boxes.h"

namespace korvane::program {
namespace {

using namespace platform;

const std::vector<std::string> kDefaultNames = {
    "Settings",      "Protocol",      "KRVClockSkin",  "KRVLastServer", "KRVSkinLocal",
    "OpenMinimized", "KRVSkinDetach", "KRVSkinTransP", "KRVDetachMode", "KRVDetachFont"};

class SettingsTest : public ::testing::Test, protected testing::ShownBoxes {
 protected:
  // Loads from a registry holding a complete set of values changed by overrides.
  bool loadWith(const std::map<std::string, std::string>& overrides) {
    std::map<std::string, std::string> values = {{"Settings", "NO:59:Minute/s:NA"},
                                                 {"KRVLastServer", "time.nist.gov"}};
    for (const auto& [name, text] : overrides) values[name] = text;
    for (const auto& [name, text] : values) store.put(HKEY_LOCAL_MACHINE, kSettingsKey, name, text);
    return load();
  }
  bool load() {
    settings = Settings{};
    return loadSettings(registry, settings, hooks([this] { ++minimised; }));
  }
  std::string stored(std::string_view name) const {
    return store.value(HKEY_LOCAL_MACHINE, kSettingsKey, name).value_or("<none>");
  }

  FakeRegistry store;
  FakeMessageBoxes boxes;
  FakeClock clock;
  Registry registry{store, boxes, clock};
  Settings settings;
  int minimised = 0;
};

TEST_F(SettingsTest, FirstRunWritesTheTenDefaultsInOrderAndTheNextStartReadsThem) {
  ASSERT_TRUE(load());
  EXPECT_EQ(store.names(HKEY_LOCAL_MACHINE, kSettingsKey), kDefaultNames);
  const std::vector<std::string> texts = {"YES:59:Minutes/s:NA",  "Default SNTP Protocol",
                                          "NO:NO:NO:YES",         "time.nist.gov",
                                          "KRV_Default Skin.gif", "NO",
                                          "KRV_Default Skin.gif", "200",
                                          "KRV:n:y:-1:-1",        "Arial,10,n,n,n,n,0,-2147483643"};
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(stored(kDefaultNames[i]), texts[i]);
  // The window keeps its design values; the taskbar clock flags stay off.
  EXPECT_EQ(shown.random, false);
  EXPECT_EQ(shown.count.value_or(""), "59");
  EXPECT_EQ(shown.unit, "Minute/s");
  const Settings first = settings;
  EXPECT_FALSE(first.clockAmPm);
  EXPECT_EQ(first.LastServer, "time.nist.gov");
  EXPECT_EQ(first.protocol, "Default SNTP Protocol");
  EXPECT_EQ(first.opacity, 200);
  EXPECT_EQ(formatDetachMode(first), "KRV:n:y:-1:-1");
  EXPECT_EQ(formatDetachFont(first), "Arial,10,n,n,n,n,0,-2147483643");
  EXPECT_EQ(first.overlaySkin, "KRV_Default Skin.gif");
  EXPECT_EQ(first.floatingSkin, "KRV_Default Skin.gif");

  ASSERT_FALSE(load()) << "the second start takes the normal path";
  EXPECT_EQ(store.names(HKEY_LOCAL_MACHINE, kSettingsKey), kDefaultNames);
  EXPECT_EQ(shown.random, true);
  EXPECT_EQ(shown.unit, "Minutes/s");
  EXPECT_TRUE(settings.clockAmPm);
  EXPECT_EQ(formatDetachFont(settings), formatDetachFont(first));
  EXPECT_EQ(formatDetachMode(settings), formatDetachMode(first));
}

TEST_F(SettingsTest, SettingsFieldsReachTheWindowOnlyWhenAllFourAreThere) {
  struct Case {
    const char* text;
    bool random;
    const char* count;
    const char* unit;
    const char* region;
  };
  const Case cases[] = {
      {"NO:5:Hour/s:EU", false, "5", "Hour/s", "EU"},
      {"NO:abc:Hour/s:EU", false, "59", "Hour/s", "EU"},
      {"NO:5:Hour/s:", false, "5", "Hour/s", "NA"},
      {"NO:5", true, "59", "Minute/s", "NA"},
      {"yes:7:Day/s: AP ", false, "7", "Day/s", "AP"},
      // A region that is not one of the seven codes reads as NA (a ":" in the unit shifts it).
      {"YES:1.5:Second/s:EU:x", true, "1.5", "Second/s", "NA"},
      {"NO:5:Min:ute/s:EU", false, "5", "Min", "NA"},
      {"NO:5:Hour/s:eu", false, "5", "Hour/s", "NA"},
      {"NO:5:Hour/s:AW", false, "5", "Hour/s", "AW"},
  };
  for (const Case& c : cases) {
    shown = {true, "59", "Minute/s"};
    ASSERT_FALSE(loadWith({{"Settings", c.text}}));
    EXPECT_EQ(shown.random, c.random) << c.text;
    EXPECT_EQ(shown.count.value_or(""), c.count) << c.text;
    EXPECT_EQ(shown.unit, c.unit) << c.text;
    EXPECT_EQ(settings.regionCode, c.region) << c.text;
  }
}

TEST_F(SettingsTest, OpacityBelowElevenIsTheDefault) {
  const std::pair<const char*, int> cases[] = {{"5", 200},   {"abc", 200}, {"11", 11},
                                               {"10", 200},  {"", 200},    {"-40", 200},
                                               {"255", 255}, {"12.5", 12}, {"900", 255}};
  for (const auto& [text, opacity] : cases) {
    loadWith({{"KRVSkinTransP", text}});
    EXPECT_EQ(settings.opacity, opacity) << text;
  }
}

TEST_F(SettingsTest, TheBoundOnAChangeIsSecondsZeroForNoneAnythingElseTheDefault) {
  const std::pair<const char*, int> cases[] = {{"", 1000},   {"3600", 3600}, {"0", 0},
                                               {"-5", 1000}, {"abc", 1000},  {" 60 ", 60}};
  for (const auto& [text, bound] : cases) {
    loadWith({{"KRVMaxChange", text}});
    EXPECT_EQ(settings.maxSilentChangeSeconds, bound) << text;
  }
}

TEST_F(SettingsTest, DetachModeFields) {
  struct Case {
    const char* text;
    const char* style;
    bool launch, onTop;
    int x, y;
  };
  const Case cases[] = {
      {"FNT:y:x:10:20", "FNT", true, true, 10, 20},
      {"", "KRV", false, true, -1, -1},
      {"KRV:n:n:5:6", "KRV", false, false, 5, 6},
      {"KRV:N:Y:abc:7.5", "KRV", true, true, 0, 8},
      {"FNT", "FNT", false, true, -1, -1},  // missing fields keep their defaults
      {"FNT:y:n:1e20:-3", "FNT", true, false, -1, -3},
  };
  for (const Case& c : cases) {
    loadWith({{"KRVDetachMode", c.text}});
    EXPECT_EQ(settings.floatingStyle, c.style) << c.text;
    EXPECT_EQ(settings.floatingLaunch, c.launch) << c.text;
    EXPECT_EQ(settings.floatingOnTop, c.onTop) << c.text;
    EXPECT_EQ(settings.floatingX, c.x) << c.text;
    EXPECT_EQ(settings.floatingY, c.y) << c.text;
  }
}

TEST_F(SettingsTest, ClockSkinFlagsAndSkinNames) {
  struct Case {
    const char* clockSkin;
    const char* skinLocal;
    const char* skinDetach;
    const char* flags;  // formatClockSkin of the result
    const char* overlaySkin;
    const char* floatingSkin;
  };
  const Case cases[] = {
      {"YES", "Mine.gif", "", "YES:NO:NO:NO", "Mine.gif", "Mine.gif"},
      {"", "Mine.gif", "", "NO:NO:NO:YES", "KRV_Default Skin.gif", "KRV_Default Skin.gif"},
      {"NO:YES:yes:YES", "", "", "NO:YES:NO:YES", "", ""},
      {"YES:YES:YES:YES:YES", "A.gif", "B.gif", "YES:YES:YES:YES", "A.gif", "B.gif"},
  };
  for (const Case& c : cases) {
    loadWith({{"KRVClockSkin", c.clockSkin},
              {"KRVSkinLocal", c.skinLocal},
              {"KRVSkinDetach", c.skinDetach}});
    EXPECT_EQ(formatClockSkin(settings), c.flags) << c.clockSkin;
    EXPECT_EQ(settings.overlaySkin, c.overlaySkin) << c.clockSkin;
    EXPECT_EQ(settings.floatingSkin, c.floatingSkin) << c.clockSkin;
  }
}

TEST_F(SettingsTest, DetachFontFields) {
  const std::pair<const char*, const char*> cases[] = {
      {"Courier New,12,y,n,x,n,255,16777215", "Courier New,12,y,n,y,n,255,16777215"},
      {"", "Arial,10,n,n,n,n,0,-2147483643"},
      {"Verdana", "Verdana,10,n,n,n,n,0,-2147483643"},
      {"Arial,abc,n,n,n,n,-2147483643,9e99", "Arial,0,n,n,n,n,-2147483643,-2147483643"},
  };
  for (const auto& [text, normalised] : cases) {
    loadWith({{"KRVDetachFont", text}});
    EXPECT_EQ(formatDetachFont(settings), normalised) << text;
  }
}

TEST_F(SettingsTest, LastServerProtocolAndOpenMinimised) {
  loadWith({{"KRVLastServer", "  ntp.example  "}, {"OpenMinimized", "yes"}});
  EXPECT_EQ(settings.LastServer, "ntp.example");
  EXPECT_EQ(minimised, 0);
  EXPECT_FALSE(settings.openMinimised);
  EXPECT_EQ(settings.protocol, "Default SNTP Protocol");
  EXPECT_EQ(stored("Protocol"), "Default SNTP Protocol") << "an empty protocol is written";

  loadWith({{"KRVLastServer", ""}, {"OpenMinimized", "YES"}, {"Protocol", "Automatic/Random"}});
  EXPECT_EQ(settings.LastServer, "time.nist.gov");
  EXPECT_EQ(stored("KRVLastServer"), "time.nist.gov");
  EXPECT_EQ(minimised, 1);
  EXPECT_TRUE(settings.openMinimised);
  EXPECT_EQ(settings.protocol, "Automatic/Random");
}

TEST_F(SettingsTest, ZoneNamesAndTheRunValueAreReadFirst) {
  store.put(HKEY_LOCAL_MACHINE, kTimeZoneKey, "StandardName", "CET");
  store.put(HKEY_LOCAL_MACHINE, kTimeZoneKey, "DaylightName", "CEST");
  load();  // even on a first run
  EXPECT_EQ(settings.standardName, "CET");
  EXPECT_EQ(settings.daylightName, "CEST");
  EXPECT_FALSE(settings.runAtStartup);
  EXPECT_FALSE(settings.runValuePresent);
  store.put(HKEY_LOCAL_MACHINE, kRunKey, "Korvane", "/usr/bin/korvane");
  load();
  EXPECT_TRUE(settings.runAtStartup);
  EXPECT_TRUE(settings.runValuePresent);
}

TEST_F(SettingsTest, MainWindowWriterFormat) {
  MainWindowBoxes written{true, "12a", "Hour/s"};
  writeMainWindowSettings(registry, "  time.example  ", written, "EU");
  EXPECT_EQ(store.names(HKEY_LOCAL_MACHINE, kSettingsKey),
            (std::vector<std::string>{"KRVLastServer", "Settings"}));
  EXPECT_EQ(stored("KRVLastServer"), "time.example");
  EXPECT_EQ(stored("Settings"), "YES:12a:Hour/s:EU");
  written.random = false;
  writeMainWindowSettings(registry, "h", written, "NA");
  EXPECT_EQ(stored("Settings"), "NO:12a:Hour/s:NA");
}

TEST_F(SettingsTest, OptionsWriterTouchesTheRunValueOnlyOnAChange) {
  struct Case {
    bool presentAtStart, setting, existsNow;
    const char* runValue;  // afterwards
  };
  const Case cases[] = {{false, true, false, "/usr/bin/korvane"},
                        {true, false, true, "<none>"},
                        {true, true, false, "<none>"},  // the value was there at start
                        {false, false, true, "kept"}};  // it was not there at start
  for (const Case& c : cases) {
    registry.DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "Korvane");
    if (c.existsNow) store.put(HKEY_LOCAL_MACHINE, kRunKey, "Korvane", "kept");
    settings.runValuePresent = c.presentAtStart;
    settings.runAtStartup = c.setting;
    settings.openMinimised = true;
    settings.protocol = "Default Time Protocol";
    settings.clockOverlay = true;
    settings.overlaySkin = "Mine.gif";
    writeOptionsSettings(registry, settings, "/usr/bin/korvane");
    EXPECT_EQ(store.value(HKEY_LOCAL_MACHINE, kRunKey, "Korvane").value_or("<none>"), c.runValue);
  }
  EXPECT_EQ(stored("OpenMinimized"), "YES");
  EXPECT_EQ(stored("Protocol"), "Default Time Protocol");
  EXPECT_EQ(stored("KRVClockSkin"), "YES:NO:NO:NO");
  EXPECT_EQ(stored("KRVSkinLocal"), "Mine.gif");
}

TEST_F(SettingsTest, RunValueFollowsEachWriteAndDeleteInOneRun) {
  load();
  ASSERT_FALSE(settings.runValuePresent);
  for (const bool on : {true, false, true, false}) {
    settings.runAtStartup = on;
    writeOptionsSettings(registry, settings, "/usr/bin/korvane");
    EXPECT_EQ(store.value(HKEY_LOCAL_MACHINE, kRunKey, "Korvane").has_value(), on);
    EXPECT_EQ(settings.runValuePresent, on);
  }
}

TEST_F(SettingsTest, LoadsOncePerRun) {
  loadWith({{"OpenMinimized", "YES"}, {"Settings", "NO:5:Hour/s:EU"}});
  shown.count = "17";  // the user's unsaved choice
  settings.regionCode = "AP";
  store.put(HKEY_LOCAL_MACHINE, kSettingsKey, "Settings", "NO:9:Day/s:SA");
  EXPECT_FALSE(loadSettings(registry, settings, hooks([this] { ++minimised; })));
  EXPECT_EQ(minimised, 1);
  EXPECT_EQ(shown.count.value_or(""), "17");
  EXPECT_EQ(settings.regionCode, "AP");
}

TEST_F(SettingsTest, FloatingWritersRoundTrip) {
  Settings s;
  s.clock24Hour = true;
  s.floatingSkin = "KRV_Blue.gif";
  s.opacity = 128;
  s.floatingStyle = "FNT";
  s.floatingLaunch = true;
  s.floatingOnTop = false;
  s.floatingX = 1500;
  s.floatingY = -1;
  s.fontName = "DejaVu Sans";
  s.fontSize = 14;
  s.fontItalic = true;
  s.fontStrikethrough = true;
  s.textColour = 255;
  s.backColour = -2147483633;
  writeFloatingSettings(registry, s);
  EXPECT_EQ(store.names(HKEY_LOCAL_MACHINE, kSettingsKey),
            (std::vector<std::string>{"KRVClockSkin", "KRVSkinDetach", "KRVSkinTransP",
                                      "KRVDetachMode", "KRVDetachFont"}));
  EXPECT_EQ(stored("KRVDetachMode"), "FNT:y:n:1500:-1");
  EXPECT_EQ(stored("KRVDetachFont"), "DejaVu Sans,14,n,y,n,y,255,-2147483633");
  s.floatingX = 30;
  s.floatingY = 45;
  writeFloatingPosition(registry, s);
  EXPECT_EQ(stored("KRVDetachMode"), "FNT:y:n:30:45");

  store.put(HKEY_LOCAL_MACHINE, kSettingsKey, "Settings", "NO:59:Minute/s:NA");
  load();
  EXPECT_EQ(formatClockSkin(settings), formatClockSkin(s));
  EXPECT_EQ(settings.floatingSkin, s.floatingSkin);
  EXPECT_EQ(settings.opacity, 128);
  EXPECT_EQ(formatDetachMode(settings), formatDetachMode(s));
  EXPECT_EQ(formatDetachFont(settings), formatDetachFont(s));
}

TEST_F(SettingsTest, WithoutWriteAccessEverythingRunsOnDefaults) {
  store.refuseWrites(true);
  EXPECT_TRUE(load());
  EXPECT_TRUE(store.keys().empty());
  EXPECT_EQ(settings.opacity, 200);
  EXPECT_EQ(settings.LastServer, "time.nist.gov");
  EXPECT_TRUE(load()) << "still a first run next time";
}

}  // namespace
}  // namespace korvane::program
