// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/images.h"

namespace korvane::platform {

// Pictures by path, set by the test; any other path is not found. Records every path asked for.
class FakeImages : public Images {
 public:
  void add(const std::string& path, Raster image) { images_[path] = std::move(image); }
  // The path loads as a file that is not a picture.
  void addBroken(const std::string& path) { broken_.push_back(path); }

  ImageLoad load(const std::string& path) const override {
    asked.push_back(path);
    for (const auto& b : broken_)
      if (b == path) return ImageLoad::failed(kInvalidPicture);
    const auto it = images_.find(path);
    if (it == images_.end()) return ImageLoad::failed(kFileNotFound);
    return {it->second, kImageLoaded, {}};
  }

  mutable std::vector<std::string> asked;

 private:
  std::map<std::string, Raster> images_;
  std::vector<std::string> broken_;
};

}  // namespace korvane::platform
