// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's X connection, for the few questions Qt does not answer itself.
#include <QPoint>
#include <optional>

#ifdef KORVANE_HAVE_XCB
#include <xcb/xcb.h>
#endif

class QWidget;

namespace korvane::platform {

#ifdef KORVANE_HAVE_XCB
// The X connection and its root window (when root is given), or null where the application has
// none: another platform, or one such as offscreen that answers without a connection.
xcb_connection_t* x11Connection(xcb_window_t* root = nullptr);
#endif

// Whether a mouse button is down right now, asked of the window system; none when it cannot
// tell (no X11 connection).
std::optional<bool> pointerButtonDown();
// Where the window system has window's client area now, in screen pixels; none when it cannot
// tell.
std::optional<QPoint> nativeClientOrigin(QWidget& window);
// Where the window system has window's client area when Qt believes it elsewhere; none when
// they agree or the window system cannot tell.
std::optional<QPoint> placeQtMissed(QWidget& window);

}  // namespace korvane::platform
