// SPDX-License-Identifier: GPL-3.0-or-later
// korvane-query, run as a child process, against real time servers on the loopback.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "e2e/child_process.h"
#include "e2e/e2e_support.h"

namespace korvane::e2e {
namespace {

constexpr int kQueryTimeoutMs = 40000;

struct Line {
  double offset = 0;
  double delay = 0;
};

// The lines "127.0.0.1 PROTOCOL offset +S.SSS s delay D.DDD s", for SNTP with the stratum and
// reference id of the loopback chronyd after them, exactly; fails on anything else.
std::vector<Line> parseLines(const std::string& out, const std::string& protocol) {
  const std::regex line("127\\.0\\.0\\.1 " + protocol +
                        " offset ([+-][0-9]+\\.[0-9]{3}) s delay ([0-9]+\\.[0-9]{3}) s" +
                        (protocol == "sntp" ? " stratum [0-9]+ ref [^ ]+" : ""));
  std::vector<Line> lines;
  size_t start = 0;
  for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
    std::smatch m;
    const std::string text = out.substr(start, end - start);
    EXPECT_TRUE(std::regex_match(text, m, line)) << "unexpected line: " << text;
    if (!m.empty()) lines.push_back({std::stod(m[1]), std::stod(m[2])});
  }
  EXPECT_EQ(start, out.size()) << "output does not end with a line end: " << out;
  return lines;
}

class QueryE2eTest : public PeersTest {
 protected:
  ChildResult query(const std::vector<std::string>& args) {
    std::vector<std::string> argv{KORVANE_QUERY_BIN};
    argv.insert(argv.end(), args.begin(), args.end());
    return runChild(argv, {clockFile.env()}, kQueryTimeoutMs);
  }
};

TEST_F(QueryE2eTest, ReportsTheSimulatedClocksOffsetOverEveryProtocol) {
  KORVANE_START_PEERS(kAllPeers);
  struct Case {
    long long clockOffsetMs;
    const char* protocol;
    double low, high;  // the offset the tool may report, in seconds
  };
  const Case cases[] = {
      {2345, "sntp", -2.350, -2.340}, {2345, "time", -3, -2},        {2345, "daytime", -3, -2},
      {2345, "unixtime", -3, -2},     {-3210, "sntp", 3.205, 3.215}, {-3210, "time", 3, 4},
      {-3210, "daytime", 3, 4},       {-3210, "unixtime", 3, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.protocol) + " with the clock at " + std::to_string(c.clockOffsetMs));
    clockFile.write(c.clockOffsetMs);
    const ChildResult r = query({"--protocol", c.protocol, "--count", "2", "127.0.0.1"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<Line> lines = parseLines(r.out, c.protocol);
    ASSERT_EQ(lines.size(), 2u) << r.out;
    for (const Line& l : lines) {
      EXPECT_GE(l.offset, c.low);
      EXPECT_LE(l.offset, c.high);
      if (std::string(c.protocol) != "sntp") {
        EXPECT_EQ(l.offset, static_cast<long>(l.offset)) << "not whole seconds";
      }
      EXPECT_LT(l.delay, 0.5);
    }
    EXPECT_EQ(clockFile.read(), c.clockOffsetMs) << "the query set the clock";
  }
}

TEST_F(QueryE2eTest, SntpIsTheDefaultProtocol) {
  KORVANE_START_PEERS(kNtpPeer);
  clockFile.write(-1500);
  const ChildResult r = query({"127.0.0.1"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::vector<Line> lines = parseLines(r.out, "sntp");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NEAR(lines[0].offset, 1.5, 0.005);
}

TEST_F(QueryE2eTest, AClosedPortIsTheSocketsErrorOnStandardError) {
  KORVANE_START_PEERS(
      kTimeDayTimePeer);  // holds the peers' lock, so no UnixTime server runs meanwhile
  const ChildResult r = query({"--protocol", "unixtime", "127.0.0.1"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "korvane-query: 127.0.0.1: Connection refused\n");
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Debian's own SNTP client and ours, asked in turn of the same chronyd, see the same offset.
// Each is compared by the median of five runs: on a busy machine a single run of either can be
// held up between its clock reading and its send, and both tools report such a run as it is.
TEST_F(QueryE2eTest, AgreesWithDebiansSntpClientWithinAMillisecond) {
  const char* sntp = "/usr/bin/sntp";
  if (access(sntp, X_OK) != 0) GTEST_SKIP() << "sntp is not installed (Debian package sntp)";
  KORVANE_START_PEERS(kNtpPeer);
  const std::regex theirs("\\) ([+-][0-9]+\\.[0-9]+) \\+/- ([0-9.]+) 127\\.0\\.0\\.1 ");
  // With the simulated clock 2345 ms ahead, ours must read 2.345 s less than the machine's.
  for (long long simulated : {0LL, 2345LL}) {
    SCOPED_TRACE(simulated);
    clockFile.write(simulated);
    std::vector<double> ourOffsets, theirOffsets;
    std::string shown;
    for (int round = 0; round < 5; ++round) {
      const ChildResult ours = query({"--protocol", "sntp", "127.0.0.1"});
      const ChildResult debian = runChild({sntp, "127.0.0.1"}, {}, kQueryTimeoutMs);
      ASSERT_EQ(ours.exitCode, 0) << ours.err;
      ASSERT_EQ(debian.exitCode, 0) << debian.err;
      const std::vector<Line> lines = parseLines(ours.out, "sntp");
      std::smatch m;
      ASSERT_TRUE(std::regex_search(debian.out, m, theirs)) << debian.out;
      ASSERT_EQ(lines.size(), 1u);
      ourOffsets.push_back(lines[0].offset + static_cast<double>(simulated) / 1000.0);
      theirOffsets.push_back(std::stod(m[1]));
      shown += ours.out + debian.out;
    }
    EXPECT_NEAR(median(ourOffsets), median(theirOffsets), 0.001 + kMedianSlackMs / 1000.0) << shown;
  }
}

// A server that turns every request away with a kiss-o'-death, as an overloaded one does.
class KissOfDeathServer {
 public:
  KissOfDeathServer() {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(123);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bound_ = fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    if (bound_) thread_ = std::thread([this] { serveOne(); });
  }
  ~KissOfDeathServer() {
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) close(fd_);
  }
  bool bound() const { return bound_; }

 private:
  void serveOne() {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, kQueryTimeoutMs) != 1) return;
    unsigned char packet[48];
    sockaddr_in from{};
    socklen_t fromLen = sizeof from;
    if (recvfrom(fd_, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&from), &fromLen) != 48)
      return;
    std::memcpy(packet + 24, packet + 40, 8);  // originate := the client's transmit time
    packet[0] = 0x1C;                          // version 3, server
    packet[1] = 0;                             // stratum 0: a kiss code follows
    std::memcpy(packet + 12, "RATE", 4);
    sendto(fd_, packet, sizeof packet, 0, reinterpret_cast<sockaddr*>(&from), fromLen);
  }

  int fd_ = -1;
  bool bound_ = false;
  std::thread thread_;
};

TEST_F(QueryE2eTest, ARefusedReplyIsExplainedOnStandardError) {
  KORVANE_START_PEERS(0);  // no server of ours, but the peers' lock: port 123 is ours for the test
  KissOfDeathServer server;
  ASSERT_TRUE(server.bound()) << "UDP port 123 on 127.0.0.1 is already in use";
  const ChildResult r = query({"--protocol", "sntp", "127.0.0.1"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "korvane-query: 127.0.0.1: SNTP reply refused: the server turned the request away "
            "(kiss code RATE)\n");
}

// Stamps that claim the server held the request 1.5 s though it answered at once: the tool shows
// the real, negative delay in its refusal.
TEST_F(QueryE2eTest, ANegativeDelayIsShownAndRefused) {
  KORVANE_START_PEERS(0);
  const auto peer = startMisbehavingSntp({"--mode", "negative", "--millis", "1500"},
                                         std::string(::testing::TempDir()) + "/sntp-peer.log");
  const ChildResult r = query({"--protocol", "sntp", "127.0.0.1"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(
      r.err.rfind("korvane-query: 127.0.0.1: SNTP reply refused: its round-trip delay of -1.", 0),
      0u)
      << r.err;
}

// A UDP port on loopback that takes requests and never answers.
class SilentServer {
 public:
  SilentServer() {
    fd_ = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof a;
    if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &length) == 0)
      port_ = ntohs(a.sin_port);
  }
  ~SilentServer() {
    if (fd_ >= 0) close(fd_);
  }
  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// The port after the host is the one asked, and --timeout ends an exchange nobody answers.
TEST(QueryArgumentsTest, HostPortAndTimeOutReachAndEndTheExchange) {
  SilentServer silent;
  ASSERT_NE(silent.port(), 0);
  const auto started = std::chrono::steady_clock::now();
  const ChildResult r =
      runChild({KORVANE_QUERY_BIN, "-t", "0.5", "127.0.0.1:" + std::to_string(silent.port())}, {},
               kQueryTimeoutMs);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "korvane-query: 127.0.0.1:" + std::to_string(silent.port()) + ": timed out\n");
  EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
}

TEST(QueryArgumentsTest, BadArgumentsSayWhatIsWrongInOneLineAndExitWith2) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"--protocol", "ntp", "127.0.0.1"},
                                             {"--protocol"},
                                             {"--count", "0", "127.0.0.1"},
                                             {"--count", "3x", "127.0.0.1"},
                                             {"--count=-1", "127.0.0.1"},
                                             {"--verbose", "127.0.0.1"},
                                             {"-t", "0", "127.0.0.1"},
                                             {"127.0.0.1:0"},
                                             {"127.0.0.1", "127.0.0.2"}}) {
    std::vector<std::string> argv{KORVANE_QUERY_BIN};
    argv.insert(argv.end(), args.begin(), args.end());
    const ChildResult r = runChild(argv, {}, kQueryTimeoutMs);
    EXPECT_EQ(r.exitCode, 2) << testing::PrintToString(args);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(std::regex_match(r.err, std::regex("korvane-query: [^\n]+\nTry 'korvane-query "
                                                   "--help' for more information\\.\n")))
        << r.err;
  }
  for (const char* help : {"--help", "-h"}) {
    const ChildResult r = runChild({KORVANE_QUERY_BIN, help}, {}, kQueryTimeoutMs);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("Usage: korvane-query [-p time|daytime|sntp|unixtime|nts]", 0), 0u)
        << r.out;
    EXPECT_NE(r.out.find("KORVANE_CLOCK_FILE"), std::string::npos);
  }
  for (const char* version : {"--version", "-V"}) {
    const ChildResult r = runChild({KORVANE_QUERY_BIN, version}, {}, kQueryTimeoutMs);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, std::string("korvane-query ") + KORVANE_VERSION + "\n");
  }
}

}  // namespace
}  // namespace korvane::e2e
