// SPDX-License-Identifier: GPL-3.0-or-later
// The server list file: which lines become servers.
#include "sync/server_list.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "common/text.h"

namespace korvane::sync {
namespace {

using namespace std::string_literals;

const std::string kHeader = "h1\r\nh2\r\nh3\r\nh4\r\nh5\r\n";

std::vector<std::string> hosts(const std::vector<ServerEntry>& servers) {
  std::vector<std::string> out;
  for (const ServerEntry& s : servers) out.push_back(s.host);
  return out;
}

TEST(ServerListParse, WhichLinesBecomeServers) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> hosts;
  };
  const std::string mb(1 << 20, 'x');
  const Case cases[] = {
      {"header only", kHeader, {}},
      {"an empty line in the header stops",
       "h1\r\n\r\nh3\r\nh4\r\nh5\r\na:::t NA:::2:::0:123:0:0",
       {}},
      {"empty line ends the list", kHeader + "a:::t NA:::2:::p\r\n\r\nb:::t NA:::2:::p\r\n", {"a"}},
      {"fewer than four fields", kHeader + "a:::t NA:::2\r\nb:::t NA:::2:::p\r\n", {"b"}},
      {"blank line is not empty", kHeader + " \r\nb:::t NA:::2:::p", {"b"}},
      {"LF and lone CR end lines",
       kHeader + "a:::t:::2:::p\nb:::t:::2:::p\rc:::t:::2:::p",
       {"a", "b", "c"}},
      {"CR CR LF gives an empty line", kHeader + "a:::t:::2:::p\r\r\nb:::t:::2:::p", {"a"}},
      {"NUL and control bytes skip the line",
       kHeader + "a\0:::t:::2:::p\r\nb:::t\x01:::2:::p\r\nc:::t\t:::2:::p"s,
       {"c"}},
      {"a host that is not ASCII", kHeader + "h\xC3\xA9:::t:::2:::p\r\nok:::t:::2:::p", {"ok"}},
      {"a 1 MB line",
       kHeader + mb + "\r\n" + "a:::" + mb + " NA:::2:::p\r\nb:::t:::2:::p",
       {"a", "b"}},
      {"a blank-padded host is kept as it is", kHeader + "  pad  :::t:::2:::p", {"  pad  "}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hosts(parseServerList(c.bytes)), c.hosts) << c.what;
  }
}

TEST(ServerListParse, FieldsOfALine) {
  struct Case {
    std::string line;
    ServerEntry entry;
  };
  const Case cases[] = {
      {"host:::Some Server, City NA:::x:::37:123:13:519",
       {"host", "Some Server, City NA", 2, "37:123:13:519"}},
      {"h:::t:::5:::a:::b", {"h", "t", 5, "a:::b"}},
      {"h:::t::: 26 :::0:123:0:0", {"h", "t", 26, "0:123:0:0"}},
      {"h:::t:::32.5:::p", {"h", "t", 32, "p"}},  // half to even
      {"h:::t:::0:::p", {"h", "t", 2, "p"}},      // no such picture
      {"h:::t:::35:::p", {"h", "t", 2, "p"}},
      {"h:::t:::1e12:::p", {"h", "t", 2, "p"}},
      {"h:::t:::-3:::p", {"h", "t", 2, "p"}},
      {"h::::::::::::", {"h", "", 2, ":::"}},
      {"h:::Z\xFCrich \x80 EU:::2:::p", {"h", "Z\xC3\xBCrich \xE2\x82\xAC EU", 2, "p"}},
      {"h:::Z\xC3\xBCrich EU:::2:::p", {"h", "Z\xC3\xBCrich EU", 2, "p"}},
  };
  for (const Case& c : cases) {
    const auto servers = parseServerList(kHeader + c.line + "\r\n");
    ASSERT_EQ(servers.size(), 1u) << c.line;
    EXPECT_EQ(servers[0], c.entry) << c.line;
  }
}

TEST(ServerListParse, ServersBeyondTheTablesAreIgnored) {
  std::string bytes = kHeader;
  for (int i = 1; i <= 400; ++i) bytes += "s" + std::to_string(i) + ":::t NA:::2:::p\r\n";
  const auto servers = parseServerList(bytes);
  ASSERT_EQ(servers.size(), static_cast<size_t>(ServerTables::kMaxServers));
  EXPECT_EQ(servers.back().host, "s300");
}

TEST(ShippedServerList, EveryRegionHasWorkingServers) {
  std::ifstream in(std::string(KORVANE_BUILD_DATA_DIR) + "/NXO_KRV5.KRV", std::ios::binary);
  ASSERT_TRUE(in) << "the build copies the list into its program folder";
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(text::instr(text::replaceAll(bytes, "\r\n", ""), "\n"), 0) << "CR LF line ends";

  const auto servers = parseServerList(bytes);
  EXPECT_GE(servers.size(), 21u);
  std::map<std::string, int> perRegion;
  const std::string ports[4] = {"37", "123", "13", "519"};
  for (const ServerEntry& s : servers) {
    EXPECT_FALSE(s.host.empty());
    EXPECT_EQ(text::trim(s.host), s.host);
    EXPECT_TRUE(s.image == 2 || (s.image >= 5 && s.image <= 32)) << s.host;
    const auto fields = text::split(s.ports, ":");
    ASSERT_TRUE(fields.size() == 4u ||
                (fields.size() == 5u && fields[4] == "4460" && fields[1] == "123"))
        << s.host << ": four ports, or SNTP's and NTS's";
    bool any = false;
    for (int i = 0; i < 4; ++i) {
      EXPECT_TRUE(fields[i] == "0" || fields[i] == ports[i]) << s.host << " " << s.ports;
      any = any || fields[i] != "0";
    }
    EXPECT_TRUE(any) << s.host << " offers some protocol";
    ++perRegion[text::right(s.text, 2)];
  }
  for (const char* region : {"NA", "SA", "EU", "AF", "AW", "AE", "AP"}) {
    EXPECT_GE(perRegion[region], 3) << region;
  }
  EXPECT_EQ(perRegion.size(), 7u) << "no text ends in an unknown region";
}

}  // namespace
}  // namespace korvane::sync
