#include "display/skin_name.h"

#include "common/text.h"

namespace korvane::display {

SkinKind SkinKindOf(std::string_view entry) {
  return text::contains(entry, kWinampMarker) ? SkinKind::AMP : SkinKind::KRV;
}

std::optional<SkinFile> ResolveSkinName(std::string_view entry) {
  SkinFile skin{SkinKindOf(entry), {}};
  if (skin.kind == SkinKind::AMP) {
    const std::string name = text::trim(text::replaceAll(entry, kWinampMarker, ""));
    if (name.empty()) return std::nullopt;
    const std::string lower = text::toLower(name);
    const bool image = text::contains(lower, ".bmp") || text::contains(lower, ".gif");
    skin.file = image ? name : name + "/text.bmp";
  } else {
    skin.file = text::trim(entry);
    if (skin.file.empty()) skin.file = kDefaultSkin;
  }
  // Only files inside the skins folder are skins.
  if (text::contains(skin.file, "..") || text::contains(skin.file, "\\")) return std::nullopt;
  const long slash = text::instr(skin.file, "/");
  const bool folderFont = skin.kind == SkinKind::AMP && text::right(skin.file, 9) == "/text.bmp";
  if (slash != 0 && !(folderFont && slash == static_cast<long>(skin.file.size()) - 8))
    return std::nullopt;
  return skin;
}

platform::ImageLoad LoadSkinImage(const platform::Images& images, std::string_view programFolder,
                                  std::string_view entry) {
  const auto skin = ResolveSkinName(entry);
  if (!skin) return platform::ImageLoad::failed(platform::kBadFileName);
  return images.load(std::string(programFolder) + "/Skins/" + skin->file);
}

std::string SkinLoadMessage(const platform::ImageLoad& failed) {
  return "error " + std::to_string(failed.error) + failed.description;
}

}  // namespace korvane::display
