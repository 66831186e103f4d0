// SPDX-License-Identifier: GPL-3.0-or-later
// Folder listings on disk: patterns and order as the desktop's listings give them, regular files
// only, and nothing reached through a link out of the folder.
#include "platform/posix/posix_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_folder.h"

namespace korvane::platform {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using testing::writeText;

class PosixFilesTest : public ::testing::Test {
 protected:
  PosixFilesTest() {
    for (const char* f : {"KRV_b.gif", "krv_A.GIF", "AMP_x.bmp", "amp_notes", "AMP_.txt",
                          "readme.gif.bak", "Base2/TEXT.BMP", "Base1/text.bmp", "Empty/other.bmp",
                          "Deep/inner/text.bmp", "Odd/text.bmp/keep"})
      put(f);
    fs::create_directory(dir.path() / "folder.gif");
    put("text.bmp");  // a file named like the sub-folders' content, not a sub-folder
    fs::create_directory(outside.path() / "Linked");
    writeText((outside.path() / "Linked" / "text.bmp").string(), "x");
    writeText((outside.path() / "far.gif").string(), "x");
    fs::create_directory_symlink(outside.path() / "Linked", dir.path() / "Linked");
    fs::create_symlink(outside.path() / "far.gif", dir.path() / "near.gif");
  }
  void put(const std::string& name) {
    fs::create_directories((dir.path() / name).parent_path());
    writeText((dir.path() / name).string(), "x");
  }
  testing::TempFolder dir, outside;
  PosixFiles files{"/unused"};
};

TEST_F(PosixFilesTest, ListsRegularFilesByPatternInNameOrder) {
  struct Case {
    const char* pattern;
    Names names;
  };
  const Case cases[] = {
      {"*.gif", {"krv_A.GIF", "KRV_b.gif"}},
      {"AMP_*.*", {"AMP_.txt", "AMP_x.bmp"}},
      {"text.BMP", {"text.bmp"}},
      {"*.none", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(files.listFiles(dir.path().string(), c.pattern), c.names) << c.pattern;
  EXPECT_EQ(files.listFiles((dir.path() / "absent").string(), "*"), Names{});
}

TEST_F(PosixFilesTest, ListsOnlyRealSubFoldersHoldingTheFile) {
  EXPECT_EQ(files.listFoldersHolding(dir.path().string(), "text.bmp"), (Names{"Base1", "Base2"}));
  EXPECT_EQ(files.listFoldersHolding(dir.path().string() + "/", "TEXT.bmp"),
            (Names{"Base1", "Base2"}));
  EXPECT_EQ(files.listFoldersHolding((dir.path() / "absent").string(), "text.bmp"), Names{});
}

}  // namespace
}  // namespace korvane::platform
