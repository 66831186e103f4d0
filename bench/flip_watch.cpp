// SPDX-License-Identifier: GPL-3.0-or-later
// Watches one window's pixels around each true second (the machine's clock) and prints how many
// milliseconds after the second they changed: polled with GetImage every millisecond from 30 ms
// before the second. Usage: flip_watch WINDOW-ID SECONDS   (DISPLAY names the display)
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::system_clock;
using Ms = std::chrono::duration<double, std::milli>;

struct Window {
  xcb_connection_t* connection;
  xcb_window_t id;
  uint16_t width = 0;
  uint16_t height = 0;
};

std::optional<std::vector<uint8_t>> pixels(const Window& w) {
  const xcb_get_image_cookie_t cookie =
      xcb_get_image(w.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, w.id, 0, 0, w.width, w.height, ~0u);
  std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
      xcb_get_image_reply(w.connection, cookie, nullptr), &std::free);
  if (!reply) return std::nullopt;
  const uint8_t* data = xcb_get_image_data(reply.get());
  return std::vector<uint8_t>(data, data + xcb_get_image_data_length(reply.get()));
}

// Milliseconds after the second at which the pixels changed; nothing when they did not within
// half a second.
std::optional<double> flipAfter(const Window& w, Clock::time_point second) {
  std::this_thread::sleep_until(second - std::chrono::milliseconds(30));
  const auto before = pixels(w);
  if (!before) return std::nullopt;
  while (Clock::now() < second + std::chrono::milliseconds(500)) {
    const Clock::time_point asked = Clock::now();
    const auto now = pixels(w);
    if (!now) return std::nullopt;
    if (*now != *before) return Ms(asked - second).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: flip_watch WINDOW-ID SECONDS\n");
    return 2;
  }
  Window w{xcb_connect(nullptr, nullptr),
           static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0))};
  const int seconds = std::atoi(argv[2]);
  if (xcb_connection_has_error(w.connection)) {
    std::fprintf(stderr, "flip_watch: no display\n");
    return 1;
  }
  std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
      xcb_get_geometry_reply(w.connection, xcb_get_geometry(w.connection, w.id), nullptr),
      &std::free);
  if (!geometry) {
    std::fprintf(stderr, "flip_watch: no window %s\n", argv[1]);
    return 1;
  }
  w.width = geometry->width;
  w.height = geometry->height;

  std::vector<double> delays;
  int missed = 0;
  auto second =
      std::chrono::ceil<std::chrono::seconds>(Clock::now() + std::chrono::milliseconds(100));
  for (int i = 0; i < seconds; ++i, second += std::chrono::seconds(1)) {
    if (const auto d = flipAfter(w, second))
      delays.push_back(*d);
    else
      ++missed;
  }
  xcb_disconnect(w.connection);
  if (delays.empty()) {
    std::fprintf(stderr, "flip_watch: the window never changed\n");
    return 1;
  }
  std::printf("flips (ms after the second):");
  for (const double d : delays) std::printf(" %.0f", d);
  std::printf("\n");
  std::sort(delays.begin(), delays.end());
  std::printf(
      "seconds flip after the true second: median %.1f ms, worst %.1f ms, earliest %.1f ms, "
      "%zu seen, %d missed (target: within 20 ms)\n",
      delays[delays.size() / 2], delays.back(), delays.front(), delays.size(), missed);
  return missed == 0 ? 0 : 1;
}
