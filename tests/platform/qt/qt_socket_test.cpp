// The Qt socket backend against a QTcpServer and, for what every backend must do alike, plain
// sockets on the loopback.
#include "platform/qt/qt_socket.h"

#include <gtest/gtest.h>

#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <vector>

#include "platform/qt/qt_test_app.h"
#include "platform/socket_contract.h"

namespace korvane::platform {
namespace {

using korvane::testing::qtTestApp;
using korvane::testing::runQtUntil;
using namespace korvane::platform::testing;

// A socket on the application's event loop.
struct QtBackend {
  QCoreApplication& app = qtTestApp();  // before the socket
  QtSocket socket;
  bool runUntil(const std::function<bool()>& done, int ms) { return runQtUntil(done, ms); }
  void settle() {
    runQtUntil([] { return false; }, 100);
  }
};
INSTANTIATE_TYPED_TEST_SUITE_P(QtSocketTest, SocketContractTest, QtBackend);

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

}  // namespace
}  // namespace korvane::platform
