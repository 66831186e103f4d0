// SPDX-License-Identifier: GPL-3.0-or-later
// The hive text: what loads, what is refused, and that writing gives back what was read.
#include "platform/posix/hive_format.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

constexpr const char* kHead = "Windows Registry Editor Version 5.00\r\n\r\n";

TEST(HiveFormat, HandWrittenFormsLoad) {
  struct Case {
    std::string text;
    std::vector<StoredKey> keys;
  };
  const Case cases[] = {
      {std::string(kHead) + "[HKEY_LOCAL_MACHINE\\Software\\Korvane]\r\n\"Settings\"=\"NO:5\"\r\n",
       {{"HKEY_LOCAL_MACHINE\\Software\\Korvane", {{"Settings", "NO:5"}}}}},
      // LF line ends, a BOM, comments, blanks around '=' and a later line for the same name.
      {"\xEF\xBB\xBFWindows Registry Editor Version 5.00\n; mine\n[HKEY_CURRENT_USER\\A]\n"
       "  \"x\" = \"1\"\n\"x\"=\"2\"\n\"y\"=\"\"\n",
       {{"HKEY_CURRENT_USER\\A", {{"x", "2"}, {"y", ""}}}}},
      // Escapes, the unnamed value, and a key repeated in another letter case merges.
      {std::string(kHead) +
           "[HKEY_USERS\\K]\n\"a\\\\b\"=\"say \\\"hi\\\" C:\\\\dir\"\n@=\"d\"\n[HKEY_USERS\\k]\n"
           "\"c\"=\"e\"\n",
       {{"HKEY_USERS\\K", {{"a\\b", "say \"hi\" C:\\dir"}, {"", "d"}, {"c", "e"}}}}},
      {"Windows Registry Editor Version 5.00", {}},
  };
  for (const Case& c : cases) {
    const auto keys = parseHive(c.text);
    ASSERT_TRUE(keys.has_value()) << c.text;
    EXPECT_EQ(*keys, c.keys) << c.text;
  }
}

TEST(HiveFormat, AnythingElseIsRefused) {
  const std::string cases[] = {
      "",
      "REGEDIT4\n[HKEY_USERS\\K]\n",
      std::string(kHead) + "\"x\"=\"value before any key\"\n",
      std::string(kHead) + "[HKEY_NOWHERE\\K]\n",
      std::string(kHead) + "[HKEY_USERS\\K\\]\n",
      std::string(kHead) + "[HKEY_USERS\\\\K]\n",
      std::string(kHead) + "[HKEY_USERS\\K\n",
      std::string(kHead) + "[HKEY_USERS\\K]\n\"x\"=dword:00000001\n",
      std::string(kHead) + "[HKEY_USERS\\K]\n\"x\"=\"unterminated\n",
      std::string(kHead) + "[HKEY_USERS\\K]\n\"x\"=\"C:\\dir\"\n",
      std::string(kHead) + "[HKEY_USERS\\K]\n\"x\"=\"a\" trailing\n",
      std::string(kHead) + "[-HKEY_USERS\\K]\n",
  };
  for (const std::string& text : cases) {
    std::string error;
    EXPECT_FALSE(parseHive(text, &error).has_value()) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
}

TEST(HiveFormat, WritingAndReadingAgainGivesTheSameKeys) {
  const std::vector<StoredKey> keys = {
      {"HKEY_LOCAL_MACHINE\\Software\\Korvane",
       {{"Settings", "YES:59:Minutes/s:NA"},
        {"quote\"and\\slash", "\"\\\\"},
        {"", "unnamed"},
        {"settings", ""},
        {"Tab\there", "Zürich ;[x]"}}},
      {"HKEY_CURRENT_USER\\Empty", {}},
  };
  const auto again = parseHive(formatHive(keys));
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(*again, keys);
}

}  // namespace
}  // namespace korvane::platform
