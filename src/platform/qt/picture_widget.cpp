// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/picture_widget.h"

#include <QImage>
#include <QPainter>

#include "platform/qt/qt_pictures.h"

namespace korvane::platform {

PictureWidget::PictureWidget(ui::PictureBox& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setAutoFillBackground(true);  // the back colour under and around the picture
}

void PictureWidget::showPicture() {
  // A Paint handler that draws and refreshes is already being shown. A clock without seconds
  // refreshes the same picture 59 times a minute: an idle window should not repaint for it.
  if (painting_) return;
  if (!model_.picture().empty() && model_.twipsPerPixel() == shownTwipsPerPixel_ &&
      model_.picture() == shown_)
    return;
  update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
  painting_ = true;
  model_.Paint();
  painting_ = false;
  const platform::Raster& picture = model_.picture();
  if (picture.empty()) return;
  // The raster's words are 0xFFRRGGBB rows: a 32-bit RGB image without a copy. A raster pixel
  // is the box's twips per pixel: the windows are laid out in those pixels, so a skin fills its
  // window on any screen. A high-density screen enlarges it by whole device pixels, unsmoothed,
  // so pixel art stays sharp.
  QImage image(reinterpret_cast<const uchar*>(picture.bits()), picture.width(), picture.height(),
               static_cast<qsizetype>(picture.width()) * 4, QImage::Format_RGB32);
  image.setDevicePixelRatio(static_cast<double>(twipsPerPixel()) / model_.twipsPerPixel());
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), image);
  shown_ = picture;
  shownTwipsPerPixel_ = model_.twipsPerPixel();
}

}  // namespace korvane::platform
