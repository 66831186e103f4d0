// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace korvane::platform {

namespace {

// Bytes taken from a TCP connection per pass, so one flooding server cannot hold the loop.
constexpr size_t kMaxReadPerPass = 65536;
// Larger than any UDP datagram's payload.
constexpr size_t kMaxDatagram = 65536;

// The addresses of host for the socket type, IPv4 first (as the loopback servers listen there).
std::vector<sockaddr_storage> resolve(const std::string& host, int socketType, int port,
                                      SocketError& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = socketType;
  addrinfo* found = nullptr;
  if (const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found); rc != 0) {
    error = lookupErrorOf(rc);
    return {};
  }
  std::vector<sockaddr_storage> out;
  for (const addrinfo* a = found; a; a = a->ai_next) {
    if (a->ai_family != AF_INET && a->ai_family != AF_INET6) continue;
    sockaddr_storage s{};
    std::memcpy(&s, a->ai_addr, std::min<size_t>(a->ai_addrlen, sizeof s));
    const auto p = htons(static_cast<uint16_t>(port));
    if (s.ss_family == AF_INET)
      reinterpret_cast<sockaddr_in&>(s).sin_port = p;
    else
      reinterpret_cast<sockaddr_in6&>(s).sin6_port = p;
    out.push_back(s);
  }
  freeaddrinfo(found);
  std::stable_partition(out.begin(), out.end(),
                        [](const sockaddr_storage& s) { return s.ss_family == AF_INET; });
  if (out.empty()) error = lookupErrorOf(EAI_NONAME);
  return out;
}

bool isAddressLiteral(const std::string& host) {
  in6_addr any;
  return inet_pton(AF_INET, host.c_str(), &any) == 1 ||
         inet_pton(AF_INET6, host.c_str(), &any) == 1;
}

socklen_t lengthOf(const sockaddr_storage& s) {
  return s.ss_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
}

// An address as (family, 16 bytes, port), with IPv4-mapped IPv6 addresses read as IPv4.
struct Endpoint {
  int family = 0;
  uint8_t bytes[16] = {};
  uint16_t port = 0;
  bool operator==(const Endpoint& o) const {
    return family == o.family && port == o.port && std::memcmp(bytes, o.bytes, 16) == 0;
  }
};

Endpoint endpointOf(const sockaddr_storage& s) {
  Endpoint e;
  if (s.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(s);
    e.family = AF_INET;
    std::memcpy(e.bytes, &v4.sin_addr, 4);
    e.port = ntohs(v4.sin_port);
  } else if (s.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(s);
    e.port = ntohs(v6.sin6_port);
    if (IN6_IS_ADDR_V4MAPPED(&v6.sin6_addr)) {
      e.family = AF_INET;
      std::memcpy(e.bytes, v6.sin6_addr.s6_addr + 12, 4);
    } else {
      e.family = AF_INET6;
      std::memcpy(e.bytes, v6.sin6_addr.s6_addr, 16);
    }
  }
  return e;
}

// The IPv4 address s as an IPv4-mapped IPv6 address, for a dual-stack socket.
sockaddr_storage mappedToV6(const sockaddr_storage& s) {
  const auto& v4 = reinterpret_cast<const sockaddr_in&>(s);
  sockaddr_storage out{};
  auto& v6 = reinterpret_cast<sockaddr_in6&>(out);
  v6.sin6_family = AF_INET6;
  v6.sin6_port = v4.sin_port;
  v6.sin6_addr.s6_addr[10] = 0xFF;
  v6.sin6_addr.s6_addr[11] = 0xFF;
  std::memcpy(v6.sin6_addr.s6_addr + 12, &v4.sin_addr, 4);
  return out;
}

int boundFamily(int fd) {
  sockaddr_storage s{};
  socklen_t len = sizeof s;
  return getsockname(fd, reinterpret_cast<sockaddr*>(&s), &len) == 0 ? s.ss_family : AF_UNSPEC;
}

}  // namespace

