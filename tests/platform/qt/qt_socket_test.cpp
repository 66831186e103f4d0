// The Qt socket backend against a QTcpServer and QUdpSocket on the loopback.
#include "platform/qt/qt_socket.h"

#include <gtest/gtest.h>

#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <string>
#include <vector>

#include "platform/qt/qt_test_app.h"

namespace korvane::platform {
namespace {

using korvane::testing::qtTestApp;
using korvane::testing::runQtUntil;

struct Recorded {
  int connects = 0;
  int closes = 0;
  std::vector<SocketError> errors;
  std::vector<uint8_t> data;
};

void record(Socket& s, Recorded& r) {
  s.onConnect = [&r] { ++r.connects; };
  s.onClose = [&r] { ++r.closes; };
  s.onError = [&r](const SocketError& e) { r.errors.push_back(e); };
  s.onDataArrival = [&s, &r](long) {
    if (auto bytes = s.GetDataBytes(SIZE_MAX))
      r.data.insert(r.data.end(), bytes->begin(), bytes->end());
  };
}

// A server that answers each connection with the given bytes and then closes it.
class OneShotServer {
 public:
  explicit OneShotServer(QByteArray reply) : reply_(std::move(reply)) {
    qtTestApp();
    EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
      QTcpSocket* peer = server_.nextPendingConnection();
      peer->write(reply_);
      peer->disconnectFromHost();
      QObject::connect(peer, &QTcpSocket::disconnected, peer, &QObject::deleteLater);
    });
  }
  int port() const { return server_.serverPort(); }

 private:
  QByteArray reply_;
  QTcpServer server_;
};

TEST(QtSocketTest, APeersNormalCloseIsTheCloseEventNeverAnError) {
  for (const QByteArray& reply : {QByteArray("\xEA\x2C\x5B\x00", 4), QByteArray()}) {
    SCOPED_TRACE(reply.size());
    OneShotServer server(reply);
    QtSocket socket;
    Recorded r;
    record(socket, r);
    socket.setRemoteHost("127.0.0.1");
    socket.setRemotePort(server.port());
    socket.Connect();
    ASSERT_TRUE(runQtUntil([&] { return r.closes > 0 || !r.errors.empty(); }, 5000));
    runQtUntil([] { return false; }, 100);  // a late error would show up here
    EXPECT_EQ(r.connects, 1);
    EXPECT_EQ(r.closes, 1);
    EXPECT_TRUE(r.errors.empty()) << r.errors.front().description;
    EXPECT_EQ(r.data, std::vector<uint8_t>(reply.begin(), reply.end()));
    EXPECT_NE(socket.state(), SocketState::Error);
  }
}

// Proxies set up for the desktop's web traffic must not carry time queries: a server's time is
// only good for the path it took, and the proxy look-up itself costs a thread per process.
class RecordingProxyFactory : public QNetworkProxyFactory {
 public:
  explicit RecordingProxyFactory(int& queries) : queries_(queries) {}
  QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery&) override {
    ++queries_;
    return {QNetworkProxy::NoProxy};
  }

 private:
  int& queries_;
};

TEST(QtSocketTest, TimeServersAreAskedDirectlyWithoutAskingForAProxy) {
  qtTestApp();
  int queries = 0;
  QNetworkProxyFactory::setApplicationProxyFactory(new RecordingProxyFactory(queries));
  OneShotServer server(QByteArray("\x01\x02\x03\x04", 4));
  QtSocket tcp;
  Recorded r;
  record(tcp, r);
  tcp.setRemoteHost("127.0.0.1");
  tcp.setRemotePort(server.port());
  tcp.Connect();
  EXPECT_TRUE(runQtUntil([&] { return r.closes > 0 || !r.errors.empty(); }, 3000));
  EXPECT_EQ(r.data.size(), 4u);
  QtSocket udp;
  udp.setProtocol(SocketProtocol::Udp);
  udp.setRemoteHost("127.0.0.1");
  udp.setRemotePort(server.port());
  EXPECT_TRUE(udp.Bind().ok);
  EXPECT_TRUE(udp.SendData({1}).ok);
  QNetworkProxyFactory::setApplicationProxyFactory(nullptr);
  EXPECT_EQ(queries, 0);
}

