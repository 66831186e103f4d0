#include "platform/qt/qt_socket.h"

#include <QCoreApplication>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QSignalBlocker>
#include <QTcpSocket>
#include <QUdpSocket>

namespace korvane::platform {

namespace {

// The control's error numbers (WinSock codes) for Qt's socket errors.
int errorNumber(QAbstractSocket::SocketError e) {
  switch (e) {
    case QAbstractSocket::ConnectionRefusedError:
      return 10061;
    case QAbstractSocket::HostNotFoundError:
      return 11001;
    case QAbstractSocket::SocketTimeoutError:
      return 10060;
    case QAbstractSocket::NetworkError:
      return 10065;
    case QAbstractSocket::AddressInUseError:
      return 10048;
    case QAbstractSocket::SocketAccessError:
      return 10013;
    default:
      return 10000 + static_cast<int>(e);
  }
}

QString hostText(const std::string& host) {
  return QString::fromStdString(host);
}

}  // namespace

QtSocket::QtSocket() = default;
QtSocket::~QtSocket() {
  if (tcp_) tcp_->blockSignals(true);
  if (udp_) udp_->blockSignals(true);
}

QAbstractSocket* QtSocket::active() const {
  if (protocol_ == SocketProtocol::Udp) return udp_.get();
  return tcp_.get();
}

SocketState QtSocket::state() const {
  if (inError_) return SocketState::Error;
  const QAbstractSocket* s = active();
  if (!s) return SocketState::Closed;
  switch (s->state()) {
    case QAbstractSocket::UnconnectedState:
      return SocketState::Closed;
    case QAbstractSocket::HostLookupState:
      return SocketState::ResolvingHost;
    case QAbstractSocket::ConnectingState:
      return SocketState::Connecting;
    case QAbstractSocket::ConnectedState:
      return SocketState::Connected;
    case QAbstractSocket::BoundState:
      return SocketState::Open;
    case QAbstractSocket::ListeningState:
      return SocketState::Listening;
    case QAbstractSocket::ClosingState:
      return SocketState::Closing;
  }
  return SocketState::Closed;
}

void QtSocket::later(std::function<void()> call) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [life = std::weak_ptr<char>(life_), call = std::move(call)] {
        if (!life.expired()) call();
      },
      Qt::QueuedConnection);
}

// Qt reports some failures from inside connectToHost and writeDatagram, and a failed send
// reports twice (the signal and the result): the program hears of it once, from the loop.
void QtSocket::raiseError(int number, const QString& description) {
  inError_ = true;
  if (errorRaised_) return;
  errorRaised_ = true;
  later([this, error = SocketError{number, description.toStdString()}] {
    if (onError) onError(error);
  });
}

void QtSocket::wireTcp() {
  QTcpSocket* s = tcp_.get();
  QObject::connect(s, &QTcpSocket::connected, s, [this] {
    if (onConnect) onConnect();
  });
  QObject::connect(s, &QTcpSocket::readyRead, s, [this] {
    if (onDataArrival && tcp_->bytesAvailable() > 0)
      onDataArrival(static_cast<long>(tcp_->bytesAvailable()));
  });
  QObject::connect(s, &QTcpSocket::disconnected, s, [this] {
    if (onClose) onClose();
  });
  // A server's normal close is the Close event (above), never an error.
  QObject::connect(s, &QTcpSocket::errorOccurred, s, [this](QAbstractSocket::SocketError e) {
    if (e != QAbstractSocket::RemoteHostClosedError)
      raiseError(errorNumber(e), tcp_->errorString());
  });
}

void QtSocket::wireUdp() {
  QUdpSocket* s = udp_.get();
  QObject::connect(s, &QUdpSocket::readyRead, s, [this] {
    while (udp_ && udp_->hasPendingDatagrams()) {
      const qint64 size = udp_->pendingDatagramSize();
      if (!onDataArrival) break;
      onDataArrival(static_cast<long>(size < 0 ? 0 : size));
      // A handler that did not read the datagram leaves it; do not spin on it.
      if (udp_ && udp_->hasPendingDatagrams() && udp_->pendingDatagramSize() == size) break;
    }
  });
  QObject::connect(s, &QUdpSocket::errorOccurred, s, [this](QAbstractSocket::SocketError e) {
    raiseError(errorNumber(e), udp_->errorString());
  });
}

void QtSocket::Connect() {
  Close();
  inError_ = false;
  if (protocol_ == SocketProtocol::Udp) return;
  tcp_ = std::make_unique<QTcpSocket>();
  tcp_->setProxy(QNetworkProxy::NoProxy);
  wireTcp();
  tcp_->connectToHost(hostText(remoteHost_), static_cast<quint16>(remotePort_));
}

SocketResult QtSocket::Bind() {
  Close();
  udp_ = std::make_unique<QUdpSocket>();
  udp_->setProxy(QNetworkProxy::NoProxy);
  wireUdp();
  if (!udp_->bind(QHostAddress::Any, static_cast<quint16>(localPort_)))
    return {false, {errorNumber(udp_->error()), udp_->errorString().toStdString()}};
  return {};
}

