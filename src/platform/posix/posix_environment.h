// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The environment on POSIX: argv, the program folder and a single-instance lock file.
#include <string>
#include <vector>

#include "platform/environment.h"

namespace korvane::platform {

class PosixEnvironment : public Environment {
 public:
  // args: the arguments after the program name; the folders are tried in this order after
  // KORVANE_HOME: the installed data folder, then the build tree's copy.
  PosixEnvironment(std::vector<std::string> args, std::string installedFolder,
                   std::string buildFolder);
  ~PosixEnvironment() override;
  PosixEnvironment(const PosixEnvironment&) = delete;
  PosixEnvironment& operator=(const PosixEnvironment&) = delete;

  std::string commandLine() const override { return line_; }
  std::string programFolder() const override { return folder_; }
  // An exclusive flock on korvane.lock in $XDG_RUNTIME_DIR (else /tmp/korvane-<uid>.lock):
  // the kernel drops it when the process ends, so a crash never leaves it held.
  bool claimSingleInstance() override;
  // $XDG_DATA_HOME/korvane, else ~/.local/share/korvane.
  std::string userDataFolder() const override;
  // The binary /proc/self/exe names.
  std::string programFile() const override;
  // KORVANE_UPDATE_HOST when set (empty: none), else the build's setting (none by default).
  std::string updateHost() const override;

  // The lock file's path.
  static std::string lockPath();
  // The running instance's local socket, beside the lock file.
  static std::string instanceSocketPath();
  // A folder given relative to the folder of the running program's binary, wherever the
  // package was installed or extracted; empty when the binary cannot be found.
  static std::string besideProgram(const std::string& relative);

 private:
  std::string line_;
  std::string folder_;
  int lockFd_ = -1;
};

}  // namespace korvane::platform
