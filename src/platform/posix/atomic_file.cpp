// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string_view>

namespace korvane::platform {

namespace {

std::string parentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

constexpr std::string_view kTempMark = ".tmp-";

std::string tempPathOf(const std::string& path, pid_t writer) {
  return path + std::string(kTempMark) + std::to_string(writer);
}

// The writer's process id of one of path's temporaries; 0 when name is not one of them.
pid_t writerOf(std::string_view name, std::string_view fileName) {
  if (name.size() <= fileName.size() + kTempMark.size() || !name.starts_with(fileName)) return 0;
  name.remove_prefix(fileName.size());
  if (!name.starts_with(kTempMark)) return 0;
  name.remove_prefix(kTempMark.size());
  if (name.size() > 9 || name.find_first_not_of("0123456789") != std::string_view::npos) return 0;
  return static_cast<pid_t>(std::stol(std::string(name)));
}

bool processGone(pid_t pid) {
  return ::kill(pid, 0) != 0 && errno == ESRCH;
}

void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool makeFolders(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::string parent = parentOf(folder);
  if (parent != folder && !makeFolders(parent)) return false;
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes, unsigned mode,
                         const RenameStep& rename) {
  const std::string folder = parentOf(path);
  if (!makeFolders(folder)) return false;
  const std::string temp = tempPathOf(path, ::getpid());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return false;
  const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  const int renamed = written && closed
                          ? (rename ? rename(temp, path) : std::rename(temp.c_str(), path.c_str()))
                          : -1;
  if (renamed != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  syncFolder(folder);
  return true;
}

int removeStaleTemporaries(const std::string& path) {
  const std::string folder = parentOf(path);
  const std::string fileName = path.substr(path.find_last_of('/') + 1);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t writer = writerOf(entry->d_name, fileName);
    if (writer <= 0 || writer == ::getpid() || !processGone(writer)) continue;
    const std::string temp = tempPathOf(path, writer);
    struct stat st {};
    if (::lstat(temp.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
      continue;
    if (::unlink(temp.c_str()) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

FileRead readFileBytes(const std::string& path, size_t maxBytes) {
  FileRead result;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.missing = errno == ENOENT || errno == ENOTDIR;
    return result;
  }
  std::string bytes;
  char buffer[65536];
  bool ok = true;
  while (bytes.size() < maxBytes) {
    const size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
    const ssize_t n = ::read(fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  if (ok) result.bytes = std::move(bytes);
  return result;
}

}  // namespace korvane::platform
