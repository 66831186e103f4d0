// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's server list box filled from the list's servers.
#include "shell/server_list_box.h"

#include <gtest/gtest.h>

namespace korvane::shell {
namespace {

class ServerListFill : public ::testing::Test {
 protected:
  ui::ImageCombo Servers{"Servers"};
  ui::TextBox vbRemoteHost{"vbRemoteHost"};
  ServerTables tables;
  int32_t CurServer = 0;
  ServerListTargets targets{Servers, vbRemoteHost, tables, CurServer};
};

TEST_F(ServerListFill, TheLastServerIsSelectedByItsTrimmedHost) {
  vbRemoteHost.setText("design.host");
  const std::vector<ServerEntry> list = {{"a", "A NA", 2, "0:123:0:0"},
                                         {"  b  ", "B EU", 29, "37:0:0:0"},
                                         {"c", "C EU", 26, "0:0:13:0"},
                                         {"b", "B again EU", 23, "p"}};
  fillServers(list, "b", targets);
  ASSERT_EQ(Servers.count(), 4);
  EXPECT_EQ(Servers.item(2), (ui::ImageCombo::Item{"B EU", 29}));
  EXPECT_EQ(tables.ServerHost[2], "  b  ");
  EXPECT_EQ(tables.ServerPorts[3], "0:0:13:0");
  EXPECT_EQ(Servers.selectedIndex(), 4) << "the last matching line wins";
  EXPECT_EQ(CurServer, 4);
  EXPECT_EQ(vbRemoteHost.text(), "b");

  Servers.clear();
  CurServer = 0;
  vbRemoteHost.setText("design.host");
  fillServers({{" b ", "B EU", 29, "p"}}, "b", targets);
  EXPECT_EQ(vbRemoteHost.text(), " b ") << "the host is used with its blanks";

  Servers.clear();
  CurServer = 0;
  vbRemoteHost.setText("design.host");
  fillServers(list, "nowhere", targets);
  EXPECT_EQ(Servers.selectedIndex(), 0);
  EXPECT_EQ(CurServer, 0);
  EXPECT_EQ(vbRemoteHost.text(), "design.host");
}

TEST_F(ServerListFill, RegionServersFollowTheLastTwoCharactersExactly) {
  struct Case {
    std::vector<std::string> texts;
    std::string region;
    std::vector<int16_t> servers;
  };
  const Case cases[] = {
      {{"x NA", "y EU", "z EU"}, "EU", {2, 3}},
      {{"x NA", "y eu", "z EU "}, "EU", {}},
      {{"NA", "A", ""}, "NA", {1}},
      {{"x NA", "y NA"}, "AP", {}},
  };
  for (const Case& c : cases) {
    Servers.clear();
    tables.RegionServers.fill(99);
    for (const std::string& t : c.texts) Servers.addItem(t, 2);
    CalcRandR(Servers, c.region, tables);
    ASSERT_EQ(tables.regionCount, static_cast<int>(c.servers.size())) << c.region;
    for (size_t i = 0; i < c.servers.size(); ++i) EXPECT_EQ(tables.RegionServers[i], c.servers[i]);
    EXPECT_EQ(tables.RegionServers[c.servers.size()], 99) << "later entries are left alone";
  }
}

TEST_F(ServerListFill, ChoosingAnEntryMakesItTheCurrentServer) {
  fillServers({{"a", "A NA", 2, "p"}, {" b", "B NA", 2, "p"}}, "", targets);
  Servers.Click.connect([this] { Servers_Click(targets); });
  Servers.choose(2);
  EXPECT_EQ(vbRemoteHost.text(), " b");
  EXPECT_EQ(CurServer, 2);
  Servers.clear();
  Servers_Click(targets);  // nothing selected: nothing happens
  EXPECT_EQ(CurServer, 2);
}

}  // namespace
}  // namespace korvane::shell
