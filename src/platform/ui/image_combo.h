// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <vector>

#include "platform/ui/control.h"

namespace korvane::ui {

// An image combo box: items with a text and an image-list index, indexed from 1.
class ImageCombo : public Control {
 public:
  struct Item {
    std::string text;
    int image = 0;
    bool operator==(const Item&) const = default;
  };

  using Control::Control;
  void addItem(const std::string& text, int image) {
    items_.push_back({text, image});
    PropertyChanged(Property::Content);
  }
  void clear() {
    items_.clear();
    selected_ = 0;
    text_.clear();
    PropertyChanged(Property::Content);
  }
  int count() const { return static_cast<int>(items_.size()); }
  // Item k, 1-based; k must be in 1..count().
  const Item& item(int k) const { return items_.at(static_cast<size_t>(k - 1)); }
  bool validIndex(int k) const { return k >= 1 && k <= count(); }
  // The selected item's index, 0 when none.
  int selectedIndex() const { return selected_; }
  // Selects item k by code (no Click); out-of-range indices are ignored.
  void select(int k) {
    if (!validIndex(k)) return;
    selected_ = k;
    text_ = item(k).text;
    PropertyChanged(Property::Content);
  }
  // What a user's choice of item k does.
  void choose(int k) {
    if (!validIndex(k)) return;
    select(k);
    Click();
  }
  // The text of the selected item, or the typed text.
  const std::string& text() const { return text_; }
  void setText(const std::string& t) { set(text_, t); }
  Event<> Click;

 private:
  std::vector<Item> items_;
  int selected_ = 0;
  std::string text_;
};

}  // namespace korvane::ui
