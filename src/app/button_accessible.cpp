// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/button_accessible.h"

#include "app/qt_button_widget.h"

namespace korvane::app {

namespace {

// The caption as read aloud: the access-key marks removed ("&&" reads as "&").
QString spokenCaption(const std::string& caption) {
  std::string spoken;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    spoken += caption[i];
  }
  return QString::fromStdString(spoken);
}

QAccessibleInterface* accessibleButton(const QString&, QObject* object) {
  auto* button = qobject_cast<ButtonWidget*>(object);
  return button ? new ButtonAccessible(button) : nullptr;
}

}  // namespace

ButtonAccessible::ButtonAccessible(ButtonWidget* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

ButtonWidget* ButtonAccessible::button() const {
  return static_cast<ButtonWidget*>(widget());
}

QString ButtonAccessible::text(QAccessible::Text kind) const {
  if (kind == QAccessible::Name) return spokenCaption(button()->model().caption());
  return QAccessibleWidget::text(kind);
}

QAccessible::State ButtonAccessible::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  s.focusable = true;
  return s;
}

QStringList ButtonAccessible::actionNames() const {
  return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void ButtonAccessible::doAction(const QString& action) {
  if (action != pressAction()) return QAccessibleWidget::doAction(action);
  if (button()->isEnabled() && button()->isVisible()) button()->model().click();
}

void ButtonAccessible::install() {
  static const bool installed = [] {
    QAccessible::installFactory(accessibleButton);
    return true;
  }();
  (void)installed;
}

}  // namespace korvane::app
