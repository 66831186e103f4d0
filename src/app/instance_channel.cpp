// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/instance_channel.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>

namespace korvane::app {

namespace {

constexpr std::string_view kShowRequest = "show\n";
constexpr size_t kMaxRequestBytes = 64;

// The socket address of path; false when the path is too long for one.
bool addressOf(const std::string& path, sockaddr_un& address) {
  address = {};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

}  // namespace

InstanceListener::InstanceListener(const std::string& path, std::function<void()> show)
    : path_(path), show_(std::move(show)) {
  sockaddr_un address;
  if (!addressOf(path, address)) return;
  // The instance lock is held: a socket file left by a crashed instance is stale.
  ::unlink(path.c_str());
  fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  const mode_t mask = ::umask(077);  // the user's own: nobody else may ask
  const bool bound = ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::umask(mask);
  if (!bound || ::listen(fd_, 4) != 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  incoming_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  QObject::connect(incoming_.get(), &QSocketNotifier::activated, this, [this] { accept(); });
}

InstanceListener::~InstanceListener() {
  for (auto& [client, notifier] : clients_) ::close(client);
  if (fd_ < 0) return;
  incoming_.reset();
  ::close(fd_);
  ::unlink(path_.c_str());
}

void InstanceListener::accept() {
  int client;
  while ((client = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0) {
    auto notifier = std::make_unique<QSocketNotifier>(client, QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, this,
                     [this, client] { read(client); });
    clients_[client] = std::move(notifier);
  }
}

// One read answers a client: what it sent first is its whole request.
void InstanceListener::read(int client) {
  char request[kMaxRequestBytes];
  const ssize_t n = ::recv(client, request, sizeof request, MSG_DONTWAIT);
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
  drop(client);
  if (n > 0 && std::string_view(request, static_cast<size_t>(n)).starts_with(kShowRequest)) show_();
}

// The notifier may be the one whose signal is running: disabled now, deleted later.
void InstanceListener::drop(int client) {
  const auto it = clients_.find(client);
  if (it == clients_.end()) return;
  it->second->setEnabled(false);
  it->second.release()->deleteLater();
  clients_.erase(it);
  ::close(client);
}

bool askToShow(const std::string& path) {
  sockaddr_un address;
  if (!addressOf(path, address)) return false;
  // The first instance listens once its start-up is done: a second start right after it waits.
  for (int attempt = 0; attempt < 5; ++attempt) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      const bool sent = ::send(fd, kShowRequest.data(), kShowRequest.size(), MSG_NOSIGNAL) ==
                        static_cast<ssize_t>(kShowRequest.size());
      ::close(fd);
      return sent;
    }
    ::close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return false;
}

}  // namespace korvane::app
