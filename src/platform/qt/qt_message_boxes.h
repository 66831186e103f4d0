// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/message_box.h"

namespace korvane::platform {

// Modal QMessageBox questions and warnings.
class QtMessageBoxes : public MessageBoxes {
 public:
  MsgResult show(const std::string& text, const std::string& title, MsgButtons buttons,
                 MsgIcon icon) override;
};

}  // namespace korvane::platform
