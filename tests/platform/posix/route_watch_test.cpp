// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the kernel's route dump: only a unicast default route of the main table means online.
#include "platform/posix/route_watch.h"

#include <gtest/gtest.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>

#include <cstring>
#include <vector>

namespace korvane::platform {
namespace {

struct Route {
  uint16_t type = RTM_NEWROUTE;
  unsigned char dstLen = 0;
  unsigned char table = RT_TABLE_MAIN;
  unsigned char kind = RTN_UNICAST;
};

std::vector<uint8_t> dump(const std::vector<Route>& routes) {
  std::vector<uint8_t> out;
  for (const Route& r : routes) {
    struct {
      nlmsghdr header;
      rtmsg route;
    } m{};
    m.header.nlmsg_len = sizeof m;
    m.header.nlmsg_type = r.type;
    m.route.rtm_dst_len = r.dstLen;
    m.route.rtm_table = r.table;
    m.route.rtm_type = r.kind;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&m);
    out.insert(out.end(), bytes, bytes + sizeof m);
  }
  return out;
}

TEST(RouteWatchTest, OnlyAUnicastDefaultRouteOfTheMainTableCounts) {
  struct Case {
    const char* name;
    std::vector<Route> routes;
    bool online;
    bool done;
  };
  const Case cases[] = {
      {"a default route", {{}}, true, false},
      {"after a subnet route", {{.dstLen = 24}, {}}, true, false},
      {"a subnet only", {{.dstLen = 24}}, false, false},
      {"the local table's", {{.table = RT_TABLE_LOCAL}}, false, false},
      {"unreachable", {{.kind = RTN_UNREACHABLE}}, false, false},
      {"the end", {{.dstLen = 8}, {.type = NLMSG_DONE}}, false, true},
      {"nothing", {}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool done = false;
    EXPECT_EQ(dumpHasDefaultRoute(dump(c.routes), done), c.online);
    EXPECT_EQ(done, c.done);
  }
}

TEST(RouteWatchTest, AMessageLongerThanWhatArrivedIsNotRead) {
  std::vector<uint8_t> part = dump({{}});
  const uint32_t tooLong = static_cast<uint32_t>(part.size() + 64);
  std::memcpy(part.data(), &tooLong, sizeof tooLong);
  bool done = false;
  EXPECT_FALSE(dumpHasDefaultRoute(part, done));
  part.resize(sizeof(nlmsghdr) - 1);
  EXPECT_FALSE(dumpHasDefaultRoute(part, done));
}

}  // namespace
}  // namespace korvane::platform
