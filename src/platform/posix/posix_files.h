// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files of the program folder on POSIX.
#include <string>

#include "platform/files.h"

namespace korvane::platform {

class PosixFiles : public Files {
 public:
  explicit PosixFiles(std::string programFolder, std::string userFolder = {})
      : folder_(std::move(programFolder)), userFolder_(std::move(userFolder)) {}
  std::string programFolder() const override { return folder_; }
  std::string userFolder() const override { return userFolder_; }
  bool exists(const std::string& path) const override;
  std::optional<uint64_t> size(const std::string& path) const override;
  std::optional<std::string> readAll(const std::string& path, size_t maxBytes) const override;
  bool writeAtomically(const std::string& path, std::string_view bytes) override;
  void removeStaleTemporaries(const std::string& path) override;
  // Symbolic links are neither listed nor entered: a listing stays inside folder.
  std::vector<std::string> listFiles(const std::string& folder,
                                     std::string_view pattern) const override;
  std::vector<std::string> listFoldersHolding(const std::string& folder,
                                              std::string_view fileName) const override;

 private:
  std::string folder_;
  std::string userFolder_;
};

}  // namespace korvane::platform
