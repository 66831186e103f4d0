#include "app/instance_channel.h"

#include <QLocalSocket>
#include <QThread>

namespace korvane::app {

namespace {

constexpr QByteArrayView kShowRequest = "show\n";
constexpr int kWaitMs = 1000;
constexpr int kMaxRequestBytes = 64;

}  // namespace

InstanceListener::InstanceListener(const std::string& path, std::function<void()> show)
    : show_(std::move(show)) {
  // The instance lock is held: a socket file left by a crashed instance is stale.
  QLocalServer::removeServer(QString::fromStdString(path));
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  QObject::connect(&server_, &QLocalServer::newConnection, this, [this] { accept(); });
  server_.listen(QString::fromStdString(path));
}

void InstanceListener::accept() {
  while (QLocalSocket* client = server_.nextPendingConnection()) {
    QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    QObject::connect(client, &QLocalSocket::readyRead, this, [this, client] {
      const QByteArray request = client->read(kMaxRequestBytes);
      client->disconnectFromServer();
      if (request.startsWith(kShowRequest)) show_();
    });
  }
}

bool askToShow(const std::string& path) {
  // The first instance listens once its start-up is done: a second start right after it waits.
  for (int attempt = 0; attempt < 5; ++attempt) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(path));
    if (socket.waitForConnected(kWaitMs)) {
      socket.write(kShowRequest.data(), kShowRequest.size());
      return socket.waitForBytesWritten(kWaitMs);
    }
    QThread::msleep(200);
  }
  return false;
}

}  // namespace korvane::app
