#include "platform/qt/qt_pictures.h"

#include <QFileInfo>
#include <QGuiApplication>
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
    QPixmap pixmap;
    if (QFileInfo::exists(path) && pixmap.load(path)) return pixmap;
  }
  QPixmap placeholder(placeholderSize.isValid() ? placeholderSize : QSize(32, 32));
  placeholder.fill(QColor(0xd8, 0xd8, 0xd8));
  QPainter p(&placeholder);
  p.setPen(QColor(0x80, 0x80, 0x80));
  p.drawRect(placeholder.rect().adjusted(0, 0, -1, -1));
  return placeholder;
}

QFont toQFont(const ui::Font& font) {
  QString family = QString::fromStdString(font.name);
  if (family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
    family = QStringLiteral("Liberation Sans");
  else if (family.compare(QLatin1String("Lucida Console"), Qt::CaseInsensitive) == 0)
    family = QStringLiteral("Liberation Mono");
  QFont f(family);
  f.setPointSizeF(font.size);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  return f;
}

QString toQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace korvane::platform
