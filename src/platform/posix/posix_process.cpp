// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <thread>

extern char** environ;

namespace korvane::platform {

namespace {

// The started program outlives nothing of ours; a detached waiter collects its exit status.
void reapWhenDone(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

LaunchResult PosixProcessLauncher::start(const std::vector<std::string>& argv) {
  if (argv.empty() || argv[0].empty()) return {false, "No program named"};
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // Its own session: closing korvane's terminal or process group leaves the program running.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t pid = -1;
  const int err = posix_spawn(&pid, args[0], nullptr, &attributes, args.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (err != 0) return {false, std::strerror(err)};
  reapWhenDone(pid);
  return {};
}

}  // namespace korvane::platform
