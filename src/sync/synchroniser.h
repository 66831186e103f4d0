#pragma once
// One synchronisation at a time: a server and a protocol choice in, one exchange, the clock
// change, and one outcome value out.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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
};

struct SyncOutcome {
  OutcomeKind kind = OutcomeKind::NoServer;
  Protocol protocol = Protocol::Time;
  std::string host;
  int64_t amount = 0;  // Adjusted: seconds, or milliseconds for SNTP
  std::string text;
  std::string reply;
  std::string brief;  // ClockRefused: the reason in a few words, what to do first; may be empty

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
  bool start(const ServerChoice& server, std::string_view protocolChoice, bool timeOnly = false);
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

  // Observers, called on the UI thread.
  std::function<void(Protocol)> onExchangeStarted;
  std::function<void()> onRequestSent;
  std::function<void()> onReplyData;
  std::function<void(const SyncOutcome&)> onOutcome;

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

  SyncServices services_;
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
