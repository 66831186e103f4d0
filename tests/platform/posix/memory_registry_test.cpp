// SPDX-License-Identifier: GPL-3.0-or-later
// Registry semantics the settings store relies on: handles, access masks, enumeration.
#include "platform/posix/memory_registry.h"

#include <gtest/gtest.h>

namespace korvane::platform {
namespace {

TEST(MemoryRegistry, AccessMasksAndHandlesAreEnforced) {
  MemoryRegistry r;
  HKey key = 0;
  ASSERT_EQ(r.createKey(HKEY_LOCAL_MACHINE, "Software\\Korvane", KEY_ALL_0x3F, key), 0);
  ASSERT_EQ(r.setString(key, "A", "1"), ERROR_SUCCESS);
  ASSERT_EQ(r.closeKey(key), ERROR_SUCCESS);

  HKey reader = 0;
  ASSERT_EQ(r.openKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\korvane", KEY_QUERY_VALUE, reader), 0)
      << "key names ignore letter case";
  EXPECT_EQ(r.setString(reader, "A", "2"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(r.deleteValue(reader, "A"), ERROR_ACCESS_DENIED);
  r.closeKey(reader);

  HKey writer = 0;
  ASSERT_EQ(r.openKey(HKEY_LOCAL_MACHINE, "Software\\Korvane", KEY_SET_VALUE, writer), 0);
  RegValue v;
  EXPECT_EQ(r.enumValue(writer, 0, 255, 255, v), ERROR_ACCESS_DENIED);
  r.closeKey(writer);

  EXPECT_EQ(r.setString(key, "A", "after close"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(r.closeKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(r.setString(0, "A", "x"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(r.openKey(HKEY_LOCAL_MACHINE, "Software\\Missing", KEY_QUERY_VALUE, key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(r.openKey(HKEY_LOCAL_MACHINE, "Software", KEY_QUERY_VALUE, key), ERROR_SUCCESS)
      << "a parent of a created key exists";
  r.closeKey(key);
  EXPECT_EQ(r.openHandleCount(), 0u);
}

TEST(MemoryRegistry, EnumerationKeepsCreationOrderAndReportsWhatDoesNotFit) {
  MemoryRegistry r;
  HKey key = 0;
  r.createKey(HKEY_LOCAL_MACHINE, "K", KEY_ALL_0x3F, key);
  r.setString(key, "b", "1");
  r.setString(key, std::string(254, 'n'), "fits");
  r.setString(key, std::string(255, 'n'), "name too long");
  r.setString(key, "data", std::string(255, 'd'));
  r.setString(key, "a", std::string(254, 'd'));
  r.setString(key, "b", "2");  // an update keeps the place
  r.setString(key, "B", "3");  // value names are exact
  r.setString(key, "nul", std::string("cut\0here", 8));
  struct Expect {
    RegResult result;
    std::string name;
    std::string data;
  };
  const Expect expected[] = {{ERROR_SUCCESS, "b", "2"},
                             {ERROR_SUCCESS, std::string(254, 'n'), "fits"},
                             {ERROR_MORE_DATA, "", ""},
                             {ERROR_MORE_DATA, "", ""},
                             {ERROR_SUCCESS, "a", std::string(254, 'd')},
                             {ERROR_SUCCESS, "B", "3"},
                             {ERROR_SUCCESS, "nul", "cut"},
                             {ERROR_NO_MORE_ITEMS, "", ""}};
  for (uint32_t i = 0; i < std::size(expected); ++i) {
    RegValue v;
    EXPECT_EQ(r.enumValue(key, i, 255, 255, v), expected[i].result) << i;
    EXPECT_EQ(v.name, expected[i].name) << i;
    EXPECT_EQ(v.data, expected[i].data) << i;
  }
  EXPECT_EQ(r.deleteValue(key, "A"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(r.deleteValue(key, "a"), ERROR_SUCCESS);
  EXPECT_EQ(r.deleteValue(key, "a"), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace korvane::platform
