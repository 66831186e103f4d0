// SPDX-License-Identifier: GPL-3.0-or-later
// korvane-query's command line: short and long options, seconds, host:port, and the refusals.
#include "app/query/query_options.h"

#include <gtest/gtest.h>

namespace korvane::query {
namespace {

TEST(QueryOptions, ShortAndLongFormsHostsAndPorts) {
  const struct {
    std::vector<std::string> args;
    sync::Protocol protocol;
    int count, timeoutMs, gapMs;
    std::string hostName;
    int port;
  } cases[] = {
      {{"pool.example"}, sync::Protocol::Sntp, 1, 5000, 2000, "pool.example", 0},
      {{"-p", "time", "-c", "3", "-t", "1.5", "127.0.0.1"},
       sync::Protocol::Time,
       3,
       1500,
       0,
       "127.0.0.1",
       0},
      {{"--protocol=daytime", "--count=2", "--timeout", "10", "--gap=0.25", "h:1313"},
       sync::Protocol::DayTime,
       2,
       10000,
       250,
       "h",
       1313},
      {{"-c5", "-g", "0", "time.example"}, sync::Protocol::Sntp, 5, 5000, 0, "time.example", 0},
      {{"2001:db8::123"}, sync::Protocol::Sntp, 1, 5000, 2000, "2001:db8::123", 0},
      {{"[::1]:1123"}, sync::Protocol::Sntp, 1, 5000, 0, "::1", 1123},
      {{"--", "localhost"}, sync::Protocol::Sntp, 1, 5000, 0, "localhost", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    std::string error;
    const auto o = parseQueryOptions(c.args, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->protocol, c.protocol);
    EXPECT_EQ(o->count, c.count);
    EXPECT_EQ(o->timeoutMs, c.timeoutMs);
    EXPECT_EQ(o->gapMs, c.gapMs);
    EXPECT_EQ(o->hostName, c.hostName);
    EXPECT_EQ(o->port, c.port);
    EXPECT_EQ(o->host, c.args.back());
  }
  std::string error;
  EXPECT_EQ(parseQueryOptions({"-V"}, error)->action, QueryOptions::Action::Version);
  EXPECT_EQ(parseQueryOptions({"x", "-h"}, error)->action, QueryOptions::Action::Help);
  const auto nts = parseQueryOptions({"-p", "nts", "--ca=/c.pem", "ke.example:4461"}, error);
  ASSERT_TRUE(nts) << error;
  EXPECT_TRUE(nts->nts);
  EXPECT_EQ(nts->caFile, "/c.pem");
  EXPECT_EQ(nts->port, 4461);
  EXPECT_FALSE(parseQueryOptions({"h"}, error)->nts);
}

TEST(QueryOptions, BadArgumentsSayWhatIsWrong) {
  const struct {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{}, "no host given"},
      {{"-x", "h"}, "unknown option -x"},
      {{"-hx", "h"}, "unknown option -hx"},
      {{"--help=1"}, "unknown option --help"},
      {{"-t"}, "-t needs a value"},
      {{"-c", "0", "h"}, "--count wants a whole number from 1 to 100000"},
      {{"-t", "0", "h"}, "--timeout wants seconds, above 0 and up to 600"},
      {{"-t", "nan", "h"}, "--timeout wants seconds, above 0 and up to 600"},
      {{"-g", "-1", "h"}, "--gap wants seconds from 0 to 3600"},
      {{"-g", "1e3", "h"}, "--gap wants seconds from 0 to 3600"},
      {{"h:0"}, "\"h:0\" is not a host, host:port or [address]:port"},
      {{"--ca", "c.pem", "h"}, "--ca is for --protocol nts"},
      {{"-p", "nts", "--ca=", "h"}, "--ca wants a file of PEM certificates"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(parseQueryOptions(c.args, error)) << ::testing::PrintToString(c.args);
    EXPECT_EQ(error, c.error) << ::testing::PrintToString(c.args);
  }
}

}  // namespace
}  // namespace korvane::query
