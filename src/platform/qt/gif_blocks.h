// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a GIF file holds the whole of its first picture: Qt's reader hands out a picture
// cut short by the end of the file as if it were complete.
#include <string_view>

namespace korvane::platform {

// True when bytes are a GIF whose blocks, up to the end of the first picture's data, all lie
// inside bytes; false for a cut or malformed file.
bool gifFirstImageComplete(std::string_view bytes);

}  // namespace korvane::platform
