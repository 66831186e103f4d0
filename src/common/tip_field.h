// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tray icon's tooltip: a fixed field of 64 characters. A shorter text is padded with
// blanks, a longer one cut; the shell shows the text up to the first NUL.
#include <array>
#include <string>
#include <string_view>

namespace korvane {

class TipField {
 public:
  static constexpr size_t kSize = 64;

  TipField() { assign(""); }
  explicit TipField(std::string_view text) { assign(text); }

  // Cut or pad text to the field.
  void assign(std::string_view text);
  // The whole field, all 64 characters.
  std::string_view raw() const { return {chars_.data(), kSize}; }
  // What the shell shows: the text before the first NUL (all 64 characters when none).
  std::string shown() const;
  bool contains(std::string_view word) const;
  bool operator==(const TipField& other) const { return chars_ == other.chars_; }

 private:
  std::array<char, kSize> chars_{};
};

// A writer's tip text: the text followed by the NUL that hides the padding.
std::string withNul(std::string_view text);

}  // namespace korvane
