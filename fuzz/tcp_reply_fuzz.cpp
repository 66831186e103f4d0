// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes, split into any pieces, as the reply of a Time, UnixTime or DayTime server: nothing
// crashes, an exchange ends at most once, the 4-byte replies read the same however they are
// split (in the era nearest the clock; a count of 0 is refused), and a refused reply is shown only
// as safe text. Input: one byte (bits 0-1: the protocol; bit 2: the server closes after the last
// piece), then pieces, each a length byte (1 to 16 bytes follow) and its bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/ntp_timestamp.h"
#include "common/ole_date.h"
#include "fuzz_require.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_socket.h"
#include "sync/query_exchange.h"

using namespace korvane;

namespace {

using fuzzing::require;

constexpr sync::Protocol kProtocols[] = {sync::Protocol::Time, sync::Protocol::UnixTime,
                                         sync::Protocol::DayTime, sync::Protocol::Time};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const sync::Protocol protocol = kProtocols[data[0] & 3];
  const bool serverCloses = data[0] & 4;

  platform::FakeClock clock;
  platform::FakeLocale locale;
  platform::FakeSocketFactory sockets;
  sync::QueryExchange exchange(clock, locale, sockets, [] { return 0.0; });
  int calls = 0;
  sync::QueryOutcome outcome;
  exchange.start(protocol, "127.0.0.1", [&](const sync::QueryOutcome& o) {
    ++calls;
    outcome = o;
  });
  platform::FakeSocket& socket = *sockets.made.at(0);
  std::vector<uint8_t> stream;  // every byte delivered while the exchange ran
  for (size_t at = 1; at < size && exchange.running();) {
    const size_t length = std::min<size_t>(data[at] % 16 + 1, size - at - 1);
    const std::vector<uint8_t> piece(data + at + 1, data + at + 1 + length);
    at += 1 + length;
    stream.insert(stream.end(), piece.begin(), piece.end());
    socket.deliver(piece);
  }
  if (serverCloses) socket.peerClose();
  require(calls <= 1, "an exchange ended twice");
  const bool wholeSeconds = protocol != sync::Protocol::DayTime;
  if (wholeSeconds) require(calls == 1 || (stream.size() < 4 && !serverCloses), "4 bytes unread");
  exchange.timeOut();
  require(calls == 1, "an exchange that never ends");

  if (!outcome.ok) {
    require(!outcome.error.empty() && outcome.error.size() < 200, "a bad refusal text");
    for (char c : outcome.error)
      require(static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F,
              "a server's bytes shown raw");
    require(!wholeSeconds || stream.size() < 4 || readBigEndian32(stream, 0) == 0,
            "4 bytes arrived but were refused");
    return 0;
  }
  require(static_cast<int64_t>(outcome.offsetMillis) % 1000 == 0, "a fraction of a second");
  if (wholeSeconds) {
    const int64_t epoch = protocol == sync::Protocol::UnixTime ? kSeconds1900To1970 : 0;
    const int64_t now = clock.utcMillis() / 1000 + kSeconds1900To1970;
    const int64_t server = nearestEra(readBigEndian32(stream, 0), now - epoch) + epoch;
    require(outcome.offsetMillis == static_cast<double>((server - now) * 1000),
            "the offset is not the first 4 bytes' time");
  }
  return 0;
}
