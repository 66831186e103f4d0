// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_system_colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace korvane::platform {

namespace {
struct RoleOf {
  int index;
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};
constexpr RoleOf kRoles[] = {
    {4, QPalette::Active, QPalette::Window},
    {5, QPalette::Active, QPalette::Base},
    {7, QPalette::Active, QPalette::WindowText},
    {8, QPalette::Active, QPalette::Text},
    {13, QPalette::Active, QPalette::Highlight},
    {14, QPalette::Active, QPalette::HighlightedText},
    {15, QPalette::Active, QPalette::Button},
    {16, QPalette::Active, QPalette::Dark},
    {17, QPalette::Disabled, QPalette::Text},
    {18, QPalette::Active, QPalette::ButtonText},
    {20, QPalette::Active, QPalette::Light},
    {21, QPalette::Active, QPalette::Shadow},
    {22, QPalette::Active, QPalette::Midlight},
    {23, QPalette::Active, QPalette::ToolTipText},
    {24, QPalette::Active, QPalette::ToolTipBase},
    {26, QPalette::Active, QPalette::Link},
};
}  // namespace

Colour QtSystemColours::colour(int index) const {
  if (!qGuiApp) return classic_.colour(index);
  for (const RoleOf& r : kRoles) {
    if (r.index != index) continue;
    const QColor c = QGuiApplication::palette().color(r.group, r.role);
    return makeColour(c.red(), c.green(), c.blue());
  }
  return classic_.colour(index);
}

}  // namespace korvane::platform
