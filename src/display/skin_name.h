#pragma once
// Which file a skin entry names, and loading it.
#include <optional>
#include <string>
#include <string_view>

#include "display/skin_cells.h"
#include "platform/files.h"
#include "platform/images.h"

namespace korvane::display {

inline constexpr std::string_view kDefaultSkin = "KRV_Default Skin.gif";
inline constexpr std::string_view kWinampMarker = "[WINAMP/SMALL]";

// A skin entry's kind and its file, relative to the skins folder ("/" between folder and file).
struct SkinFile {
  SkinKind kind = SkinKind::KRV;
  std::string file;
  bool operator==(const SkinFile&) const = default;
};

// The file of a skin entry: empty names the default strip; an entry holding the Winamp marker is
// a font (the marker removed, the rest trimmed), a .bmp or .gif itself, else a folder's
// text.bmp. Empty when the name would leave the skins folder (a path separator, "." or "..").
std::optional<SkinFile> ResolveSkinName(std::string_view entry);

// The kind of an entry, whether or not its file can be loaded.
SkinKind SkinKindOf(std::string_view entry);

// The folder the skins lie in, with its trailing separator.
std::string SkinsFolder(const std::string& programFolder);

// The entry's image loaded from the skins folder; a refused name fails as a bad file name. With
// files, the file loads by the name it has on disk ("TEXT.BMP" for "text.bmp").
platform::ImageLoad LoadSkinImage(const platform::Images& images, std::string_view programFolder,
                                  std::string_view entry, const platform::Files* files = nullptr);

// The title of the boxes that report a failed skin load: the program's own.
inline constexpr std::string_view kSkinBoxTitle = "Korvane";

// The text of the box that reports a failed skin load: "error " + number + description.
std::string SkinLoadMessage(const platform::ImageLoad& failed);

}  // namespace korvane::display
