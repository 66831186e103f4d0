// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The event-driven socket control: one TCP or UDP socket whose events arrive on the UI thread.
// Every event, errors included, comes later from the event loop, never from inside the call
// that caused it: a handler may close the socket without pulling it from under the backend.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvane::platform {

enum class SocketProtocol : int { Tcp = 0, Udp = 1 };

// The control's State values.
enum class SocketState : int {
  Closed = 0,
  Open = 1,
  Listening = 2,
  ConnectionPending = 3,
  ResolvingHost = 4,
  HostResolved = 5,
  Connecting = 6,
  Connected = 7,
  Closing = 8,
  Error = 9,
};

struct SocketError {
  int number = 0;
  std::string description;
};

// The result of a call that may raise an error.
struct SocketResult {
  bool ok = true;
  SocketError error;
};

class Socket {
 public:
  virtual ~Socket() = default;

  // The control's properties: plain values every backend reads when it connects or sends.
  void setProtocol(SocketProtocol protocol) { protocol_ = protocol; }
  SocketProtocol protocol() const { return protocol_; }
  void setRemoteHost(const std::string& host) { remoteHost_ = host; }
  const std::string& remoteHost() const { return remoteHost_; }
  void setRemotePort(int port) { remotePort_ = port; }
  int remotePort() const { return remotePort_; }
  void setLocalPort(int port) { localPort_ = port; }
  int localPort() const { return localPort_; }
  virtual SocketState state() const = 0;

  // TCP: resolve RemoteHost and connect to RemotePort; the outcome arrives as an event.
  virtual void Connect() = 0;
  // UDP: bind to LocalPort (0 = any) so that datagrams can arrive.
  virtual SocketResult Bind() = 0;
  // Looks RemoteHost up; HostResolved (or Error) follows. A later UDP SendData to the same host
  // then goes out at once, so a timestamp taken in HostResolved does not include the look-up.
  virtual void ResolveHost() = 0;
  // TCP: send on the connection. UDP: send one datagram to RemoteHost:RemotePort. A failure to
  // send is the Error event; the result fails only for a socket not connected or bound.
  virtual SocketResult SendData(const std::vector<uint8_t>& data) = 0;
  // What has arrived, as text (TCP: all of it; UDP: the next datagram).
  std::optional<std::string> GetDataText() {
    auto bytes = GetDataBytes(SIZE_MAX);
    if (!bytes) return std::nullopt;
    return std::string(bytes->begin(), bytes->end());
  }
  // The first 4 bytes in the order they arrived; empty (nothing consumed) when fewer arrived.
  virtual std::optional<std::vector<uint8_t>> GetData4Bytes() = 0;
  // At most maxLen bytes (UDP: of the next datagram, the rest of which is dropped).
  virtual std::optional<std::vector<uint8_t>> GetDataBytes(size_t maxLen) = 0;
  // UDP: true when the datagram last read came from RemoteHost's address and RemotePort.
  virtual bool lastDatagramFromRemote() const = 0;
  // UDP: the next address RemoteHost resolved to becomes the one datagrams go to and are taken
  // from (a host whose first family does not answer); false when there is none.
  virtual bool useNextAddress() { return false; }
  // Closes the socket; harmless on a closed one.
  virtual void Close() = 0;

  // Events, raised on the UI thread. At most one Error per socket until it is closed, bound or
  // connected again.
  std::function<void(long bytesTotal)> onDataArrival;
  std::function<void(const SocketError& error)> onError;
  std::function<void()> onHostResolved;
  std::function<void()> onClose;
  std::function<void()> onConnect;

 protected:
  SocketProtocol protocol_ = SocketProtocol::Tcp;
  std::string remoteHost_;
  int remotePort_ = 0;
  int localPort_ = 0;
};

class SocketFactory {
 public:
  virtual ~SocketFactory() = default;
  virtual std::unique_ptr<Socket> create() = 0;
};

}  // namespace korvane::platform
