// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening links: the shell's verbs (mail links) and the container's hyperlink navigation.
#include <string>

namespace korvane::platform {

class ShellOpen {
 public:
  virtual ~ShellOpen() = default;
  // Performs verb ("open") on file with the given parameters, directory and show code.
  virtual void shellExecute(const std::string& verb, const std::string& file,
                            const std::string& parameters, const std::string& directory,
                            int showCommand) = 0;
  // Shows url in the browser, at location within it and in the named frame (both may be empty).
  virtual void navigateTo(const std::string& url, const std::string& location,
                          const std::string& frame) = 0;
};

}  // namespace korvane::platform
