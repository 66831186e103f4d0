// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures and fonts of the form model on Qt.
#include <QFont>
#include <QPixmap>
#include <QString>
#include <string>

#include "platform/ui/control.h"

namespace korvane::platform {

// Twips per pixel of the primary screen (15 at 96 dpi).
int twipsPerPixel();
int toPixels(int twips);
// The picture file under the folder, or a plain placeholder of the given size when missing.
QPixmap loadPicture(const QString& folder, const std::string& file, QSize placeholderSize);
// The font with its four styles, sized in points, the classic faces mapped to their
// metric-compatible stand-ins.
QFont toQFont(const Font& font);
QString toQString(const std::string& text);

}  // namespace korvane::platform
