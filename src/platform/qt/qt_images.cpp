// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_images.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <cstring>
#include <string_view>

#include "platform/qt/gif_blocks.h"

namespace korvane::platform {

namespace {
// Skins are a few kilobytes; anything this large is no picture the program draws.
constexpr qint64 kMaxFileBytes = 64 << 20;

// The format a picture's first bytes name; empty for another, which the reader then detects
// (asking, and so loading, every image plugin).
QByteArray formatOf(std::string_view head) {
  if (head.substr(0, 4) == "GIF8") return "gif";
  if (head.substr(0, 2) == "BM") return "bmp";
  if (head.substr(0, 8) == "\x89PNG\r\n\x1a\n") return "png";
  return {};
}
}  // namespace

ImageLoad QtImages::load(const std::string& path) const {
  const QString file = QString::fromStdString(path);
  const QFileInfo info(file);
  if (!info.exists()) return ImageLoad::failed(kFileNotFound);
  if (info.isDir() || !info.isReadable()) return ImageLoad::failed(kPathFileAccess);

  QFile in(file);
  if (info.size() > kMaxFileBytes) return ImageLoad::failed(kInvalidPicture);
  if (!in.open(QIODevice::ReadOnly)) return ImageLoad::failed(kPathFileAccess);
  QByteArray bytes = in.read(kMaxFileBytes + 1);
  if (bytes.size() > kMaxFileBytes) return ImageLoad::failed(kInvalidPicture);
  // A GIF cut short would decode as far as it goes: refuse it whole.
  const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
  if (view.substr(0, 4) == "GIF8" && !gifFirstImageComplete(view))
    return ImageLoad::failed(kInvalidPicture);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  const QByteArray format = formatOf(view);
  QImageReader reader(&buffer, format);
  reader.setAutoDetectImageFormat(format.isEmpty());
  reader.setAutoTransform(false);
  // The header's size is checked before any pixel is decoded, so a forged size costs nothing.
  const QSize size = reader.size();
  if (size.isValid() && (size.width() > Raster::kMaxSide || size.height() > Raster::kMaxSide))
    return ImageLoad::failed(kInvalidPicture);
  QImage image;
  if (!reader.read(&image) || image.isNull() || image.width() > Raster::kMaxSide ||
      image.height() > Raster::kMaxSide)
    return ImageLoad::failed(kInvalidPicture);

  // RGB32 rows are the raster's 0xFFRRGGBB words; transparent pixels become opaque.
  image = image.convertToFormat(QImage::Format_RGB32);
  ImageLoad result;
  result.image = Raster(image.width(), image.height());
  const size_t rowBytes = static_cast<size_t>(image.width()) * sizeof(uint32_t);
  for (int y = 0; y < image.height(); ++y)
    std::memcpy(result.image.bits() + static_cast<size_t>(y) * image.width(),
                image.constScanLine(y), rowBytes);
  return result;
}

}  // namespace korvane::platform
