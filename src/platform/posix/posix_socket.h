// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The socket control on POSIX sockets, driven by an IoLoop (the command-line tool's PollLoop, the
// desktop's Qt loop); events arrive from the loop on its thread, never from inside the call that
// caused them.
//
// Host names are resolved with getaddrinfo: given background work, off the loop's thread (the
// desktop, whose windows must not wait for the resolver); without, inside Connect, ResolveHost and
// SendData (command-line use, where nothing else waits meanwhile). Address literals are never
// looked up. Proxies are never used: a time server's answer is only good for the path it took.
#include <sys/socket.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/background.h"
#include "platform/posix/io_loop.h"
#include "platform/socket.h"

namespace korvane::platform {

class PosixSocket : public Socket {
 public:
  // The loop, and the background work where given, must outlive the socket.
  explicit PosixSocket(IoLoop& loop, BackgroundWork* lookups = nullptr);
  ~PosixSocket() override;
  PosixSocket(const PosixSocket&) = delete;
  PosixSocket& operator=(const PosixSocket&) = delete;

  SocketState state() const override { return state_; }

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
  struct Address {
    sockaddr_storage storage{};
    socklen_t length = 0;
  };

  // Resolves RemoteHost for the socket type, then calls found with its addresses (IPv4 first) or,
  // when there are none, with the error; found does not run once the socket is closed or gone.
  using Found = std::function<void(const std::vector<sockaddr_storage>&, const SocketError&)>;
  void lookUp(int socketType, Found found);
  // TCP
  void connectNext();
  void onTcpReady(short revents);
  void finishConnect();
  void readStream();
  void flushOutput();
  void peerClosed();
  // UDP
  SocketResult sendDatagram(const std::vector<uint8_t>& data);
  void sendResolved(const std::vector<uint8_t>& data);
  void useAddresses(const std::vector<sockaddr_storage>& found);
  void onDatagramReady();
  bool datagramPending() const;

  // Raises Error from the loop, unless the socket is closed or gone by then.
  void errorLater(const SocketError& error);
  // Raises Error unless one was raised since the socket was last closed.
  void raiseError(const SocketError& error);
  void closeDescriptor();

  IoLoop& loop_;
  BackgroundWork* lookups_;
  SocketState state_ = SocketState::Closed;
  int fd_ = -1;
  bool tcpOpen_ = false;  // a connection exists (from Connect until Close), its data readable
  std::vector<Address> candidates_;  // addresses of RemoteHost still to try
  SocketError lastConnectError_;
  std::vector<uint8_t> input_;   // TCP bytes arrived and not yet read
  std::vector<uint8_t> output_;  // TCP bytes not yet sent
  Address resolvedRemote_;
  std::string resolvedHost_;                   // the RemoteHost that resolvedRemote_ belongs to
  std::string lookedUpHost_;                   // the host of the look-up that just ended
  std::vector<sockaddr_storage> resolvedAll_;  // every address of resolvedHost_, IPv4 first
  size_t resolvedIndex_ = 0;
  bool lastFromRemote_ = false;
  bool errorRaised_ = false;
  bool delivering_ = false;     // inside DataArrival: a nested pass must not raise it again
  uint64_t datagramsRead_ = 0;  // tells whether DataArrival's handler took the datagram
  // Replaced on Close: calls posted for the old socket find theirs expired and do nothing.
  std::shared_ptr<char> life_ = std::make_shared<char>();
};

// The control's error (WinSock number, the system's words) for an errno value of a socket call.
SocketError socketErrorOf(int err);
// The control's error for a getaddrinfo result code: 11001 "Host not found" unless the resolver
// only failed for now (11002).
SocketError lookupErrorOf(int gaiError);

class PosixSocketFactory : public SocketFactory {
 public:
  explicit PosixSocketFactory(IoLoop& loop, BackgroundWork* lookups = nullptr)
      : loop_(loop), lookups_(lookups) {}
  std::unique_ptr<Socket> create() override {
    return std::make_unique<PosixSocket>(loop_, lookups_);
  }

 private:
  IoLoop& loop_;
  BackgroundWork* lookups_;
};

}  // namespace korvane::platform
