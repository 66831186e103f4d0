// SPDX-License-Identifier: GPL-3.0-or-later
// The zone names and the Run value, served from the host instead of the hive.
#include "platform/posix/host_registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_registry.h"
#include "temp_folder.h"

namespace korvane::platform {
namespace {

using korvane::testing::readText;
using korvane::testing::TempFolder;
using korvane::testing::writeText;

class HostRegistryTest : public ::testing::Test {
 protected:
  HostRegistryTest() { clock.setZone({-60, "CET", 0, "CEST", -60}, ZoneState::Standard); }

  RegResult open(std::string_view subKey, uint32_t access, HKey& key) {
    return host.openKey(HKEY_LOCAL_MACHINE, subKey, access, key);
  }
  std::vector<RegValue> values(std::string_view subKey) {
    std::vector<RegValue> out;
    HKey key = 0;
    if (open(subKey, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return out;
    RegValue v;
    for (uint32_t i = 0; host.enumValue(key, i, 255, 255, v) == ERROR_SUCCESS; ++i) {
      out.push_back(v);
    }
    host.closeKey(key);
    return out;
  }

  TempFolder dir;
  FakeClock clock;
  FakeRegistry hive;
  std::string entry = dir.file("autostart/korvane.desktop");
  HostMappedRegistry host{hive, clock, entry};
};

TEST_F(HostRegistryTest, ZoneNamesComeFromTheSystemAndCannotBeChanged) {
  const auto v = values("System\\CurrentControlSet\\Control\\TimeZoneInformation");
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].name, "StandardName");
  EXPECT_EQ(v[0].data, "CET");
  EXPECT_EQ(v[1].name, "DaylightName");
  EXPECT_EQ(v[1].data, "CEST");
  HKey key = 0;
  ASSERT_EQ(host.createKey(HKEY_LOCAL_MACHINE, kTimeZoneKey, KEY_ALL_0x3F, key), ERROR_SUCCESS);
  EXPECT_EQ(host.setString(key, "StandardName", "X"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(host.deleteValue(key, "StandardName"), ERROR_ACCESS_DENIED);
  host.closeKey(key);
  EXPECT_TRUE(hive.keys().empty()) << "nothing reaches the hive";
}

TEST_F(HostRegistryTest, RunValueIsTheAutostartEntry) {
  EXPECT_TRUE(values(kRunKey).empty());
  const struct {
    std::string program, tryExec;
  } cases[] = {
      {"/usr/bin/korvane", "/usr/bin/korvane"},
      {"/opt/My Apps/korvane", "/opt/My Apps/korvane"},
      {"/home/a\"b/$HOME/100%/back\\slash/korvane", "/home/a\"b/$HOME/100%/back\\\\slash/korvane"}};
  for (const auto& [program, tryExec] : cases) {
    HKey key = 0;
    ASSERT_EQ(host.createKey(HKEY_LOCAL_MACHINE, kRunKey, KEY_ALL_0x3F, key), ERROR_SUCCESS);
    ASSERT_EQ(host.setString(key, "Korvane", program), ERROR_SUCCESS);
    EXPECT_EQ(host.setString(key, "Other", program), ERROR_ACCESS_DENIED);
    host.closeKey(key);
    const std::string text = readText(entry);
    EXPECT_NE(text.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
    // The entry goes quiet once the program is removed, and shows the program's icon.
    EXPECT_NE(text.find("\nTryExec=" + tryExec + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nIcon=korvane\n"), std::string::npos) << text;
    const auto v = values(kRunKey);
    ASSERT_EQ(v.size(), 1u) << program;
    EXPECT_EQ(v[0].name, "Korvane");
    EXPECT_EQ(v[0].data, program);
  }
  HKey key = 0;
  ASSERT_EQ(open(kRunKey, KEY_ALL_0x3F, key), ERROR_SUCCESS);
  EXPECT_EQ(host.deleteValue(key, "Korvane"), ERROR_SUCCESS);
  EXPECT_FALSE(std::filesystem::exists(entry));
  EXPECT_EQ(host.deleteValue(key, "Korvane"), ERROR_FILE_NOT_FOUND);
  host.closeKey(key);
  EXPECT_TRUE(values(kRunKey).empty());
  EXPECT_TRUE(hive.keys().empty());
}

TEST_F(HostRegistryTest, AnEntryTheDesktopSwitchedOffIsNoRunValue) {
  std::filesystem::create_directories(dir.file("autostart"));
  writeText(entry, "[Desktop Entry]\nExec=/usr/bin/korvane\nHidden=true\n");
  EXPECT_TRUE(values(kRunKey).empty());
  writeText(entry, "[Desktop Entry]\r\nName=K\r\nExec=/usr/bin/korvane\r\n");
  ASSERT_EQ(values(kRunKey).size(), 1u);
  EXPECT_EQ(values(kRunKey)[0].data, "/usr/bin/korvane");
}

TEST_F(HostRegistryTest, OtherKeysGoToTheHive) {
  HKey key = 0;
  ASSERT_EQ(host.createKey(HKEY_LOCAL_MACHINE, "Software\\Korvane", KEY_ALL_0x3F, key), 0);
  EXPECT_EQ(host.setString(key, "Settings", "x"), ERROR_SUCCESS);
  EXPECT_EQ(host.closeKey(key), ERROR_SUCCESS);
  EXPECT_EQ(hive.value(HKEY_LOCAL_MACHINE, "Software\\Korvane", "Settings"), "x");
  EXPECT_EQ(hive.openHandleCount(), 0u);
}

TEST(MakeRegistry, TheEnvironmentPlacesTheHiveAndTheAutostartEntry) {
  TempFolder dir;
  setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  setenv("KORVANE_REGISTRY", dir.file("mine.reg").c_str(), 1);
  FakeClock clock;
  const auto registry = makeRegistry(clock);
  for (std::string_view subKey : {std::string_view("Software\\Korvane"), kRunKey}) {
    HKey key = 0;
    ASSERT_EQ(registry->createKey(HKEY_LOCAL_MACHINE, subKey, KEY_ALL_0x3F, key), 0);
    EXPECT_EQ(registry->setString(key, "Korvane", "/usr/bin/korvane"), ERROR_SUCCESS);
    registry->closeKey(key);
  }
  EXPECT_NE(readText(dir.file("mine.reg")).find("\"Korvane\"=\"/usr/bin/korvane\""),
            std::string::npos);
  EXPECT_NE(readText(dir.file("autostart/korvane.desktop")).find("Exec=/usr/bin/korvane\n"),
            std::string::npos);
  unsetenv("KORVANE_REGISTRY");
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace korvane::platform
