// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Links opened by the desktop's URL handlers (browser, mail program).
#include "platform/shell_open.h"

namespace korvane::platform {

class QtShellOpen : public ShellOpen {
 public:
  void shellExecute(const std::string& verb, const std::string& file, const std::string& parameters,
                    const std::string& directory, int showCommand) override;
  void navigateTo(const std::string& url, const std::string& location,
                  const std::string& frame) override;
};

}  // namespace korvane::platform
