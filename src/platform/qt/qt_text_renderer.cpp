// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_text_renderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "common/caption_layout.h"
#include "platform/qt/qt_pictures.h"

namespace korvane::platform {

namespace {

// A caption line with its underline marker put back for QPainter's mnemonic drawing; the
// text is split only at the marker, so multi-byte characters stay whole.
QString withMnemonic(const CaptionLine& line) {
  auto escaped = [](std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()))
        .replace(QLatin1Char('&'), QStringLiteral("&&"));
  };
  const std::string_view t = line.text;
  if (line.underline < 0 || line.underline >= static_cast<int>(t.size())) return escaped(t);
  const auto at = static_cast<size_t>(line.underline);
  return escaped(t.substr(0, at)) + QLatin1Char('&') + escaped(t.substr(at));
}

}  // namespace

QFont toRasterQFont(const Font& font) {
  QFont q = toQFont(font);
  q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * 96.0 / 72.0))));
  return q;
}

TextSize QtTextRenderer::measure(std::string_view caption, const Font& font, int width,
                                 const TextMargins& margins) const {
  if (caption.empty()) return {};
  const QFontMetrics fm(toRasterQFont(font));
  const CaptionBlock block =
      wrapCaption(caption, width - margins.left - margins.right, [&fm](std::string_view s) {
        return fm.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
      });
  return {block.width + margins.left + margins.right,
          static_cast<int>(block.lines.size()) * fm.height()};
}

void QtTextRenderer::draw(Raster& raster, const Rect& r, std::string_view caption, const Font& font,
                          Colour rgb, const TextMargins& margins) const {
  if (caption.empty() || raster.empty()) return;
  const QFont qf = toRasterQFont(font);
  const QFontMetrics fm(qf);
  const int avail = r.width() - margins.left - margins.right;
  const CaptionBlock block = wrapCaption(caption, avail, [&fm](std::string_view s) {
    return fm.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
  });
  // Wraps the raster's own pixels: drawing needs no copy.
  QImage image(reinterpret_cast<uchar*>(raster.bits()), raster.width(), raster.height(),
               raster.width() * 4, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setFont(qf);
  painter.setPen(QColor(red(rgb), green(rgb), blue(rgb)));
  const int lineHeight = fm.height();
  const int blockHeight = static_cast<int>(block.lines.size()) * lineHeight;
  int y = r.top + (r.height() > blockHeight ? (r.height() - blockHeight) / 2 : 0);
  for (const CaptionLine& line : block.lines) {
    const int x = r.left + margins.left + (avail - line.width) / 2;
    painter.drawText(QRect(x, y, line.width + 1, lineHeight),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic | Qt::TextDontClip,
                     withMnemonic(line));
    y += lineHeight;
  }
}

}  // namespace korvane::platform
