// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One full repaint of the button: clear, background, border, picture, focus rectangle, caption.
#include "controls/button_properties.h"
#include "controls/button_state.h"
#include "platform/raster.h"
#include "platform/system_colours.h"
#include "platform/text_renderer.h"

namespace korvane::controls {

// Everything a repaint reads.
struct PaintInput {
  const ButtonProperties* props = nullptr;
  // The control's own font and colours (never the desktop-default value).
  platform::Font font;
  Colour backColor = kButtonFace;
  Colour foreColor = kButtonText;
  ButtonFlags flags;
  ButtonRects rects;
  int width = 0;
  int height = 0;
  bool enabled = true;
  platform::PicturePtr picture;  // the current picture
  bool designMode = false;
  bool defaultButton = false;
  const platform::Raster* containerPicture = nullptr;
  int left = 0;  // the control's position in its container, pixels
  int top = 0;
  const platform::SystemColours* colours = nullptr;
  const platform::TextRenderer* text = nullptr;
};

// The blank pixels of the caption's drawing parameters.
inline constexpr platform::TextMargins kCaptionMargins{1, 1};
// The grey of a hovered style-2 picture's shadow.
inline constexpr Colour kPictureShadow = makeColour(176, 176, 176);

void paintButton(platform::Raster& s, const PaintInput& in);

// The caption of in at scale times the button's pixels into s (its rectangle, margins and font
// scaled): scale 1 is the caption step of paintButton.
void paintCaption(platform::Raster& s, const PaintInput& in, int scale);

// The picture at its rectangle, moved, shadowed or embossed as the state asks.
void paintPicture(platform::Raster& s, const PaintInput& in);

}  // namespace korvane::controls
