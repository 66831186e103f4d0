// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One protocol exchange with one time server over one socket, reported once as a typed result.
// Every rule of the wire lives here, for the program and the query tool alike: the host is
// resolved before T1 is stamped, split replies are gathered, one reply is taken per request,
// datagrams from elsewhere are dropped and 32-bit counts take the era nearest the local clock.
#include <functional>
#include <memory>
#include <string>

#include "common/ntp_timestamp.h"
#include "platform/clock.h"
#include "platform/locale.h"
#include "platform/socket.h"
#include "sync/protocol.h"
#include "sync/sntp_guard.h"

namespace korvane::sync {

// Milliseconds from an arbitrary start that never go back.
using MonotonicMillis = std::function<double()>;
MonotonicMillis steadyMillis();

enum class ExchangeKind {
  Answer,           // the server's time arrived and reads as one
  UnreadableReply,  // something arrived that is not a usable time
  SocketError,      // the socket failed (look-up, connection, send)
  TimedOut,         // the caller gave up waiting
};

struct ExchangeResult {
  Protocol protocol = Protocol::Sntp;
  std::string host;  // as asked, trimmed
  ExchangeKind kind = ExchangeKind::TimedOut;
  // Answer of Time, UnixTime and DayTime: the server's UTC and the local clock's UTC when the
  // reply was read, whole seconds since 1900-01-01.
  int64_t serverSeconds = 0;
  int64_t localSeconds = 0;
  // Answer of SNTP: T1 (sent), T2 (server received), T3 (server sent), T4 (received), in UTC
  // milliseconds since 1900-01-01, every one in the era nearest the local clock.
  double t1 = 0, t2 = 0, t3 = 0, t4 = 0;
  // The round trip by the steady clock: request (or connection) to reply.
  double roundTripMillis = 0;
  // Why, in plain words, when the kind is not Answer.
  std::string why;
  // The reply as it came, where a status shows it (a DayTime line that is not a date).
  std::string reply;
  // The kiss code of an SNTP server that turned the request away ("DENY", "RATE", ...).
  std::string kissCode;
  // An SNTP answer's stratum and reference id (see sntpReferenceId); -1 and empty otherwise.
  int stratum = -1;
  std::string referenceId;

  // Server time minus local time.
  double offsetMillis() const;
  // The round trip, less the server's holding time for SNTP; it may come out negative.
  double delayMillis() const;
};

class Exchange {
 public:
  using Done = std::function<void(const ExchangeResult&)>;

  // The clock is only read: a const clock cannot be set.
  Exchange(const platform::SystemClock& clock, const platform::Locale& locale,
           platform::SocketFactory& sockets, MonotonicMillis monotonic = steadyMillis());

  // Starts an exchange with host (on port, or the protocol's own when 0); done is called once,
  // later, with its result.
  void start(Protocol protocol, const std::string& host, Done done, int port = 0);
  // Ends a running exchange as timed out; a reply after it is not read.
  void timeOut();
  // SNTP without an answer yet: the request goes again, to the host's next address, when it
  // has one (a host whose first address family does not answer).
  void tryNextAddress();
  // Closes the socket; a running exchange ends without a result.
  void abandon();
  bool running() const { return static_cast<bool>(done_); }
  // SNTP requests and replies go through guard (Network Time Security) until it is reset.
  void setGuard(SntpGuard* guard) { guard_ = guard; }

  // A request went out (SNTP), and a piece of a reply came in.
  std::function<void()> onRequestSent;
  std::function<void()> onReplyData;

 private:
  void startTcp();
  void startSntp();
  void sendSntpRequest();
  void onData(long bytesTotal);
  void onPeerClose();
  void readWholeSeconds();
  void readDayTime(bool serverClosed);
  void readSntp(long bytesTotal);
  void refuseSntp(ExchangeResult& result, const std::string& why);
  void answerSeconds(int64_t serverSeconds);
  void fail(ExchangeKind kind, const std::string& why);
  ExchangeResult resultOf(ExchangeKind kind) const;
  void finish(ExchangeResult& result);
  double utcMillisNow() const;
  int64_t utcSecondsNow() const;

  const platform::SystemClock& clock_;
  const platform::Locale& locale_;
  MonotonicMillis monotonic_;
  std::unique_ptr<platform::Socket> socket_;
  Protocol protocol_ = Protocol::Sntp;
  std::string host_;
  Done done_;
  int32_t bias_ = 0;
  double startedAt_ = 0;
  std::string dayTimeText_;
  NtpTimestamp sent_;
  double t1_ = 0;
  bool requestOut_ = false;
  SntpGuard* guard_ = nullptr;
};

}  // namespace korvane::sync
