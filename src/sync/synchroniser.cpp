#include "sync/synchroniser.h"

#include <cmath>
#include <memory>

#include "common/rounding.h"
#include "common/text.h"
#include "sync/ntp_time.h"

namespace korvane::sync {

namespace {

// The protocol a field of the port text names for the automatic choice.
std::optional<Protocol> protocolOfField(const std::string& field, bool offersSntp) {
  if (field == "0" || field == "123") return offersSntp ? Protocol::Sntp : Protocol::Time;
  if (field == "13") return Protocol::DayTime;
  if (field == "37") return Protocol::Time;
  if (field == "519") return Protocol::UnixTime;
  return std::nullopt;
}

SyncOutcome outcomeOf(OutcomeKind kind, const ExchangeResult& r, int64_t amount = 0,
                      std::string text = {}) {
  SyncOutcome o;
  o.kind = kind;
  o.protocol = r.protocol;
  o.host = r.host;
  o.amount = amount;
  o.text = std::move(text);
  return o;
}

SyncOutcome refused(const ExchangeResult& r, const platform::ClockResult& set) {
  SyncOutcome o = outcomeOf(OutcomeKind::ClockRefused, r, 0, set.reason);
  o.brief = set.brief;
  return o;
}

}  // namespace

std::optional<Protocol> chooseProtocol(std::string_view ports, std::string_view choice,
                                       platform::RandomSource& random) {
  const auto p = text::split(ports, ":");
  if (p.size() < 4) return std::nullopt;
  const bool offersSntp = p[1] != "0";
  if (choice == choice::kTime) return Protocol::Time;
  if (choice == choice::kSntp) return offersSntp ? Protocol::Sntp : Protocol::Time;
  if (choice == choice::kDayTime) return p[2] != "0" ? Protocol::DayTime : Protocol::Time;
  if (choice == choice::kUnixTime) return p[3] != "0" ? Protocol::UnixTime : Protocol::Time;
  if (choice != choice::kAutomatic) return std::nullopt;
  const auto j = toInt32HalfEven(3 * random.draw());
  if (!j || *j < 0 || *j > 3) return std::nullopt;
  return protocolOfField(p[static_cast<size_t>(*j)], offersSntp);
}

Synchroniser::Synchroniser(SyncServices services, MonotonicMillis monotonic)
    : services_(services),
      exchange_(services.clock, services.locale, services.sockets, std::move(monotonic)) {
  exchange_.onRequestSent = [this] {
    if (onRequestSent) onRequestSent();
  };
  exchange_.onReplyData = [this] {
    if (onReplyData) onReplyData();
  };
}

bool Synchroniser::start(const ServerChoice& server, std::string_view protocolChoice,
                         bool timeOnly) {
  if (busy()) return false;
  const std::optional<Protocol> p =
      timeOnly ? Protocol::Time : chooseProtocol(server.ports, protocolChoice, services_.random);
  if (!p) return false;
  protocol_ = *p;
  SyncTicks = 0;
  const std::optional<int> ntsPort =
      nts_ && *p == Protocol::Sntp ? ntsKePort(server.ports) : std::nullopt;
  ntsRun_ = ntsPort.has_value();
  if (onExchangeStarted) onExchangeStarted(*p);
  if (ntsRun_) {
    ntsHost_ = text::trim(server.host);
    ntsPort_ = *ntsPort;
    rekeyed_ = false;
    startNts();
    return true;
  }
  exchange_.start(*p, server.host, [this](const ExchangeResult& r) { exchangeEnded(r); });
  return true;
}

void Synchroniser::tick() {
  ++SyncTicks;
  if (!exchange_.running() && !keying_) return;
  if (SyncTicks >= kTimeOutTicks) {
    SyncTicks = 0;
    if (keying_) return ntsFailed(OutcomeKind::TimedOut, "NTS key establishment timed out");
    exchange_.timeOut();
  } else if (SyncTicks % kNextAddressTicks == 0) {
    exchange_.tryNextAddress();
  }
}

void Synchroniser::stop() {
  if (keying_) nts_->cancel();
  keying_ = false;
  exchange_.abandon();
  clockChange_.reset();
}

void Synchroniser::exchangeEnded(const ExchangeResult& r) {
  if (ntsExchangeEnded()) return;
  SyncOutcome outcome;
  switch (r.kind) {
    case ExchangeKind::Answer:
      applyAnswer(r);  // reports once the clock has answered
      return;
    case ExchangeKind::TimedOut:
      outcome.kind = OutcomeKind::TimedOut;
      break;
    case ExchangeKind::SocketError:
      outcome.kind = OutcomeKind::SocketError;
      break;
    case ExchangeKind::UnreadableReply:
      outcome.kind = OutcomeKind::UnreadableReply;
      outcome.reply = r.reply;
      break;
  }
  report(std::move(outcome), r);
}

void Synchroniser::report(SyncOutcome outcome, const ExchangeResult& r) {
  if (outcome.text.empty()) outcome.text = r.why;
  outcome.protocol = r.protocol;
  outcome.host = r.host;
  if (onOutcome) onOutcome(outcome);
}

void Synchroniser::applyAnswer(const ExchangeResult& r) {
  if (r.protocol == Protocol::Sntp)
    shiftByOffset(r);
  else
    setWholeSeconds(r);
}

// The synchronisation stays busy until the clock answers; a stop or the synchroniser's end
// drops the answer.
void Synchroniser::changeClock(const ExchangeResult& r, int64_t amount, const ClockRequest& ask) {
  const auto change = std::make_shared<int>(0);
  clockChange_ = change;
  ask([this, alive = std::weak_ptr<int>(change), r, amount](const platform::ClockResult& set) {
    if (alive.expired()) return;
    clockChange_.reset();
    report(set.ok ? outcomeOf(OutcomeKind::Adjusted, r, amount) : refused(r, set), r);
  });
}

// The server's time is UTC: one UTC setting, so neither the repeated hour of a daylight-saving
// change nor midnight between setting a date and a time of day can put the clock wrong.
void Synchroniser::setWholeSeconds(const ExchangeResult& r) {
  const int64_t difference = r.serverSeconds - r.localSeconds;
  if (difference == 0) return report(outcomeOf(OutcomeKind::Correct, r), r);
  const platform::SystemTime utc = systemTimeFromMillisSince1900(r.serverSeconds * 1000);
  changeClock(r, difference, [this, utc](platform::SystemClock::ClockAnswer done) {
    services_.clock.setSystemTimeThen(utc, std::move(done));
  });
}

// A shift by the offset, not a time to set: the clock stays right however long the change takes
// to reach it (the system's time service may ask for a password first).
void Synchroniser::shiftByOffset(const ExchangeResult& r) {
  const double theta = r.offsetMillis();
  const auto reported = toInt32HalfEven(theta);
  if (!reported)
    return report(
        outcomeOf(OutcomeKind::UnreadableReply, r, 0,
                  "SNTP reply refused: its time is more than 24 days from this computer's clock"),
        r);
  const auto micros = static_cast<int64_t>(std::llround(theta * 1000.0));
  changeClock(r, *reported, [this, micros](platform::SystemClock::ClockAnswer done) {
    services_.clock.shiftSystemTimeThen(micros, std::move(done));
  });
}

}  // namespace korvane::sync
