// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/clock_skin.h"

#include <algorithm>

#include "display/skin_name.h"

namespace korvane::display {

platform::ImageLoad LoadClockSkin(const platform::Images& images, const platform::Windows& windows,
                                  const platform::Files& files, std::string_view entry) {
  platform::ImageLoad load = LoadSkinImage(images, files, entry);
  if (!load.ok() || SkinKindOf(entry) == SkinKind::AMP) return load;
  int width = 0, height = 0;
  for (const ui::TwipsRect& s : windows.screensTwips()) {
    width = std::max(width, s.width);
    height = std::max(height, s.height);
  }
  const int tpp = std::max(windows.twipsPerPixelX(), 1);
  // The widest clock is the taskbar's clock window: all 15 cells, the image's width.
  if (load.image.width() > width / tpp || load.image.height() > height / tpp)
    return platform::ImageLoad::failed(platform::kPictureTooLarge);
  return load;
}

}  // namespace korvane::display
