#pragma once
// A scripted socket: tests deliver data, errors and closes, and read back what it was asked.
#include <deque>
#include <vector>

#include "platform/socket.h"

namespace korvane::platform {

class FakeSocket : public Socket {
 public:
  SocketState state() const override { return state_; }

  void Connect() override;
  SocketResult Bind() override;
  SocketResult SendData(const std::vector<uint8_t>& data) override;
  std::optional<std::vector<uint8_t>> GetData4Bytes() override;
  std::optional<std::vector<uint8_t>> GetDataBytes(size_t maxLen) override;
  bool lastDatagramFromRemote() const override { return lastFromRemote_; }
  void Close() override;

  // Script: data arriving (a TCP stream piece or one UDP datagram) raises DataArrival.
  void deliver(const std::vector<uint8_t>& data, bool fromRemote = true);
  void deliverText(const std::string& text);
  void raiseError(int number, const std::string& description);
  void peerClose();
  void failNextSend(const std::string& description) { sendFailure_ = description; }
  void failReads(bool on) { failReads_ = on; }
  // Close() needs this many calls before State reads 0 (as a socket still closing does).
  void setClosesNeeded(int n) { closesNeeded_ = n; }

  // Record.
  int connects = 0;
  int binds = 0;
  int closes = 0;
  std::vector<std::vector<uint8_t>> sent;
  // Optional shared record: every Close() appends this socket.
  std::vector<FakeSocket*>* closeLog = nullptr;

 private:
  SocketState state_ = SocketState::Closed;
  std::deque<std::vector<uint8_t>> pending_;  // UDP: one entry per datagram; TCP: one stream
  std::deque<bool> pendingFromRemote_;
  bool lastFromRemote_ = true;
  std::string sendFailure_;
  bool failReads_ = false;
  int closesNeeded_ = 1;
};

class FakeSocketFactory : public SocketFactory {
 public:
  std::unique_ptr<Socket> create() override;
  // Every socket made, in order of creation.
  std::vector<FakeSocket*> made;
  // Every Close() of any socket it made, in order.
  std::vector<FakeSocket*> closeLog;
};

}  // namespace korvane::platform
