#pragma once
// Files held in memory under a made-up program folder.
#include <map>
#include <string>

#include "platform/files.h"

namespace korvane::platform {

class FakeFiles : public Files {
 public:
  std::string programFolder() const override { return "/opt/korvane"; }
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
  // A file in the program folder.
  void putInProgramFolder(const std::string& name, std::string bytes) {
    files[joinPath(programFolder(), name)] = std::move(bytes);
  }

  std::map<std::string, std::string> files;
  bool unreadable = false;
  bool refuseWrites = false;
};

}  // namespace korvane::platform
