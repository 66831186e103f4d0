// The NTS path of a synchronisation: keys first (in the background unless cookies are left),
// then the SNTP exchange through their guard; a failure of either ends it, never plain SNTP.
#include "sync/synchroniser.h"

namespace korvane::sync {

void Synchroniser::startNts() {
  keying_ = true;
  nts_->prepare(ntsHost_, ntsPort_, [this](const std::string& why) { ntsReady(why); });
}

void Synchroniser::ntsReady(const std::string& why) {
  if (!keying_) return;
  keying_ = false;
  if (!why.empty()) {
    nts_->cancel();
    SyncOutcome outcome;
    outcome.kind = OutcomeKind::SocketError;
    outcome.protocol = Protocol::Sntp;
    outcome.host = ntsHost_;
    outcome.text = why;
    if (onOutcome) onOutcome(outcome);
    return;
  }
  guard_ = nts_->guardFor(ntsHost_);
  exchange_.setGuard(guard_.get());
  const NtsKeys& keys = *nts_->keysFor(ntsHost_);
  exchange_.start(
      Protocol::Sntp, keys.ntpHost, [this](const ExchangeResult& r) { exchangeEnded(r); },
      keys.ntpPort);
}

// True when the exchange's end starts a fresh key establishment instead of an outcome: the
// server answered NTSN, for the first time in this synchronisation.
bool Synchroniser::ntsExchangeEnded() {
  if (!guard_) return false;
  const bool nak = guard_->nak();
  exchange_.setGuard(nullptr);
  guard_.reset();
  if (!nak || rekeyed_) return false;
  rekeyed_ = true;
  startNts();
  return true;
}

}  // namespace korvane::sync
