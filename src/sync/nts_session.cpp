// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/nts_session.h"

#include <algorithm>

#include "sync/nts_extension_fields.h"
#include "sync/nts_packet.h"
#include "sync/nts_records.h"

namespace korvane::sync {

namespace {

constexpr size_t kReadChunk = 4096;

NtsEstablished failure(std::string why) {
  return {false, {}, std::move(why)};
}

bool exportKey(platform::TlsChannel& channel, bool serverToClient, platform::SivAead::Key& key) {
  const auto bytes =
      channel.exportKey(ntske::kExporterLabel, ntsExporterContext(serverToClient), key.size());
  if (!bytes || bytes->size() != key.size()) return false;
  std::copy(bytes->begin(), bytes->end(), key.begin());
  return true;
}

}  // namespace

NtsEstablished establishNtsKeys(platform::TlsConnector& tls, const platform::TlsTarget& target) {
  std::string why;
  const auto channel = tls.connect(target, why);
  if (!channel) return failure("NTS key establishment failed: " + why);
  return establishNtsKeys(*channel, target.host);
}

NtsEstablished establishNtsKeys(platform::TlsChannel& channel, const std::string& host) {
  std::string why;
  if (!channel.send(buildNtsKeRequest(), why))
    return failure("NTS key establishment failed: " + why);
  std::vector<uint8_t> received;
  NtsKeParse parsed;
  while (parsed.state == NtsKeParse::State::Incomplete) {
    const auto piece = channel.receive(kReadChunk, why);
    if (!piece) return failure("NTS key establishment failed: " + why);
    if (piece->empty())
      return failure("NTS key establishment refused: the server closed before it had answered");
    received.insert(received.end(), piece->begin(), piece->end());
    parsed = parseNtsKeResponse(received);
  }
  if (parsed.state == NtsKeParse::State::Failed) return failure(parsed.why);
  NtsEstablished out{true, {}, {}};
  if (!exportKey(channel, false, out.keys.c2s) || !exportKey(channel, true, out.keys.s2c))
    return failure("NTS key establishment failed: the keys could not be exported");
  out.keys.ntpHost = parsed.response.server.empty() ? host : parsed.response.server;
  out.keys.ntpPort = parsed.response.port > 0 ? parsed.response.port : kNtpPort;
  out.keys.cookies.assign(parsed.response.cookies.begin(), parsed.response.cookies.end());
  return out;
}

std::vector<uint8_t> NtsGuard::request(const SntpPacket& header) {
  uniqueId_.assign(ntpef::kUniqueIdSize, 0);
  random_.fill(uniqueId_);
  std::vector<uint8_t> nonce(ntpef::kNonceSize);
  random_.fill(nonce);
  // Without a cookie there is no request: never one without NTS.
  if (keys_.cookies.empty()) return {};
  std::vector<uint8_t> cookie = std::move(keys_.cookies.front());
  keys_.cookies.pop_front();
  // Each reply brings one cookie back and one for each placeholder.
  const size_t placeholders =
      ntske::kMaxCookies - 1 - std::min(keys_.cookies.size(), ntske::kMaxCookies - 1);
  return buildNtsRequest(header, {uniqueId_, cookie, placeholders, nonce}, keys_.c2s, aead_);
}

std::optional<std::string> NtsGuard::replyProblem(std::span<const uint8_t> reply) {
  NtsReplyCheck check = checkNtsReply(reply, uniqueId_, keys_.s2c, aead_);
  if (check.kind == NtsReplyCheck::Kind::Nak) {
    nak_ = true;
    keys_.cookies.clear();
  }
  if (check.kind != NtsReplyCheck::Kind::Verified) return check.why;
  for (auto& cookie : check.cookies)
    if (keys_.cookies.size() < ntske::kMaxCookies) keys_.cookies.push_back(std::move(cookie));
  return std::nullopt;
}

}  // namespace korvane::sync
