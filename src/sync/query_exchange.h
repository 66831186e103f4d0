#pragma once
// One exchange with a time server that measures the local clock's offset and never sets it:
// the same sockets, wire formats and decoders as a synchronisation, for the query tool.
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/ntp_timestamp.h"
#include "platform/clock.h"
#include "platform/locale.h"
#include "platform/socket.h"
#include "sync/protocol.h"

namespace korvane::sync {

struct QueryOutcome {
  bool ok = false;
  double offsetMillis = 0;  // server time minus local time; whole seconds but for SNTP
  double delayMillis = 0;   // the measured round trip
  std::string error;        // why the exchange failed, in the socket's or plain words
};

// Milliseconds from an arbitrary start that never go back.
using MonotonicMillis = std::function<double()>;
MonotonicMillis steadyMillis();

class QueryExchange {
 public:
  using Done = std::function<void(const QueryOutcome&)>;

  // The clock is only read: a const clock cannot be set.
  QueryExchange(const platform::SystemClock& clock, const platform::Locale& locale,
                platform::SocketFactory& sockets, MonotonicMillis monotonic = steadyMillis());

  // Starts an exchange with host (on port, or the protocol's own when 0); done is called once,
  // with its outcome.
  void start(Protocol protocol, const std::string& host, Done done, int port = 0);
  // Ends a running exchange as "timed out".
  void timeOut();
  bool running() const { return static_cast<bool>(done_); }

 private:
  void startTcp(const std::string& host);
  void startSntp(const std::string& host);
  void sendSntpRequest();
  void onData(long bytesTotal);
  void onPeerClose();
  void readWholeSeconds();
  void readDayTime(bool serverClosed);
  void readSntp(long bytesTotal);
  void succeed(double offsetMillis, double delayMillis);
  void fail(const std::string& why);
  void finish(const QueryOutcome& outcome);
  // UTC milliseconds since 1900 of a clock reading, taken as the middle of its millisecond.
  double utcMillisNow() const;
  int64_t utcSecondsNow() const;

  const platform::SystemClock& clock_;
  const platform::Locale& locale_;
  MonotonicMillis monotonic_;
  std::unique_ptr<platform::Socket> socket_;
  Protocol protocol_ = Protocol::Sntp;
  int port_ = 0;
  Done done_;
  int32_t bias_ = 0;
  double startedAt_ = 0;
  std::string dayTimeText_;
  NtpTimestamp sent_;
  double t1_ = 0;
};

// "+S.SSS": signed seconds with three decimals, from milliseconds rounded to the nearest.
std::string signedSeconds(double millis);
// "D.DDD": seconds with three decimals; a negative measurement shows as 0.
std::string unsignedSeconds(double millis);
// The tool's line: "HOST PROTOCOL offset +S.SSS s delay D.DDD s".
std::string queryLine(const std::string& host, const std::string& protocol,
                      const QueryOutcome& outcome);

}  // namespace korvane::sync
