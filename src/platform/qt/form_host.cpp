// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/form_host.h"

#include <QAction>
#include <QCloseEvent>
#include <QColor>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <map>

#include "platform/qt/host_window.h"
#include "platform/qt/mouse_events.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_second_beat.h"
#include "platform/qt/qt_system_colours.h"
#include "platform/qt/x11_connection.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/timer.h"

namespace korvane::platform {

namespace {
constexpr const char* kControlProperty = "korvaneControl";

}  // namespace

void HostWindow::closeEvent(QCloseEvent* event) {
  event->ignore();  // the form decides; its Closed event hides the window
  host_.userClose();
}

void HostWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange)
    QMetaObject::invokeMethod(
        this, [this] { host_.userStateChanged(); }, Qt::QueuedConnection);
}

void HostWindow::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (event->key() == Qt::Key_Escape && mods == Qt::NoModifier && host_.userEscape()) return;
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
    host_.userEnter();
    return;
  }
  QWidget::keyPressEvent(event);
}

void HostWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (placeIsStale()) return;  // the check that follows records the real place
  host_.noteBounds();
}

// A reparenting window manager may frame a window at its frame's first corner and move the frame
// afterwards without telling the window: Qt then keeps the corner as the window's place, and a
// drag or a saved place would start from it. The window system's answer holds.
bool HostWindow::placeIsStale() {
  if (!isVisible() || !windowHandle() || !placeQtMissed(*this)) return false;
  if (!placeCheck_.isActive()) placeCheck_.start();
  return true;
}

void HostWindow::checkPlace() {
  const std::optional<QPoint> native = isVisible() ? placeQtMissed(*this) : std::nullopt;
  if (!native) {
    host_.noteBounds();
    return;
  }
  // While a button is down the window manager may be moving the window: its own news follow.
  if (pointerButtonDown().value_or(false)) return placeCheck_.start();
  windowHandle()->setPosition(*native);  // where it is: the manager confirms, Qt takes it
}

void HostWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  host_.noteBounds();
}

void HostWindow::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (host_.frameWidth() > 0) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  paintedSinceShown_ = true;
  host_.userPaint();
}

void HostWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Qt paints nothing of a window its children cover whole, yet a form's first showing is its
  // first Paint: the overlay sizes the taskbar clock there.
  paintedSinceShown_ = false;
  QTimer::singleShot(0, this, [this] {
    if (!paintedSinceShown_ && isVisible()) host_.userPaint();
  });
}

FormHost::FormHost(ui::Form& form, const std::string& programFolder,
                   const ControlBindings& bindings, const SystemColours* colours, SecondBeat* beat)
    : form_(form),
      folder_(QString::fromStdString(programFolder)),
      ownColours_(colours ? nullptr : std::make_unique<QtSystemColours>()),
      colours_(colours ? *colours : *ownColours_),
      beat_(beat) {
  window_ = std::make_unique<HostWindow>(*this);
  build(bindings);
  forwardMouse(window_.get(), {nullptr, nullptr, &form_.MouseMove, nullptr,
                               [] { return static_cast<double>(twipsPerPixel()); }});
  connections_.emplace_back(form_.PropertyChanged.connect([this] { applyForm(); }));
  connections_.emplace_back(form_.Closed.connect([this] { window_->hide(); }));
  connections_.emplace_back(form_.ForegroundRequested.connect([this] {
    window_->raise();
    window_->activateWindow();
  }));
  connections_.emplace_back(form_.PopupRequested.connect(
      [this](ui::Menu& menu, ui::MenuItem* item) { popup(menu, item); }));
  applyForm();
}

FormHost::~FormHost() {
  detach();
}

void FormHost::detach() {
  if (detached_) return;
  detached_ = true;
  leaveBeat();
  connections_.clear();  // before the widgets the handlers reach go
  timers_.clear();
  window_->hide();
  // The widgets' signals reach the controls, which may go before the widgets do.
  window_->blockSignals(true);
  for (QObject* child : window_->findChildren<QObject*>()) child->blockSignals(true);
}

QWidget* FormHost::window() const {
  return window_.get();
}

const ui::Control* FormHost::controlOf(const QWidget* widget) {
  const QVariant v = widget->property(kControlProperty);
  return v.isValid() ? reinterpret_cast<const ui::Control*>(v.value<quintptr>()) : nullptr;
}

QPixmap FormHost::picture(int index, const std::string& file, QSize size) const {
  const ui::ImageList* list = form_.imageList();
  const std::string chosen = index > 0 && list ? list->file(index) : file;
  return loadPicture(folder_, chosen, size);
}

QColor FormHost::colour(Colour value) const {
  const Colour rgb = colours_.resolve(value);
  return QColor(red(rgb), green(rgb), blue(rgb));
}

