// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_windows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/qt/qt_form_hosts.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/system_move.h"
#include "platform/qt/x11_connection.h"
#include "platform/ui/form.h"

namespace korvane::platform {

namespace {

ui::TwipsRect twipsOf(const QRect& r, int tpp) {
  return {r.x() * tpp, r.y() * tpp, r.width() * tpp, r.height() * tpp};
}

}  // namespace

QtWindows::QtWindows(QtFormHosts* hosts) : hosts_(hosts) {
  // A window's longs and opacity go with it: a later form may take the same address.
  if (hosts_) hosts_->setReleaseListener([this](const ui::Form& form) { forget(form); });
}

QtWindows::~QtWindows() {
  if (hosts_) hosts_->setReleaseListener({});
}

void QtWindows::forget(const ui::Form& form) {
  std::erase_if(longs_, [&form](const auto& entry) { return entry.first.first == &form; });
  alpha_.erase(&form);
}

int QtWindows::twipsPerPixelX() const {
  return twipsPerPixel();
}

int QtWindows::twipsPerPixelY() const {
  return twipsPerPixel();
}

int QtWindows::screenWidthTwips() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().width() * twipsPerPixel() : 0;
}

int QtWindows::screenHeightTwips() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().height() * twipsPerPixel() : 0;
}

std::vector<ui::TwipsRect> QtWindows::screensTwips() const {
  const int tpp = twipsPerPixel();
  std::vector<ui::TwipsRect> rects;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary) rects.push_back(twipsOf(primary->geometry(), tpp));
  for (const QScreen* s : QGuiApplication::screens())
    if (s != primary) rects.push_back(twipsOf(s->geometry(), tpp));
  return rects;
}

int32_t QtWindows::getWindowLong(ui::Form& window, int index) const {
  const auto it = longs_.find({&window, index});
  return it == longs_.end() ? 0 : it->second;
}

void QtWindows::setWindowLong(ui::Form& window, int index, int32_t value) {
  longs_[{&window, index}] = value;
  applyOpacity(window);
}

void QtWindows::setLayeredWindowAttributes(ui::Form& window, uint32_t, uint8_t alpha,
                                           uint32_t flags) {
  if (flags & kLwaAlpha) alpha_[&window] = alpha;
  applyOpacity(window);
}

void QtWindows::applyOpacity(ui::Form& window) {
  const bool layered = getWindowLong(window, kGwlExStyle) & kWsExLayered;
  const auto it = alpha_.find(&window);
  window.setOpacity(layered && it != alpha_.end() ? it->second : 255);
}

bool QtWindows::compositing() const {
  if (QGuiApplication::platformName() == QLatin1String("wayland")) return true;
#ifdef KORVANE_HAVE_XCB
  if (xcb_connection_t* c = x11Connection()) {
    const char name[] = "_NET_WM_CM_S0";
    auto cookie = xcb_intern_atom(c, 1, sizeof name - 1, name);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, cookie, nullptr);
    if (!atom) return false;
    auto ownerCookie = xcb_get_selection_owner(c, atom->atom);
    free(atom);
    xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(c, ownerCookie, nullptr);
    const bool composited = owner && owner->owner != XCB_NONE;
    free(owner);
    return composited;
  }
#endif
  return false;
}

std::optional<TaskbarClock> QtWindows::findTaskbarClock() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return std::nullopt;
  const QRect a = s->availableGeometry();
  const int right = a.x() + a.width();
  const int bottom = a.y() + a.height();
  const int width = std::min(clockWidth_, a.width());
  const int height = std::min(clockHeight_, a.height());
  TaskbarClock c;
  c.clock = {right - width, bottom - height, right, bottom};
  c.notificationArea = {a.x(), bottom - height, right, bottom};
  c.standIn = true;
  return c;
}

void QtWindows::adoptOverlay(ui::Form& overlay) {
  const auto clock = findTaskbarClock();
  if (hosts_ && clock) hosts_->adopt(overlay, {clock->clock.left, clock->clock.top});
}

void QtWindows::moveTaskbarClock(const Rect& r) {
  clockWidth_ = std::max(0, r.width());
  clockHeight_ = std::max(0, r.height());
  const auto clock = findTaskbarClock();
  if (hosts_ && clock) hosts_->moveAdopted({clock->clock.left, clock->clock.top});
}

void QtWindows::beginSystemMove(ui::Form& form, int button, std::function<void()> ended) {
  if (auto older = std::move(move_)) older->end();  // one drag at a time
  QWidget* w = windowOf(form);
  if (!w || !w->isVisible() || QGuiApplication::mouseButtons() == Qt::NoButton) {
    if (ended) ended();
    return;
  }
  QWindow* handle = w->windowHandle();
  // The window manager moves the window from where Qt believes the pointer is on the screen.
  if (const auto native = placeQtMissed(*w); handle && native) handle->setPosition(*native);
  if (button == ui::kLeftButton && handle && handle->startSystemMove()) {
    if (!pointerButtonDown().has_value()) {  // the end of the window manager's move cannot be seen
      if (ended) ended();
      return;
    }
    move_ =
        std::make_unique<SystemMove>(*w, SystemMove::Mode::WindowManagerMoves, std::move(ended));
  } else {
    // No window manager to move it (a bare X server, offscreen), or a button it does not move
    // with: follow the pointer ourselves.
    move_ = std::make_unique<SystemMove>(*w, SystemMove::Mode::FollowPointer, std::move(ended));
  }
}

ui::TwipsRect QtWindows::availableAreaTwips() const {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? twipsOf(s->availableGeometry(), twipsPerPixel()) : Windows::availableAreaTwips();
}

QWidget* QtWindows::windowOf(const ui::Form& form) const {
  const FormHost* host = hosts_ ? hosts_->hostOf(form) : nullptr;
  return host ? host->window() : nullptr;
}

}  // namespace korvane::platform
