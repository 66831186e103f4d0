// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The button's public, persisted properties with their defaults; font and colours are the base
// control's.
#include <cstdint>
#include <string>

#include "common/colour.h"
#include "platform/picture.h"

namespace korvane::controls {

// Colour defaults: system colours of the 3-D scheme.
inline constexpr Colour kButtonFace = systemColour(15);
inline constexpr Colour kButtonText = systemColour(18);
inline constexpr Colour kHighlight3D = systemColour(20);
inline constexpr Colour kLight3D = systemColour(22);

struct ButtonProperties {
  std::string caption;
  int32_t buttonStyle = 2;
  int32_t picturePosition = 1;  // 0 above, 1 left of, 2 right of, 3 below the caption
  platform::PicturePtr pictureHover;
  int32_t pictureWidth = 32;  // pixels
  int32_t pictureHeight = 32;
  int32_t pictureSize = 1;
  int32_t originalPicSizeW = 32;  // the picture's own size, pixels
  int32_t originalPicSizeH = 32;
  int16_t mousePointer = 0;  // 99: the pointer image
  bool showFocusRect = true;
  std::string url;
  Colour xpColorPressed = kHighlight3D;
  Colour xpColorHover = kLight3D;
  bool xpDefaultColors = true;
  std::string soundOver = ".\\resources\\over.wav";
  std::string soundClick = ".\\resources\\click.wav";
  bool defCurHand = true;
  bool xpShowBorderAlways = false;
  Colour maskColor = 0;
  bool transparentBG = false;
  int16_t bevel = 1;
  int16_t bevelDepth = 8;
};

}  // namespace korvane::controls
