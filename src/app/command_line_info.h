// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The switches that answer on standard output and end the program before any window exists.
#include <optional>
#include <string>
#include <vector>

namespace korvane::app {

// The text for --help/-h or --version/-V as the first argument; empty for any other command
// line, which the main window reads as before.
std::optional<std::string> commandLineInfo(const std::vector<std::string>& args,
                                           const std::string& version);

std::string korvaneUsage();

// Whether a start with these arguments wants a window: a second start hands that wish to the
// running instance, while a hidden one (-ro, -rs, as autostart or a timer starts) leaves it be.
bool wantsWindow(const std::vector<std::string>& args);

}  // namespace korvane::app
