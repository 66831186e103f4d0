// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scripted socket: tests deliver data, errors and closes, and read back what it was asked.
// Given an event loop, the events that follow its own calls (a failure, a resolved host) are
// posted to it as a real backend raises them; without one, a host resolves inside the call.
#include <deque>
#include <vector>

#include "platform/fake/fake_event_loop.h"
#include "platform/socket.h"

namespace korvane::platform {

class FakeSocket : public Socket {
 public:
  explicit FakeSocket(FakeEventLoop* events = nullptr) : events_(events) {}
  SocketState state() const override { return state_; }

  void Connect() override;
  SocketResult Bind() override;
  void ResolveHost() override;
  SocketResult SendData(const std::vector<uint8_t>& data) override;
  std::optional<std::vector<uint8_t>> GetData4Bytes() override;
  std::optional<std::vector<uint8_t>> GetDataBytes(size_t maxLen) override;
  bool lastDatagramFromRemote() const override { return lastFromRemote_; }
  bool useNextAddress() override {
    if (addressesLeft <= 0) return false;
    --addressesLeft;
    ++addressSwitches;
    return true;
  }
  void Close() override;

  // Script: data arriving (a TCP stream piece or one UDP datagram) raises DataArrival.
  void deliver(const std::vector<uint8_t>& data, bool fromRemote = true);
  void deliverText(const std::string& text);
  void raiseError(int number, const std::string& description);
  void peerClose();
  // The next Connect or SendData fails: its Error event is posted to the loop.
  void failNext(const std::string& description) { failure_ = description; }
  void failReads(bool on) { failReads_ = on; }
  // Close() needs this many calls before State reads 0 (as a socket still closing does).
  void setClosesNeeded(int n) { closesNeeded_ = n; }

  // Record.
  int connects = 0;
  int binds = 0;
  int resolves = 0;
  int closes = 0;
  // Script: further addresses the host resolves to, and how often the next one was taken.
  int addressesLeft = 0;
  int addressSwitches = 0;
  std::vector<std::vector<uint8_t>> sent;
  // Optional shared record: every Close() appends this socket.
  std::vector<FakeSocket*>* closeLog = nullptr;

 private:
  // Posts the event to the loop; the socket must outlive the loop's pass.
  void post(std::function<void()> event);
  bool takeFailure();

  FakeEventLoop* events_;
  SocketState state_ = SocketState::Closed;
  std::deque<std::vector<uint8_t>> pending_;  // UDP: one entry per datagram; TCP: one stream
  std::deque<bool> pendingFromRemote_;
  bool lastFromRemote_ = true;
  std::string failure_;
  bool failReads_ = false;
  int closesNeeded_ = 1;
};

class FakeSocketFactory : public SocketFactory {
 public:
  explicit FakeSocketFactory(FakeEventLoop* events = nullptr) : events_(events) {}
  std::unique_ptr<Socket> create() override;
  // Every socket made, in order of creation.
  std::vector<FakeSocket*> made;
  // Every Close() of any socket it made, in order.
  std::vector<FakeSocket*> closeLog;

 private:
  FakeEventLoop* events_;
};

}  // namespace korvane::platform
