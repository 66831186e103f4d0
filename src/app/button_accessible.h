// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What screen readers learn of the program's own button: a push button with its caption, its
// state, and a Press action that clicks it as the mouse does.
#include <QAccessibleWidget>

namespace korvane::app {

class ButtonWidget;

class ButtonAccessible : public QAccessibleWidget {
 public:
  explicit ButtonAccessible(ButtonWidget* button);
  QString text(QAccessible::Text kind) const override;
  QAccessible::State state() const override;
  QStringList actionNames() const override;
  void doAction(const QString& action) override;

  // Makes Qt give every ButtonWidget this interface (once per program).
  static void install();

 private:
  ButtonWidget* button() const;
};

}  // namespace korvane::app
