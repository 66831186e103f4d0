// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_button_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QShortcut>
#include <algorithm>
#include <cmath>

#include "app/button_accessible.h"
#include "controls/hand_cursor.h"

namespace korvane::app {

using platform::Picture;
using platform::PicturePtr;
using platform::Raster;
using platform::ShapeMask;

namespace {

int buttonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 4;
    default:
      return 0;
  }
}

int buttonsHeld(Qt::MouseButtons held) {
  return (held & Qt::LeftButton ? 1 : 0) | (held & Qt::RightButton ? 2 : 0) |
         (held & Qt::MiddleButton ? 4 : 0);
}

int shiftOf(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
         (m & Qt::AltModifier ? 4 : 0);
}

// The control's virtual-key number for a Qt key; 0 for keys that have none (media keys).
int keyCodeOf(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  if (modifiers & Qt::KeypadModifier) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 96 + (key - Qt::Key_0);
    switch (key) {
      case Qt::Key_Asterisk:
        return 106;
      case Qt::Key_Plus:
        return 107;
      case Qt::Key_Minus:
        return 109;
      case Qt::Key_Period:
      case Qt::Key_Comma:
        return 110;
      case Qt::Key_Slash:
        return 111;
      default:
        break;
    }
  }
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Clear:
      return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_CapsLock:
      return 20;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Print:
      return 44;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    case Qt::Key_Meta:
      return 91;
    case Qt::Key_Menu:
      return 93;
    case Qt::Key_NumLock:
      return 144;
    case Qt::Key_ScrollLock:
      return 145;
    // The shifted digits of a US keyboard are their digit keys.
    case Qt::Key_ParenRight:
      return '0';
    case Qt::Key_Exclam:
      return '1';
    case Qt::Key_At:
      return '2';
    case Qt::Key_NumberSign:
      return '3';
    case Qt::Key_Dollar:
      return '4';
    case Qt::Key_Percent:
      return '5';
    case Qt::Key_AsciiCircum:
      return '6';
    case Qt::Key_Ampersand:
      return '7';
    case Qt::Key_Asterisk:
      return '8';
    case Qt::Key_ParenLeft:
      return '9';
    // Punctuation keys by the keyboard's own numbers for them.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
      return 186;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less:
      return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
      return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater:
      return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question:
      return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
      return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
      return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
      return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
      return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
      return 222;
    default:
      break;
  }
  // Any other key that types a character (a national letter such as "ä") is the layout's own
  // extra key.
  return text.isEmpty() || !text.at(0).isPrint() ? 0 : 223;
}

// The standard pointers by their MousePointer number (99, the custom one, is handled apart).
Qt::CursorShape shapeOf(int pointer) {
  static const Qt::CursorShape kShapes[] = {
      Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,     Qt::IBeamCursor,
      Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
      Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor,   Qt::WaitCursor,
      Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
  return pointer >= 0 && pointer < 16 ? kShapes[pointer] : Qt::ArrowCursor;
}

// A picture as a pointer image, transparent where the picture does not show.
QCursor cursorOf(const Picture& p) {
  QImage image(p.width(), p.height(), QImage::Format_ARGB32);
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x)
      image.setPixel(x, y, p.shows(x, y) ? 0xFF000000u | p.image.bits()[y * p.width() + x] : 0u);
  return QCursor(QPixmap::fromImage(image), p.hotX, p.hotY);
}

// The window shape as a region: one rectangle per run of set pixels in a row.
QRegion regionOf(const ShapeMask& mask) {
  QRegion region;
  for (int y = 0; y < mask.height(); ++y) {
    int x = 0;
    while (x < mask.width()) {
      while (x < mask.width() && !mask.contains(x, y)) ++x;
      const int start = x;
      while (x < mask.width() && mask.contains(x, y)) ++x;
      if (x > start) region += QRect(start, y, x - start, 1);
    }
  }
  return region;
}

}  // namespace

ButtonWidget::ButtonWidget(controls::NXOButtons& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  ButtonAccessible::install();
  setAttribute(Qt::WA_OpaquePaintEvent);  // the raster covers every pixel
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);  // hover starts with the first move over the button
  setAccessibleName(QString::fromStdString(model.caption()));
  QObject::connect(&overTimer_, &QTimer::timeout, [this] { model_.overTimer().tick(); });
  model_.Repainted.connect(whileAlive([this] { update(); }));
  model_.ShapeChanged.connect(whileAlive([this] { applyShape(); }));
  model_.overTimer().PropertyChanged.connect(
      whileAlive([this](ui::Property) { followOverTimer(); }));
  // Qt keeps the mouse with the pressed widget until release, which is the capture asked for.
  applyShape();
  followOverTimer();
}

void ButtonWidget::refresh() {
  if (size() != QSize(model_.pixelWidth(), model_.pixelHeight()))
    resize(model_.pixelWidth(), model_.pixelHeight());
  setAccessibleName(QString::fromStdString(model_.caption()));
  applyPointer();
  applyAccessKey();
  update();
}

