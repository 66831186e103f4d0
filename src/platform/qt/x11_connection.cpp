// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/x11_connection.h"

#include <QWidget>
#include <cstdlib>

#ifdef KORVANE_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>

#include <QGuiApplication>
#endif

namespace korvane::platform {

#ifdef KORVANE_HAVE_XCB
xcb_connection_t* x11Connection(xcb_window_t* root) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c || !root) return c;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  if (!screen) return nullptr;
  *root = screen->root;
  return c;
}
#endif

std::optional<bool> pointerButtonDown() {
#ifdef KORVANE_HAVE_XCB
  xcb_window_t root = 0;
  xcb_connection_t* c = x11Connection(&root);
  if (!c) return std::nullopt;
  xcb_query_pointer_reply_t* reply =
      xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr);
  if (!reply) return std::nullopt;
  const uint16_t buttons = XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_BUTTON_2 |
                           XCB_KEY_BUT_MASK_BUTTON_3 | XCB_KEY_BUT_MASK_BUTTON_4 |
                           XCB_KEY_BUT_MASK_BUTTON_5;
  const bool down = reply->mask & buttons;
  free(reply);
  return down;
#else
  return std::nullopt;
#endif
}

std::optional<QPoint> nativeClientOrigin(QWidget& window) {
#ifdef KORVANE_HAVE_XCB
  xcb_window_t root = 0;
  xcb_connection_t* c = x11Connection(&root);
  if (!c) return std::nullopt;
  const auto id = static_cast<xcb_window_t>(window.winId());
  xcb_translate_coordinates_reply_t* reply =
      xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, root, 0, 0), nullptr);
  if (!reply) return std::nullopt;
  const QPoint origin(reply->dst_x, reply->dst_y);
  free(reply);
  return origin;
#else
  (void)window;
  return std::nullopt;
#endif
}

std::optional<QPoint> placeQtMissed(QWidget& window) {
  const std::optional<QPoint> native = nativeClientOrigin(window);
  if (native && *native == window.mapToGlobal(QPoint(0, 0))) return std::nullopt;
  return native;
}

}  // namespace korvane::platform
