// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the button's design-time settings in their fixed key order.
#include <limits>

#include "controls/access_key.h"
#include "controls/nxo_buttons.h"

namespace korvane::controls {

namespace {

using ui::PropertyBag;

Colour readColour(const PropertyBag& bag, const std::string& name, Colour fallback) {
  return static_cast<Colour>(bag.read<int32_t>(name, static_cast<int32_t>(fallback)));
}

// 16-bit values out of range in a bag fall back to the default.
int16_t readInt16(const PropertyBag& bag, const std::string& name, int16_t fallback) {
  const int32_t v = bag.read<int32_t>(name, fallback);
  if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
    return fallback;
  return static_cast<int16_t>(v);
}

void writeColour(PropertyBag& bag, const std::string& name, Colour c) {
  bag.write(name, static_cast<int32_t>(c));
}

}  // namespace

void NXOButtons::readProperties(const PropertyBag& bag) {
  const ButtonProperties d;
  const platform::Font ambient = ambientFont();
  loading_ = true;
  setBackColor(readColour(bag, "BackColor", kButtonFace));
  setForeColor(readColour(bag, "ForeColor", kButtonText));
  p_.showFocusRect = bag.read<bool>("ShowFocusRect", d.showFocusRect);
  p_.caption = bag.read<std::string>("Caption", name());
  p_.picturePosition = bag.read<int32_t>("PicturePosition", d.picturePosition);
  p_.buttonStyle = bag.read<int32_t>("ButtonStyle", d.buttonStyle);
  current_ = bag.read<platform::PicturePtr>("Picture", nullptr);
  p_.pictureWidth = bag.read<int32_t>("PictureWidth", d.pictureWidth);
  p_.pictureHeight = bag.read<int32_t>("PictureHeight", d.pictureHeight);
  p_.pictureSize = bag.read<int32_t>("PictureSize", d.pictureSize);  // stored, not applied
  p_.originalPicSizeW = bag.read<int32_t>("OriginalPicSizeW", d.originalPicSizeW);
  p_.originalPicSizeH = bag.read<int32_t>("OriginalPicSizeH", d.originalPicSizeH);
  setFont(bag.read<platform::Font>("Font", ambient));
  p_.pictureHover = bag.read<platform::PicturePtr>("PictureHover", nullptr);
  normal_ = bag.read<platform::PicturePtr>("Picture", nullptr);
  pointerImage_ = bag.read<platform::PicturePtr>("MouseIcon", nullptr);
  setEnabled(bag.read<bool>("Enabled", true));
  p_.mousePointer = readInt16(bag, "MousePointer", d.mousePointer);
  p_.url = bag.read<std::string>("URL", d.url);
  p_.xpColorPressed = readColour(bag, "XPColor_Pressed", d.xpColorPressed);
  p_.xpColorHover = readColour(bag, "XPColor_Hover", d.xpColorHover);
  p_.xpDefaultColors = bag.read<bool>("XPDefaultColors", d.xpDefaultColors);
  p_.soundOver = bag.read<std::string>("SoundOver", d.soundOver);
  p_.soundClick = bag.read<std::string>("SoundClick", d.soundClick);
  p_.defCurHand = bag.read<bool>("DefCurHand", d.defCurHand);  // stored, not applied
  p_.xpShowBorderAlways = bag.read<bool>("XPShowBorderAlways", d.xpShowBorderAlways);
  p_.maskColor = readColour(bag, "MaskColor", d.maskColor);
  p_.transparentBG = bag.read<bool>("TransparentBG", d.transparentBG);
  p_.bevel = readInt16(bag, "BEVEL", d.bevel);
  p_.bevelDepth = readInt16(bag, "BEVELDEPTH", d.bevelDepth);
  loading_ = false;
  accessKey_ = accessKeyOf(p_.caption);
  layout();
  resize();
}

void NXOButtons::writeProperties(PropertyBag& bag) const {
  bag.write("Caption", p_.caption);
  bag.write("PicturePosition", p_.picturePosition);
  bag.write("ButtonStyle", p_.buttonStyle);
  bag.write("Picture", current_);
  bag.write("PictureWidth", p_.pictureWidth);
  bag.write("PictureHeight", p_.pictureHeight);
  bag.write("PictureSize", p_.pictureSize);
  bag.write("OriginalPicSizeW", p_.originalPicSizeW);
  bag.write("OriginalPicSizeH", p_.originalPicSizeH);
  bag.write("PictureHover", p_.pictureHover);
  bag.write("Enabled", enabled());
  bag.write("Font", font());
  bag.write("MouseIcon", pointerImage_);
  bag.write("MousePointer", static_cast<int32_t>(p_.mousePointer));
  bag.write("ShowFocusRect", p_.showFocusRect);
  bag.write("URL", p_.url);
  writeColour(bag, "XPColor_Pressed", p_.xpColorPressed);
  writeColour(bag, "XPColor_Hover", p_.xpColorHover);
  bag.write("XPDefaultColors", p_.xpDefaultColors);
  writeColour(bag, "BackColor", backColor());
  writeColour(bag, "ForeColor", foreColor());
  bag.write("SoundOver", p_.soundOver);
  bag.write("SoundClick", p_.soundClick);
  bag.write("DefCurHand", p_.defCurHand);
  bag.write("XPShowBorderAlways", p_.xpShowBorderAlways);
  writeColour(bag, "MaskColor", p_.maskColor);
  bag.write("TransparentBG", p_.transparentBG);
  bag.write("BEVEL", static_cast<int32_t>(p_.bevel));
  bag.write("BEVELDEPTH", static_cast<int32_t>(p_.bevelDepth));
}

}  // namespace korvane::controls
