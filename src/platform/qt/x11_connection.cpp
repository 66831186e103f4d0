#include "platform/qt/x11_connection.h"

#ifdef KORVANE_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>

#include <QGuiApplication>

namespace korvane::platform {

xcb_connection_t* x11Connection(xcb_window_t* root) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c || !root) return c;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  if (!screen) return nullptr;
  *root = screen->root;
  return c;
}

}  // namespace korvane::platform
#endif
