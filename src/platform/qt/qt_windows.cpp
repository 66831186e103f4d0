#include "platform/qt/qt_windows.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/qt_pictures.h"
#include "platform/ui/form.h"

#ifdef KORVANE_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace korvane::platform {

namespace {

ui::TwipsRect twipsOf(const QRect& r, int tpp) {
  return {r.x() * tpp, r.y() * tpp, r.width() * tpp, r.height() * tpp};
}

}  // namespace

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
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
    // Other platforms (offscreen, for one) may answer with no X connection at all.
    xcb_connection_t* c = x11->connection();
    if (!c) return false;
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

}  // namespace korvane::platform
