// SPDX-License-Identifier: GPL-3.0-or-later
// Any datagram as the reply to an NTS-protected request: nothing crashes, a verified reply
// carries our identifier and at most eight cookies, and one flipped bit of what the
// authenticator covers makes it fail.
// Input: one byte of switches (bit 0: the test seals the rest with the server's key, the
// encrypted fields being the input's tail after byte 1's count of bytes), then the reply.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz_require.h"
#include "platform/gnutls/nettle_siv.h"
#include "sync/nts_extension_fields.h"
#include "sync/nts_packet.h"
#include "sync/nts_records.h"

using namespace korvane;
using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const bool seal = data[0] & 1;
  const size_t plainSize = std::min<size_t>(data[1], size - 2);
  std::vector<uint8_t> reply(data + 2, data + size - (seal ? plainSize : 0));
  const platform::NettleSiv siv;
  const platform::SivAead::Key key{7};
  const std::vector<uint8_t> id(sync::ntpef::kUniqueIdSize, 0x1d);
  if (seal && reply.size() >= sync::sntp::kPacketSize) {
    const std::vector<uint8_t> nonce(16, 3), plain(data + size - plainSize, data + size);
    const std::span<const uint8_t> strings[] = {reply, nonce};
    sync::appendExtensionField(reply, sync::ntpef::kAuthenticator,
                               sync::authenticatorBody(nonce, siv.seal(key, strings, plain)));
  }
  const sync::NtsReplyCheck check = sync::checkNtsReply(reply, id, key, siv);
  if (check.kind != sync::NtsReplyCheck::Kind::Verified) {
    require(!check.why.empty(), "a refusal without a reason");
    require(check.cookies.empty(), "cookies from a reply not verified");
    return 0;
  }
  require(check.cookies.size() <= sync::ntske::kMaxCookies, "more than eight cookies");
  for (const auto& c : check.cookies)
    require(!c.empty() && c.size() <= sync::ntske::kMaxCookie, "a cookie's size");
  reply[sync::sntp::kTransmitOffset] ^= 1;
  require(sync::checkNtsReply(reply, id, key, siv).kind != sync::NtsReplyCheck::Kind::Verified,
          "a flipped bit of the time still verified");
  return 0;
}