void FormHost::build(const ControlBindings& bindings) {
  // Containers come before their contents in the form's list.
  std::vector<std::pair<ui::Control*, QWidget*>> made;
  for (const ui::Form::Entry& e : form_.controls()) {
    if (dynamic_cast<ui::Timer*>(e.control)) {
      bindTimer(*e.control);
      continue;
    }
    QWidget* parent = window_.get();
    for (const auto& [control, widget] : made)
      if (control == e.container) parent = widget;
    Binding b = bindings.bind(*e.control, parent, *this);
    made.emplace_back(e.control, b.widget);
    b.widget->setProperty(kControlProperty,
                          QVariant::fromValue(reinterpret_cast<quintptr>(e.control)));
    const size_t slot = bindings_.size();
    bindings_.push_back(b);
    connections_.emplace_back(e.control->PropertyChanged.connect(
        [this, slot](ui::Property changed) { mirror(slot, changed); }));
    mirror(slot, std::nullopt);
    if (!b.reportsMouse)
      forwardMouse(b.widget, {&e.control->MouseDown, &e.control->MouseUp, &e.control->MouseMove,
                              &e.control->DblClick, mouseScale(*e.control)});
  }
}

std::function<double()> FormHost::mouseScale(const ui::Control& control) {
  // A picture box counts in the pixels of its picture, other controls in twips.
  if (const auto* box = dynamic_cast<const ui::PictureBox*>(&control))
    return [box] { return static_cast<double>(twipsPerPixel()) / box->twipsPerPixel(); };
  return [] { return static_cast<double>(twipsPerPixel()); };
}

void FormHost::mirror(size_t slot, std::optional<ui::Property> changed) {
  const Binding& bound = bindings_[slot];
  applyCommon(bound, changed);
  bound.refresh();
}

void FormHost::applyCommon(const Binding& bound, std::optional<ui::Property> changed) {
  using ui::Property;
  const ui::Control& c = *bound.control;
  QWidget* w = bound.widget;
  const auto is = [changed](Property p) { return !changed || *changed == p; };
  if (is(Property::Position) || is(Property::Size)) {
    const ui::TwipsRect& r = c.geometry();
    const int inset = w->parentWidget() == window_.get() ? frameWidth() : 0;
    w->setGeometry(toPixels(r.left) + inset, toPixels(r.top) + inset, toPixels(r.width),
                   toPixels(r.height));
  }
  if (is(Property::Visible)) w->setVisible(c.visible());
  if (is(Property::Enabled)) w->setEnabled(c.enabled());
  if (is(Property::ToolTip)) w->setToolTip(toQString(c.toolTipText()));
  // Only a name the model gives: a widget may name itself from its caption.
  if (changed ? *changed == Property::AccessibleName : !c.accessibleName().empty())
    w->setAccessibleName(toQString(c.accessibleName()));
  if (is(Property::Typeface)) w->setFont(toQFont(c.font()));
  if (is(Property::BackColor) || is(Property::ForeColor)) {
    if (changed && c.backColor() == ui::kDefaultColour) w->setAutoFillBackground(false);
    applyColours(*w, c.backColor(), c.foreColor());
  }
}

// Only the roles of colours the model names are set; the rest follow the container.
void FormHost::applyColours(QWidget& w, Colour back, Colour fore) {
  QPalette pal;
  if (back != ui::kDefaultColour) {
    pal.setColor(QPalette::Window, colour(back));
    w.setAutoFillBackground(true);
  }
  if (fore != ui::kDefaultColour) pal.setColor(QPalette::WindowText, colour(fore));
  w.setPalette(pal);
}

void FormHost::leaveBeat() {
  for (ui::Timer* t : onBeat_) beat_->remove(*t);
  onBeat_.clear();
  for (auto& t : timers_) t->stop();
}

void FormHost::bindTimer(ui::Control& control) {
  auto* model = static_cast<ui::Timer*>(&control);
  if (beat_ && model->onSecond()) {
    beat_->add(*model);
    onBeat_.push_back(model);
    return;
  }
  auto timer = std::make_unique<QTimer>();
  QTimer* t = timer.get();
  QObject::connect(t, &QTimer::timeout, [model] { model->tick(); });
  auto refresh = [model, t] {
    if (model->enabled() && model->interval() > 0) {
      if (!t->isActive() || t->interval() != model->interval()) t->start(model->interval());
    } else {
      t->stop();
    }
  };
  connections_.emplace_back(
      control.PropertyChanged.connect([refresh](ui::Property) { refresh(); }));
  refresh();
  timers_.push_back(std::move(timer));
}

