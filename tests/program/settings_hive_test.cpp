// SPDX-License-Identifier: GPL-3.0-or-later
// The settings in the real hive file: what a first run leaves on disk, and a hand-made hive.
#include <gtest/gtest.h>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/posix/hive_format.h"
#include "platform/posix/hive_registry.h"
#include "program/settings.h"
#include "program/shown_boxes.h"
#include "temp_folder.h"

namespace korvane::program {
namespace {

using namespace platform;
using korvane::testing::readText;
using korvane::testing::TempFolder;
using korvane::testing::writeText;

class SettingsHiveTest : public ::testing::Test, protected testing::ShownBoxes {
 protected:
  bool load(HiveRegistry& hive) {
    Registry registry{hive, boxes, clock};
    settings = Settings{};
    return loadSettings(registry, settings, hooks());
  }

  TempFolder dir;
  std::string path = dir.file("korvane/registry.reg");
  FakeClock clock;
  FakeMessageBoxes boxes;
  Settings settings;
};

TEST_F(SettingsHiveTest, AFirstRunLeavesTheTenDefaultsInOrder) {
  {
    HiveRegistry hive({path, {}});
    ASSERT_TRUE(load(hive));
  }
  EXPECT_EQ(readText(path),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Korvane]\n"
            "\"Settings\"=\"YES:59:Minutes/s:NA\"\n"
            "\"Protocol\"=\"Default SNTP Protocol\"\n"
            "\"KRVClockSkin\"=\"NO:NO:NO:YES\"\n"
            "\"KRVLastServer\"=\"time.nist.gov\"\n"
            "\"KRVSkinLocal\"=\"KRV_Default Skin.gif\"\n"
            "\"OpenMinimized\"=\"NO\"\n"
            "\"KRVSkinDetach\"=\"KRV_Default Skin.gif\"\n"
            "\"KRVSkinTransP\"=\"200\"\n"
            "\"KRVDetachMode\"=\"KRV:n:y:-1:-1\"\n"
            "\"KRVDetachFont\"=\"Arial,10,n,n,n,n,0,-2147483643\"\n\n");
  HiveRegistry again({path, {}});
  EXPECT_FALSE(load(again));
}

TEST_F(SettingsHiveTest, AHiveWrittenByHandLoads) {
  makeFolders(dir.file("korvane"));
  writeText(path,
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "; edited by hand\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANE]\r\n"
            "\"Settings\"=\"NO:5:Hour/s:EU\"\r\n"
            "\"KRVLastServer\"=\"ntp.example\"\r\n"
            "\"KRVSkinDetach\"=\"C:\\\\Skins\\\\\\\"Blue\\\".gif\"\r\n"
            "\"KRVSkinTransP\"=\"150\"\r\n");
  HiveRegistry hive({path, {}});
  ASSERT_EQ(hive.start(), HiveRegistry::Start::Loaded);
  ASSERT_FALSE(load(hive));
  EXPECT_EQ(shown.count.value_or(""), "5");
  EXPECT_EQ(settings.regionCode, "EU");
  EXPECT_EQ(settings.LastServer, "ntp.example");
  EXPECT_EQ(settings.floatingSkin, "C:\\Skins\\\"Blue\".gif");
  EXPECT_EQ(settings.opacity, 150);
  // The load wrote the missing protocol into the same key, keeping the rest.
  const auto keys = parseHive(readText(path));
  ASSERT_TRUE(keys.has_value());
  ASSERT_EQ(keys->size(), 1u);
  EXPECT_EQ(keys->at(0).values.size(), 5u);
  EXPECT_EQ(keys->at(0).values.back(), (RegValue{"Protocol", "Default SNTP Protocol"}));
}

}  // namespace
}  // namespace korvane::program
