// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/nxo_buttons.h"

#include <algorithm>

#include "common/text.h"
#include "controls/access_key.h"
#include "controls/button_layout.h"
#include "controls/button_painter.h"
#include "controls/hand_cursor.h"
#include "controls/style3_painter.h"

namespace korvane::controls {

namespace {
constexpr int kOverInterval = 10;  // ms
constexpr int kMinPixels = 10;
constexpr int kMinTwips = 150;
}  // namespace

NXOButtons::NXOButtons(std::string name, ButtonServices services)
    : ui::Control(std::move(name)), services_(services), overTimer_("OverTimer", kOverInterval) {
  overTimer_.setEnabled(false);
  overTimer_.Tick.connect([this] { OverTimer_Timer(); });
  imgHAND_ = makeHandCursor();
  p_.caption = this->name();
  setFont(ambientFont());
  setBackColor(kButtonFace);
  setForeColor(kButtonText);
  // The hand pointer is the default look of a new button.
  pointerImage_ = imgHAND_;
  p_.mousePointer = 99;
  accessKey_ = accessKeyOf(p_.caption);
  PropertyChanged.connect([this](ui::Property which) { onControlChanged(which); });
}

NXOButtons::~NXOButtons() {
  overTimer_.setEnabled(false);
}

Colour NXOButtons::resolve(Colour c) const {
  return services_.colours ? services_.colours->resolve(c) : classic_.resolve(c);
}

platform::Font NXOButtons::ambientFont() const {
  return services_.container ? services_.container->ambientFont() : ButtonContainer().ambientFont();
}

int NXOButtons::twipsPerPixel() const {
  const int tpp =
      services_.container ? services_.container->twipsPerPixel() : ui::kTwipsPerPixelAt96Dpi;
  return tpp > 0 ? tpp : ui::kTwipsPerPixelAt96Dpi;
}

void NXOButtons::changed(const char* property) {
  if (loading_) return;
  const std::string name = property;
  if (services_.container) services_.container->propertyChanged(*this, name);
  PropertyNotified(name);
  PropertyChanged(ui::Property::Content);
}

// Geometry, enabled, font and colours live in the base control; their changes arrive here.
void NXOButtons::onControlChanged(ui::Property which) {
  using ui::Property;
  switch (which) {
    case Property::Size:
      resize();
      return;
    case Property::Enabled:
      // A disabled window gets no more input, so nothing may stay held down.
      if (!enabled()) flags_.pressed = flags_.keyLatch = false;
      changed("Enabled");
      if (!loading_) Refresh();
      return;
    case Property::Typeface:
    case Property::BackColor:
    case Property::ForeColor:
      changed(which == Property::Typeface    ? "Font"
              : which == Property::BackColor ? "BackColor"
                                             : "ForeColor");
      if (loading_) return;
      if (which == Property::Typeface) layout();
      Refresh();
      return;
    default:
      return;  // a move, or a property of the button's own (it raised that itself)
  }
}

void NXOButtons::resize() {
  const int tpp = twipsPerPixel();
  ui::TwipsRect g = geometry();
  const int minTwips = std::max(kMinTwips, kMinPixels * tpp);
  bool grow = false;
  if (g.width / tpp < kMinPixels) g.width = minTwips, grow = true;
  if (g.height / tpp < kMinPixels) g.height = minTwips, grow = true;
  if (grow && !(g == geometry())) {
    setGeometry(g);  // its change runs the resize again
    return;
  }
  width_ = g.width / tpp;
  height_ = g.height / tpp;
  rects_.inner = {4, 4, width_ - 4, height_ - 4};
  rects_.focus = {3, 3, width_ - 3, height_ - 3};
  shape_ = p_.buttonStyle == 3 ? style3Shape(width_, height_) : platform::ShapeMask();
  ShapeChanged();
  layout();
  Refresh();
}

void NXOButtons::applyLayout() const {
  layoutDue_ = false;
  LayoutInput in;
  in.inner = rects_.inner;
  in.pictureWidth = p_.pictureWidth;
  in.pictureHeight = p_.pictureHeight;
  in.hasPicture = current_ != nullptr;
  in.hasCaption = !p_.caption.empty();
  if (services_.text) {
    const auto size =
        services_.text->measure(p_.caption, font(), rects_.inner.width(), kCaptionMargins);
    in.textWidth = size.width;
    in.textHeight = size.height;
  }
  in.picturePosition = p_.picturePosition;
  in.buttonStyle = p_.buttonStyle;
  in.picture = rects_.picture;
  in.shadow = rects_.shadow;
  const LayoutResult out = layoutButton(in);
  rects_.text = out.text;
  rects_.picture = out.picture;
  rects_.shadow = out.shadow;
}

void NXOButtons::layout() {
  layoutDue_ = true;
  if (asked_) applyLayout();
}

void NXOButtons::Refresh() {
  paintDue_ = true;
  if (asked_) paint();
  Repainted();
}

void NXOButtons::paint() const {
  paintDue_ = false;
  if (surface_.width() != width_ || surface_.height() != height_)
    surface_ = platform::Raster(width_, height_);
  paintButton(surface_, paintInput());
}

void NXOButtons::settle() const {
  asked_ = true;
  if (layoutDue_) applyLayout();
  if (paintDue_) paint();
}

const ButtonRects& NXOButtons::rects() const {
  settle();
  return rects_;
}

const platform::Raster& NXOButtons::surface() const {
  settle();
  return surface_;
}

platform::Raster NXOButtons::surfaceAt(int scale) const {
  if (scale <= 1 || surface().empty()) return surface();
  PaintInput in = paintInput();
  const platform::TextRenderer* text = in.text;
  in.text = nullptr;  // every pixel rule holds at scale 1; only the caption is drawn finer
  platform::Raster base(width_, height_);
  paintButton(base, in);
  platform::Raster scaled = base.stretched(width_ * scale, height_ * scale);
  in.text = text;
  paintCaption(scaled, in, scale);
  return scaled;
}

PaintInput NXOButtons::paintInput() const {
  PaintInput in;
  in.props = &p_;
  in.font = font();
  in.backColor = backColor() == ui::kDefaultColour ? kButtonFace : backColor();
  in.foreColor = foreColor() == ui::kDefaultColour ? kButtonText : foreColor();
  in.flags = flags_;
  in.rects = rects_;
  in.width = width_;
  in.height = height_;
  in.enabled = enabled();
  in.picture = current_;
  in.colours = services_.colours ? services_.colours : &classic_;
  in.text = services_.text;
  if (ButtonContainer* c = services_.container) {
    in.designMode = c->designMode();
    in.defaultButton = c->isDefaultButton(*this);
    in.containerPicture = c->backgroundPicture();
    in.left = geometry().left / twipsPerPixel();
    in.top = geometry().top / twipsPerPixel();
  }
  return in;
}

void NXOButtons::GoToURL() {
  if (!services_.shell) return;
  if (text::left(p_.url, 7) == "mailto:")
    services_.shell->shellExecute("open", p_.url, "", "", 1);
  else if (!p_.url.empty())
    services_.shell->navigateTo(p_.url, "", "");
}

void NXOButtons::click() {
  if (!enabled()) return;
  Click();
  GoToURL();
}

bool NXOButtons::handPointer() const {
  return p_.mousePointer == 99 && pointerImage_ && pointerImage_->name == kHandCursorName;
}

// --- properties ---

void NXOButtons::setCaption(const std::string& c) {
  p_.caption = c;
  changed("Caption");
  accessKey_ = accessKeyOf(c);
  layout();
  Refresh();
}

void NXOButtons::setButtonStyle(int32_t style) {
  p_.buttonStyle = style;
  if (style == 3) p_.transparentBG = false;
  changed("ButtonStyle");
  resize();
}

void NXOButtons::setPicturePosition(int32_t position) {
  p_.picturePosition = position;
  changed("PicturePosition");
  layout();
  Refresh();
}

void NXOButtons::setPicture(platform::PicturePtr picture) {
  current_ = normal_ = std::move(picture);
  p_.originalPicSizeW = current_ ? current_->width() : 32;
  p_.originalPicSizeH = current_ ? current_->height() : 32;
  if (p_.pictureSize == 2) {
    p_.pictureWidth = p_.originalPicSizeW;
    p_.pictureHeight = p_.originalPicSizeH;
  }
  changed("Picture");
  layout();
  Refresh();
}

void NXOButtons::setPictureHover(platform::PicturePtr picture) {
  p_.pictureHover = std::move(picture);
  changed("PictureHover");
}

void NXOButtons::setPictureWidth(int32_t w) {
  p_.pictureWidth = w;
  changed("PictureWidth");
  layout();
  Refresh();
}

void NXOButtons::setPictureHeight(int32_t h) {
  p_.pictureHeight = h;
  changed("PictureHeight");
  layout();
  Refresh();
}

void NXOButtons::applyPictureSize() {
  switch (p_.pictureSize) {
    case 0:
      p_.pictureWidth = p_.pictureHeight = 16;
      break;
    case 1:
      p_.pictureWidth = p_.pictureHeight = 32;
      break;
    case 4:
      p_.pictureWidth = p_.pictureHeight = 64;
      break;
    case 2:
      p_.pictureWidth = normal_ ? p_.originalPicSizeW : 32;
      p_.pictureHeight = normal_ ? p_.originalPicSizeH : 32;
      break;
    default:
      break;
  }
}

void NXOButtons::setPictureSize(int32_t size) {
  p_.pictureSize = size;
  applyPictureSize();
  changed("PictureSize");
  layout();
  Refresh();
}

void NXOButtons::setMouseIcon(platform::PicturePtr icon) {
  pointerImage_ = std::move(icon);
  changed("MouseIcon");
}

void NXOButtons::setMousePointer(int16_t pointer) {
  p_.mousePointer = pointer;
  changed("MousePointer");
}

void NXOButtons::setShowFocusRect(bool on) {
  p_.showFocusRect = on;
  changed("ShowFocusRect");
  Refresh();
}

void NXOButtons::setURL(const std::string& url) {
  p_.url = url;
  changed("URL");
}

void NXOButtons::setXPColorPressed(Colour c) {
  p_.xpColorPressed = c;
  changed("XPColor_Pressed");
}

void NXOButtons::setXPColorHover(Colour c) {
  p_.xpColorHover = c;
  changed("XPColor_Hover");
}

void NXOButtons::setXPDefaultColors(bool on) {
  p_.xpDefaultColors = on;
  changed("XPDefaultColors");
}

void NXOButtons::setSoundOver(const std::string& path) {
  p_.soundOver = path;
  changed("SoundOver");
}

void NXOButtons::setSoundClick(const std::string& path) {
  p_.soundClick = path;
  changed("SoundClick");
}

void NXOButtons::setDefCurHand(bool on) {
  p_.defCurHand = on;
  if (on) {
    pointerImage_ = imgHAND_;
    p_.mousePointer = 99;
  } else {
    pointerImage_ = nullptr;
  }
  changed("DefCurHand");
}

void NXOButtons::setXPShowBorderAlways(bool on) {
  p_.xpShowBorderAlways = on;
  changed("XPShowBorderAlways");
}

void NXOButtons::setMaskColor(Colour c) {
  p_.maskColor = c;
  changed("MaskColor");
  Refresh();
}

void NXOButtons::setTransparentBG(bool on) {
  p_.transparentBG = on;
  changed("TransparentBG");
  Refresh();
}

void NXOButtons::setBevel(int16_t rings) {
  p_.bevel = rings;
  changed("BEVEL");
  Refresh();
}

void NXOButtons::setBevelDepth(int16_t depth) {
  p_.bevelDepth = depth;
  changed("BEVELDEPTH");
  Refresh();
}

}  // namespace korvane::controls