// The control's error numbers (WinSock codes) for the system's errors; the description is the
// system's own text. Errors without a WinSock twin keep their errno above 10000.
SocketError socketErrorOf(int err) {
  struct Code {
    int err;
    int number;
  };
  static constexpr Code kCodes[] = {
      {ECONNREFUSED, 10061},  {ETIMEDOUT, 10060}, {ENETUNREACH, 10065},  {EHOSTUNREACH, 10065},
      {EADDRINUSE, 10048},    {EACCES, 10013},    {EPERM, 10013},        {ECONNRESET, 10054},
      {ENOTCONN, 10057},      {EINVAL, 10022},    {EAFNOSUPPORT, 10047}, {EMSGSIZE, 10040},
      {EADDRNOTAVAIL, 10049}, {ENETDOWN, 10050},
  };
  for (const Code& c : kCodes)
    if (c.err == err) return {c.number, std::strerror(err)};
  return {10000 + err, std::strerror(err)};
}

SocketError lookupErrorOf(int gaiError) {
  if (gaiError == EAI_AGAIN) return {11002, gai_strerror(gaiError)};
  return {11001, "Host not found"};
}

PosixSocket::PosixSocket(IoLoop& loop, BackgroundWork* lookups) : loop_(loop), lookups_(lookups) {}

void PosixSocket::lookUp(int socketType, Found found) {
  const std::string host = remoteHost_;
  const int port = remotePort_;
  if (!lookups_ || isAddressLiteral(host)) {
    SocketError error;
    const std::vector<sockaddr_storage> addresses = resolve(host, socketType, port, error);
    lookedUpHost_ = host;
    return found(addresses, error);
  }
  struct Result {
    std::vector<sockaddr_storage> addresses;
    SocketError error;
  };
  auto result = std::make_shared<Result>();
  lookups_->run([result, host, socketType,
                 port] { result->addresses = resolve(host, socketType, port, result->error); },
                [this, life = std::weak_ptr<char>(life_), result, host, found = std::move(found)] {
                  if (life.expired()) return;
                  lookedUpHost_ = host;
                  found(result->addresses, result->error);
                });
}

void PosixSocket::useAddresses(const std::vector<sockaddr_storage>& found) {
  resolvedAll_ = found;
  resolvedIndex_ = 0;
  resolvedRemote_ = {found.front(), lengthOf(found.front())};
  resolvedHost_ = lookedUpHost_;
}

PosixSocket::~PosixSocket() {
  Close();
}

void PosixSocket::closeDescriptor() {
  if (fd_ < 0) return;
  loop_.unwatch(fd_);
  ::close(fd_);
  fd_ = -1;
}

// Closing by the program raises no event: only the peer's close does.
void PosixSocket::Close() {
  life_ = std::make_shared<char>();
  closeDescriptor();
  state_ = SocketState::Closed;
  tcpOpen_ = false;
  input_.clear();
  output_.clear();
  candidates_.clear();
  delivering_ = false;
  resolvedHost_.clear();
  errorRaised_ = false;
}

void PosixSocket::errorLater(const SocketError& error) {
  loop_.post([this, life = std::weak_ptr<char>(life_), error] {
    if (!life.expired()) raiseError(error);
  });
}

void PosixSocket::raiseError(const SocketError& error) {
  if (errorRaised_) return;
  errorRaised_ = true;
  if (protocol_ == SocketProtocol::Tcp) closeDescriptor();  // the connection is over
  state_ = SocketState::Error;
  if (onError) onError(error);
}

// --- TCP ---

void PosixSocket::Connect() {
  Close();
  if (protocol_ == SocketProtocol::Udp) return;
  tcpOpen_ = true;
  state_ = SocketState::ResolvingHost;
  lookUp(SOCK_STREAM, [this](const std::vector<sockaddr_storage>& found, const SocketError& error) {
    if (found.empty()) return errorLater(error);
    for (const sockaddr_storage& s : found) candidates_.push_back({s, lengthOf(s)});
    state_ = SocketState::Connecting;
    connectNext();
  });
}

// Tries the next address of the host; after the last one fails, its error is the event.
void PosixSocket::connectNext() {
  while (!candidates_.empty()) {
    const Address a = candidates_.front();
    candidates_.erase(candidates_.begin());
    fd_ = ::socket(a.storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
      lastConnectError_ = socketErrorOf(errno);
      continue;
    }
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&a.storage), a.length) == 0 ||
        errno == EINPROGRESS) {
      // Writable once connected or failed; an immediate success shows the same way.
      loop_.watch(fd_, POLLOUT, [this](short revents) { onTcpReady(revents); });
      return;
    }
    lastConnectError_ = socketErrorOf(errno);
    closeDescriptor();
  }
  errorLater(lastConnectError_);
}

