// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line_info.h"

namespace korvane::app {

std::optional<std::string> commandLineInfo(const std::vector<std::string>& args,
                                           const std::string& version) {
  if (args.empty()) return std::nullopt;
  if (args[0] == "--help" || args[0] == "-h") return korvaneUsage();
  if (args[0] == "--version" || args[0] == "-V") return "korvane " + version + "\n";
  return std::nullopt;
}

bool wantsWindow(const std::vector<std::string>& args) {
  return args.empty() || (args[0] != "-ro" && args[0] != "-rs");
}

std::string korvaneUsage() {
  return "Usage: korvane [-ro | -rs | WORD]\n"
         "Keeps the computer's clock right with internet time servers and shows it.\n"
         "  (nothing)      show the window and synchronise at once\n"
         "  -ro            run once: hidden, one synchronisation, then end\n"
         "  -rs            start hidden without synchronising\n"
         "  WORD           any other first word: show the window without synchronising\n"
         "  -h, --help     show this text\n"
         "  -V, --version  show the version\n"
         "Only one instance runs: a second start shows the running one's window.\n"
         "See korvane(1).\n";
}

}  // namespace korvane::app
