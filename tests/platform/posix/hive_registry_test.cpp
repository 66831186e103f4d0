// SPDX-License-Identifier: GPL-3.0-or-later
// The hive file on disk: where it lives, that it survives crashes and bad content.
#include "platform/posix/hive_registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "platform/posix/hive_format.h"
#include "temp_folder.h"

namespace korvane::platform {
namespace {

using korvane::testing::readText;
using korvane::testing::TempFolder;
using korvane::testing::writeText;

RegResult put(RegistryStore& r, std::string_view name, std::string_view text) {
  HKey key = 0;
  r.createKey(HKEY_LOCAL_MACHINE, "Software\\Korvane", KEY_ALL_0x3F, key);
  const RegResult result = r.setString(key, name, text);
  r.closeKey(key);
  return result;
}

std::vector<RegValue> all(RegistryStore& r) {
  std::vector<RegValue> out;
  HKey key = 0;
  if (r.openKey(HKEY_LOCAL_MACHINE, "Software\\Korvane", KEY_QUERY_VALUE, key) != 0) return out;
  RegValue v;
  for (uint32_t i = 0; r.enumValue(key, i, 1 << 20, 1 << 20, v) == ERROR_SUCCESS; ++i) {
    out.push_back(v);
  }
  r.closeKey(key);
  return out;
}

TEST(HivePath, EnvironmentDecides) {
  struct Case {
    const char* registry;
    const char* xdg;
    const char* home;
    const char* hive;
    const char* autostart;
  };
  const Case cases[] = {
      {"/tmp/r.reg", "/x", "/home/u", "/tmp/r.reg", "/x/autostart/korvane.desktop"},
      {"", "/x", "/home/u", "/x/korvane/registry.reg", "/x/autostart/korvane.desktop"},
      {nullptr, nullptr, "/home/u", "/home/u/.config/korvane/registry.reg",
       "/home/u/.config/autostart/korvane.desktop"},
      // A relative XDG_CONFIG_HOME is invalid and ignored.
      {nullptr, "rel", "/home/u", "/home/u/.config/korvane/registry.reg",
       "/home/u/.config/autostart/korvane.desktop"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hivePath(c.registry, c.xdg, c.home), c.hive);
    EXPECT_EQ(autostartEntryPath(c.xdg, c.home), c.autostart);
  }
}

TEST(HiveRegistry, EveryValueSurvivesARestart) {
  TempFolder dir;
  const std::string path = dir.file("sub/registry.reg");  // the folder is created
  const std::vector<RegValue> values = {
      {"Settings", "NO:5:Hour/s:EU"},
      {"settings", "lower case is another value"},
      {"Empty", ""},
      {"Quote\"Slash\\", "C:\\Program Files\\\"x\""},
      {"Long", std::string(5000, 'x')},
      {"KRVDetachFont", "Arial,10,n,n,n,n,0,-2147483643"},
      {"Unicode", "Zürich – Ελλάδα"},
  };
  {
    HiveRegistry hive({path, {}});
    EXPECT_EQ(hive.start(), HiveRegistry::Start::Missing);
    for (const RegValue& v : values) ASSERT_EQ(put(hive, v.name, v.data), ERROR_SUCCESS);
  }
  HiveRegistry again({path, {}});
  EXPECT_EQ(again.start(), HiveRegistry::Start::Loaded);
  const std::vector<RegValue> read = all(again);
  ASSERT_EQ(read.size(), values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(read[i].name, values[i].name);
    EXPECT_EQ(read[i].data, values[i].data);
  }
  EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::others_read,
            std::filesystem::perms::none);
}

TEST(HiveRegistry, LineBreaksAreRefusedSoTheFileStaysReadable) {
  TempFolder dir;
  HiveRegistry hive({dir.file("registry.reg"), {}});
  EXPECT_EQ(put(hive, "Settings", "a\nb"), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(put(hive, "Set\rtings", "a"), ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(all(hive).empty());
}

TEST(HiveRegistry, ACrashBeforeTheRenameLeavesTheOldHive) {
  TempFolder dir;
  const std::string path = dir.file("registry.reg");
  {
    HiveRegistry hive({path, {}});
    ASSERT_EQ(put(hive, "Settings", "YES:59:Minutes/s:NA"), ERROR_SUCCESS);
  }
  const std::string before = readText(path);
  {
    // The process dies after the temporary file is complete, before it replaces the hive.
    HiveRegistry hive({path, [](const std::string&, const std::string&) -> int {
                         throw std::runtime_error("power cut");
                       }});
    EXPECT_THROW(put(hive, "Settings", "NO:1:Day/s:EU"), std::runtime_error);
  }
  EXPECT_EQ(readText(path), before);
  HiveRegistry after({path, {}});
  ASSERT_EQ(all(after).size(), 1u);
  EXPECT_EQ(all(after)[0].data, "YES:59:Minutes/s:NA");
}

TEST(HiveRegistry, AFailedCommitIsReportedAndUndone) {
  TempFolder dir;
  const std::string path = dir.file("registry.reg");
  HiveRegistry hive({path, [](const std::string&, const std::string&) { return -1; }});
  HKey key = 0;
  EXPECT_EQ(hive.createKey(HKEY_LOCAL_MACHINE, "Software\\Korvane", KEY_ALL_0x3F, key),
            ERROR_WRITE_FAULT);
  EXPECT_EQ(hive.setString(HKEY_LOCAL_MACHINE, "Settings", "x"), ERROR_WRITE_FAULT);
  EXPECT_TRUE(hive.keys().empty());
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 0)
      << "the temporary file is removed";
}

// The id of a process that has ended (and been reaped), as a killed writer leaves it.
pid_t endedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST(HiveRegistry, TemporariesOfEndedWritersAreRemovedAtStart) {
  TempFolder dir;
  const std::string path = dir.file("registry.reg");
  const std::string dead = std::to_string(endedProcess());
  writeText(path, "Windows Registry Editor Version 5.00\n");
  struct Case {
    std::string name;
    bool removed;
  };
  const Case cases[] = {
      {"registry.reg.tmp-" + dead, true},
      {"registry.reg.tmp-" + std::to_string(getppid()), false},  // its writer still runs
      {"registry.reg.tmp-" + std::to_string(getpid()), false},
      {"other.reg.tmp-" + dead, false},  // not the hive's
      {"registry.reg.tmp-" + dead + "x", false},
      {"registry.reg.tmp-", false},
      {"registry.reg.corrupt-20261208T050511Z", false},
  };
  for (const Case& c : cases) writeText(dir.file(c.name), "partial");
  const std::string deadFolder = dir.file("registry.reg.tmp-" + std::to_string(endedProcess()));
  std::filesystem::create_directory(deadFolder);

  HiveRegistry hive({path, {}});
  EXPECT_EQ(hive.start(), HiveRegistry::Start::Loaded);
  for (const Case& c : cases)
    EXPECT_EQ(std::filesystem::exists(dir.file(c.name)), !c.removed) << c.name;
  EXPECT_TRUE(std::filesystem::is_directory(deadFolder)) << "only regular files are removed";
}

TEST(HiveRegistry, GarbageIsMovedAsideAndTheProgramStartsAfresh) {
  const std::string garbage[] = {"\x00\x01\x02 binary", "Settings=YES\n",
                                 "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\A\n"};
  for (const std::string& content : garbage) {
    TempFolder dir;
    const std::string path = dir.file("registry.reg");
    writeText(path, content);
    HiveRegistry hive({path, {}});
    EXPECT_EQ(hive.start(), HiveRegistry::Start::MovedAside);
    EXPECT_TRUE(all(hive).empty());
    EXPECT_EQ(hive.movedAsideTo().rfind(path + ".corrupt-", 0), 0u) << hive.movedAsideTo();
    EXPECT_EQ(readText(hive.movedAsideTo()), content);
    ASSERT_EQ(put(hive, "Settings", "fresh"), ERROR_SUCCESS);
    EXPECT_EQ(readText(hive.movedAsideTo()), content) << "the old content is never overwritten";
    EXPECT_TRUE(parseHive(readText(path)).has_value());
  }
}

TEST(HiveRegistry, AHiveThatCannotBeMovedAsideIsNeverWritten) {
  TempFolder dir;
  const std::string path = dir.file("registry.reg");
  std::filesystem::create_directory(path);  // exists but reads as nothing
  writeText(path + "/inner", "x");
  HiveRegistry hive({path, {}});
  EXPECT_EQ(hive.start(), HiveRegistry::Start::Unusable);
  EXPECT_NE(put(hive, "Settings", "x"), ERROR_SUCCESS);
  EXPECT_EQ(readText(path + "/inner"), "x");
}

}  // namespace
}  // namespace korvane::platform
