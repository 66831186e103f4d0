// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/button_painter.h"

#include "controls/bevel.h"
#include "controls/style3_painter.h"

namespace korvane::controls {

namespace {

using platform::Raster;

class Painter {
 public:
  Painter(Raster& s, const PaintInput& in)
      : s_(s), in_(in), p_(*in.props), w_(in.width), h_(in.height) {}

  void run() {
    surfaceBack_ = resolve(in_.backColor);
    s_.fill({0, 0, w_, h_}, surfaceBack_);
    background();
    if (p_.buttonStyle != 4) border();
    paintPicture(s_, in_);
    if (in_.flags.focus && p_.showFocusRect && p_.buttonStyle != 3) s_.focusRect(in_.rects.focus);
    caption();
  }

 private:
  Colour resolve(Colour c) const { return in_.colours->resolve(c); }
  Colour system(int index) const { return in_.colours->colour(index); }
  bool pressed() const { return in_.flags.pressed; }
  bool hover() const { return in_.flags.hover; }

  void setSurfaceBack(Colour c) {
    surfaceBack_ = c;
    s_.fill({0, 0, w_, h_}, c);
  }

  // The container's picture behind the control; nothing when it has none.
  void copyContainer() {
    if (in_.containerPicture) s_.copy(*in_.containerPicture, in_.left, in_.top, w_, h_, 0, 0);
  }

  Colour fromHighlight(int dr, int dg, int db) const {
    const Colour h = system(13);
    return makeColour(red(h) + dr, green(h) + dg, blue(h) + db);
  }

  void background() {
    switch (p_.buttonStyle) {
      case 2:
        if (pressed() || !p_.transparentBG)
          setSurfaceBack(resolve(in_.backColor));
        else
          copyContainer();
        if (hover() && !pressed())
          setSurfaceBack(p_.xpDefaultColors ? fromHighlight(171, 154, 108)
                                            : resolve(p_.xpColorHover));
        if (pressed())
          setSurfaceBack(p_.xpDefaultColors ? fromHighlight(156, 139, 108)
                                            : resolve(p_.xpColorPressed));
        break;
      case 0:
      case 1:
      case 4:
        if (p_.transparentBG) copyContainer();
        break;
      default:
        break;
    }
  }

  void style3(bool isPressed, bool hot) {
    Style3Look look;
    look.width = w_;
    look.height = h_;
    look.back = resolve(in_.backColor);
    look.enabled = in_.enabled;
    look.pressed = isPressed;
    look.focus = in_.flags.focus;
    look.hot = hot;
    look.focusRing = p_.xpDefaultColors ? kDefaultFocusRing : resolve(p_.xpColorPressed);
    look.hotRing = p_.xpDefaultColors ? kDefaultHotRing : resolve(p_.xpColorHover);
    look.darkShadow = system(21);
    paintStyle3(s_, look);
  }

  void raised() {
    if (p_.bevel > 1)
      drawBevel(s_, w_, h_, surfaceBack_, p_.bevel, p_.bevelDepth, true);
    else
      drawEdge(s_, w_, h_, system(16), system(20), true);
  }

  void sunken() {
    if (p_.bevel > 1)
      drawBevel(s_, w_, h_, surfaceBack_, p_.bevel, p_.bevelDepth, false);
    else
      drawEdge(s_, w_, h_, system(16), system(20), false);
  }

  void frameFore() { s_.frame({0, 0, w_, h_}, resolve(in_.foreColor)); }

  void border() {
    const int style = p_.buttonStyle;
    if (in_.designMode) {
      if (style == 3) {
        style3(false, false);
      } else if (style == 2) {
        background();
        frameFore();
      } else if (style == 0 || style == 1) {
        raised();
      }
      return;
    }
    if (style == 3) {
      style3(pressed(), !pressed() && hover());
    } else if (style == 2) {
      if (hover() || p_.xpShowBorderAlways) frameFore();
    } else if (style == 0 || style == 1) {
      if (pressed())
        sunken();
      else if (hover() || style == 0)
        raised();
      defaultMarking();
    }
  }

  // A second shadow line inside the right and bottom edges.
  void defaultMarking() {
    const bool focusMark = in_.flags.focus && p_.buttonStyle == 0 && !pressed();
    if ((focusMark || in_.defaultButton) && p_.bevel <= 1) {
      s_.frame({0, 0, w_ - 1, h_ - 1}, system(16));
      s_.frame({0, 0, w_ + 1, h_ + 1}, system(20));
    }
  }

  void caption() { paintCaption(s_, in_, 1); }

  Raster& s_;
  const PaintInput& in_;
  const ButtonProperties& p_;
  const int w_;
  const int h_;
  Colour surfaceBack_ = 0;
};

}  // namespace

void paintButton(Raster& s, const PaintInput& in) {
  if (!in.props || !in.colours) return;
  Painter(s, in).run();
}

void paintCaption(Raster& s, const PaintInput& in, int scale) {
  const ButtonProperties& p = *in.props;
  if (p.caption.empty() || !in.text || !in.colours || scale < 1) return;
  Rect r = in.rects.text;
  if (in.flags.pressed && p.buttonStyle != 2) r = r.movedBy(1);
  r = {r.left * scale, r.top * scale, r.right * scale, r.bottom * scale};
  platform::Font font = in.font;
  font.size *= scale;
  const platform::TextMargins margins{kCaptionMargins.left * scale, kCaptionMargins.right * scale};
  // The finer font may run a little wider than scale times the coarse one: the caption keeps the
  // line breaks it has at scale 1, widened (still centred) rather than wrapped once more.
  if (scale > 1) {
    const int coarseHeight =
        in.text->measure(p.caption, in.font, in.rects.text.width(), kCaptionMargins).height;
    for (int widen = 0; widen < r.width() / 4; widen += scale) {
      const int fineHeight =
          in.text->measure(p.caption, font, r.width() + 2 * widen, margins).height;
      if (fineHeight <= coarseHeight * scale + scale) {
        r = {r.left - widen, r.top, r.right + widen, r.bottom};
        break;
      }
    }
  }
  if (in.enabled) {
    in.text->draw(s, r, p.caption, font, in.colours->resolve(in.foreColor), margins);
    return;
  }
  in.text->draw(s, {r.left + scale, r.top + scale, r.right + scale, r.bottom}, p.caption, font,
                in.colours->colour(20), margins);
  in.text->draw(s, r, p.caption, font, in.colours->colour(16), margins);
}

}  // namespace korvane::controls
