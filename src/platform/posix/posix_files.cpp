// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "common/text.h"
#include "platform/posix/atomic_file.h"

namespace korvane::platform {

namespace {

struct DirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

// The folder at path (relative to parentFd) open for listing.
Dir openFolder(int parentFd, const char* path, int flags = 0) {
  const int fd = ::openat(parentFd, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags);
  if (fd < 0) return nullptr;
  DIR* d = ::fdopendir(fd);
  if (!d) ::close(fd);
  return Dir(d);
}

// The entries of dir whose type (links not followed) passes want, with "." and ".." left out.
template <class Want>
std::vector<std::string> entries(DIR* dir, Want want) {
  std::vector<std::string> names;
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && want(st.st_mode))
      names.emplace_back(name);
  }
  return names;
}

bool isRegular(mode_t mode) {
  return S_ISREG(mode);
}

bool isFolder(mode_t mode) {
  return S_ISDIR(mode);
}

std::vector<std::string> inListingOrder(std::vector<std::string> names) {
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return text::lessIgnoringCase(a, b);
  });
  return names;
}

// Whether sub-folder sub of folderFd holds a regular file named like fileName, case ignored.
bool holds(int folderFd, const std::string& sub, std::string_view fileName) {
  const Dir dir = openFolder(folderFd, sub.c_str(), O_NOFOLLOW);
  if (!dir) return false;
  const std::string wanted = text::toLower(fileName);
  for (const std::string& name : entries(dir.get(), isRegular))
    if (text::toLower(name) == wanted) return true;
  return false;
}

}  // namespace

bool PosixFiles::exists(const std::string& path) const {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

std::optional<uint64_t> PosixFiles::size(const std::string& path) const {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return static_cast<uint64_t>(st.st_size);
}

std::optional<std::string> PosixFiles::readAll(const std::string& path, size_t maxBytes) const {
  return readFileBytes(path, maxBytes).bytes;
}

bool PosixFiles::writeAtomically(const std::string& path, std::string_view bytes) {
  return writeFileAtomically(path, bytes, 0644);
}

void PosixFiles::removeStaleTemporaries(const std::string& path) {
  platform::removeStaleTemporaries(path);
}

std::vector<std::string> PosixFiles::listFiles(const std::string& folder,
                                               std::string_view pattern) const {
  const Dir dir = openFolder(AT_FDCWD, folder.c_str());
  if (!dir) return {};
  std::vector<std::string> names = entries(dir.get(), isRegular);
  std::erase_if(names, [&](const std::string& n) { return !text::matchesPattern(n, pattern); });
  return inListingOrder(std::move(names));
}

std::vector<std::string> PosixFiles::listFoldersHolding(const std::string& folder,
                                                        std::string_view fileName) const {
  const Dir dir = openFolder(AT_FDCWD, folder.c_str());
  if (!dir) return {};
  std::vector<std::string> names = entries(dir.get(), isFolder);
  std::erase_if(names,
                [&](const std::string& n) { return !holds(::dirfd(dir.get()), n, fileName); });
  return inListingOrder(std::move(names));
}

}  // namespace korvane::platform
