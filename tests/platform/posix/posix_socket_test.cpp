// The POSIX socket backend against small servers on 127.0.0.1 made of plain sockets; it must
// behave as the desktop backend does.
#include "platform/posix/posix_socket.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "loopback_address.h"

namespace korvane::platform {
namespace {

using Bytes = std::vector<uint8_t>;
using std::chrono::milliseconds;

struct Recorded {
  int connects = 0;
  int closes = 0;
  std::vector<SocketError> errors;
  Bytes data;
  std::vector<long> arrivals;  // bytesTotal of each DataArrival
};

void record(Socket& s, Recorded& r) {
  s.onConnect = [&r] { ++r.connects; };
  s.onClose = [&r] { ++r.closes; };
  s.onError = [&r](const SocketError& e) { r.errors.push_back(e); };
  s.onDataArrival = [&s, &r](long n) {
    r.arrivals.push_back(n);
    if (auto bytes = s.GetDataBytes(SIZE_MAX))
      r.data.insert(r.data.end(), bytes->begin(), bytes->end());
  };
}

bool runUntil(PollLoop& loop, const std::function<bool()>& done, int ms = 5000) {
  return loop.runUntil(done, PollLoop::Clock::now() + milliseconds(ms));
}

// Lets a late event show up.
void settle(PollLoop& loop) {
  runUntil(
      loop, [] { return false; }, 60);
}

int portOf(int fd) {
  sockaddr_in a{};
  socklen_t len = sizeof a;
  EXPECT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len), 0);
  return ntohs(a.sin_port);
}

// A socket of the test's own that closes itself.
struct Fd {
  int fd = -1;
  explicit Fd(int f = -1) : fd(f) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { reset(); }
  void reset() {
    if (fd >= 0) close(fd);
    fd = -1;
  }
};

