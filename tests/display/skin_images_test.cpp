// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped skins as the desktop backend decodes them, and pictures it refuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/qt/qt_images.h"
#include "temp_folder.h"

namespace korvane::platform {
namespace {

// ImageMagick's decoding of a file as RGB bytes; empty when it cannot be run.
std::string decodedByImageMagick(const std::string& path) {
  const std::string command = "convert '" + path + "' rgb:- 2>/dev/null";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    pclose(pipe);
  }
  return out;
}

TEST(QtImagesTest, ShippedSkinsDecodeToTheirDesignedPixels) {
  struct Case {
    const char* file;
    int width, height;
    int backX, backY;
    Colour back;  // the designed background
  };
  const Case cases[] = {
      {"KRV_Default Skin.gif", 150, 18, 149, 1, makeColour(10, 24, 14)},
      {"KRV_Amber Narrow.gif", 158, 20, 157, 1, makeColour(30, 14, 4)},
      {"KRV_Blue Dots.gif", 240, 24, 239, 1, makeColour(8, 16, 48)},
      {"Korvane Green LCD/text.bmp", 155, 12, 145, 7, makeColour(12, 20, 16)},
      {"AMP_Amber Shadow.bmp", 155, 12, 145, 7, makeColour(18, 10, 4)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = std::string(KORVANE_TEST_DATA_DIR "/Skins/") + c.file;
    const ImageLoad load = QtImages().load(path);
    ASSERT_TRUE(load.ok()) << load.description;
    EXPECT_EQ(load.image.width(), c.width);
    EXPECT_EQ(load.image.height(), c.height);
    EXPECT_EQ(load.image.pixel(c.backX, c.backY), c.back);
    // The generator's check compares ImageMagick's decoding with the designed pixels.
    const std::string reference = decodedByImageMagick(path);
    if (reference.empty()) continue;
    std::string ours;
    for (int y = 0; y < load.image.height(); ++y)
      for (int x = 0; x < load.image.width(); ++x) {
        const Colour p = load.image.pixel(x, y);
        ours +=
            {static_cast<char>(red(p)), static_cast<char>(green(p)), static_cast<char>(blue(p))};
      }
    EXPECT_TRUE(ours == reference);
  }
}

TEST(QtImagesTest, FailuresCarryTheirNumberAndDescription) {
  testing::TempFolder folder;
  testing::writeText(folder.file("notes.gif"), "not a picture");
  // A GIF header that claims 20000 x 10 pixels.
  testing::writeText(folder.file("huge.gif"),
                     std::string("GIF89a\x20\x4e\x0a\x00\x00\x00\x00", 13));
  // A shipped skin cut inside its picture's data, and just before its last data block ends.
  const std::string whole =
      testing::readText(std::string(KORVANE_TEST_DATA_DIR "/Skins/KRV_Default Skin.gif"));
  ASSERT_GT(whole.size(), 100u);
  testing::writeText(folder.file("half.gif"), whole.substr(0, whole.size() / 2));
  testing::writeText(folder.file("cut.gif"), whole.substr(0, whole.size() - 3));
  struct Case {
    std::string path;
    int error;
    const char* description;
  };
  const Case cases[] = {
      {folder.file("missing.gif"), kFileNotFound, "File not found"},
      {folder.path().string(), kPathFileAccess, "Path/File access error"},
      {folder.file("notes.gif"), kInvalidPicture, "Invalid picture"},
      {folder.file("huge.gif"), kInvalidPicture, "Invalid picture"},
      {folder.file("half.gif"), kInvalidPicture, "Invalid picture"},
      {folder.file("cut.gif"), kInvalidPicture, "Invalid picture"},
  };
  for (const Case& c : cases) {
    const ImageLoad load = QtImages().load(c.path);
    EXPECT_EQ(load.error, c.error) << c.path;
    EXPECT_EQ(load.description, c.description);
    EXPECT_TRUE(load.image.empty());
  }
}

}  // namespace
}  // namespace korvane::platform
