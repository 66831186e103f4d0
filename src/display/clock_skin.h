// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skin image a clock window loads: refused when its clock would not fit on any screen.
#include <string_view>

#include "display/skin_cells.h"
#include "platform/files.h"
#include "platform/images.h"
#include "platform/windows.h"

namespace korvane::display {

// The entry's image from the skins folder. A strip whose cells make a clock wider or taller than
// the largest screen fails with kPictureTooLarge: such a window would cost memory and drawing
// time for nothing anyone sees. Winamp fonts have cells of a fixed size and always fit.
platform::ImageLoad LoadClockSkin(const platform::Images& images, const platform::Windows& windows,
                                  const platform::Files& files, std::string_view entry);

}  // namespace korvane::display
