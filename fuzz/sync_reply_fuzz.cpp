// SPDX-License-Identifier: GPL-3.0-or-later
// Any reply, split into any pieces, to a synchronisation of each protocol: nothing crashes, the
// synchronisation ends once (at the latest by its time-out), the clock is changed at most once, and
// an SNTP reply that adjusts the clock answers our request (its originate is the T1 we sent).
// Input: one byte (bits 0-1: the protocol; bit 2: the server closes after the last piece; bit 3,
// SNTP: copy our T1 into the reply), then the SNTP datagram, or pieces of a TCP reply, each a
// length byte (1 to 16 bytes follow) and its bytes.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz_require.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_socket.h"
#include "sync/sntp_packet.h"
#include "sync/synchroniser.h"

using namespace korvane;

namespace {

using fuzzing::require;

constexpr std::string_view kChoices[] = {sync::choice::kTime, sync::choice::kSntp,
                                         sync::choice::kDayTime, sync::choice::kUnixTime};

void deliverPieces(platform::FakeSocket& socket, const uint8_t* data, size_t size) {
  // A closed socket receives nothing more (the scripted one would still deliver it).
  for (size_t at = 0; at < size && socket.state() != platform::SocketState::Closed;) {
    const size_t length = std::min<size_t>(data[at] % 16 + 1, size - at - 1);
    socket.deliver(std::vector<uint8_t>(data + at + 1, data + at + 1 + length));
    at += 1 + length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int protocol = data[0] & 3;
  const bool serverCloses = data[0] & 4, copyT1 = data[0] & 8;
  platform::FakeClock clock;
  platform::FakeEventLoop events;
  platform::FakeLocale locale;
  platform::FakeRandom random;
  platform::FakeSocketFactory sockets;
  sync::Synchroniser synchroniser({clock, events, locale, random, sockets}, [] { return 0.0; });
  std::vector<sync::SyncOutcome> outcomes;
  synchroniser.onOutcome = [&](const sync::SyncOutcome& o) { outcomes.push_back(o); };
  require(synchroniser.start({"127.0.0.1", "37:123:13:519"}, kChoices[protocol]),
          "no exchange started");
  platform::FakeSocket& socket = *sockets.made.at(0);
  std::vector<uint8_t> datagram;
  if (protocol == 1) {
    datagram.assign(data + 1, data + size);
    require(socket.sent.size() == 1, "the request is not one datagram");
    if (copyT1 && datagram.size() >= sync::sntp::kReceiveOffset)
      std::copy(socket.sent[0].begin() + sync::sntp::kTransmitOffset,
                socket.sent[0].begin() + sync::sntp::kPacketSize,
                datagram.begin() + sync::sntp::kOriginateOffset);
    socket.deliver(datagram);
  } else {
    deliverPieces(socket, data + 1, size - 1);
  }
  if (serverCloses && socket.state() != platform::SocketState::Closed) socket.peerClose();
  for (int tick = 0; tick < sync::Synchroniser::kTimeOutTicks; ++tick) synchroniser.tick();
  require(outcomes.size() == 1, "a synchronisation that did not end exactly once");
  require(!synchroniser.busy(), "busy after its outcome");
  require(clock.setCount() <= 1, "the clock was changed twice");
  const bool adjusted = outcomes[0].kind == sync::OutcomeKind::Adjusted;
  require(adjusted == (clock.setCount() == 1),
          "an adjustment reported but not made, or made silently");
  if (protocol == 1 && adjusted) {
    require(datagram.size() == sync::sntp::kPacketSize, "adjusted by a datagram not 48 bytes");
    require(std::equal(datagram.begin() + sync::sntp::kOriginateOffset,
                       datagram.begin() + sync::sntp::kReceiveOffset,
                       socket.sent[0].begin() + sync::sntp::kTransmitOffset),
            "adjusted by a reply whose originate is not our T1");
  }
  return 0;
}
