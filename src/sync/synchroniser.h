// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One synchronisation at a time: a server and a protocol choice in, one exchange, the clock
// change, and one outcome value out.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/locale.h"
#include "platform/random.h"
#include "platform/socket.h"
#include "sync/exchange.h"
#include "sync/nts_keyring.h"
#include "sync/protocol.h"

namespace korvane::sync {

struct SyncServices {
  platform::SystemClock& clock;
  platform::EventLoop& events;
  const platform::Locale& locale;
  platform::RandomSource& random;
  platform::SocketFactory& sockets;
};

// The server to ask: its host and its "Time:SNTP:DayTime:UnixTime" port text of the list.
struct ServerChoice {
  std::string host;
  std::string ports;
};

enum class OutcomeKind {
  Adjusted,         // the clock was changed by amount
  Correct,          // the clock was right: nothing changed
  ClockRefused,     // the system refused the change; text says why
  TimedOut,         // no answer in time
  SocketError,      // text is the socket's description
  UnreadableReply,  // text says why; reply holds a DayTime line that is not a date
  NoServer,         // no exchange could be started
  NotAsked,         // the server turned this computer away or asked it to wait; text says so
  Unconfirmed,      // a change larger than the bound that no second server confirmed
};

struct SyncOutcome {
  OutcomeKind kind = OutcomeKind::NoServer;
  Protocol protocol = Protocol::Time;
  std::string host;
  int64_t amount = 0;  // Adjusted: seconds, or milliseconds for SNTP
  std::string text;
  std::string reply;
  std::string brief;     // ClockRefused: the reason in a few words, what to do first; may be empty
  std::string kissCode;  // an SNTP server's kiss-o'-death code ("DENY", "RATE", ...)
  // Unconfirmed: the change the server asked for, the bound, and the second server that
  // disagreed (empty when none answered or none was there to ask).
  double offsetMillis = 0;
  int64_t boundSeconds = 0;
  std::string disagreeing;
  bool declined = false;  // Unconfirmed: the user was asked and said No

  // The clock was set or found right.
  bool synchronised() const {
    return kind == OutcomeKind::Adjusted || kind == OutcomeKind::Correct;
  }
};

// The exchange a protocol choice gives for a server's port text; empty when it names none.
std::optional<Protocol> chooseProtocol(std::string_view ports, std::string_view protocolChoice,
                                       platform::RandomSource& random);

class Synchroniser {
 public:
  static constexpr int kTimeOutTicks = 25;
  // Ticks without an SNTP answer before the request goes to the host's next address.
  static constexpr int kNextAddressTicks = 3;

  explicit Synchroniser(SyncServices services, MonotonicMillis monotonic = steadyMillis());

  // Starts an exchange with the server by the protocol choice, or by Time alone; false when the
  // choice gives no exchange or one already runs.
  // A change larger than the bound needs one of confirmers (other servers of the region, asked
  // in turn) to agree.
  // When the user started it and no server confirms, askUser decides.
  bool start(const ServerChoice& server, std::string_view protocolChoice, bool timeOnly = false,
             std::vector<ServerChoice> confirmers = {}, bool userStarted = false);
  // One second has passed: a synchronisation waiting this long times out.
  void tick();
  // Ends a running synchronisation without an outcome and closes its socket.
  void stop();
  // An exchange runs, the key establishment runs, or the clock has yet to answer its change.
  bool busy() const { return exchange_.running() || keying_ || clockChange_ != nullptr; }
  // SNTP with a server whose list line names a key establishment port is NTS through keyring,
  // and never plain SNTP.
  void setNts(NtsKeyring* keyring) { nts_ = keyring; }
  // The synchronisation last started is NTS.
  bool usingNts() const { return ntsRun_; }
  // The protocol of the exchange last started.
  Protocol protocol() const { return protocol_; }
  // Ticks since the exchange last started.
  int32_t SyncTicks = 0;
  // The interval of automatic synchronisations: a server that asked to slow down waits twice it.
  int64_t intervalSeconds = 0;
  // The largest change made on one server's word, in seconds; 0: no bound.
  int64_t maxSilentChangeSeconds = 1000;
  // False while host turned this computer away (DENY, RSTR) or asked it to wait (RATE).
  bool mayAsk(const std::string& host) const;

  // Observers, called on the UI thread.
  std::function<void(Protocol)> onExchangeStarted;
  std::function<void()> onRequestSent;
  std::function<void()> onReplyData;
  std::function<void(const SyncOutcome&)> onOutcome;
  // Asked with the Unconfirmed outcome of a synchronisation the user started: true to make the
  // change all the same.
  std::function<bool(const SyncOutcome&)> askUser;

 private:
  using ClockRequest = std::function<void(platform::SystemClock::ClockAnswer)>;
  void exchangeEnded(const ExchangeResult& result);
  void report(SyncOutcome outcome, const ExchangeResult& result);
  void applyAnswer(const ExchangeResult& result);
  void setWholeSeconds(const ExchangeResult& result);
  void shiftByOffset(const ExchangeResult& result);
  void changeClock(const ExchangeResult& result, int64_t amount, const ClockRequest& ask);
  void startNts();
  void ntsReady(const std::string& why);
  void ntsFailed(OutcomeKind kind, const std::string& why);
  bool ntsExchangeEnded();
  // The kiss codes of RFC 5905 section 7.4: stop asking on DENY and RSTR, slow down on RATE.
  std::string heedKissCode(const std::string& host, const std::string& code);
  std::optional<SyncOutcome> notAsked(const std::string& host) const;
  // A change beyond the bound is applied only when a second, different server confirms it.
  bool beyondBound(const ExchangeResult& result) const;
  bool askNextConfirmer();
  std::optional<SyncOutcome> confirmationOutcome(const ExchangeResult& result);
  SyncOutcome unconfirmed(const std::string& disagreeing);
  void shiftAfterYes(const ExchangeResult& first);

  SyncServices services_;
  MonotonicMillis monotonic_;
  std::set<std::string> turnedAway_;
  std::map<std::string, double> waitUntil_;  // host: steady milliseconds
  std::string protocolChoice_;
  std::vector<ServerChoice> confirmers_;
  bool userStarted_ = false;
  std::optional<ExchangeResult> first_;  // the answer beyond the bound, awaiting confirmation
  Exchange exchange_;
  Protocol protocol_ = Protocol::Time;
  std::shared_ptr<int> clockChange_;  // while the clock has yet to answer; its end drops it
  NtsKeyring* nts_ = nullptr;
  std::unique_ptr<NtsGuard> guard_;
  std::string ntsHost_;
  int ntsPort_ = 0;
  bool ntsRun_ = false, keying_ = false, rekeyed_ = false;
};

}  // namespace korvane::sync