void ButtonWidget::applyShape() {
  const ShapeMask& shape = model_.windowShape();
  if (shape.empty())
    clearMask();
  else
    setMask(regionOf(shape));
}

void ButtonWidget::applyPointer() {
  const int pointer = model_.mousePointer();
  if (pointer == 99) {
    if (model_.handPointer())
      setCursor(Qt::PointingHandCursor);  // the desktop's own hand
    else if (const PicturePtr& icon = model_.mouseIcon(); icon && icon->width() > 0)
      setCursor(cursorOf(*icon));
    else
      unsetCursor();
  } else if (pointer == 0) {
    unsetCursor();
  } else {
    setCursor(shapeOf(pointer));
  }
}

void ButtonWidget::applyAccessKey() {
  const char key = model_.accessKey();
  if (key == shortcutKey_) return;
  shortcutKey_ = key;
  delete shortcut_;
  shortcut_ = nullptr;
  if (key == 0) return;
  // Alt and the letter anywhere in the window; a disabled or hidden button ignores it.
  const int upper = key >= 'a' && key <= 'z' ? key - 'a' + 'A' : static_cast<unsigned char>(key);
  shortcut_ = new QShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(upper))), this);
  shortcut_->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut_, &QShortcut::activated, [this] { pressAccessKey(); });
}

void ButtonWidget::pressAccessKey() {
  setFocus(Qt::ShortcutFocusReason);
  model_.accessKeyPressed();
}

void ButtonWidget::followOverTimer() {
  ui::Timer& t = model_.overTimer();
  if (t.enabled() && t.interval() > 0) {
    if (!overTimer_.isActive() || overTimer_.interval() != t.interval())
      overTimer_.start(t.interval());
  } else {
    overTimer_.stop();
  }
}

ButtonWidget* ButtonWidget::accessKeyOwner(char letter) const {
  for (ButtonWidget* b : window()->findChildren<ButtonWidget*>())
    if (b->model_.accessKey() == letter && b->isEnabled() && b->isVisible()) return b;
  return nullptr;
}

void ButtonWidget::paintEvent(QPaintEvent*) {
  // On a screen of more device pixels per pixel the caption is drawn at that scale.
  const int scale = std::max(1, static_cast<int>(std::ceil(devicePixelRatioF())));
  const Raster scaled = scale > 1 ? model_.surfaceAt(scale) : Raster();
  const Raster& s = scale > 1 ? scaled : model_.surface();
  if (s.empty()) return;
  // The raster's own words are a 32-bit RGB image: shown without a copy.
  QImage image(reinterpret_cast<const uchar*>(s.bits()), s.width(), s.height(), s.width() * 4,
               QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  QPainter(this).drawImage(0, 0, image);
}

void ButtonWidget::mousePressEvent(QMouseEvent* event) {
  // Buttons the control has no number for (Back, Forward) neither press nor click it.
  if (buttonOf(event->button()) == 0) return event->ignore();
  const QPointF p = event->position();
  model_.mouseDown(buttonOf(event->button()), shiftOf(event->modifiers()), p.x(), p.y());
}

void ButtonWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  model_.mouseMove(buttonsHeld(event->buttons()), shiftOf(event->modifiers()), p.x(), p.y());
}

void ButtonWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (buttonOf(event->button()) == 0) return event->ignore();
  const QPointF p = event->position();
  model_.mouseUp(buttonOf(event->button()), shiftOf(event->modifiers()), p.x(), p.y());
}

void ButtonWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (buttonOf(event->button()) == 0) return event->ignore();
  model_.mouseDoubleClick();
}

void ButtonWidget::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const int code = keyCodeOf(event->key(), event->modifiers(), text);
  if (code == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int shift = shiftOf(event->modifiers());
  model_.keyDown(code, shift);      // an auto-repeat comes again; the control presses only once
  if (code == 27) event->ignore();  // Escape goes on to the window: a dialog closes
  // Every character, national ones included, as its UTF-16 code.
  if (!text.isEmpty() && text.at(0).unicode() > 0) model_.keyPress(text.at(0).unicode());
  // A button takes no text, so a bare letter is another button's access key.
  if (code >= 'A' && code <= 'Z' && (shift & 6) == 0)
    if (ButtonWidget* owner = accessKeyOwner(static_cast<char>(code - 'A' + 'a')))
      owner->pressAccessKey();
}

void ButtonWidget::keyReleaseEvent(QKeyEvent* event) {
  // The desktop repeats a held key as press-release pairs; only the last release counts.
  if (event->isAutoRepeat()) return;
  const int code = keyCodeOf(event->key(), event->modifiers(), event->text());
  if (code == 0) {
    QWidget::keyReleaseEvent(event);
    return;
  }
  model_.keyUp(code, shiftOf(event->modifiers()));
}

void ButtonWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  model_.gotFocus();
}

void ButtonWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  model_.lostFocus();
}

void ButtonWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  // Only a hover the pointer started (its timer runs) ends here; one a held Space set
  // ends with the key.
  if (model_.overTimer().enabled()) model_.pointerLeft();
}

}  // namespace korvane::app
