// Starting a synchronisation from the window, and showing what it does and how it ends.
#include "common/rounding.h"
#include "common/tip_field.h"
#include "shell/nxo_krv.h"

namespace korvane::shell {

void NXO_KRV::wireSynchroniser() {
  synchroniser_.onExchangeStarted = [this](sync::Protocol p) { exchangeStarted(p); };
  synchroniser_.onRequestSent = [this] { lamps.DataOut(); };
  synchroniser_.onReplyData = [this] {
    lamps.DataIn();
    TimeDataArrived();
  };
  synchroniser_.onOutcome = [this](const sync::SyncOutcome& o) { showOutcome(o); };
}

void NXO_KRV::SyncTimeNow_Click() {
  if (shuttingDown || synchroniser_.busy() || !SyncTimeNow.enabled()) return;
  if (Servers.count() == 0 || tables.regionCount == 0) return;
  lamps.SRCToggle();
  SyncTimeNow.setEnabled(false);
  if (runOnce) {
    synchroniser_.start({vbRemoteHost.text(), {}}, protocolChoice, true);
    return;
  }
  if (RandomCheck.ticked() && !pickRandomServer()) return SyncTimeNow.setEnabled(true);
  // None chosen yet, or a number from an earlier, longer list that names no server of this one.
  if (vbRemoteHost.text().empty() || !Servers.validIndex(CurServer)) {
    CurServer = 1;
    vbRemoteHost.setText(tables.ServerHost[1]);
    return SyncTimeNow.setEnabled(true);
  }
  const bool started =
      tables.validServer(CurServer) &&
      synchroniser_.start({vbRemoteHost.text(), tables.ServerPorts[static_cast<size_t>(CurServer)]},
                          protocolChoice);
  const int selected = Servers.selectedIndex();
  const std::string entry =
      Servers.validIndex(selected) ? Servers.item(selected).text : Servers.text();
  setTip(withNul(" Checking Time Server: " + entry + " "));
  UpdateSZTIP(TrayPicture::Checking);
  if (!started) SyncTimeNow.setEnabled(true);
}

bool NXO_KRV::pickRandomServer() {
  const int n = tables.regionCount;
  const auto k = toInt32HalfEven(services_.random.draw() * (n - 1) + 1);
  if (!k || *k < 1 || *k > n) return false;
  const int server = tables.RegionServers[static_cast<size_t>(*k - 1)];
  if (!tables.validServer(server) || !Servers.validIndex(server)) return false;
  CurServer = server;
  vbRemoteHost.setText(tables.ServerHost[static_cast<size_t>(server)]);
  Servers.select(server);
  return true;
}

void NXO_KRV::exchangeStarted(sync::Protocol p) {
  SyncStatus = synchronizingStatus(p, synchroniser_.usingNts());
  LED0.setToolTipText(std::string(sync::protocolLampTip(p)));
}

void NXO_KRV::showOutcome(const sync::SyncOutcome& outcome) {
  lastOutcome = outcome;
  const OutcomeView view = viewOf(outcome, generalDateNow());
  if (view.status) SyncStatus = *view.status;
  if (outcome.kind == sync::OutcomeKind::TimedOut) lamps.SRCToggle();
  SyncTimeNow.setEnabled(true);
  if (view.tip) {
    setTip(*view.tip);
    UpdateSZTIP(view.picture);
  }
}

std::string NXO_KRV::generalDateNow() const {
  return services_.locale.generalDate(platform::civilOf(services_.clock.localTime()));
}

}  // namespace korvane::shell
