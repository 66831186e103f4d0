// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_environment.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace korvane::platform {

namespace {

bool isFolder(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string withoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

PosixEnvironment::PosixEnvironment(std::vector<std::string> args, std::string installedFolder,
                                   std::string buildFolder) {
  for (size_t i = 0; i < args.size(); ++i) line_ += (i ? " " : "") + args[i];
  const char* home = std::getenv("KORVANE_HOME");
  if (home && *home)
    folder_ = home;
  else if (isFolder(installedFolder))
    folder_ = installedFolder;
  else
    folder_ = buildFolder;
  folder_ = withoutTrailingSlash(folder_);
}

PosixEnvironment::~PosixEnvironment() {
  if (lockFd_ >= 0) close(lockFd_);
}

std::string PosixEnvironment::userDataFolder() const {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return withoutTrailingSlash(data) + "/korvane";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return withoutTrailingSlash(home) + "/.local/share/korvane";
  return "";
}

std::string PosixEnvironment::updateHost() const {
  // Set means set: a malformed value fails the exchange instead of reaching the build's host.
  if (const char* host = std::getenv("KORVANE_UPDATE_HOST")) return host;
  return KORVANE_DEFAULT_UPDATE_HOST;
}

std::string PosixEnvironment::lockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && isFolder(runtime)) return std::string(runtime) + "/korvane.lock";
  return "/tmp/korvane-" + std::to_string(getuid()) + ".lock";
}

std::string PosixEnvironment::instanceSocketPath() {
  const std::string lock = lockPath();
  return lock.substr(0, lock.size() - std::string_view(".lock").size()) + ".socket";
}

std::string PosixEnvironment::programFile() const {
  std::error_code error;
  const std::filesystem::path binary = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : binary.string();
}

std::string PosixEnvironment::besideProgram(const std::string& relative) {
  std::error_code error;
  const std::filesystem::path binary = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || binary.empty()) return {};
  return (binary.parent_path() / relative).lexically_normal().string();
}

bool PosixEnvironment::claimSingleInstance() {
  if (lockFd_ >= 0) return true;
  const int fd = open(lockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;  // no lock possible: better a second instance than none
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  lockFd_ = fd;
  return true;
}

}  // namespace korvane::platform
