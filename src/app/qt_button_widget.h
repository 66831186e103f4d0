// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own button hosted as a QWidget: shows the control's raster inside its window
// shape and feeds the user's mouse, keys, focus and hover back to it.
#include <QTimer>
#include <QWidget>
#include <memory>

#include "controls/nxo_buttons.h"

class QShortcut;

namespace korvane::app {

class ButtonWidget : public QWidget {
  Q_OBJECT  // so that findChildren and qobject_cast tell it from other widgets

 public:
  ButtonWidget(controls::NXOButtons& model, QWidget* parent);

  controls::NXOButtons& model() const { return model_; }
  // Copies what the model shows to the widget: size, shape, pointer and access key.
  void refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void applyShape();
  void applyPointer();
  void applyAccessKey();
  void followOverTimer();
  // Another button of this window whose access key is the letter, or null.
  ButtonWidget* accessKeyOwner(char letter) const;
  void pressAccessKey();

  // Wraps a handler given to the model so that it does nothing once this widget is gone.
  template <class F>
  auto whileAlive(F f) {
    return [alive = std::weak_ptr<int>(alive_), f](auto&&... args) {
      if (alive.lock()) f(std::forward<decltype(args)>(args)...);
    };
  }

  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
  controls::NXOButtons& model_;
  QTimer overTimer_;
  QShortcut* shortcut_ = nullptr;
  char shortcutKey_ = 0;
};

}  // namespace korvane::app
