// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The network's return, as the kernel's routing table tells it: a netlink socket that hears of
// every route and address change, and a look at whether a default route exists after each. Costs
// nothing while nothing changes; the caller watches fd() in its own event loop.
#include <cstdint>
#include <span>

namespace korvane::platform {

class RouteWatch {
 public:
  RouteWatch();
  ~RouteWatch();
  RouteWatch(const RouteWatch&) = delete;
  RouteWatch& operator=(const RouteWatch&) = delete;

  // Readable when a change arrived; -1 where netlink is not available.
  int fd() const { return events_; }
  // Takes what arrived; true when the computer went from no default route to one.
  bool changed();
  bool online() const { return online_; }

 private:
  bool hasDefaultRoute() const;

  int events_ = -1;
  bool online_ = false;
};

// Whether a netlink route dump (RTM_NEWROUTE messages, in one or more parts) names a default
// route of the main table; done is set at the dump's end. Malformed parts are skipped.
bool dumpHasDefaultRoute(std::span<const uint8_t> part, bool& done);

}  // namespace korvane::platform
