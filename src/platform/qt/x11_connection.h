#pragma once
// The application's X connection, for the few questions Qt does not answer itself.
#ifdef KORVANE_HAVE_XCB
#include <xcb/xcb.h>

namespace korvane::platform {

// The X connection and its root window (when root is given), or null where the application has
// none: another platform, or one such as offscreen that answers without a connection.
xcb_connection_t* x11Connection(xcb_window_t* root = nullptr);

}  // namespace korvane::platform
#endif
