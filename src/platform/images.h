// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Loading pictures from files (GIF and BMP skins) into rasters.
#include <string>

#include "platform/raster.h"

namespace korvane::platform {

// Error numbers of a failed picture load, as the program's messages show them.
enum ImageError : int {
  kImageLoaded = 0,
  kBadFileName = 52,
  kFileNotFound = 53,
  kPathFileAccess = 75,
  kPictureTooLarge = 480,  // loaded, but no window of the desktop can show it
  kInvalidPicture = 481,
};

// The description that goes with an error number.
inline std::string imageErrorDescription(int error) {
  switch (error) {
    case kImageLoaded:
      return {};
    case kBadFileName:
      return "Bad file name or number";
    case kFileNotFound:
      return "File not found";
    case kPathFileAccess:
      return "Path/File access error";
    case kPictureTooLarge:
      return "Skin larger than the screen";
    case kInvalidPicture:
      return "Invalid picture";
    default:
      return "Unexpected error";
  }
}

// A picture load's outcome: the image, or an error number and its description (image empty).
struct ImageLoad {
  Raster image;
  int error = kImageLoaded;
  std::string description;

  bool ok() const { return error == kImageLoaded; }
  static ImageLoad failed(int number) { return {Raster(), number, imageErrorDescription(number)}; }
};

class Images {
 public:
  virtual ~Images() = default;
  // The picture in the file at path, known by its content (GIF or BMP), every pixel opaque.
  // A picture wider or taller than Raster::kMaxSide is refused as invalid, never cut.
  virtual ImageLoad load(const std::string& path) const = 0;
};

}  // namespace korvane::platform
