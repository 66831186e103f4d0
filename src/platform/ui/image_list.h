// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An image list: pictures by index from 1, each a file under the program folder.
#include <string>
#include <vector>

namespace korvane::ui {

class ImageList {
 public:
  void add(std::string file) { files_.push_back(std::move(file)); }
  int count() const { return static_cast<int>(files_.size()); }
  bool valid(int k) const { return k >= 1 && k <= count(); }
  // The file of picture k, relative to the program folder; empty when k is out of range.
  std::string file(int k) const { return valid(k) ? files_[static_cast<size_t>(k - 1)] : ""; }

 private:
  std::vector<std::string> files_;
};

}  // namespace korvane::ui