void PosixSocket::onTcpReady(short revents) {
  if (state_ == SocketState::Connecting) {
    int err = 0;
    socklen_t len = sizeof err;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
    if (err != 0) {
      lastConnectError_ = socketErrorOf(err);
      closeDescriptor();
      return connectNext();
    }
    return finishConnect();
  }
  if (revents & POLLOUT) flushOutput();
  if (fd_ >= 0 && (revents & (POLLIN | POLLHUP | POLLERR))) readStream();
}

void PosixSocket::finishConnect() {
  state_ = SocketState::Connected;
  candidates_.clear();
  loop_.setEvents(fd_, static_cast<short>(POLLIN | (output_.empty() ? 0 : POLLOUT)));
  if (onConnect) onConnect();
}

void PosixSocket::readStream() {
  if (delivering_) return;
  bool peerGone = false;
  size_t got = 0;
  SocketError failure;
  uint8_t buffer[4096];
  while (got < kMaxReadPerPass) {
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0) {
      input_.insert(input_.end(), buffer, buffer + n);
      got += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    // A reset is how some servers end their answer: like the normal end, it is the Close event.
    if (n == 0 || errno == ECONNRESET)
      peerGone = true;
    else
      failure = socketErrorOf(errno);
    break;
  }
  const std::weak_ptr<char> life = life_;
  if (got > 0 && onDataArrival && !input_.empty()) {
    delivering_ = true;
    onDataArrival(static_cast<long>(input_.size()));
    if (life.expired()) return;  // the handler closed the socket (or destroyed it)
    delivering_ = false;
  }
  if (failure.number != 0) return raiseError(failure);
  if (peerGone) peerClosed();
}

void PosixSocket::peerClosed() {
  closeDescriptor();
  state_ = SocketState::Closed;  // what arrived stays readable until Close or Connect
  if (onClose) onClose();
}

