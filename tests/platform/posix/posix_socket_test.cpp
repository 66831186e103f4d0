// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX socket backend against small servers on 127.0.0.1 made of plain sockets; it must
// behave as the desktop backend does.
#include "platform/posix/posix_socket.h"

#include <gtest/gtest.h>
#include <netdb.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/posix/poll_loop.h"
#include "platform/socket_contract.h"

namespace korvane::platform {
namespace {

using korvane::testing::Bytes;
using korvane::testing::closedPort;
using korvane::testing::Fd;
using korvane::testing::send;
using korvane::testing::TcpServer;
using korvane::testing::UdpPeer;
using std::chrono::milliseconds;
using namespace korvane::platform::testing;

bool runUntil(PollLoop& loop, const std::function<bool()>& done, int ms = 5000) {
  return loop.runUntil(done, PollLoop::Clock::now() + milliseconds(ms));
}

// Lets a late event show up.
void settle(PollLoop& loop) {
  runUntil(
      loop, [] { return false; }, 60);
}

// A socket on its own poll loop.
struct PosixBackend {
  PollLoop loop;
  PosixSocket socket{loop};
  bool runUntil(const std::function<bool()>& done, int ms) {
    return platform::runUntil(loop, done, ms);
  }
  void settle() { platform::settle(loop); }
};
INSTANTIATE_TYPED_TEST_SUITE_P(PosixSocketTest, SocketContractTest, PosixBackend);

TEST(PosixSocketTest, SystemErrorsCarryTheControlsNumbersAndTheSystemsWords) {
  struct Case {
    SocketError got;
    int number;
    std::string description;
  };
  const Case cases[] = {
      {socketErrorOf(ECONNREFUSED), 10061, "Connection refused"},
      {socketErrorOf(ETIMEDOUT), 10060, "Connection timed out"},
      {socketErrorOf(EADDRINUSE), 10048, "Address already in use"},
      {socketErrorOf(ENOBUFS), 10000 + ENOBUFS, "No buffer space available"},  // no twin
      {lookupErrorOf(EAI_NONAME), 11001, "Host not found"},
      {lookupErrorOf(EAI_AGAIN), 11002, gai_strerror(EAI_AGAIN)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.got.number, c.number) << c.description;
    EXPECT_EQ(c.got.description, c.description);
  }
}

TEST(PosixSocketTest, AShortReplyLeavesItsBytesForTheNextRead) {
  PollLoop loop;
  TcpServer server;
  PosixSocket socket(loop);
  std::vector<long> arrivals;
  socket.onDataArrival = [&](long n) { arrivals.push_back(n); };
  socket.setRemoteHost("127.0.0.1");
  socket.setRemotePort(server.port());
  socket.Connect();
  Fd peer(server.accept());
  send(peer.fd, {1, 2, 3});
  ASSERT_TRUE(runUntil(loop, [&] { return !arrivals.empty(); }));
  EXPECT_EQ(arrivals.back(), 3);
  EXPECT_FALSE(socket.GetData4Bytes().has_value());
  send(peer.fd, {4, 5});
  ASSERT_TRUE(runUntil(loop, [&] { return arrivals.size() == 2; }));
  EXPECT_EQ(arrivals.back(), 5) << "bytesTotal is everything available, the 3 left before too";
  EXPECT_EQ(socket.GetData4Bytes(), (Bytes{1, 2, 3, 4}));
  EXPECT_FALSE(socket.GetData4Bytes().has_value());
  EXPECT_EQ(socket.GetDataBytes(SIZE_MAX), (Bytes{5}));
}

TEST(PosixSocketTest, ClosingByTheProgramRaisesNoEvent) {
  enum class When { WhileConnecting, OnConnect, InsideDataArrival, BeforeARefusal };
  for (When when :
       {When::WhileConnecting, When::OnConnect, When::InsideDataArrival, When::BeforeARefusal}) {
    SCOPED_TRACE(static_cast<int>(when));
    PollLoop loop;
    TcpServer server;
    PosixSocket socket(loop);
    Recorded r;
    record(socket, r);
    if (when == When::OnConnect)
      socket.onConnect = [&] {
        ++r.connects;
        socket.Close();
      };
    if (when == When::InsideDataArrival) socket.onDataArrival = [&](long) { socket.Close(); };
    socket.setRemoteHost("127.0.0.1");
    socket.setRemotePort(when == When::BeforeARefusal ? closedPort() : server.port());
    socket.Connect();
    if (when == When::WhileConnecting || when == When::BeforeARefusal) socket.Close();
    if (when != When::BeforeARefusal) {
      Fd peer(server.accept());
      send(peer.fd, {9, 9, 9, 9});
      if (when == When::InsideDataArrival) {
        ASSERT_TRUE(runUntil(loop, [&] { return socket.state() == SocketState::Closed; }));
      }
    }
    settle(loop);
    EXPECT_EQ(r.closes, 0);
    EXPECT_TRUE(r.errors.empty()) << r.errors.front().description;
    EXPECT_TRUE(r.data.empty());
    EXPECT_EQ(socket.state(), SocketState::Closed);
    EXPECT_FALSE(socket.GetDataBytes(SIZE_MAX).has_value()) << "a closed socket still had data";
  }
}

TEST(PosixSocketTest, TcpSendDataReachesTheServerOnceConnected) {
  PollLoop loop;
  TcpServer server;
  PosixSocket socket(loop);
  EXPECT_EQ(socket.SendData({1}).error.number, 10057) << "sent without a connection";
  bool connected = false;
  socket.onConnect = [&] { connected = true; };
  socket.setRemoteHost("127.0.0.1");
  socket.setRemotePort(server.port());
  socket.Connect();
  Fd peer(server.accept());
  ASSERT_TRUE(runUntil(loop, [&] { return connected; }));
  EXPECT_TRUE(socket.SendData({'G', 'E', 'T'}).ok);
  char got[8] = {};
  pollfd p{peer.fd, POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 5000), 1);
  EXPECT_EQ(read(peer.fd, got, sizeof got), 3);
  EXPECT_EQ(std::string(got), "GET");
}

TEST(PosixSocketTest, ADatagramTheHandlerLeavesIsNotRaisedAgainUntilRead) {
  PollLoop loop;
  UdpPeer server;
  PosixSocket socket(loop);
  socket.setProtocol(SocketProtocol::Udp);
  socket.setRemoteHost("127.0.0.1");
  socket.setRemotePort(server.port());
  ASSERT_TRUE(socket.Bind().ok);
  ASSERT_TRUE(socket.SendData({0}).ok);
  server.receive();
  int arrivals = 0;
  socket.onDataArrival = [&](long) { ++arrivals; };
  server.sendTo(server, {'a', 'b', 'c', 'd', 'e', 'f'});
  ASSERT_TRUE(runUntil(loop, [&] { return arrivals > 0; }));
  settle(loop);
  EXPECT_EQ(arrivals, 1) << "an unread datagram was raised again and again";
  // A short read takes the front of the datagram and drops its rest.
  EXPECT_EQ(socket.GetDataBytes(2), (Bytes{'a', 'b'}));
  EXPECT_FALSE(socket.GetDataBytes(SIZE_MAX).has_value());
  server.sendTo(server, {'g'});
  ASSERT_TRUE(runUntil(loop, [&] { return arrivals == 2; }));
  EXPECT_EQ(socket.GetData4Bytes(), std::nullopt) << "a 1-byte datagram read as 4 bytes";
}

}  // namespace
}  // namespace korvane::platform
