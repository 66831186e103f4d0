// SPDX-License-Identifier: GPL-3.0-or-later
// The Registry module's value semantics on the in-memory registry.
#include "program/registry.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_registry.h"

namespace korvane::program {
namespace {

using namespace platform;

constexpr std::string_view kKey = "Software\\Korvane";

class RegistryTest : public ::testing::Test {
 protected:
  FakeRegistry store;
  FakeMessageBoxes boxes;
  FakeClock clock;
  Registry registry{store, boxes, clock};
};

TEST_F(RegistryTest, ReadStringMatchesNamesExactlyAndPassesOverWhatDoesNotFit) {
  store.put(HKEY_LOCAL_MACHINE, kKey, "settings", "lower case");
  store.put(HKEY_LOCAL_MACHINE, kKey, std::string(255, 'N'), "name too long");
  store.put(HKEY_LOCAL_MACHINE, kKey, "TooLong", std::string(255, 'd'));
  store.put(HKEY_LOCAL_MACHINE, kKey, "JustFits", std::string(254, 'd'));
  store.put(HKEY_LOCAL_MACHINE, kKey, std::string(254, 'M'), "long name fits");
  store.put(HKEY_LOCAL_MACHINE, kKey, "Empty", "");
  store.put(HKEY_LOCAL_MACHINE, kKey, "Settings", "NO:5:Hour/s:EU");
  struct Case {
    std::string name;
    std::string expected;
  };
  const Case cases[] = {
      {"Settings", "NO:5:Hour/s:EU"},  // found after the values that do not fit
      {"settings", "lower case"},
      {"SETTINGS", ""},
      {"TooLong", ""},
      {std::string(255, 'N'), ""},
      {"JustFits", std::string(254, 'd')},
      {std::string(254, 'M'), "long name fits"},
      {"Empty", ""},
      {"Missing", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(registry.ReadString(kKey, c.name), c.expected) << c.name.substr(0, 20);
  }
  EXPECT_EQ(registry.ReadString("Software\\Nothing", "Settings"), "");
  EXPECT_EQ(store.openHandleCount(), 0u) << "every key is closed";
}

TEST_F(RegistryTest, WriteStringCreatesTheKeyAndReportsOnlyTheSetting) {
  EXPECT_TRUE(registry.WriteString(HKEY_LOCAL_MACHINE, kKey, "A", "1"));
  EXPECT_TRUE(registry.WriteString(HKEY_LOCAL_MACHINE, kKey, "A", "2"));
  EXPECT_EQ(store.value(HKEY_LOCAL_MACHINE, kKey, "A"), "2");
  EXPECT_FALSE(registry.WriteString(0, kKey, "A", "3")) << "no key: a false result";
  store.refuseWrites(true);
  EXPECT_FALSE(registry.WriteString(HKEY_LOCAL_MACHINE, kKey, "A", "4"));
  EXPECT_EQ(store.value(HKEY_LOCAL_MACHINE, kKey, "A"), "2") << "the old value stays";
  EXPECT_EQ(store.openHandleCount(), 0u);
}

TEST_F(RegistryTest, DeleteValueReturnsTheRegistrysCode) {
  store.put(HKEY_LOCAL_MACHINE, kKey, "A", "1");
  EXPECT_EQ(registry.DeleteValue(HKEY_LOCAL_MACHINE, "Software\\Nothing", "A"),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(registry.DeleteValue(HKEY_LOCAL_MACHINE, kKey, "a"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(registry.DeleteValue(HKEY_LOCAL_MACHINE, kKey, "A"), ERROR_SUCCESS);
  EXPECT_EQ(store.value(HKEY_LOCAL_MACHINE, kKey, "A"), std::nullopt);
  EXPECT_EQ(store.openHandleCount(), 0u);
}

TEST_F(RegistryTest, RootKeyByNameIsExact) {
  struct Case {
    const char* name;
    HKey root;
  };
  const Case cases[] = {{"HKEY_CLASSES_ROOT", 0x80000000u},
                        {"HKEY_CURRENT_USER", 0x80000001u},
                        {"HKEY_LOCAL_MACHINE", 0x80000002u},
                        {"HKEY_USERS", 0x80000003u},
                        {"HKEY_PERFORMANCE_DATA", 0x80000004u},
                        {"HKEY_CURRENT_CONFIG", 0x80000005u},
                        {"HKEY_DYN_DATA", 0x80000006u},
                        {"hkey_local_machine", 0},
                        {"HKEY_LOCAL_MACHINE ", 0},
                        {"HKLM", 0},
                        {"", 0}};
  for (const Case& c : cases) EXPECT_EQ(Registry::RootKeyByName(c.name), c.root) << c.name;
}

TEST_F(RegistryTest, SplitKeyPathAndCreateKeyPath) {
  struct Case {
    std::string path;
    HKey root;
    std::string subPath;
    bool message;
    bool created;
  };
  const Case cases[] = {
      {"HKEY_LOCAL_MACHINE\\Software\\Korvane", HKEY_LOCAL_MACHINE, "Software\\Korvane", false,
       true},
      {"HKEY_CURRENT_USER", HKEY_CURRENT_USER, "", false, false},
      {"HKEY_LOCAL_MACHINE\\Software\\Korvane\\", 0, "HKEY_LOCAL_MACHINE\\Software\\Korvane\\",
       true, false},
      {"Software\\Korvane", 0, "Software\\Korvane", true, false},
      {"", 0, "", true, false},
      {"HKEY_NOWHERE\\Software\\Korvane", 0, "Software\\Korvane", false, false},
  };
  for (const Case& c : cases) {
    boxes.shown.clear();
    const KeyPath split = registry.SplitKeyPath(c.path);
    EXPECT_EQ(split.root, c.root) << c.path;
    EXPECT_EQ(split.subPath, c.subPath) << c.path;
    ASSERT_EQ(boxes.shown.size(), c.message ? 1u : 0u) << c.path;
    if (c.message) {
      EXPECT_EQ(boxes.shown[0].text, "Incorrect Format:\n\n" + c.path);
      EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::OK);
      EXPECT_EQ(boxes.shown[0].title, "Korvane");
    }
    FakeRegistry fresh;
    FakeMessageBoxes quiet;
    Registry other{fresh, quiet, clock};
    other.CreateKeyPath(c.path);
    EXPECT_EQ(fresh.keys().size(), c.created ? 1u : 0u) << c.path;
    EXPECT_EQ(quiet.shown.size(), c.message ? 1u : 0u) << c.path;
  }
  EXPECT_TRUE(store.keys().empty());
}

}  // namespace
}  // namespace korvane::program
