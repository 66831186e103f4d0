// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and prints the milliseconds from its start to the first top-level window
// mapped on the display (the X server's MapNotify, not a poll), then ends it by its PID.
// Usage: map_watch COMMAND [ARGUMENT...]   (DISPLAY names the display; no window manager)
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

extern char** environ;

namespace {

using Ms = std::chrono::duration<double, std::milli>;
constexpr auto kGiveUp = std::chrono::seconds(20);

// Waits for a MapNotify on the root; false when the connection broke or the time ran out.
bool waitForMap(xcb_connection_t* c, std::chrono::steady_clock::time_point deadline) {
  while (std::chrono::steady_clock::now() < deadline) {
    std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(xcb_poll_for_event(c),
                                                                     &std::free);
    if (!event) {
      if (xcb_connection_has_error(c)) return false;
      struct timespec pause = {0, 200000};  // 0.2 ms: finer than what is measured
      nanosleep(&pause, nullptr);
      continue;
    }
    if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s COMMAND [ARGUMENT...]\n", argv[0]);
    return 2;
  }
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "map_watch: cannot open the display\n");
    return 1;
  }
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));

  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
    std::fprintf(stderr, "map_watch: cannot start %s\n", argv[1]);
    return 1;
  }
  const bool mapped = waitForMap(c, start + kGiveUp);
  const double ms = Ms(std::chrono::steady_clock::now() - start).count();
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  xcb_disconnect(c);
  if (!mapped) {
    std::fprintf(stderr, "map_watch: no window of %s mapped\n", argv[1]);
    return 1;
  }
  std::printf("%.1f\n", ms);
  return 0;
}
