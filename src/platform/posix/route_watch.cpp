// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/route_watch.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace korvane::platform {

namespace {

int openNetlink(uint32_t groups, int flags) {
  const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | flags, NETLINK_ROUTE);
  if (fd < 0) return -1;
  sockaddr_nl local{};
  local.nl_family = AF_NETLINK;
  local.nl_groups = groups;
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Waits at most this long for the kernel's answer to a dump: it answers at once.
constexpr int kDumpWaitMs = 200;

}  // namespace

bool dumpHasDefaultRoute(std::span<const uint8_t> part, bool& done) {
  bool found = false;
  size_t at = 0;
  while (part.size() - at >= sizeof(nlmsghdr)) {
    nlmsghdr header;
    std::memcpy(&header, part.data() + at, sizeof header);
    if (header.nlmsg_len < sizeof header || header.nlmsg_len > part.size() - at) break;
    if (header.nlmsg_type == NLMSG_DONE || header.nlmsg_type == NLMSG_ERROR) done = true;
    if (header.nlmsg_type == RTM_NEWROUTE && header.nlmsg_len >= NLMSG_LENGTH(sizeof(rtmsg))) {
      rtmsg route;
      std::memcpy(&route, part.data() + at + NLMSG_HDRLEN, sizeof route);
      if (route.rtm_dst_len == 0 && route.rtm_table == RT_TABLE_MAIN &&
          route.rtm_type == RTN_UNICAST)
        found = true;
    }
    at += NLMSG_ALIGN(header.nlmsg_len);
    if (at > part.size()) break;
  }
  return found;
}

RouteWatch::RouteWatch() {
  events_ = openNetlink(
      RTMGRP_LINK | RTMGRP_IPV4_ROUTE | RTMGRP_IPV6_ROUTE | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR,
      SOCK_NONBLOCK);
  if (events_ >= 0) online_ = hasDefaultRoute();
}

RouteWatch::~RouteWatch() {
  if (events_ >= 0) ::close(events_);
}

bool RouteWatch::changed() {
  uint8_t buffer[8192];
  while (::recv(events_, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
  }
  const bool online = hasDefaultRoute();
  const bool returned = online && !online_;
  online_ = online;
  return returned;
}

// A dump on a socket of its own, so that its parts never mix with the change messages.
bool RouteWatch::hasDefaultRoute() const {
  const int fd = openNetlink(0, 0);
  if (fd < 0) return false;
  struct {
    nlmsghdr header;
    rtmsg route;
  } request{};
  request.header.nlmsg_len = sizeof request;
  request.header.nlmsg_type = RTM_GETROUTE;
  request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  request.route.rtm_family = AF_UNSPEC;
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  bool found = false;
  if (::sendto(fd, &request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&kernel),
               sizeof kernel) == static_cast<ssize_t>(sizeof request)) {
    const timeval wait{0, kDumpWaitMs * 1000};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    std::vector<uint8_t> buffer(32768);
    bool done = false;
    while (!done) {
      const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
      if (n <= 0) break;
      found |= dumpHasDefaultRoute({buffer.data(), static_cast<size_t>(n)}, done);
    }
  }
  ::close(fd);
  return found;
}

}  // namespace korvane::platform
