// SPDX-License-Identifier: GPL-3.0-or-later
// The loopback servers' configurations can never steer this machine's clock or serve off the
// loopback.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/peers.h"
#include "temp_folder.h"

namespace korvane::e2e {
namespace {

std::vector<std::vector<std::string>> directives(const std::string& file) {
  std::ifstream in(std::string(KORVANE_PEER_CONFIG_DIR) + "/" + file);
  EXPECT_TRUE(in) << file;
  std::vector<std::vector<std::string>> out;
  for (std::string line; std::getline(in, line);) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::vector<std::string> d;
    for (std::string w; words >> w;) d.push_back(w);
    if (!d.empty()) out.push_back(d);
  }
  return out;
}

TEST(PeerConfigTest, ChronydHasNoSourceAndNoWayToTheClock) {
  const auto conf = directives("chrony.conf.in");
  const std::vector<std::string> forbidden = {
      "server",    "pool",         "peer",          "refclock", "makestep",
      "rtcsync",   "rtcfile",      "rtcdevice",     "rtconutc", "hwtimestamp",
      "maxchange", "mailonchange", "sched_priority"};
  std::vector<std::string> seen;
  for (const auto& d : conf) {
    seen.push_back(d[0]);
    EXPECT_EQ(std::count(forbidden.begin(), forbidden.end(), d[0]), 0) << d[0];
  }
  for (const auto& needed :
       {std::vector<std::string>{"bindaddress", "127.0.0.1"},
        std::vector<std::string>{"allow", "127.0.0.1"}, std::vector<std::string>{"port", "123"},
        std::vector<std::string>{"cmdport", "0"}})
    EXPECT_NE(std::find(conf.begin(), conf.end(), needed), conf.end()) << needed[0];
  const auto command = chronydCommand("x.conf");
  EXPECT_NE(std::find(command.begin(), command.end(), "-x"), command.end());
}

TEST(PeerConfigTest, XinetdServesOnlyItsOwnServicesOnTheLoopback) {
  int services = 0, bound = 0, internal = 0;
  for (const auto& d : directives("xinetd.conf")) {
    if (d[0] == "service") ++services;
    if (d.size() == 3 && d[0] == "bind" && d[2] == "127.0.0.1") ++bound;
    if (d.size() == 3 && d[0] == "type" && d[2] == "INTERNAL") ++internal;
    EXPECT_NE(d[0], "server") << "a service that runs a program";
    EXPECT_NE(d[0], "includedir");
  }
  EXPECT_EQ(services, 2);
  EXPECT_EQ(bound, services);
  EXPECT_EQ(internal, services);
}

TEST(PeerConfigTest, TheLoopbackServerListNamesOnlyLoopbackHosts) {
  std::istringstream list(
      testing::readText(std::string(KORVANE_PEER_CONFIG_DIR) + "/loopback.krv"));
  int servers = 0;
  for (std::string line; std::getline(list, line);) {
    const size_t end = line.find(":::");
    if (end == std::string::npos) continue;
    ++servers;
    EXPECT_EQ(line.rfind("127.", 0), 0u) << line;
  }
  EXPECT_GE(servers, 1);
}

}  // namespace
}  // namespace korvane::e2e
