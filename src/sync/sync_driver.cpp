#include "sync/sync_driver.h"

#include "common/rounding.h"
#include "common/text.h"
#include "common/tip_field.h"

namespace korvane::sync {

namespace {
// A socket that will not report itself closed is given up on after this many tries, so a
// broken backend cannot hang the window.
constexpr int kMaxCloseTries = 1000;
}  // namespace

SyncDriver::SyncDriver(SyncControls controls, SyncServices services, SyncShell& shell,
                       ServerTables& tables)
    : lamps(controls.LED, shell),
      c_(controls),
      services_(services),
      shell_(shell),
      tables_(tables),
      tcpTime_(services.sockets.create()),
      TCP13_(services.sockets.create()),
      TCP519_(services.sockets.create()),
      UDP123_(services.sockets.create()) {
  wireSockets();
  // The Time socket is preset once, here: start-up and run-once connect it as it is.
  tcpTime_->setProtocol(platform::SocketProtocol::Tcp);
  tcpTime_->setRemotePort(protocolPort(Protocol::Time));
}

SyncDriver::~SyncDriver() = default;

void SyncDriver::wireSockets() {
  tcpTime_->onDataArrival = [this](long n) { tcpTime_DataArrival(n); };
  tcpTime_->onClose = [this] { tcpTime_Close(); };
  TCP519_->onDataArrival = [this](long n) { TCP519_DataArrival(n); };
  TCP13_->onDataArrival = [this](long n) { TCP13_DataArrival(n); };
  UDP123_->onHostResolved = [this] { UDP123_HostResolved(); };
  UDP123_->onDataArrival = [this](long n) { UDP123_DataArrival(n); };
  for (platform::Socket* s : {tcpTime_.get(), TCP13_.get(), TCP519_.get(), UDP123_.get()})
    s->onError = [this, s](const platform::SocketError& e) { socketError(*s, e); };
}

void SyncDriver::SyncTimeNow_Click() {
  if (!c_.SyncTimeNow.enabled()) return;
  if (c_.Servers.count() == 0 || tables_.regionCount == 0) return;
  lamps.SRCToggle();
  SyncBusy = true;
  c_.SyncTimeNow.setEnabled(false);
  if (shell_.runOnceMode()) {
    Grab37Time();
    return;
  }
  if (c_.RandomCheck.ticked() && !pickRandomServer()) return returnToIdle();
  // None chosen yet, or a number from an earlier, longer list that names no server of this one.
  if (c_.vbRemoteHost.text().empty() || !c_.Servers.validIndex(CurServer)) {
    CurServer = 1;
    c_.vbRemoteHost.setText(tables_.ServerHost[1]);
    return returnToIdle();
  }
  const bool started = startChosenProtocol();
  const int selected = c_.Servers.selectedIndex();
  const std::string entry =
      c_.Servers.validIndex(selected) ? c_.Servers.item(selected).text : c_.Servers.text();
  shell_.setTip(withNul(" Checking Time Server: " + entry + " "));
  shell_.UpdateSZTIP();
  if (!started) returnToIdle();
}

bool SyncDriver::pickRandomServer() {
  const int n = tables_.regionCount;
  const auto k = toInt32HalfEven(services_.random.draw() * (n - 1) + 1);
  if (!k || *k < 1 || *k > n) return false;
  const int server = tables_.RegionServers[static_cast<size_t>(*k - 1)];
  if (!tables_.validServer(server) || !c_.Servers.validIndex(server)) return false;
  CurServer = server;
  c_.vbRemoteHost.setText(tables_.ServerHost[static_cast<size_t>(server)]);
  c_.Servers.select(server);
  return true;
}

bool SyncDriver::startChosenProtocol() {
  if (!tables_.validServer(CurServer)) return false;
  const auto p = text::split(tables_.ServerPorts[static_cast<size_t>(CurServer)], ":");
  if (p.size() < 4) return false;
  const std::string& choice = protocolChoice;
  auto sntpOrTime = [&] { p[1] != "0" ? GrabSNTP() : Grab37Time(); };
  if (choice == choice::kTime) {
    Grab37Time();
  } else if (choice == choice::kSntp) {
    sntpOrTime();
  } else if (choice == choice::kDayTime) {
    p[2] != "0" ? GrabDayTime() : Grab37Time();
  } else if (choice == choice::kUnixTime) {
    p[3] != "0" ? GrabUnix() : Grab37Time();
  } else if (choice == choice::kAutomatic) {
    const auto j = toInt32HalfEven(3 * services_.random.draw());
    if (!j || *j < 0 || *j > 3) return false;
    const std::string& field = p[static_cast<size_t>(*j)];
    if (field == "0" || field == "123")
      sntpOrTime();
    else if (field == "13")
      GrabDayTime();
    else if (field == "37")
      Grab37Time();
    else if (field == "519")
      GrabUnix();
    else
      return false;
  } else {
    return false;
  }
  return true;
}

void SyncDriver::applyTimeOut() {
  if (SyncTicks < kTimeOutTicks || !text::contains(SyncStatus, "Synchronizing")) return;
  SyncBusy = false;
  lamps.SRCToggle();
  SyncTicks = 0;
  c_.SyncTimeNow.setEnabled(true);
  SyncStatus = "Unable to Synchronize: Timed Out!";
}

void SyncDriver::beginExchange(Protocol p) {
  SyncProtocol = static_cast<int16_t>(p);
  SyncTicks = 0;
  SyncStatus = "Synchronizing using " + std::string(protocolName(p)) + "...";
  c_.LED[0]->setToolTipText(std::string(protocolLampTip(p)));
}

void SyncDriver::returnToIdle() {
  SyncBusy = false;
  c_.SyncTimeNow.setEnabled(true);
}

void SyncDriver::enableSyncButton() {
  if (!c_.SyncTimeNow.enabled()) c_.SyncTimeNow.setEnabled(true);
}

bool SyncDriver::closeUntilClosed(platform::Socket& socket) {
  // Only a shut-down that ran while events were let through ends the wait early.
  const bool loadedBefore = shell_.windowLoaded();
  for (int tries = 0; socket.state() != platform::SocketState::Closed && tries < kMaxCloseTries;
       ++tries) {
    services_.events.doEvents();
    if (loadedBefore && !shell_.windowLoaded()) return false;
    socket.Close();
  }
  return true;
}

std::string SyncDriver::hostText() const {
  return c_.vbRemoteHost.text();
}

std::string SyncDriver::generalDateNow() const {
  return services_.locale.generalDate(platform::civilOf(localNow()));
}

void SyncDriver::socketError(platform::Socket& socket, const platform::SocketError& error) {
  SyncStatus = error.description;
  SyncBusy = false;
  shell_.setTip("KRV - No Adjustment: " + generalDateNow());
  shell_.UpdateSZTIP();
  c_.SyncTimeNow.setEnabled(true);
  closeUntilClosed(socket);
}

}  // namespace korvane::sync
