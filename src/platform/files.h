// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files the program reads and writes in its own folder.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::platform {

class Files {
 public:
  virtual ~Files() = default;
  // The program folder, without a trailing separator.
  virtual std::string programFolder() const = 0;
  // The user's own data folder for the program (skins the user adds); empty when none.
  virtual std::string userFolder() const { return ""; }
  virtual bool exists(const std::string& path) const = 0;
  // Size in bytes; empty when the file cannot be examined.
  virtual std::optional<uint64_t> size(const std::string& path) const = 0;
  // At most maxBytes bytes from the start of the file; empty when it cannot be read.
  virtual std::optional<std::string> readAll(const std::string& path, size_t maxBytes) const = 0;
  // Replaces the file with bytes so that a crash leaves either the old or the new content.
  virtual bool writeAtomically(const std::string& path, std::string_view bytes) = 0;
  // Removes what writes to path left when their process was killed mid-write.
  virtual void removeStaleTemporaries(const std::string& /*path*/) {}
  // Names of the files in folder that match pattern ("*" and "?", case ignored), sorted by
  // name with case ignored; empty when the folder cannot be read.
  virtual std::vector<std::string> listFiles(const std::string& /*folder*/,
                                             std::string_view /*pattern*/) const {
    return {};
  }
  // Names of the sub-folders of folder that hold a file named fileName (case ignored), in the
  // same order.
  virtual std::vector<std::string> listFoldersHolding(const std::string& /*folder*/,
                                                      std::string_view /*fileName*/) const {
    return {};
  }
};

// path joined to a name inside it.
inline std::string joinPath(const std::string& folder, std::string_view name) {
  if (folder.empty() || folder.back() == '/') return folder + std::string(name);
  return folder + "/" + std::string(name);
}

}  // namespace korvane::platform
