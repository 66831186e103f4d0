// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/nts_packet.h"

#include <algorithm>

#include "sync/nts_extension_fields.h"
#include "sync/nts_records.h"

namespace korvane::sync {

namespace {

bool sameBytes(std::span<const uint8_t> a, std::span<const uint8_t> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

bool isNak(std::span<const uint8_t> reply) {
  static constexpr uint8_t kNtsn[] = {'N', 'T', 'S', 'N'};
  return reply[sntp::kStratumOffset] == 0 &&
         sameBytes(reply.subspan(sntp::kReferenceIdOffset, 4), kNtsn);
}

NtsReplyCheck refused(std::string why) {
  return {NtsReplyCheck::Kind::Refused, {}, "NTS reply refused: " + why};
}

// The unique identifier's body without the padding a field may add.
bool carriesId(const ExtensionField& f, std::span<const uint8_t> id) {
  return f.type == ntpef::kUniqueIdentifier && f.body.size() >= id.size() &&
         sameBytes(f.body.first(id.size()), id);
}

}  // namespace

std::vector<uint8_t> buildNtsRequest(const SntpPacket& header, const NtsRequestParts& parts,
                                     const platform::SivAead::Key& c2s,
                                     const platform::SivAead& aead) {
  std::vector<uint8_t> out(header.begin(), header.end());
  out[sntp::kFlagsOffset] = ntsp::kClientRequestFlags;
  appendExtensionField(out, ntpef::kUniqueIdentifier, parts.uniqueId);
  appendExtensionField(out, ntpef::kCookie, parts.cookie);
  const std::vector<uint8_t> blank(parts.cookie.size(), 0);
  for (size_t i = 0; i < parts.placeholders; ++i)
    appendExtensionField(out, ntpef::kCookiePlaceholder, blank);
  const std::span<const uint8_t> strings[] = {out, parts.nonce};
  const std::vector<uint8_t> sealed = aead.seal(c2s, strings, {});
  appendExtensionField(out, ntpef::kAuthenticator, authenticatorBody(parts.nonce, sealed));
  return out;
}

NtsReplyCheck checkNtsReply(std::span<const uint8_t> reply, std::span<const uint8_t> uniqueId,
                            const platform::SivAead::Key& s2c, const platform::SivAead& aead) {
  if (reply.size() < sntp::kPacketSize)
    return refused("it is " + std::to_string(reply.size()) + " bytes");
  std::string why;
  const auto fields = readExtensionFields(reply, sntp::kPacketSize, why);
  if (!fields) return refused(why);
  const auto auth = std::find_if(fields->begin(), fields->end(), [](const ExtensionField& f) {
    return f.type == ntpef::kAuthenticator;
  });
  const bool idBefore = std::any_of(
      fields->begin(), auth, [&](const ExtensionField& f) { return carriesId(f, uniqueId); });
  if (isNak(reply)) {
    // A NAK is not authenticated (RFC 8915 section 5.7): only our identifier makes it ours.
    if (!idBefore) return refused("a kiss NTSN that does not answer our request");
    return {NtsReplyCheck::Kind::Nak, {}, "the server no longer accepts our cookies (NTSN)"};
  }
  if (auth == fields->end()) return refused("it is not authenticated");
  const auto body = readAuthenticator(auth->body);
  if (!body) return refused("its authenticator does not fit its field");
  const std::span<const uint8_t> strings[] = {reply.first(auth->offset), body->nonce};
  const auto plain = aead.open(s2c, strings, body->ciphertext);
  if (!plain) return refused("its authenticator does not verify");
  if (!idBefore) return refused("it does not answer our request");
  const auto inner = readExtensionFields(*plain, 0, why);
  if (!inner) return refused("its encrypted fields: " + why);
  NtsReplyCheck check{NtsReplyCheck::Kind::Verified, {}, {}};
  for (const ExtensionField& f : *inner)
    if (f.type == ntpef::kCookie && !f.body.empty() && f.body.size() <= ntske::kMaxCookie &&
        check.cookies.size() < ntske::kMaxCookies)
      check.cookies.emplace_back(f.body.begin(), f.body.end());
  return check;
}

}  // namespace korvane::sync
