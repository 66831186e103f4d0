#include "display/skin_name.h"

#include "common/text.h"
#include "platform/files.h"

namespace korvane::display {

SkinKind SkinKindOf(std::string_view entry) {
  return text::contains(entry, kWinampMarker) ? SkinKind::AMP : SkinKind::KRV;
}

namespace {
// Only names inside the skins folder are skins: no path separator, no "..".
bool insideSkinsFolder(std::string_view name) {
  return !name.empty() && !text::contains(name, "/") && !text::contains(name, "\\") &&
         !text::contains(name, "..");
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

platform::ImageLoad LoadSkinImage(const platform::Images& images, std::string_view programFolder,
                                  std::string_view entry) {
  const auto skin = ResolveSkinName(entry);
  if (!skin) return platform::ImageLoad::failed(platform::kBadFileName);
  return images.load(SkinsFolder(std::string(programFolder)) + skin->file);
}

std::string SkinsFolder(const std::string& programFolder) {
  return platform::joinPath(programFolder, "Skins/");
}

std::string SkinLoadMessage(const platform::ImageLoad& failed) {
  return "error " + std::to_string(failed.error) + failed.description;
}

}  // namespace korvane::display
