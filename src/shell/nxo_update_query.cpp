// SPDX-License-Identifier: GPL-3.0-or-later
// The version query: which version is the latest, asked of the version host.
#include <utility>

#include "shell/nxo_update.h"
#include "shell/version_text.h"

namespace korvane::shell {

namespace {

constexpr std::string_view kQueryMarker = ":'/|";
constexpr std::string_view kReplyMarker = ":'/|NXO_PRODLI";
// A reply longer than this is not a version reply.
constexpr size_t kMaxReply = kReplyMarker.size() + kMaxVersionText + 8;

std::string trimBlanks(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

void NXOUpdateService::NXO_ProdID() {
  NXO_PLI_->Close();
  queryRunning_ = false;
  const std::optional<HostPort> host = parseHostPort(versionHost, kVersionQueryPort);
  if (!host) {
    versionQueryEndedUnanswered();
    return;
  }
  NXO_PLI_->setRemoteHost(host->host);
  NXO_PLI_->setRemotePort(host->port);
  NXO_PLI_->setLocalPort(0);
  queryRunning_ = true;
  queryTicks_ = 0;
  queryReply_.clear();
  NXO_PLI_->Connect();
}

void NXOUpdateService::NXO_PLI_Connect() {
  if (!queryRunning_) return;
  const std::string request = "NXO_PRODAI" + std::string(kQueryMarker) + "KRV" +
                              window_.versionString() + std::string(kQueryMarker) +
                              window_.windowsCode();
  if (!NXO_PLI_->SendData({request.begin(), request.end()}).ok) NXO_PLI_Error();
}

// The reply is complete at its line end or when the server closes; until then pieces gather.
void NXOUpdateService::NXO_PLI_DataArrival(long) {
  if (!queryRunning_) return;
  const auto piece = NXO_PLI_->GetDataBytes(kMaxReply + 1 - queryReply_.size());
  if (piece) queryReply_.append(piece->begin(), piece->end());
  if (queryReply_.size() > kMaxReply || queryReply_.find('\n') != std::string::npos)
    answerVersionQuery();
}

// One reply per query: whatever follows it is not read.
void NXOUpdateService::answerVersionQuery() {
  queryRunning_ = false;
  NXO_PLI_->Close();
  const std::string text = std::exchange(queryReply_, {});
  if (text.size() <= kMaxReply) {
    const std::string_view firstLine = std::string_view(text).substr(0, text.find('\n'));
    const std::string latest =
        trimBlanks(firstLine.substr(std::min(firstLine.size(), kReplyMarker.size())));
    if (firstLine.substr(0, kReplyMarker.size()) == kReplyMarker && isVersionText(latest)) {
      versionReplyReceived = true;
      versionQueryDue = false;
      offerUpgrade(latest);
    }
  }
  // Any reply ends a run-once instance; the window may be gone afterwards.
  if (window_.loaded()) window_.versionQueryAnswered();
}

void NXOUpdateService::NXO_PLI_Error() {
  const bool wasRunning = std::exchange(queryRunning_, false);
  queryReply_.clear();
  NXO_PLI_->Close();
  if (wasRunning) versionQueryEndedUnanswered();
}

void NXOUpdateService::versionQueryEndedUnanswered() {
  if (window_.loaded()) window_.versionQueryUnanswered();
}

void NXOUpdateService::NXO_PLI_Close() {
  if (queryRunning_ && !queryReply_.empty())
    answerVersionQuery();
  else
    NXO_PLI_Error();
}

}  // namespace korvane::shell
