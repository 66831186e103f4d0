// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stored design-time properties of one control: named values, in the order written.
#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/font.h"
#include "platform/picture.h"

namespace korvane::ui {

using PropertyValue =
    std::variant<bool, int32_t, std::string, platform::Font, platform::PicturePtr>;

class PropertyBag {
 public:
  // Stores value under name; a name written before keeps its place.
  void write(const std::string& name, PropertyValue value) {
    for (auto& [n, v] : entries_) {
      if (n == name) {
        v = std::move(value);
        return;
      }
    }
    entries_.emplace_back(name, std::move(value));
  }
  // The value stored under name, or fallback when it is missing or of another type.
  template <class T>
  T read(const std::string& name, const T& fallback) const {
    for (const auto& [n, v] : entries_) {
      if (n == name) {
        if (const T* p = std::get_if<T>(&v)) return *p;
        return fallback;
      }
    }
    return fallback;
  }
  bool contains(const std::string& name) const {
    for (const auto& e : entries_)
      if (e.first == name) return true;
    return false;
  }
  const std::vector<std::pair<std::string, PropertyValue>>& entries() const { return entries_; }

 private:
  std::vector<std::pair<std::string, PropertyValue>> entries_;
};

}  // namespace korvane::ui
