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
  Event<> Change;
  Event<int&> KeyPress;

 private:
  std::string text_;
};

}  // namespace korvane::ui
