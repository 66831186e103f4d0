#include "platform/posix/posix_files.h"

#include <sys/stat.h>

#include "platform/posix/atomic_file.h"

namespace korvane::platform {

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

}  // namespace korvane::platform