void PosixSocket::flushOutput() {
  while (!output_.empty()) {
    const ssize_t n = ::send(fd_, output_.data(), output_.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n > 0) {
      output_.erase(output_.begin(), output_.begin() + n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    output_.clear();
    errorLater(socketErrorOf(errno));
    break;
  }
  loop_.setEvents(fd_, static_cast<short>(POLLIN | (output_.empty() ? 0 : POLLOUT)));
}

// --- UDP ---

SocketResult PosixSocket::Bind() {
  Close();
  // Dual-stack where the system has IPv6, so that replies from either family arrive.
  fd_ = ::socket(AF_INET6, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  sockaddr_storage any{};
  if (fd_ >= 0) {
    const int off = 0;
    setsockopt(fd_, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
    auto& v6 = reinterpret_cast<sockaddr_in6&>(any);
    v6.sin6_family = AF_INET6;
    v6.sin6_addr = in6addr_any;
    v6.sin6_port = htons(static_cast<uint16_t>(localPort_));
  } else {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return {false, socketErrorOf(errno)};
    auto& v4 = reinterpret_cast<sockaddr_in&>(any);
    v4.sin_family = AF_INET;
    v4.sin_addr.s_addr = htonl(INADDR_ANY);
    v4.sin_port = htons(static_cast<uint16_t>(localPort_));
  }
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&any), lengthOf(any)) != 0) {
    const SocketError error = socketErrorOf(errno);
    closeDescriptor();
    return {false, error};
  }
  state_ = SocketState::Open;
  loop_.watch(fd_, POLLIN, [this](short) { onDatagramReady(); });
  return {};
}

SocketResult PosixSocket::SendData(const std::vector<uint8_t>& data) {
  if (protocol_ == SocketProtocol::Udp) return sendDatagram(data);
  if (!tcpOpen_ || fd_ < 0) return {false, {10057, "Socket is not connected"}};
  output_.insert(output_.end(), data.begin(), data.end());
  if (state_ == SocketState::Connected) flushOutput();
  return {};
}

void PosixSocket::ResolveHost() {
  resolvedHost_.clear();
  const int type = protocol_ == SocketProtocol::Udp ? SOCK_DGRAM : SOCK_STREAM;
  lookUp(type, [this](const std::vector<sockaddr_storage>& found, const SocketError& error) {
    if (found.empty()) return errorLater(error);
    useAddresses(found);
    loop_.post([this, life = std::weak_ptr<char>(life_)] {
      if (!life.expired() && onHostResolved) onHostResolved();
    });
  });
}

bool PosixSocket::useNextAddress() {
  if (resolvedHost_.empty() || resolvedHost_ != remoteHost_) return false;
  if (resolvedIndex_ + 1 >= resolvedAll_.size()) return false;
  const sockaddr_storage& next = resolvedAll_[++resolvedIndex_];
  resolvedRemote_ = {next, lengthOf(next)};
  return true;
}

// A failed look-up or send is the Error event, as on the desktop backend; the call itself
// succeeds.
SocketResult PosixSocket::sendDatagram(const std::vector<uint8_t>& data) {
  if (fd_ < 0) return {false, {10022, "Socket is not bound"}};
  // Resolved beforehand (ResolveHost): out at once, no look-up between the caller's timestamp and
  // the send; otherwise after the look-up.
  if (!resolvedHost_.empty() && resolvedHost_ == remoteHost_) {
    sendResolved(data);
    return {};
  }
  lookUp(SOCK_DGRAM,
         [this, data](const std::vector<sockaddr_storage>& found, const SocketError& error) {
           if (found.empty()) return errorLater(error);
           useAddresses(found);
           sendResolved(data);
         });
  return {};
}

void PosixSocket::sendResolved(const std::vector<uint8_t>& data) {
  if (fd_ < 0) return;
  const int family = boundFamily(fd_);
  sockaddr_storage target = resolvedRemote_.storage;
  if (family == AF_INET6 && target.ss_family == AF_INET) target = mappedToV6(target);
  if (family == AF_INET && target.ss_family == AF_INET6)
    return errorLater(socketErrorOf(EAFNOSUPPORT));
  const ssize_t n = ::sendto(fd_, data.data(), data.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                             reinterpret_cast<const sockaddr*>(&target), lengthOf(target));
  if (n < 0 || static_cast<size_t>(n) != data.size())
    errorLater(n < 0 ? socketErrorOf(errno) : socketErrorOf(EMSGSIZE));
}

bool PosixSocket::datagramPending() const {
  if (fd_ < 0) return false;
  return ::recv(fd_, nullptr, 0, MSG_PEEK | MSG_DONTWAIT) >= 0;
}

void PosixSocket::onDatagramReady() {
  if (delivering_) return;
  const std::weak_ptr<char> life = life_;
  while (onDataArrival && datagramPending()) {
    // MSG_TRUNC makes the peek return the datagram's whole size (Linux).
    const ssize_t size = ::recv(fd_, nullptr, 0, MSG_PEEK | MSG_TRUNC | MSG_DONTWAIT);
    const uint64_t readBefore = datagramsRead_;
    delivering_ = true;
    onDataArrival(static_cast<long>(std::max<ssize_t>(size, 0)));
    if (life.expired()) return;
    delivering_ = false;
    // A handler that left the datagram gets no new event until the program reads it.
    if (datagramsRead_ == readBefore) break;
  }
  if (fd_ >= 0 && datagramPending()) loop_.setEvents(fd_, 0);
}

std::optional<std::vector<uint8_t>> PosixSocket::GetData4Bytes() {
  if (protocol_ == SocketProtocol::Udp) {
    auto bytes = GetDataBytes(4);
    if (!bytes || bytes->size() < 4) return std::nullopt;
    return bytes;
  }
  if (!tcpOpen_ || input_.size() < 4) return std::nullopt;
  return GetDataBytes(4);
}

std::optional<std::vector<uint8_t>> PosixSocket::GetDataBytes(size_t maxLen) {
  if (protocol_ == SocketProtocol::Tcp) {
    if (!tcpOpen_) return std::nullopt;
    const size_t n = std::min(maxLen, input_.size());
    std::vector<uint8_t> out(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(n));
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(n));
    return out;
  }
  if (fd_ < 0) return std::nullopt;
  std::vector<uint8_t> out(std::min(maxLen, kMaxDatagram));
  sockaddr_storage from{};
  socklen_t fromLength = sizeof from;
  const ssize_t n = ::recvfrom(fd_, out.data(), out.size(), MSG_DONTWAIT,
                               reinterpret_cast<sockaddr*>(&from), &fromLength);
  if (n < 0) return std::nullopt;
  out.resize(std::min(static_cast<size_t>(n), out.size()));
  const Endpoint sender = endpointOf(from);
  const Endpoint remote = endpointOf(resolvedRemote_.storage);
  lastFromRemote_ = resolvedRemote_.length != 0 && sender == remote && sender.port == remotePort_;
  ++datagramsRead_;
  loop_.setEvents(fd_, POLLIN);
  return out;
}

}  // namespace korvane::platform
