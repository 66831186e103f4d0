// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reads and crash-safe replacement of a file.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::platform {

// The commit step of an atomic write: rename(from, to), 0 on success.
using RenameStep = std::function<int(const std::string& from, const std::string& to)>;

// Replaces path with bytes: a temporary file in the same folder, flushed to disk, then renamed
// over path, so a crash or a full disk leaves the old file whole. Creates missing folders.
bool writeFileAtomically(const std::string& path, std::string_view bytes, unsigned mode = 0600,
                         const RenameStep& rename = {});

// Removes the temporaries that writes to path left behind when their process died (a kill
// during a write): only path's own, only regular files of this user, only when the process named
// in the file name is gone. Returns how many were removed.
int removeStaleTemporaries(const std::string& path);

struct FileRead {
  bool missing = false;              // the file does not exist
  std::optional<std::string> bytes;  // empty when it could not be read
};
// At most maxBytes bytes of the file.
FileRead readFileBytes(const std::string& path, size_t maxBytes);

// Creates a folder and its parents (mode 0700); true when it exists afterwards.
bool makeFolders(const std::string& folder);

}  // namespace korvane::platform
