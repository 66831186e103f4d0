// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/synchroniser.h"

#include <algorithm>
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
      monotonic_(monotonic),
      exchange_(services.clock, services.locale, services.sockets, std::move(monotonic)) {
  exchange_.onRequestSent = [this] {
    if (onRequestSent) onRequestSent();
  };
  exchange_.onReplyData = [this] {
    if (onReplyData) onReplyData();
  };
}

bool Synchroniser::start(const ServerChoice& server, std::string_view protocolChoice, bool timeOnly,
                         std::vector<ServerChoice> confirmers, bool userStarted) {
  if (busy()) return false;
  if (const auto refused = notAsked(text::trim(server.host))) {
    if (onOutcome) onOutcome(*refused);
    return false;
  }
  const std::optional<Protocol> p =
      timeOnly ? Protocol::Time : chooseProtocol(server.ports, protocolChoice, services_.random);
  if (!p) return false;
  protocolChoice_ = timeOnly ? std::string(choice::kTime) : std::string(protocolChoice);
  confirmers_ = std::move(confirmers);
  userStarted_ = userStarted;
  first_.reset();
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
  if (const auto held = confirmationOutcome(r)) {
    if (onOutcome && held->kind != OutcomeKind::NoServer) onOutcome(*held);
    return;
  }
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
      outcome.kissCode = r.kissCode;
      outcome.text = r.why + heedKissCode(r.host, r.kissCode);
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

namespace {

constexpr double kMinRateWaitMillis = 30 * 60 * 1000.0;

std::string minutesText(double millis) {
  return std::to_string(static_cast<int64_t>(std::ceil(millis / 60000))) + " minute(s)";
}

}  // namespace

std::string Synchroniser::heedKissCode(const std::string& host, const std::string& code) {
  if (code == "DENY" || code == "RSTR") {
    turnedAway_.insert(host);
    return "; it is not asked again while the program runs";
  }
  if (code != "RATE") return {};
  const double wait = std::max(kMinRateWaitMillis, 2000.0 * static_cast<double>(intervalSeconds));
  waitUntil_[host] = monotonic_() + wait;
  return "; it is asked again in " + minutesText(wait) + " at the soonest";
}

bool Synchroniser::mayAsk(const std::string& host) const {
  return !notAsked(text::trim(host));
}

std::optional<SyncOutcome> Synchroniser::notAsked(const std::string& host) const {
  SyncOutcome o;
  o.kind = OutcomeKind::NotAsked;
  o.protocol = protocol_;
  o.host = host;
  if (turnedAway_.count(host) != 0) {
    o.text = "Not asked: " + host +
             " turned this computer away; it is not asked again while "
             "the program runs";
    return o;
  }
  const auto wait = waitUntil_.find(host);
  const double left = wait == waitUntil_.end() ? 0 : wait->second - monotonic_();
  if (left <= 0) return std::nullopt;
  o.text = "Not asked: " + host + " asked to be asked less often; next try in " +
           minutesText(left) + " at the soonest";
  return o;
}

// Ten years on one server's word is how a wrong server, or a spoofed reply, breaks a computer.
// Returns the outcome when the confirmation decides it, NoServer while a second server is being
// asked, and nothing when the answer goes the usual way.
std::optional<SyncOutcome> Synchroniser::confirmationOutcome(const ExchangeResult& r) {
  if (!first_) {
    if (r.kind != ExchangeKind::Answer || !beyondBound(r)) return std::nullopt;
    first_ = r;
    if (askNextConfirmer()) return SyncOutcome{};
    return unconfirmed({});
  }
  if (r.kind != ExchangeKind::Answer) {
    if (askNextConfirmer()) return SyncOutcome{};
    return unconfirmed({});
  }
  constexpr double kAgreementMillis = 2000;
  if (std::fabs(r.offsetMillis() - first_->offsetMillis()) > kAgreementMillis)
    return unconfirmed(r.host);
  first_.reset();
  return std::nullopt;  // confirmed: the second, fresher answer sets the clock
}

bool Synchroniser::beyondBound(const ExchangeResult& r) const {
  return maxSilentChangeSeconds > 0 &&
         std::fabs(r.offsetMillis()) > 1000.0 * static_cast<double>(maxSilentChangeSeconds);
}

bool Synchroniser::askNextConfirmer() {
  while (!confirmers_.empty()) {
    const ServerChoice next = confirmers_.front();
    confirmers_.erase(confirmers_.begin());
    const std::string host = text::trim(next.host);
    if (host.empty() || host == first_->host || !mayAsk(host)) continue;
    const auto p = chooseProtocol(next.ports, protocolChoice_, services_.random);
    if (!p) continue;
    protocol_ = *p;
    SyncTicks = 0;
    if (onExchangeStarted) onExchangeStarted(*p);
    exchange_.start(*p, host, [this](const ExchangeResult& r) { exchangeEnded(r); });
    return true;
  }
  return false;
}

SyncOutcome Synchroniser::unconfirmed(const std::string& disagreeing) {
  SyncOutcome o = outcomeOf(OutcomeKind::Unconfirmed, *first_);
  o.offsetMillis = first_->offsetMillis();
  o.boundSeconds = maxSilentChangeSeconds;
  o.disagreeing = disagreeing;
  const ExchangeResult first = *first_;
  first_.reset();
  if (!userStarted_ || !askUser) return o;
  if (askUser(o)) {
    shiftAfterYes(first);
    return SyncOutcome{};  // the clock change reports once the clock has answered
  }
  o.declined = true;
  return o;
}

// The question may stay open a while: the change is a shift by the offset measured, so the time
// the user took does not enter it.
void Synchroniser::shiftAfterYes(const ExchangeResult& r) {
  if (r.protocol == Protocol::Sntp) return shiftByOffset(r);
  const int64_t difference = r.serverSeconds - r.localSeconds;
  changeClock(r, difference, [this, difference](platform::SystemClock::ClockAnswer done) {
    services_.clock.shiftSystemTimeThen(difference * 1000000, std::move(done));
  });
}

}  // namespace korvane::sync
