// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/skin_name.h"

#include <algorithm>

#include "common/text.h"
#include "platform/files.h"

namespace korvane::display {

SkinKind SkinKindOf(std::string_view entry) {
  return text::contains(entry, kWinampMarker) ? SkinKind::AMP : SkinKind::KRV;
}

namespace {
// Only names inside the skins folder are skins: no path separator, not "." or ".." ("a..b" is a
// name like any other).
bool insideSkinsFolder(std::string_view name) {
  return !name.empty() && !text::contains(name, "/") && !text::contains(name, "\\") &&
         name != "." && name != "..";
}

// path with its last part as the folder holds it, matched without regard to case.
std::string onDisk(const platform::Files& files, const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return path;
  const std::string folder = path.substr(0, slash);
  const std::string name = path.substr(slash + 1);
  for (const std::string& found : files.listFiles(folder, name))
    if (text::toLower(found) == text::toLower(name)) return platform::joinPath(folder, found);
  return path;
}
}  // namespace

std::optional<SkinFile> ResolveSkinName(std::string_view entry) {
  const SkinKind kind = SkinKindOf(entry);
  if (kind == SkinKind::KRV) {
    std::string name = text::trim(entry);
    if (name.empty()) name = kDefaultSkin;
    if (!insideSkinsFolder(name)) return std::nullopt;
    return SkinFile{kind, name};
  }
  const std::string name = text::trim(text::replaceAll(entry, kWinampMarker, ""));
  if (!insideSkinsFolder(name)) return std::nullopt;
  const std::string lower = text::toLower(name);
  const bool image = text::contains(lower, ".bmp") || text::contains(lower, ".gif");
  return SkinFile{kind, image ? name : name + "/text.bmp"};
}

platform::ImageLoad LoadSkinImage(const platform::Images& images, const platform::Files& files,
                                  std::string_view entry) {
  const auto skin = ResolveSkinName(entry);
  if (!skin) return platform::ImageLoad::failed(platform::kBadFileName);
  const std::vector<std::string> folders = SkinsFolders(files);
  platform::ImageLoad first = images.load(onDisk(files, folders.front() + skin->file));
  for (size_t i = 1; i < folders.size() && !first.ok(); ++i)
    if (platform::ImageLoad load = images.load(onDisk(files, folders[i] + skin->file)); load.ok())
      return load;
  return first;
}

std::string SkinsFolder(const std::string& programFolder) {
  return platform::joinPath(programFolder, "Skins/");
}

std::vector<std::string> SkinsFolders(const platform::Files& files) {
  std::vector<std::string> folders{SkinsFolder(files.programFolder())};
  const std::string user = files.userFolder();
  if (!user.empty() && SkinsFolder(user) != folders.front()) folders.push_back(SkinsFolder(user));
  return folders;
}

std::vector<std::string> ListSkinEntries(const platform::Files& files, bool withWinamp,
                                         std::string_view winampSuffix) {
  std::vector<std::string> entries, seen;
  const auto add = [&](const std::string& name, std::string_view suffix) {
    const std::string entry = name + std::string(suffix);
    const std::string key = text::toLower(entry);
    if (std::find(seen.begin(), seen.end(), key) != seen.end()) return;
    seen.push_back(key);
    entries.push_back(entry);
  };
  for (const std::string& folder : SkinsFolders(files)) {
    for (const std::string& name : files.listFiles(folder, "KRV_*.gif")) add(name, {});
    if (!withWinamp) continue;
    // Any name after "AMP_", with or without an extension.
    for (const std::string& name : files.listFiles(folder, "AMP_*")) add(name, winampSuffix);
    for (const std::string& name : files.listFoldersHolding(folder, "text.bmp"))
      add(name, winampSuffix);
  }
  return entries;
}

std::string SkinLoadMessage(const platform::ImageLoad& failed) {
  return "error " + std::to_string(failed.error) + failed.description;
}

}  // namespace korvane::display
