// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process's surroundings: its command line, its program folder and its single instance.
#include <string>

namespace korvane::platform {

class Environment {
 public:
  virtual ~Environment() = default;
  // The arguments after the program name, joined by single blanks ("" when none).
  virtual std::string commandLine() const = 0;
  // The program folder (server list, help, images), without a trailing slash.
  virtual std::string programFolder() const = 0;
  // True when this is the only running instance; the claim lasts until the process ends.
  virtual bool claimSingleInstance() = 0;
  // The user's own data folder for the program, where a server list goes that the program
  // folder cannot take; empty when there is none.
  virtual std::string userDataFolder() const { return ""; }
  // The running program's own file, which starts it again (the autostart entry); empty when
  // it cannot be told.
  virtual std::string programFile() const { return ""; }
  // The update service's web server, host or host:port; empty when none is configured (then
  // nothing is checked or fetched, and the online help is the local page).
  virtual std::string updateHost() const { return ""; }
};

}  // namespace korvane::platform
