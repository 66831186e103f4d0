// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Message boxes that record what was shown and answer as the test queued.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace korvane::platform {

class FakeMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::string text;
    std::string title;
    MsgButtons buttons;
    MsgIcon icon;
  };
  MsgResult show(const std::string& text, const std::string& title, MsgButtons buttons,
                 MsgIcon icon) override {
    shown.push_back({text, title, buttons, icon});
    if (whileShown) whileShown();
    if (!answers_.empty()) {
      const MsgResult r = answers_.front();
      answers_.pop_front();
      return r;
    }
    return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::Yes;
  }
  // The next box is answered with r (default: OK, or Yes for a question).
  void answer(MsgResult r) { answers_.push_back(r); }
  std::vector<Shown> shown;
  // What happens while a box is open (a nested event loop runs the program's timers).
  std::function<void()> whileShown;

 private:
  std::deque<MsgResult> answers_;
};

}  // namespace korvane::platform
