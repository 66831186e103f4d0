// Any reply, split into any pieces, to a synchronisation of each protocol: nothing crashes, the
// synchronisation ends (at the latest by its time-out), the clock is adjusted at most once, and an
// SNTP reply that adjusts the clock answers our request (its originate is the T1 we sent).
// Input: one byte (bits 0-1: the protocol; bit 2: the server closes after the last piece; bit 3,
// SNTP: copy our T1 into the reply), then the SNTP datagram, or pieces of a TCP reply, each a
// length byte (1 to 16 bytes follow) and its bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fuzz_require.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_socket.h"
#include "platform/ui/command_button.h"
#include "sync/sntp_packet.h"
#include "sync/sync_driver.h"

using namespace korvane;

namespace {

using fuzzing::require;

class NoShell : public sync::SyncShell {
 public:
  void setTip(std::string_view) override {}
  void UpdateSZTIP() override {}
  bool runOnceMode() const override { return false; }
  bool windowNormal() const override { return true; }
  void timeDataArrived() override {}
};

struct Rig {
  platform::FakeClock clock;
  platform::FakeEventLoop events;
  platform::FakeLocale locale;
  platform::FakeRandom random;
  platform::FakeSocketFactory sockets;
  NoShell shell;
  sync::ServerTables tables;
  ui::CommandButton button{"SyncTimeNow"};
  ui::ImageCombo servers{"Servers"};
  ui::TextBox host{"vbRemoteHost"};
  ui::CheckBox randomCheck{"RandomCheck"};
  ui::ImageBox led0{"LED(0)"}, led1{"LED(1)"}, led2{"LED(2)"};
  sync::SyncDriver driver{{button, servers, host, randomCheck, {&led0, &led1, &led2}},
                          {clock, events, locale, random, sockets},
                          shell,
                          tables};
};

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
  Rig rig;
  rig.host.setText("127.0.0.1");
  sync::SyncDriver& d = rig.driver;
  // The sockets in the order the driver makes them: Time, DayTime, UnixTime, SNTP.
  platform::FakeSocket& socket = *rig.sockets.made.at(std::array{0, 3, 1, 2}[protocol]);
  std::vector<uint8_t> datagram;
  switch (protocol) {
    case 0:
      d.Grab37Time();
      break;
    case 1: {
      d.GrabSNTP();
      datagram.assign(data + 1, data + size);
      require(socket.sent.size() == 1, "the request is not one datagram");
      if (copyT1 && datagram.size() >= sync::sntp::kReceiveOffset)
        std::copy(socket.sent[0].begin() + sync::sntp::kTransmitOffset,
                  socket.sent[0].begin() + sync::sntp::kPacketSize,
                  datagram.begin() + sync::sntp::kOriginateOffset);
      socket.deliver(datagram);
      break;
    }
    case 2:
      d.GrabDayTime();
      break;
    case 3:
      d.GrabUnix();
      break;
  }
  if (protocol != 1) deliverPieces(socket, data + 1, size - 1);
  if (serverCloses && socket.state() != platform::SocketState::Closed) socket.peerClose();
  for (int tick = 0; tick < sync::SyncDriver::kTimeOutTicks; ++tick) {
    ++d.SyncTicks;
    d.applyTimeOut();
  }
  require(d.SyncStatus.find("Synchronizing") == std::string::npos, "a synchronisation never ends");
  // One adjustment at most: SNTP sets the clock in one call, the whole-second protocols set the
  // date, then the time of day.
  require(rig.clock.setCount() <= (protocol == 1 ? 1 : 2), "the clock was adjusted twice");
  if (protocol == 1 && d.SyncStatus.find("KRV Adjusted") != std::string::npos) {
    require(datagram.size() == sync::sntp::kPacketSize, "adjusted by a datagram not 48 bytes");
    require(std::equal(datagram.begin() + sync::sntp::kOriginateOffset,
                       datagram.begin() + sync::sntp::kReceiveOffset,
                       socket.sent[0].begin() + sync::sntp::kTransmitOffset),
            "adjusted by a reply whose originate is not our T1");
  }
  return 0;
}
