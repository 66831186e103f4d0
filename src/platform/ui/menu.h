// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Menus: a menu holds items; an item with the caption "-" is a separator.
#include <vector>

#include "platform/ui/control.h"

namespace korvane::ui {

class MenuItem : public Control {
 public:
  MenuItem(std::string name, std::string caption)
      : Control(std::move(name)), caption_(std::move(caption)) {}
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& c) { set(caption_, c); }
  bool separator() const { return caption_ == "-"; }
  // What choosing the item does.
  void click() {
    if (enabled() && !separator()) Click();
  }
  Event<> Click;

 private:
  std::string caption_;
};

class Menu : public Control {
 public:
  Menu(std::string name, std::string caption)
      : Control(std::move(name)), caption_(std::move(caption)) {}
  const std::string& caption() const { return caption_; }
  void add(MenuItem& item) { items_.push_back(&item); }
  const std::vector<MenuItem*>& items() const { return items_; }

 private:
  std::string caption_;
  std::vector<MenuItem*> items_;
};

}  // namespace korvane::ui
