// SPDX-License-Identifier: GPL-3.0-or-later
// Any datagram as the reply to an SNTP request: nothing crashes, an accepted reply answers our
// request (its originate is the T1 we sent) from a synchronised server near its reference, with
// a delay from 0 to 3 s, and its offset is
// ((T2 - T1) + (T3 - T4)) / 2, its timestamps read in the era nearest the clock. A datagram from
// another address is not the answer: the exchange waits on.
// Input: one byte of switches (bit 0: copy our T1 into the reply, so the checks after it are
// reached; bit 1: the datagram comes from another address), then the datagram.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/ole_date.h"
#include "fuzz_require.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_socket.h"
#include "sync/ntp_time.h"
#include "sync/query_exchange.h"
#include "sync/sntp_packet.h"

using namespace korvane;

namespace {

using fuzzing::require;

// What the checker promises about a reply it accepts.
void checkAccepted(const std::vector<uint8_t>& reply, const NtpTimestamp& t1) {
  require(reply.size() == sync::sntp::kPacketSize, "accepted a reply that is not 48 bytes");
  NtpTimestamp originate, transmit;
  NtpTimestamp::readAt(reply, sync::sntp::kOriginateOffset, originate);
  NtpTimestamp::readAt(reply, sync::sntp::kTransmitOffset, transmit);
  require(originate == t1, "accepted a reply whose originate is not our T1");
  require((reply[0] & 0x07) == sync::sntp::kModeServer, "accepted a reply not in server mode");
  require((reply[0] >> 6) != sync::sntp::kLeapUnsynchronised, "accepted an unsynchronised server");
  const int stratum = reply[sync::sntp::kStratumOffset];
  require(stratum >= 1 && stratum <= 15, "accepted a kiss or an invalid stratum");
  require(!transmit.isZero(), "accepted a reply without a transmit time");
  require(((reply[0] >> 3) & 0x07) != 0, "accepted a reply of version 0");
  require(sync::sntpRootDistanceMillis(reply) <= sync::sntp::kMaxRootDistanceMillis,
          "accepted a server too far from its reference");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool copyT1 = data[0] & 1, fromElsewhere = data[0] & 2;
  std::vector<uint8_t> reply(data + 1, data + size);

  platform::FakeClock clock;  // stands still, so T4 is T1
  platform::FakeLocale locale;
  platform::FakeSocketFactory sockets;
  sync::QueryExchange exchange(clock, locale, sockets, [] { return 0.0; });
  int calls = 0;
  sync::QueryOutcome outcome;
  exchange.start(sync::Protocol::Sntp, "127.0.0.1", [&](const sync::QueryOutcome& o) {
    ++calls;
    outcome = o;
  });
  platform::FakeSocket& socket = *sockets.made.at(0);
  require(socket.sent.size() == 1 && socket.sent[0].size() == sync::sntp::kPacketSize,
          "the request is not one 48-byte datagram");
  NtpTimestamp t1;
  NtpTimestamp::readAt(socket.sent[0], sync::sntp::kTransmitOffset, t1);
  if (copyT1 && reply.size() >= sync::sntp::kReceiveOffset)
    std::copy(t1.bytes.begin(), t1.bytes.end(), reply.begin() + sync::sntp::kOriginateOffset);

  socket.deliver(reply, !fromElsewhere);
  require(calls == (fromElsewhere ? 0 : 1), "a datagram from elsewhere ended the exchange");
  exchange.timeOut();
  require(calls == 1, "the exchange did not end exactly once");
  const bool accepted = !sync::sntpReplyProblem(reply, t1);
  if (accepted) checkAccepted(reply, t1);
  // The exchange also measures the delay, which the packet alone cannot tell.
  const bool delayRefused = outcome.error.rfind("SNTP reply refused: its round-trip delay", 0) == 0;
  require(outcome.ok == (accepted && !fromElsewhere && !delayRefused),
          "the exchange disagrees with the check");
  if (!outcome.ok) {
    require(!outcome.error.empty(), "a refusal without a reason");
    return 0;
  }
  // T1 and T4 as the clock reads them (the middle of its millisecond), not as rounded on the wire.
  const double t1Millis = static_cast<double>(clock.utcMillis() + kSeconds1900To1970 * 1000) + 0.5;
  const int64_t now = clock.utcMillis() / 1000 + kSeconds1900To1970;
  const double t2 = sync::GoMilli(reply, sync::sntp::kReceiveOffset, now);
  const double t3 = sync::GoMilli(reply, sync::sntp::kTransmitOffset, now);
  const double expected = ((t2 - t1Millis) + (t3 - t1Millis)) / 2;
  require(std::isfinite(outcome.offsetMillis) && std::isfinite(outcome.delayMillis),
          "an offset or delay that is not a number");
  require(std::fabs(outcome.offsetMillis - expected) < 0.01, "the offset is not the SNTP formula");
  require(outcome.delayMillis >= 0 && outcome.delayMillis <= sync::sntp::kMaxDelayMillis,
          "accepted a delay outside 0 to 3 s");
  return 0;
}
