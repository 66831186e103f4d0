// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture box on screen: each raster pixel drawn as one pixel of the layout, enlarged without
// smoothing on a high-density screen.
#include <QWidget>

#include "platform/raster.h"
#include "platform/ui/picture_box.h"

namespace korvane::platform {

class PictureWidget : public QWidget {
 public:
  PictureWidget(ui::PictureBox& model, QWidget* parent);
  // Shows the picture as it is now (the model's Refreshed).
  void showPicture();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ui::PictureBox& model_;
  bool painting_ = false;
  // What the last paint showed: the same picture refreshed again needs no repaint.
  platform::Raster shown_;
  int shownTwipsPerPixel_ = 0;
};

}  // namespace korvane::platform
