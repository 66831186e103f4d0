#pragma once
// The socket control on Qt: QTcpSocket or QUdpSocket, events on the UI thread.
#include <QByteArray>
#include <QHostAddress>
#include <memory>

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
  SocketResult SendData(const std::vector<uint8_t>& data) override;
  std::optional<std::vector<uint8_t>> GetData4Bytes() override;
  std::optional<std::vector<uint8_t>> GetDataBytes(size_t maxLen) override;
  bool lastDatagramFromRemote() const override { return lastFromRemote_; }
  void Close() override;

 private:
  void wireTcp();
  void wireUdp();
  void raiseError(int number, const QString& description);
  void sendDatagramTo(const QHostAddress& address, const QByteArray& data);
  QAbstractSocket* active() const;

  std::unique_ptr<QTcpSocket> tcp_;
  std::unique_ptr<QUdpSocket> udp_;
  QHostAddress resolvedRemote_;
  bool inError_ = false;
  bool lastFromRemote_ = false;
  unsigned generation_ = 0;  // bumps on Close, so a late host lookup finds nothing to send
};

class QtSocketFactory : public SocketFactory {
 public:
  std::unique_ptr<Socket> create() override { return std::make_unique<QtSocket>(); }
};

}  // namespace korvane::platform
