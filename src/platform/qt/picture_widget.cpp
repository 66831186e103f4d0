#include "platform/qt/picture_widget.h"

#include <QImage>
#include <QPainter>

namespace korvane::platform {

PictureWidget::PictureWidget(ui::PictureBox& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setAutoFillBackground(true);  // the back colour under and around the picture
}

void PictureWidget::showPicture() {
  // A Paint handler that draws and refreshes is already being shown.
  if (!painting_) update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
  painting_ = true;
  model_.Paint();
  painting_ = false;
  const platform::Raster& picture = model_.picture();
  if (picture.empty()) return;
  // The raster's words are 0xFFRRGGBB rows: a 32-bit RGB image without a copy. With the
  // widget's own pixel ratio it covers exactly one device pixel per raster pixel, so nothing
  // is scaled or smoothed on a high-density screen.
  QImage image(reinterpret_cast<const uchar*>(picture.bits()), picture.width(), picture.height(),
               static_cast<qsizetype>(picture.width()) * 4, QImage::Format_RGB32);
  image.setDevicePixelRatio(devicePixelRatioF());
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), image);
}

}  // namespace korvane::platform