// A TCP server on an ephemeral port of 127.0.0.1.
class TcpServer {
 public:
  TcpServer() : listener_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    const sockaddr_in a = testing::loopbackAddress(0);
    EXPECT_EQ(bind(listener_.fd, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
    EXPECT_EQ(listen(listener_.fd, 4), 0);
    port_ = portOf(listener_.fd);
  }
  int port() const { return port_; }
  // The next connection; a client's connect on the loopback completes without its loop running.
  int accept() {
    pollfd p{listener_.fd, POLLIN, 0};
    if (poll(&p, 1, 5000) != 1) return -1;
    return ::accept4(listener_.fd, nullptr, nullptr, SOCK_CLOEXEC);
  }

 private:
  Fd listener_;
  int port_ = 0;
};

// A port on which nothing listens (it was free a moment ago).
int closedPort() {
  TcpServer probe;
  return probe.port();
}

void send(int fd, const Bytes& bytes) {
  if (bytes.empty()) return;
  EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

class UdpPeer {
 public:
  UdpPeer() : fd_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    const sockaddr_in a = testing::loopbackAddress(0);
    EXPECT_EQ(bind(fd_.fd, reinterpret_cast<const sockaddr*>(&a), sizeof a), 0);
    port_ = portOf(fd_.fd);
  }
  int port() const { return port_; }
  // Waits for a datagram and remembers who sent it.
  Bytes receive() {
    pollfd p{fd_.fd, POLLIN, 0};
    if (poll(&p, 1, 5000) != 1) return {};
    Bytes b(2048);
    fromLength_ = sizeof from_;
    const ssize_t n =
        recvfrom(fd_.fd, b.data(), b.size(), 0, reinterpret_cast<sockaddr*>(&from_), &fromLength_);
    b.resize(n < 0 ? 0 : static_cast<size_t>(n));
    return b;
  }
  // Sends b to whoever `heard` last received from.
  void sendTo(const UdpPeer& heard, const Bytes& b) const {
    EXPECT_EQ(sendto(fd_.fd, b.data(), b.size(), 0, reinterpret_cast<const sockaddr*>(&heard.from_),
                     heard.fromLength_),
              static_cast<ssize_t>(b.size()));
  }

 private:
  Fd fd_;
  int port_ = 0;
  sockaddr_storage from_{};
  socklen_t fromLength_ = 0;
};

TEST(PosixSocketTest, APeersNormalCloseIsTheCloseEventNeverAnError) {
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
    PollLoop loop;
    TcpServer server;
    PosixSocket socket(loop);
    Recorded r;
    record(socket, r);
    socket.setRemoteHost(c.host);
    socket.setRemotePort(server.port());
    socket.Connect();
    Fd peer(server.accept());
    ASSERT_GE(peer.fd, 0);
    send(peer.fd, c.reply);
    if (c.reset) {
      // After the client saw the connection: a reset before it is a failed connect instead.
      ASSERT_TRUE(runUntil(loop, [&] { return r.connects > 0; }));
      const linger abort{1, 0};
      setsockopt(peer.fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    }
    peer.reset();
    ASSERT_TRUE(runUntil(loop, [&] { return r.closes > 0 || !r.errors.empty(); }));
    settle(loop);
    EXPECT_EQ(r.connects, 1);
    EXPECT_EQ(r.closes, 1);
    EXPECT_TRUE(r.errors.empty()) << r.errors.front().description;
    EXPECT_EQ(r.data, c.reply);
    EXPECT_EQ(socket.state(), SocketState::Closed);
  }
}

TEST(PosixSocketTest, ARefusedConnectionIsAnErrorFromTheLoopNeverInsideConnect) {
  PollLoop loop;
  PosixSocket socket(loop);
  Recorded r;
  record(socket, r);
  socket.setRemoteHost("127.0.0.1");
  socket.setRemotePort(closedPort());
  socket.Connect();
  EXPECT_TRUE(r.errors.empty()) << "the error was raised inside Connect";
  ASSERT_TRUE(runUntil(loop, [&] { return !r.errors.empty(); }));
  settle(loop);
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
// a datagram to port 0 (UDP may not go to the broadcast address: Qt allows broadcasts). The
// failure still comes from the loop, once however often it happens, and its handler may close
// the socket.
TEST(PosixSocketTest, AFailureTheSystemReportsAtOnceIsRaisedOnceFromTheLoop) {
  struct Case {
    SocketProtocol protocol;
    bool closeInHandler;
  };
  for (const Case& c : {Case{SocketProtocol::Tcp, true}, Case{SocketProtocol::Udp, true},
                        Case{SocketProtocol::Udp, false}}) {
    SCOPED_TRACE(static_cast<int>(c.protocol) * 2 + c.closeInHandler);
    PollLoop loop;
    PosixSocket socket(loop);
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
      EXPECT_TRUE(socket.SendData({0x1B}).ok);
      EXPECT_TRUE(socket.SendData({0x1B}).ok);
    } else {
      socket.Connect();
    }
    EXPECT_TRUE(r.errors.empty()) << "raised inside the call";
    ASSERT_TRUE(runUntil(loop, [&] { return !r.errors.empty(); }));
    settle(loop);
    EXPECT_EQ(r.errors.size(), 1u);
  }
}

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

TEST(PosixSocketTest, ADatagramTellsWhetherItCameFromTheRemoteHostAndPort) {
  for (const char* host : {"127.0.0.1", "localhost"}) {
    SCOPED_TRACE(host);
    PollLoop loop;
    UdpPeer server, stranger;
    PosixSocket socket(loop);
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
    ASSERT_TRUE(runUntil(loop, [&] { return resolved; }));
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
      ASSERT_TRUE(runUntil(loop, [&] { return !got.empty(); }));
      EXPECT_EQ(got.front(), (Bytes{'a', 'b', 'c', 'd'}));
      EXPECT_EQ(socket.lastDatagramFromRemote(), c.fromRemote);
    }
  }
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
