// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Questions and warnings shown to the user; tests answer and record them.
#include <string>

namespace korvane::platform {

enum class MsgButtons { OK, YesNo };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// The button chosen, numbered as the message box numbers them.
enum class MsgResult : int { OK = 1, Yes = 6, No = 7 };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows a modal box and returns the button the user chose.
  virtual MsgResult show(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) = 0;
};

}  // namespace korvane::platform
