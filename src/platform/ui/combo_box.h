// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <vector>

#include "platform/ui/control.h"

namespace korvane::ui {

// A drop-down combo box: a list of texts and a text the user may edit, unless it is a
// drop-down list, where the user only chooses entries.
class ComboBox : public Control {
 public:
  using Control::Control;
  bool listOnly() const { return listOnly_; }
  void setListOnly(bool on) { set(listOnly_, on); }
  void addItem(const std::string& item) {
    items_.push_back(item);
    PropertyChanged(Property::Content);
  }
  void clear() {
    items_.clear();
    listIndex_ = -1;
    PropertyChanged(Property::Content);
  }
  const std::vector<std::string>& items() const { return items_; }
  const std::string& text() const { return text_; }
  void setText(const std::string& t) {
    if (set(text_, t)) Change();
  }
  int listIndex() const { return listIndex_; }
  // Choosing an entry: the text becomes the entry's and Click is raised.
  void choose(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    set(listIndex_, index);
    setText(items_[static_cast<size_t>(index)]);
    Click();
  }
  Event<> Click;
  Event<> Change;
  Event<int&> KeyPress;

 private:
  std::vector<std::string> items_;
  std::string text_;
  int listIndex_ = -1;
  bool listOnly_ = false;
};

}  // namespace korvane::ui