TEST(QtSocketTest, ARefusedConnectionIsAnErrorWithTheSystemsWords) {
  qtTestApp();
  QTcpServer probe;  // a port that was free a moment ago and now has no listener
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const int port = probe.serverPort();
  probe.close();
  QtSocket socket;
  Recorded r;
  record(socket, r);
  socket.setRemoteHost("127.0.0.1");
  socket.setRemotePort(port);
  socket.Connect();
  ASSERT_TRUE(runQtUntil([&] { return !r.errors.empty(); }, 5000));
  EXPECT_EQ(r.errors.front().number, 10061);
  EXPECT_EQ(r.errors.front().description, "Connection refused");
  EXPECT_EQ(socket.state(), SocketState::Error);
  socket.Close();
  EXPECT_EQ(socket.state(), SocketState::Closed);
  EXPECT_EQ(r.closes, 0);
}

// The kernel refuses at once, and no packet leaves: a TCP connection to the broadcast address,
// a datagram to port 0 (UDP may not go to the broadcast address: Qt allows broadcasts). Qt
// reports such failures from inside connectToHost and writeDatagram; the program must hear of
// them later, from the loop, once however often they happen, and may close the socket then.
TEST(QtSocketTest, AFailureTheSystemReportsAtOnceIsRaisedOnceFromTheLoop) {
  qtTestApp();
  struct Case {
    SocketProtocol protocol;
    bool closeInHandler;
  };
  for (const Case& c : {Case{SocketProtocol::Tcp, true}, Case{SocketProtocol::Udp, true},
                        Case{SocketProtocol::Udp, false}}) {
    SCOPED_TRACE(static_cast<int>(c.protocol) * 2 + c.closeInHandler);
    QtSocket socket;
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
      bool resolved = false;
      socket.onHostResolved = [&] { resolved = true; };
      socket.ResolveHost();
      ASSERT_TRUE(runQtUntil([&] { return resolved; }, 5000));
      EXPECT_TRUE(socket.SendData({0x1B}).ok);
      EXPECT_TRUE(socket.SendData({0x1B}).ok);
    } else {
      socket.Connect();
    }
    EXPECT_TRUE(r.errors.empty()) << "raised inside the call";
    ASSERT_TRUE(runQtUntil([&] { return !r.errors.empty(); }, 5000));
    runQtUntil([] { return false; }, 100);
    EXPECT_EQ(r.errors.size(), 1u);
  }
}

TEST(QtSocketTest, ADatagramTellsWhetherItCameFromTheRemoteHostAndPort) {
  qtTestApp();
  QUdpSocket server, stranger;
  ASSERT_TRUE(server.bind(QHostAddress::LocalHost, 0));
  ASSERT_TRUE(stranger.bind(QHostAddress::LocalHost, 0));
  QtSocket socket;
  socket.setProtocol(SocketProtocol::Udp);
  socket.setRemoteHost("127.0.0.1");
  socket.setRemotePort(server.localPort());
  ASSERT_TRUE(socket.Bind().ok);
  ASSERT_TRUE(socket.SendData({1, 2, 3}).ok);
  ASSERT_TRUE(runQtUntil([&] { return server.hasPendingDatagrams(); }, 5000));
  const QNetworkDatagram request = server.receiveDatagram();
  EXPECT_EQ(request.data(), QByteArray("\x01\x02\x03", 3));

  struct Case {
    QUdpSocket* from;
    bool fromRemote;
  };
  for (const Case& c : {Case{&server, true}, Case{&stranger, false}}) {
    std::vector<std::vector<uint8_t>> got;
    socket.onDataArrival = [&](long n) {
      EXPECT_EQ(n, 4);
      if (auto bytes = socket.GetDataBytes(static_cast<size_t>(n))) got.push_back(*bytes);
    };
    c.from->writeDatagram(QByteArray("abcd"), request.senderAddress(), request.senderPort());
    ASSERT_TRUE(runQtUntil([&] { return !got.empty(); }, 5000));
    EXPECT_EQ(got.front(), (std::vector<uint8_t>{'a', 'b', 'c', 'd'}));
    EXPECT_EQ(socket.lastDatagramFromRemote(), c.fromRemote);
  }
}

}  // namespace
}  // namespace korvane::platform
