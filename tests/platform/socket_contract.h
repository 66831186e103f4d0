// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every socket backend must do alike, run on each backend's own loop. A backend type has a
// `socket`, runUntil(done, ms) that runs its loop until done() holds, and settle(), which lets a
// late event show up; INSTANTIATE_TYPED_TEST_SUITE_P(Name, SocketContractTest, Backend) runs these
// against it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "loopback_peers.h"
#include "platform/socket.h"

namespace korvane::platform::testing {

using korvane::testing::Bytes;

struct Recorded {
  int connects = 0;
  int closes = 0;
  std::vector<SocketError> errors;
  Bytes data;
  std::vector<long> arrivals;  // bytesTotal of each DataArrival
};

inline void record(Socket& s, Recorded& r) {
  s.onConnect = [&r] { ++r.connects; };
  s.onClose = [&r] { ++r.closes; };
  s.onError = [&r](const SocketError& e) { r.errors.push_back(e); };
  s.onDataArrival = [&s, &r](long n) {
    r.arrivals.push_back(n);
    if (auto bytes = s.GetDataBytes(SIZE_MAX))
      r.data.insert(r.data.end(), bytes->begin(), bytes->end());
  };
}

template <class Backend>
class SocketContractTest : public ::testing::Test {};
TYPED_TEST_SUITE_P(SocketContractTest);

TYPED_TEST_P(SocketContractTest, APeersNormalCloseIsTheCloseEventNeverAnError) {
  struct Case {
    const char* name;
    const char* host;
    Bytes reply;
    bool reset;  // the server aborts instead of closing in order
  };
  const Case cases[] = {
      {"four bytes", "127.0.0.1", {0xEA, 0x2C, 0x5B, 0x00}, false},
      {"nothing", "127.0.0.1", {}, false},
      {"a host name", "localhost", {'o', 'k', '\n'}, false},
      {"more than one read", "127.0.0.1", Bytes(60000, 'x'), false},
      {"a reset", "127.0.0.1", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TypeParam backend;
    Socket& socket = backend.socket;
    korvane::testing::TcpServer server;
    Recorded r;
    record(socket, r);
    socket.setRemoteHost(c.host);
    socket.setRemotePort(server.port());
    socket.Connect();
    ASSERT_TRUE(backend.runUntil([&] { return server.pending(); }, 5000));
    korvane::testing::Fd peer(server.accept());
    ASSERT_GE(peer.fd, 0);
    korvane::testing::send(peer.fd, c.reply);
    if (c.reset) {
      // After the client saw the connection: a reset before it is a failed connect instead.
      ASSERT_TRUE(backend.runUntil([&] { return r.connects > 0; }, 5000));
      const linger abort{1, 0};
      setsockopt(peer.fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    peer.reset();
    ASSERT_TRUE(backend.runUntil([&] { return r.closes > 0 || !r.errors.empty(); }, 5000));
    backend.settle();
    EXPECT_EQ(r.connects, 1);
    EXPECT_EQ(r.closes, 1);
    EXPECT_TRUE(r.errors.empty()) << r.errors.front().description;
    EXPECT_EQ(r.data, c.reply);
    EXPECT_EQ(socket.state(), SocketState::Closed);
  }
}

TYPED_TEST_P(SocketContractTest, ARefusedConnectionIsAnErrorFromTheLoopNeverInsideConnect) {
  TypeParam backend;
  Socket& socket = backend.socket;
  Recorded r;
  record(socket, r);
  socket.setRemoteHost("127.0.0.1");
  socket.setRemotePort(korvane::testing::closedPort());
  socket.Connect();
  EXPECT_TRUE(r.errors.empty()) << "the error was raised inside Connect";
  ASSERT_TRUE(backend.runUntil([&] { return !r.errors.empty(); }, 5000));
  backend.settle();
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors.front().number, 10061);
  EXPECT_EQ(r.errors.front().description, "Connection refused");
  EXPECT_EQ(socket.state(), SocketState::Error);
  socket.Close();
  EXPECT_EQ(socket.state(), SocketState::Closed);
  EXPECT_EQ(r.closes, 0);
  EXPECT_EQ(r.connects, 0);
}

// The kernel refuses at once, and no packet leaves: a TCP connection to the broadcast address,
// a datagram to port 0 (UDP may not go to the broadcast address: the desktop backend allows
// broadcasts). A datagram goes out inside the send when its host was looked up beforehand, else
// after the send's own look-up. The program hears of the failure later, from the loop, once
// however often it happens, and may close the socket then.
TYPED_TEST_P(SocketContractTest, AFailureTheSystemReportsAtOnceIsRaisedOnceFromTheLoop) {
  struct Case {
    SocketProtocol protocol;
    bool lookUpFirst;
    bool closeInHandler;
  };
  const Case cases[] = {
      {SocketProtocol::Tcp, false, true},  {SocketProtocol::Udp, false, true},
      {SocketProtocol::Udp, false, false}, {SocketProtocol::Udp, true, true},
      {SocketProtocol::Udp, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    TypeParam backend;
    Socket& socket = backend.socket;
    Recorded r;
    record(socket, r);
    socket.onError = [&](const SocketError& e) {
      r.errors.push_back(e);
      if (c.closeInHandler) socket.Close();
    };
    socket.setProtocol(c.protocol);
    const bool udp = c.protocol == SocketProtocol::Udp;
    socket.setRemoteHost(udp ? "127.0.0.1" : "255.255.255.255");
    socket.setRemotePort(udp ? 0 : 123);
    if (udp) {
      ASSERT_TRUE(socket.Bind().ok);
      if (c.lookUpFirst) {
        bool resolved = false;
        socket.onHostResolved = [&] { resolved = true; };
        socket.ResolveHost();
        ASSERT_TRUE(backend.runUntil([&] { return resolved; }, 5000));
      }
      EXPECT_TRUE(socket.SendData({0x1B}).ok);
      EXPECT_TRUE(socket.SendData({0x1B}).ok);
    } else {
      socket.Connect();
    }
    EXPECT_TRUE(r.errors.empty()) << "raised inside the call";
    ASSERT_TRUE(backend.runUntil([&] { return !r.errors.empty(); }, 5000));
    backend.settle();
    EXPECT_EQ(r.errors.size(), 1u);
  }
}

TYPED_TEST_P(SocketContractTest, ADatagramTellsWhetherItCameFromTheRemoteHostAndPort) {
  using korvane::testing::UdpPeer;
  for (const char* host : {"127.0.0.1", "localhost"}) {
    SCOPED_TRACE(host);
    TypeParam backend;
    Socket& socket = backend.socket;
    UdpPeer server, stranger;
    socket.setProtocol(SocketProtocol::Udp);
    socket.setRemoteHost(host);
    socket.setRemotePort(server.port());
    EXPECT_EQ(socket.SendData({1}).error.number, 10022) << "sent before Bind";
    ASSERT_TRUE(socket.Bind().ok);
    EXPECT_EQ(socket.state(), SocketState::Open);
    bool resolved = false;
    socket.onHostResolved = [&] { resolved = true; };
    socket.ResolveHost();
    EXPECT_FALSE(resolved) << "raised inside ResolveHost";
    ASSERT_TRUE(backend.runUntil([&] { return resolved; }, 5000));
    ASSERT_TRUE(socket.SendData({1, 2, 3}).ok);
    EXPECT_EQ(server.receive(), (Bytes{1, 2, 3}));

    struct Case {
      const UdpPeer* from;
      bool fromRemote;
    };
    for (const Case& c : {Case{&server, true}, Case{&stranger, false}, Case{&server, true}}) {
      std::vector<Bytes> got;
      socket.onDataArrival = [&](long n) {
        EXPECT_EQ(n, 4);
        if (auto bytes = socket.GetDataBytes(static_cast<size_t>(n))) got.push_back(*bytes);
      };
      c.from->sendTo(server, {'a', 'b', 'c', 'd'});
      ASSERT_TRUE(backend.runUntil([&] { return !got.empty(); }, 5000));
      EXPECT_EQ(got.front(), (Bytes{'a', 'b', 'c', 'd'}));
      EXPECT_EQ(socket.lastDatagramFromRemote(), c.fromRemote);
    }
  }
}

REGISTER_TYPED_TEST_SUITE_P(SocketContractTest, APeersNormalCloseIsTheCloseEventNeverAnError,
                            ARefusedConnectionIsAnErrorFromTheLoopNeverInsideConnect,
                            AFailureTheSystemReportsAtOnceIsRaisedOnceFromTheLoop,
                            ADatagramTellsWhetherItCameFromTheRemoteHostAndPort);

}  // namespace korvane::platform::testing