void FormHost::applyForm() {
  if (applying_) return;
  applying_ = true;
  QWidget* w = window_.get();
  w->setWindowTitle(toQString(form_.caption()));
  if (!form_.iconFiles().empty()) {
    QIcon icon;
    for (const std::string& f : form_.iconFiles()) icon.addPixmap(loadPicture(folder_, f, {}));
    w->setWindowIcon(icon);
  }
  // A window system draws no frame without a title bar: the host draws the thin one itself.
  const int frame = 2 * frameWidth();
  w->setFixedSize(toPixels(form_.clientWidth()) + frame, toPixels(form_.clientHeight()) + frame);
  Qt::WindowFlags flags =
      form_.borderStyle() == ui::BorderStyle::FixedDialog ? Qt::Dialog : Qt::Window;
  if (form_.borderStyle() == ui::BorderStyle::None || form_.thinFrameOnly())
    flags |= Qt::FramelessWindowHint;
  flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (form_.minimizeButton()) flags |= Qt::WindowMinimizeButtonHint;
  if (form_.topmost()) flags |= Qt::WindowStaysOnTopHint;
  if (!form_.showInTaskbar()) flags |= Qt::Tool;
  if (adopted_) flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
  if (w->windowFlags() != flags) w->setWindowFlags(flags);
  // Qt shows tooltips only in the active window; a window without a title bar never becomes it.
  w->setAttribute(Qt::WA_AlwaysShowToolTips, (flags & Qt::FramelessWindowHint) != 0);
  w->setWindowOpacity(form_.opacity() / 255.0);
  if (form_.backColor() != formBack_) {
    if (form_.backColor() == ui::kDefaultColour) w->setAutoFillBackground(false);
    formBack_ = form_.backColor();
    applyColours(*w, formBack_, ui::kDefaultColour);
  }

  const ui::TwipsRect b = form_.bounds();
  const int tpp = twipsPerPixel();
  const QPoint at = w->frameGeometry().topLeft() - origin_;
  if (placed_ && (std::abs(at.x() * tpp - b.left) >= tpp || std::abs(at.y() * tpp - b.top) >= tpp))
    w->move(origin_ + QPoint(b.left / tpp, b.top / tpp));

  // A window system has no window of no area: one sized to nothing would show a sliver.
  if (!form_.visible() || form_.clientWidth() < tpp || form_.clientHeight() < tpp) {
    if (w->isVisible()) w->hide();
  } else {
    if (!placed_) place();
    showAboveOwner();
    if (form_.windowState() == ui::WindowState::Minimized) {
      if (!w->isMinimized() || !w->isVisible()) w->showMinimized();
    } else if (!w->isVisible() || w->isMinimized()) {
      w->showNormal();
    }
  }
  applying_ = false;
}

void FormHost::place() {
  placed_ = true;
  QWidget* w = window_.get();
  if (form_.placedByCode()) {
    const int tpp = twipsPerPixel();
    w->move(form_.bounds().left / tpp, form_.bounds().top / tpp);
    return;
  }
  // An owned window opens centred on its owner, any other on the screen's work area.
  QRect area;
  if (const QWidget* owner = ownerWindow(); owner && owner->isVisible())
    area = owner->frameGeometry();
  else if (const QScreen* s = QGuiApplication::primaryScreen())
    area = s->availableGeometry();
  if (area.isValid()) w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
}

QWidget* FormHost::ownerWindow() const {
  if (!form_.owner()) return nullptr;
  return ownerLookup_ ? ownerLookup_(*form_.owner()) : nullptr;
}

void FormHost::showAboveOwner() {
  // Both native windows must exist for the one to stay above the other.
  QWindow* ownerHandle = nullptr;
  if (QWidget* owner = ownerWindow()) {
    owner->winId();
    ownerHandle = owner->windowHandle();
  }
  window_->winId();
  if (window_->windowHandle()->transientParent() != ownerHandle)
    window_->windowHandle()->setTransientParent(ownerHandle);
}

void FormHost::userPaint() {
  if (detached_) return;
  form_.Paint();
}

void FormHost::userClose() {
  if (detached_) return;
  form_.unload(ui::kCloseFromControlMenu);
}

void FormHost::userEnter() {
  if (!detached_) form_.EnterPressed();
}

bool FormHost::userEscape() {
  if (detached_ || !form_.closesOnEscape()) return false;
  userClose();
  return true;
}

void FormHost::userStateChanged() {
  if (detached_ || applying_ || !form_.visible()) return;
  if (window_->isMinimized())
    form_.setWindowState(ui::WindowState::Minimized);
  else if (form_.windowState() == ui::WindowState::Minimized)
    form_.setWindowState(ui::WindowState::Normal);
}

void FormHost::noteBounds() {
  if (detached_) return;
  if (!placed_) return;
  const QRect r = window_->frameGeometry().translated(-origin_);
  const int tpp = twipsPerPixel();
  form_.noteBounds({r.x() * tpp, r.y() * tpp, r.width() * tpp, r.height() * tpp});
}

void FormHost::adoptAt(QPoint origin) {
  adopted_ = true;
  origin_ = origin;
  placed_ = true;  // where the clock is, never centred
  applyForm();
}

void FormHost::popup(ui::Menu& menu, ui::MenuItem* defaultItem) {
  // Not modal: a nested event loop here would outlive a close of the program by a signal.
  auto* qmenu = new QMenu(window_.get());
  qmenu->setAttribute(Qt::WA_DeleteOnClose);
  for (ui::MenuItem* item : menu.items()) {
    if (item->separator()) {
      qmenu->addSeparator();
      continue;
    }
    QAction* a = qmenu->addAction(toQString(item->caption()));
    a->setEnabled(item->enabled());
    a->setVisible(item->visible());
    if (item == defaultItem) qmenu->setDefaultAction(a);
    QObject::connect(a, &QAction::triggered, [item] { item->click(); });
  }
  qmenu->popup(QCursor::pos());
}

}  // namespace korvane::platform
