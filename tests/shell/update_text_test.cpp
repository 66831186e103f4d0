// SPDX-License-Identifier: GPL-3.0-or-later
// The update service's readers of outside text: HTTP responses, version numbers, host names.
#include <gtest/gtest.h>

#include "shell/host_port.h"
#include "shell/http_response.h"
#include "shell/version_text.h"

namespace korvane::shell {
namespace {

using Progress = HttpResponse::Progress;

struct ResponseCase {
  const char* name;
  std::vector<std::string> pieces;
  Progress progress;
  std::string bodyOrFault;  // the body when complete, the fault when failed, or the location
};

const std::string kOk = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n";

TEST(HttpResponseTest, CollectsExactlyTheAnnouncedBodyOrFails) {
  const ResponseCase cases[] = {
      {"one piece", {kOk + "hello"}, Progress::Complete, "hello"},
      {"blank line split across pieces",
       {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r", "\nhel", "lo"},
       Progress::Complete,
       "hello"},
      {"header split before its length",
       {"HTTP/1.0 200 OK\r\nConte", "nt-Length: 5\r\n\r\nhello"},
       Progress::Complete,
       "hello"},
      {"length name in any case",
       {"HTTP/1.1 200 OK\r\ncontent-LENGTH:5\r\n\r\nhello"},
       Progress::Complete,
       "hello"},
      {"body still coming", {kOk + "hel"}, Progress::NeedMore, "hel"},
      {"a body that looks like a header", {kOk, "\r\n\r\nX"}, Progress::Complete, "\r\n\r\nX"},
      {"more than announced", {kOk + "hello!"}, Progress::Failed, "more bytes than announced"},
      {"more in a later piece",
       {kOk + "hello", "!"},
       Progress::Failed,
       "more bytes than announced"},
      {"no length",
       {"HTTP/1.1 200 OK\r\nServer: x\r\n\r\nhello"},
       Progress::Failed,
       "no Content-Length"},
      {"length of 8 digits",
       {"HTTP/1.1 200 OK\r\nContent-Length: 10000000\r\n\r\n"},
       Progress::Failed,
       "Content-Length above 7 digits"},
      {"length not a number",
       {"HTTP/1.1 200 OK\r\nContent-Length: 5x\r\n\r\n"},
       Progress::Failed,
       "malformed Content-Length"},
      {"negative length",
       {"HTTP/1.1 200 OK\r\nContent-Length: -5\r\n\r\n"},
       Progress::Failed,
       "malformed Content-Length"},
      {"two different lengths",
       {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\n"},
       Progress::Failed,
       "conflicting Content-Length"},
      {"not found",
       {"HTTP/1.1 404 Not Found\r\nContent-Length: 5\r\n\r\nhello"},
       Progress::Failed,
       "server answered HTTP/1.1 404 Not Found"},
      {"status 2000",
       {"HTTP/1.1 2000 OK\r\nContent-Length: 5\r\n\r\nhello"},
       Progress::Failed,
       "server answered HTTP/1.1 2000 OK"},
      {"not HTTP", {"SSH-2.0-x\r\n\r\n"}, Progress::Failed, "server answered SSH-2.0-x"},
      {"moved, body ignored",
       {"HTTP/1.1 301 Moved\r\nlocation: /new/place\r\nContent-Length: 3\r\n\r\nab", "c"},
       Progress::Redirect,
       "/new/place"},
      {"redirect without Location",
       {"HTTP/1.1 307 Temporary Redirect\r\n\r\n"},
       Progress::Failed,
       "redirect without one Location"},
      {"see other is no redirect here",
       {"HTTP/1.1 303 See Other\r\nLocation: /x\r\n\r\n"},
       Progress::Failed,
       "server answered HTTP/1.1 303 See Other"},
      {"header without end",
       {std::string(kMaxResponseHeader + 1, 'x')},
       Progress::Failed,
       "response header too long"},
  };
  for (const ResponseCase& c : cases) {
    SCOPED_TRACE(c.name);
    HttpResponse r;
    for (const std::string& piece : c.pieces) r.add(piece);
    EXPECT_EQ(r.progress(), c.progress);
    EXPECT_EQ(c.progress == Progress::Failed     ? r.fault()
              : c.progress == Progress::Redirect ? r.location()
                                                 : r.body(),
              c.bodyOrFault);
    if (c.progress == Progress::Failed) {
      EXPECT_EQ(r.body(), "");
    }
  }
}

TEST(HttpResponseTest, AConnectionEndingEarlyIsAFaultAndOnlyThen) {
  HttpResponse cut;
  cut.add(kOk + "hel");
  EXPECT_EQ(cut.end(), Progress::Failed);
  EXPECT_EQ(cut.body(), "");
  HttpResponse whole;
  whole.add(kOk + "hello");
  EXPECT_EQ(whole.end(), Progress::Complete);
  EXPECT_EQ(whole.expectedLength(), 5u);
}

TEST(HttpResponseTest, ARedirectIsFollowedOnlyToAPathOfTheSameServer) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"/moved/list", "/moved/list"},
      {"http://Updates.TEST:8080/moved", "/moved"},
      {"HTTP://updates.test:8080", "/"},
      {"/a#part", "/a"},
      {"http://updates.test/moved", std::nullopt},  // port 80
      {"http://other.test:8080/moved", std::nullopt},
      {"https://updates.test:8080/moved", std::nullopt},
      {"//other.test/moved", std::nullopt},
      {"moved", std::nullopt},
      {"/a b", std::nullopt},
      {"/a\r\nHost: other", std::nullopt},
      {"/" + std::string(1024, 'a'), std::nullopt},
  };
  for (const auto& [location, path] : cases)
    EXPECT_EQ(sameServerPath(location, "updates.test", 8080), path) << location;
}

TEST(VersionTextTest, OnlyDigitsAndDotsUpToThirtyTwoCharacters) {
  for (const char* good : {"5", "5.1.12", "0.0.1", "12345678901234567890123456789012"})
    EXPECT_TRUE(isVersionText(good)) << good;
  for (const char* bad : {"", "5..1", ".5", "5.", "v5.1", "5.1 beta", "5.1.12\r\n", "5,1", "-1",
                          "123456789012345678901234567890123"})
    EXPECT_FALSE(isVersionText(bad)) << bad;
}

TEST(VersionTextTest, ComparesPartByPartAsNumbers) {
  struct Case {
    const char* candidate;
    const char* running;
    bool later;
  };
  const Case cases[] = {
      {"5.1.12", "5.1.9", true},   {"5.1.9", "5.1.12", false}, {"5.1.12", "5.1.12", false},
      {"5.2", "5.1.99", true},     {"5.1", "5.1.0", false},    {"5.1.0.1", "5.1", true},
      {"05.01.10", "5.1.9", true}, {"6", "5.99.99", true},     {"99999999999999999999", "5", true},
      {"5.1.x", "5.1.0", false},   {"5.1.1", "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(isLaterVersion(c.candidate, c.running), c.later)
        << c.candidate << " against " << c.running;
}

TEST(HostPortTest, ReadsHostAndOptionalPort) {
  struct Case {
    const char* text;
    const char* host;  // nullptr: refused
    int port;
  };
  const Case cases[] = {
      {"updates.example.org", "updates.example.org", 80},
      {"127.0.0.1:8080", "127.0.0.1", 8080},
      {"[::1]:26144", "::1", 26144},
      {"[::1]", "::1", 80},
      {"2001:db8::1", "2001:db8::1", 80},
      {"::1:x", nullptr, 0},
      {"", nullptr, 0},
      {"host:", nullptr, 0},
      {"host:0", nullptr, 0},
      {"host:65536", nullptr, 0},
      {"host:80x", nullptr, 0},
      {"ho st", nullptr, 0},
      {"host/path", nullptr, 0},
      {"a;rm -rf", nullptr, 0},
      {"[::1", nullptr, 0},
      {"[::1]x", nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto parsed = parseHostPort(c.text, 80);
    ASSERT_EQ(parsed.has_value(), c.host != nullptr);
    if (!parsed) continue;
    EXPECT_EQ(parsed->host, c.host);
    EXPECT_EQ(parsed->port, c.port);
  }
  EXPECT_FALSE(parseHostPort(std::string(254, 'a'), 80));
}

}  // namespace
}  // namespace korvane::shell
