// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_pictures.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace korvane::platform {

int twipsPerPixel() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
  const int tpp = static_cast<int>(std::lround(1440.0 / (dpi > 0 ? dpi : 96.0)));
  return tpp > 0 ? tpp : ui::kTwipsPerPixelAt96Dpi;
}

int toPixels(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel()));
}

QPixmap loadPicture(const QString& folder, const std::string& file, QSize placeholderSize) {
  if (!file.empty()) {
    const QString path = folder + QLatin1Char('/') + QString::fromStdString(file);
    const QFileInfo info(path);
    // Told the format, the reader asks no image plugin whether it knows the file: each would be
    // loaded (with its libraries) before the first window shows.
    QImageReader reader(path, info.suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    QImage image;
    if (info.exists() && reader.read(&image)) return QPixmap::fromImage(std::move(image));
    QPixmap pixmap;
    if (info.exists() && pixmap.load(path)) return pixmap;  // a file named for another format
  }
  QPixmap placeholder(placeholderSize.isValid() ? placeholderSize : QSize(32, 32));
  placeholder.fill(QColor(0xd8, 0xd8, 0xd8));
  QPainter p(&placeholder);
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.drawRect(placeholder.rect().adjusted(0, 0, -1, -1));
  return placeholder;
}

namespace {

// Classic face names mapped to the metric-compatible faces this desktop has.
QString familyFor(const std::string& name) {
  static const struct {
    const char* from;
    const char* to;
  } kFaces[] = {
      {"Arial", "Liberation Sans"},
      {"Helvetica", "Liberation Sans"},
      {"MS Sans Serif", "Liberation Sans"},
      {"Microsoft Sans Serif", "Liberation Sans"},
      {"Tahoma", "Liberation Sans"},
      {"Verdana", "DejaVu Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {"Lucida Console", "Liberation Mono"},
  };
  const QString face = QString::fromStdString(name);
  for (const auto& f : kFaces)
    if (face.compare(QLatin1String(f.from), Qt::CaseInsensitive) == 0)
      return QString::fromLatin1(f.to);
  return face;
}

}  // namespace

QFont toQFont(const Font& font) {
  QFont f(familyFor(font.name));
  if (font.size > 0) f.setPointSizeF(font.size);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikethrough);
  return f;
}

QString toQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace korvane::platform
