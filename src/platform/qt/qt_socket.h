#pragma once
// The socket control on Qt: QTcpSocket or QUdpSocket, events on the UI thread.
#include <QByteArray>
#include <QHostAddress>
#include <functional>
#include <memory>
#include <string>

#include "platform/socket.h"

class QAbstractSocket;
class QTcpSocket;
class QUdpSocket;

namespace korvane::platform {

class QtSocket : public Socket {
 public:
  QtSocket();
  ~QtSocket() override;

  SocketState state() const override;

  void Connect() override;
  SocketResult Bind() override;
  void ResolveHost() override;
  SocketResult SendData(const std::vector<uint8_t>& data) override;
  std::optional<std::vector<uint8_t>> GetData4Bytes() override;
  std::optional<std::vector<uint8_t>> GetDataBytes(size_t maxLen) override;
  bool lastDatagramFromRemote() const override { return lastFromRemote_; }
  bool useNextAddress() override;
  void Close() override;

 private:
  void wireTcp();
  void wireUdp();
  // Calls call from the event loop, unless the socket is closed or gone by then.
  void later(std::function<void()> call);
  // Raises Error from the event loop, the first time only.
  void raiseError(int number, const QString& description);
  // Resolves RemoteHost into resolvedRemote_, then calls found from the event loop.
  void lookUp(std::function<void()> found);
  void sendDatagramTo(const QHostAddress& address, const QByteArray& data);
  QAbstractSocket* active() const;

  std::unique_ptr<QTcpSocket> tcp_;
  std::unique_ptr<QUdpSocket> udp_;
  QHostAddress resolvedRemote_;
  QList<QHostAddress> resolvedAll_;  // every address of resolvedHost_, IPv4 first
  qsizetype resolvedIndex_ = 0;
  std::string resolvedHost_;  // the RemoteHost that resolvedRemote_ belongs to
  bool inError_ = false;
  bool errorRaised_ = false;
  bool lastFromRemote_ = false;
  // Replaced on Close: calls posted for the old socket find theirs expired and do nothing.
  std::shared_ptr<char> life_ = std::make_shared<char>();
};

class QtSocketFactory : public SocketFactory {
 public:
  std::unique_ptr<Socket> create() override { return std::make_unique<QtSocket>(); }
};

}  // namespace korvane::platform
