// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/hand_cursor.h"

#include <string_view>

namespace korvane::controls {

namespace {
// '#' outline, '.' fill, anything else clear.
constexpr std::string_view kHand[] = {
    "     ##          ",  //
    "    #..#         ",  //
    "    #..#         ",  //
    "    #..#         ",  //
    "    #..#         ",  //
    "    #..###       ",  //
    "    #..#..###    ",  //
    "    #..#..#..##  ",  //
    " ## #..#..#..#.# ",  //
    "#..##........#.# ",  //
    "#...#..........# ",  //
    " #.............# ",  //
    "  #............# ",  //
    "  #...........#  ",  //
    "   #..........#  ",  //
    "   #.........#   ",  //
    "    #........#   ",  //
    "    #........#   ",  //
    "    ##########   ",  //
};
}  // namespace

platform::PicturePtr makeHandCursor() {
  auto pic = std::make_shared<platform::Picture>();
  pic->kind = platform::Picture::Kind::Cursor;
  pic->name = kHandCursorName;
  pic->image = platform::Raster(32, 32, 0);
  pic->opaque = platform::ShapeMask(32, 32, false);
  pic->hotX = 5;
  pic->hotY = 0;
  int y = 0;
  for (std::string_view row : kHand) {
    for (size_t x = 0; x < row.size(); ++x) {
      if (row[x] != '#' && row[x] != '.') continue;
      const int px = static_cast<int>(x);
      pic->image.setPixel(px, y, row[x] == '#' ? 0 : makeColour(255, 255, 255));
      pic->opaque.set(px, y, true);
    }
    ++y;
  }
  return pic;
}

}  // namespace korvane::controls
