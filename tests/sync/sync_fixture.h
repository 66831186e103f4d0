#pragma once
// A synchronisation on fakes: controls, tables, a recording shell, scripted sockets and clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/tip_field.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_locale.h"
#include "platform/fake/fake_random.h"
#include "platform/fake/fake_socket.h"
#include "platform/ui/command_button.h"
#include "sync/sync_driver.h"

namespace korvane::sync::testing {

class RecordingShell : public SyncShell {
 public:
  void setTip(std::string_view text) override { tip.assign(text); }
  void UpdateSZTIP() override { sentTips.push_back(tip.shown()); }
  bool runOnceMode() const override { return runOnce; }
  bool windowNormal() const override { return normal; }
  void timeDataArrived() override { ++dataArrivals; }

  TipField tip;
  std::vector<std::string> sentTips;
  bool runOnce = false;
  bool normal = true;
  int dataArrivals = 0;
};

// 2025-12-07 16:05:45.678 UTC, a Sunday.
constexpr int64_t kStartUtcMillis = 1765123545678LL;

class SyncFixture : public ::testing::Test {
 protected:
  SyncFixture()
      : driver({button, servers, host, random, {&led0, &led1, &led2}},
               {clock, events, locale, rng, sockets}, shell, tables) {
    button.setEnabled(true);
  }

  // A list of servers "host:::text:::image:::ports", all of region NA unless text says.
  void addServer(const std::string& hostName, const std::string& ports,
                 const std::string& text = "Server NA", int image = 2) {
    servers.addItem(text, image);
    const int k = servers.count();
    tables.ServerHost[static_cast<size_t>(k)] = hostName;
    tables.ServerPorts[static_cast<size_t>(k)] = ports;
    if (text.size() >= 2 && text.substr(text.size() - 2) == driver.regionCode)
      tables.RegionServers[static_cast<size_t>(tables.regionCount++)] = static_cast<int16_t>(k);
  }
  void selectServer(int k) {
    servers.select(k);
    host.setText(tables.ServerHost[static_cast<size_t>(k)]);
    driver.CurServer = k;
  }

  platform::FakeSocket& tcpTime() { return *sockets.made.at(0); }
  platform::FakeSocket& tcp13() { return *sockets.made.at(1); }
  platform::FakeSocket& tcp519() { return *sockets.made.at(2); }
  platform::FakeSocket& udp123() { return *sockets.made.at(3); }

  // The four bytes of a 32-bit big-endian count.
  static std::vector<uint8_t> be32(uint32_t v) {
    return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
  }
  // Lets the sockets' pending events (a resolved host, an error) run, and what they set off.
  void runEvents() {
    while (events.pending() > 0) events.doEvents();
  }
  // One tick's share of the synchronisation: count it, then the time-out rule.
  void tick() {
    ++driver.SyncTicks;
    driver.applyTimeOut();
  }

  platform::FakeClock clock{kStartUtcMillis};
  platform::FakeEventLoop events;
  platform::FakeLocale locale;
  platform::FakeRandom rng;
  platform::FakeSocketFactory sockets{&events};
  RecordingShell shell;
  ServerTables tables;
  ui::CommandButton button{"SyncTimeNow"};
  ui::ImageCombo servers{"Servers"};
  ui::TextBox host{"vbRemoteHost"};
  ui::CheckBox random{"RandomCheck"};
  ui::ImageBox led0{"LED(0)"}, led1{"LED(1)"}, led2{"LED(2)"};
  SyncDriver driver;
};

}  // namespace korvane::sync::testing