void QtSocket::ResolveHost() {
  resolvedHost_.clear();
  lookUp([this] {
    if (onHostResolved) onHostResolved();
  });
}

void QtSocket::lookUp(std::function<void()> found) {
  const std::string host = remoteHost_;
  QHostAddress literal;
  if (literal.setAddress(hostText(host))) {
    resolvedRemote_ = literal;
    resolvedAll_ = {literal};
    resolvedIndex_ = 0;
    resolvedHost_ = host;
    return later(std::move(found));
  }
  QHostInfo::lookupHost(
      hostText(host), QCoreApplication::instance(),
      [this, life = std::weak_ptr<char>(life_), host, found](const QHostInfo& info) {
        if (life.expired()) return;
        if (info.error() != QHostInfo::NoError || info.addresses().isEmpty())
          return raiseError(11001, info.errorString());
        // IPv4 first, as the loopback servers listen there.
        resolvedAll_.clear();
        for (const QHostAddress& a : info.addresses())
          if (a.protocol() == QAbstractSocket::IPv4Protocol) resolvedAll_.append(a);
        for (const QHostAddress& a : info.addresses())
          if (a.protocol() != QAbstractSocket::IPv4Protocol) resolvedAll_.append(a);
        resolvedIndex_ = 0;
        resolvedRemote_ = resolvedAll_.first();
        resolvedHost_ = host;
        found();
      });
}

SocketResult QtSocket::SendData(const std::vector<uint8_t>& data) {
  const QByteArray bytes(reinterpret_cast<const char*>(data.data()),
                         static_cast<qsizetype>(data.size()));
  if (protocol_ == SocketProtocol::Tcp) {
    if (!tcp_ || tcp_->write(bytes) != bytes.size())
      return {false, {10057, "Socket is not connected"}};
    return {};
  }
  if (!udp_) return {false, {10022, "Socket is not bound"}};
  // Resolved beforehand (ResolveHost): out at once; otherwise after the look-up.
  if (!resolvedHost_.empty() && resolvedHost_ == remoteHost_)
    sendDatagramTo(resolvedRemote_, bytes);
  else
    lookUp([this, bytes] { sendDatagramTo(resolvedRemote_, bytes); });
  return {};
}

void QtSocket::sendDatagramTo(const QHostAddress& address, const QByteArray& data) {
  if (!udp_) return;
  if (udp_->writeDatagram(data, address, static_cast<quint16>(remotePort_)) != data.size())
    raiseError(errorNumber(udp_->error()), udp_->errorString());
}

std::optional<std::vector<uint8_t>> QtSocket::GetData4Bytes() {
  if (protocol_ == SocketProtocol::Udp) {
    auto bytes = GetDataBytes(4);
    if (!bytes || bytes->size() < 4) return std::nullopt;
    return bytes;
  }
  if (!tcp_ || tcp_->bytesAvailable() < 4) return std::nullopt;
  const QByteArray four = tcp_->read(4);
  return std::vector<uint8_t>(four.begin(), four.end());
}

std::optional<std::vector<uint8_t>> QtSocket::GetDataBytes(size_t maxLen) {
  if (protocol_ == SocketProtocol::Udp) {
    if (!udp_ || !udp_->hasPendingDatagrams()) return std::nullopt;
    const QNetworkDatagram d = udp_->receiveDatagram();
    lastFromRemote_ =
        d.senderPort() == remotePort_ &&
        d.senderAddress().isEqual(resolvedRemote_, QHostAddress::ConvertV4MappedToIPv4);
    const QByteArray data =
        d.data().left(static_cast<qsizetype>(std::min<size_t>(maxLen, INT32_MAX)));
    return std::vector<uint8_t>(data.begin(), data.end());
  }
  if (!tcp_) return std::nullopt;
  const qint64 n = std::min<qint64>(tcp_->bytesAvailable(),
                                    static_cast<qint64>(std::min<size_t>(maxLen, INT64_MAX)));
  const QByteArray data = tcp_->read(n);
  return std::vector<uint8_t>(data.begin(), data.end());
}

bool QtSocket::useNextAddress() {
  if (resolvedHost_.empty() || resolvedHost_ != remoteHost_) return false;
  if (resolvedIndex_ + 1 >= resolvedAll_.size()) return false;
  resolvedRemote_ = resolvedAll_[++resolvedIndex_];
  return true;
}

// Closing by the program raises no Close event: only the peer's close does.
void QtSocket::Close() {
  life_ = std::make_shared<char>();
  inError_ = false;
  errorRaised_ = false;
  resolvedHost_.clear();
  if (tcp_) {
    const QSignalBlocker block(tcp_.get());
    tcp_->abort();
    tcp_.release()->deleteLater();
  }
  if (udp_) {
    const QSignalBlocker block(udp_.get());
    udp_->abort();
    udp_.release()->deleteLater();
  }
}

}  // namespace korvane::platform
