// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/ui/control.h"

namespace korvane::ui {

// A text box; a change of its text, by code or by typing, raises Change.
class TextBox : public Control {
 public:
  using Control::Control;
  const std::string& text() const { return text_; }
  void setText(const std::string& t) {
    if (set(text_, t)) Change();
  }
  // A typed character: KeyPress may change or cancel it (0) before it is inserted at the end.
  void typeCharacter(int keyAscii) {
    KeyPress(keyAscii);
    if (keyAscii >= 32) setText(text_ + static_cast<char>(keyAscii));
  }
  // Several lines (CR LF between them); a locked box takes no typing.
  bool multiLine() const { return multiLine_; }
  void setMultiLine(bool on) { set(multiLine_, on); }
  bool locked() const { return locked_; }
  void setLocked(bool on) { set(locked_, on); }
  Event<> Change;
  Event<int&> KeyPress;
  // The focus went to another control of the program (not to another application).
  Event<> LostFocus;

 private:
  std::string text_;
  bool multiLine_ = false;
  bool locked_ = false;
};

}  // namespace korvane::ui
