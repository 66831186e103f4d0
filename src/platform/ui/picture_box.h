// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture box: a raster the logic loads or draws into, shown at twipsPerPixel twips per raster
// pixel (a high-density screen enlarges it by whole device pixels, never smoothed). Off-screen
// picture boxes only hold an image.
#include <utility>

#include "platform/raster.h"
#include "platform/ui/control.h"

namespace korvane::ui {

class PictureBox : public Control {
 public:
  using Control::Control;
  // The picture; drawing into it changes nothing on screen until refresh().
  platform::Raster& picture() { return picture_; }
  const platform::Raster& picture() const { return picture_; }
  // Replaces the picture (an image load); with autoSize the box takes its size.
  void setPicture(platform::Raster r) {
    picture_ = std::move(r);
    fitToPicture();
    refresh();
  }
  // Shows what was drawn into the picture.
  void refresh() { Refreshed(); }
  // Clears the picture to the back colour (the Cls method).
  void cls(Colour background) {
    picture_.fill({0, 0, picture_.width(), picture_.height()}, background);
    refresh();
  }

  // Sizes the box to its picture whenever the picture is replaced.
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool on) {
    set(autoSize_, on);
    fitToPicture();
  }
  // Twips per pixel of the screen the box is on; converts its picture size to geometry.
  int twipsPerPixel() const { return twipsPerPixel_; }
  void setTwipsPerPixel(int n) { twipsPerPixel_ = n > 0 ? n : kTwipsPerPixelAt96Dpi; }
  // The inner size in pixels (ScaleWidth and ScaleHeight in pixel scale).
  int scaleWidth() const { return geometry().width / twipsPerPixel_; }
  int scaleHeight() const { return geometry().height / twipsPerPixel_; }

  Event<> Paint;
  // Raised by refresh(); a host repaints the box from the picture.
  Event<> Refreshed;

 private:
  void fitToPicture() {
    if (!autoSize_) return;
    TwipsRect g = geometry();
    g.width = picture_.width() * twipsPerPixel_;
    g.height = picture_.height() * twipsPerPixel_;
    setGeometry(g);
  }
  platform::Raster picture_;
  bool autoSize_ = false;
  int twipsPerPixel_ = kTwipsPerPixelAt96Dpi;
};

}  // namespace korvane::ui
