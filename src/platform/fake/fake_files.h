// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files held in memory under a made-up program folder.
#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "common/text.h"
#include "platform/files.h"

namespace korvane::platform {

class FakeFiles : public Files {
 public:
  std::string programFolder() const override { return "/opt/korvane"; }
  std::string userFolder() const override { return user; }
  bool exists(const std::string& path) const override { return files.count(path) != 0; }
  std::optional<uint64_t> size(const std::string& path) const override {
    auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second.size();
  }
  std::optional<std::string> readAll(const std::string& path, size_t maxBytes) const override {
    auto it = files.find(path);
    if (it == files.end() || unreadable) return std::nullopt;
    return it->second.substr(0, maxBytes);
  }
  bool writeAtomically(const std::string& path, std::string_view bytes) override {
    if (refuseWrites) return false;
    files[path] = std::string(bytes);
    return true;
  }
  std::vector<std::string> listFiles(const std::string& folder,
                                     std::string_view pattern) const override {
    std::vector<std::string> names;
    for (const auto& [path, bytes] : files)
      if (const auto name = childOf(folder, path);
          name && name->find('/') == std::string::npos && text::matchesPattern(*name, pattern))
        names.push_back(*name);
    return sorted(std::move(names));
  }
  std::vector<std::string> listFoldersHolding(const std::string& folder,
                                              std::string_view fileName) const override {
    std::set<std::string> names;
    for (const auto& [path, bytes] : files) {
      const auto rest = childOf(folder, path);
      const size_t slash = rest ? rest->find('/') : std::string::npos;
      if (slash != std::string::npos && rest->find('/', slash + 1) == std::string::npos &&
          text::matchesPattern(rest->substr(slash + 1), fileName))
        names.insert(rest->substr(0, slash));
    }
    return sorted({names.begin(), names.end()});
  }
  // A file in the program folder.
  void putInProgramFolder(const std::string& name, std::string bytes) {
    files[joinPath(programFolder(), name)] = std::move(bytes);
  }

  std::map<std::string, std::string> files;
  bool unreadable = false;
  bool refuseWrites = false;
  std::string user;  // the user's data folder; empty when none

 private:
  static std::optional<std::string> childOf(const std::string& folder, const std::string& path) {
    const std::string prefix = joinPath(folder, "");
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0)
      return std::nullopt;
    return path.substr(prefix.size());
  }
  static std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
      return text::lessIgnoringCase(a, b);
    });
    return names;
  }
};

}  // namespace korvane::platform
