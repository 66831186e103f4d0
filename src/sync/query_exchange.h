// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The query tool's view of one exchange: the local clock's offset and the round trip, never a
// setting of the clock.
#include <functional>
#include <string>

#include "sync/exchange.h"

namespace korvane::sync {

struct QueryOutcome {
  bool ok = false;
  double offsetMillis = 0;  // server time minus local time; whole seconds but for SNTP
  double delayMillis = 0;   // the measured round trip; negative when the stamps say so
  std::string error;        // why the exchange failed, in the socket's or plain words
  int stratum = -1;         // an SNTP server's stratum; -1 for the other protocols
  std::string referenceId;  // and its reference id
};

// The query's outcome of an exchange's result.
QueryOutcome queryOutcomeOf(const ExchangeResult& result);

class QueryExchange {
 public:
  using Done = std::function<void(const QueryOutcome&)>;

  QueryExchange(const platform::SystemClock& clock, const platform::Locale& locale,
                platform::SocketFactory& sockets, MonotonicMillis monotonic = steadyMillis())
      : exchange_(clock, locale, sockets, std::move(monotonic)) {}

  // Starts an exchange with host (on port, or the protocol's own when 0); done is called once,
  // with its outcome.
  void start(Protocol protocol, const std::string& host, Done done, int port = 0) {
    exchange_.start(
        protocol, host,
        [done = std::move(done)](const ExchangeResult& r) { done(queryOutcomeOf(r)); }, port);
  }
  // Ends a running exchange as "timed out".
  void timeOut() { exchange_.timeOut(); }
  bool running() const { return exchange_.running(); }
  void setGuard(SntpGuard* guard) { exchange_.setGuard(guard); }

 private:
  Exchange exchange_;
};

// "+S.SSS": signed seconds with three decimals, from milliseconds rounded to the nearest.
std::string signedSeconds(double millis);
// "D.DDD": seconds with three decimals, a minus sign before a negative measurement.
std::string plainSeconds(double millis);
// The tool's line: "HOST PROTOCOL offset +S.SSS s delay D.DDD s", and for SNTP
// " stratum N ref ID" after it.
std::string queryLine(const std::string& host, const std::string& protocol,
                      const QueryOutcome& outcome);

}  // namespace korvane::sync
