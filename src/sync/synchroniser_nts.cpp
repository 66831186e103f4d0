// SPDX-License-Identifier: GPL-3.0-or-later
// The NTS path of a synchronisation: keys first (in the background unless cookies are left),
// then the SNTP exchange through their guard; a failure of either ends it, never plain SNTP.
#include "sync/synchroniser.h"

namespace korvane::sync {

void Synchroniser::startNts() {
  keying_ = true;
  nts_->prepare(ntsHost_, ntsPort_, [this](const std::string& why) { ntsReady(why); });
}

void Synchroniser::ntsFailed(OutcomeKind kind, const std::string& why) {
  keying_ = false;
  nts_->cancel();  // keys arriving later are not acted on
  SyncOutcome outcome;
  outcome.kind = kind;
  outcome.protocol = Protocol::Sntp;
  outcome.host = ntsHost_;
  outcome.text = why;
  if (onOutcome) onOutcome(outcome);
}

void Synchroniser::ntsReady(const std::string& why) {
  if (!keying_) return;
  if (!why.empty()) return ntsFailed(OutcomeKind::SocketError, why);
  keying_ = false;
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
