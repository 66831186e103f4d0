// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which file a skin entry names, and loading it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
// Every skins folder: the program folder's, then the user's own (the program folder of an
// installed package belongs to root).
std::vector<std::string> SkinsFolders(const platform::Files& files);

// The skin entries of every skins folder, each folder's after the one before: the "KRV_*.gif"
// strips, then (withWinamp) the "AMP_*" files and the folders holding a text.bmp, marked with
// winampSuffix. A name an earlier folder has is not listed again.
std::vector<std::string> ListSkinEntries(const platform::Files& files, bool withWinamp,
                                         std::string_view winampSuffix = {});

// The entry's image loaded from the first skins folder that has it; a refused name fails as a
// bad file name, a name no folder has as the program folder's failure.
platform::ImageLoad LoadSkinImage(const platform::Images& images, const platform::Files& files,
                                  std::string_view entry);

// The title of the boxes that report a failed skin load: the program's own.
inline constexpr std::string_view kSkinBoxTitle = "Korvane";

// The text of the box that reports a failed skin load: "error " + number + description.
std::string SkinLoadMessage(const platform::ImageLoad& failed);

}  // namespace korvane::display
