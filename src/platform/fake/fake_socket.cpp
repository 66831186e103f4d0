// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/fake_socket.h"

#include <algorithm>

namespace korvane::platform {

void FakeSocket::post(std::function<void()> event) {
  if (events_)
    events_->post(std::move(event));
  else
    event();
}

bool FakeSocket::takeFailure() {
  if (failure_.empty()) return false;
  post([this, description = failure_] { raiseError(10065, description); });
  failure_.clear();
  return true;
}

void FakeSocket::Connect() {
  ++connects;
  state_ = SocketState::Connected;
  takeFailure();
}

void FakeSocket::ResolveHost() {
  ++resolves;
  post([this] {
    if (onHostResolved) onHostResolved();
  });
}

SocketResult FakeSocket::Bind() {
  ++binds;
  state_ = SocketState::Open;
  return {};
}

SocketResult FakeSocket::SendData(const std::vector<uint8_t>& data) {
  if (!takeFailure()) sent.push_back(data);
  return {};
}

void FakeSocket::deliver(const std::vector<uint8_t>& data, bool fromRemote) {
  if (protocol_ == SocketProtocol::Udp || pending_.empty()) {
    pending_.push_back(data);
    pendingFromRemote_.push_back(fromRemote);
  } else {
    pending_.front().insert(pending_.front().end(), data.begin(), data.end());
  }
  if (onDataArrival) onDataArrival(static_cast<long>(pending_.front().size()));
}

void FakeSocket::deliverText(const std::string& text) {
  deliver(std::vector<uint8_t>(text.begin(), text.end()));
}

void FakeSocket::raiseError(int number, const std::string& description) {
  state_ = SocketState::Error;
  if (onError) onError({number, description});
}

void FakeSocket::peerClose() {
  state_ = SocketState::Closing;
  if (onClose) onClose();
}

std::optional<std::vector<uint8_t>> FakeSocket::GetData4Bytes() {
  if (failReads_ || pending_.empty() || pending_.front().size() < 4) return std::nullopt;
  std::vector<uint8_t>& front = pending_.front();
  std::vector<uint8_t> four(front.begin(), front.begin() + 4);
  front.erase(front.begin(), front.begin() + 4);
  if (front.empty()) pending_.pop_front(), pendingFromRemote_.pop_front();
  return four;
}

std::optional<std::vector<uint8_t>> FakeSocket::GetDataBytes(size_t maxLen) {
  if (failReads_ || pending_.empty()) return std::nullopt;
  std::vector<uint8_t> front = std::move(pending_.front());
  lastFromRemote_ = pendingFromRemote_.front();
  pending_.pop_front();
  pendingFromRemote_.pop_front();
  if (front.size() > maxLen) {
    if (protocol_ == SocketProtocol::Tcp) {
      pending_.push_front(std::vector<uint8_t>(front.begin() + maxLen, front.end()));
      pendingFromRemote_.push_front(lastFromRemote_);
    }
    front.resize(maxLen);
  }
  return front;
}

void FakeSocket::Close() {
  ++closes;
  if (closeLog) closeLog->push_back(this);
  if (--closesNeeded_ <= 0) {
    state_ = SocketState::Closed;
    closesNeeded_ = 1;
  }
  if (protocol_ == SocketProtocol::Tcp) {
    pending_.clear();
    pendingFromRemote_.clear();
  }
}

std::unique_ptr<Socket> FakeSocketFactory::create() {
  auto socket = std::make_unique<FakeSocket>(events_);
  made.push_back(socket.get());
  socket->closeLog = &closeLog;
  return socket;
}

}  // namespace korvane::platform
