// SPDX-License-Identifier: GPL-3.0-or-later
// Starting a synchronisation from the window, and showing what it does and how it ends.
#include <cmath>

#include "common/ole_date.h"
#include "common/rounding.h"
#include "common/text.h"
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
  synchroniser_.askUser = [this](const sync::SyncOutcome& o) { return askToChangeClock(o); };
}

void NXO_KRV::userSync() {
  userStarted_ = true;
  SyncTimeNow_Click();
  userStarted_ = false;
}

bool NXO_KRV::askToChangeClock(const sync::SyncOutcome& o) {
  const platform::Locale& loc = services_.locale;
  const CivilDateTime here = platform::civilOf(services_.clock.localTime());
  const auto there = civilFromOleMillis(oleMillisFromCivil(here) + std::llround(o.offsetMillis));
  const platform::MsgResult answer =
      program_.state.boxes().show(changeQuestion(o, loc.generalDate(here), loc.generalDate(there)),
                                  std::string(program::kMessageTitle), platform::MsgButtons::YesNo,
                                  platform::MsgIcon::Question);
  // The box let other events run: a shut-down begun meanwhile changes nothing.
  return answer == platform::MsgResult::Yes && !shuttingDown;
}

void NXO_KRV::SyncTimeNow_Click() {
  if (shuttingDown || synchroniser_.busy() || !SyncTimeNow.enabled()) return;
  if (Servers.count() == 0 || tables.regionCount == 0) return;
  lamps.SRCToggle();
  SyncTimeNow.setEnabled(false);
  if (runOnce) {
    synchroniser_.start({vbRemoteHost.text(), {}}, protocolChoice, true,
                        regionConfirmers(vbRemoteHost.text()));
    return;
  }
  if (RandomCheck.ticked() && !pickRandomServer()) return SyncTimeNow.setEnabled(true);
  // None chosen yet, or a number from an earlier, longer list that names no server of this one.
  if (vbRemoteHost.text().empty() || !Servers.validIndex(CurServer)) {
    CurServer = 1;
    vbRemoteHost.setText(tables.ServerHost[1]);
    return SyncTimeNow.setEnabled(true);
  }
  const int selected = Servers.selectedIndex();
  const std::string entry =
      Servers.validIndex(selected) ? Servers.item(selected).text : Servers.text();
  setTip(withNul(" Checking Time Server: " + entry + " "));
  UpdateSZTIP(TrayPicture::Checking);
  // A server that may not be asked ends at once, its outcome over the tip just set.
  const bool started =
      tables.validServer(CurServer) &&
      synchroniser_.start({vbRemoteHost.text(), tables.ServerPorts[static_cast<size_t>(CurServer)]},
                          protocolChoice, false, regionConfirmers(vbRemoteHost.text()),
                          userStarted_);
  if (!started) SyncTimeNow.setEnabled(true);
}

bool NXO_KRV::pickRandomServer() {
  const int n = tables.regionCount;
  const auto k = toInt32HalfEven(services_.random.draw() * (n - 1) + 1);
  if (!k || *k < 1 || *k > n) return false;
  const int server = askableRegionServer(*k - 1);
  if (!tables.validServer(server) || !Servers.validIndex(server)) return false;
  CurServer = server;
  vbRemoteHost.setText(tables.ServerHost[static_cast<size_t>(server)]);
  Servers.select(server);
  return true;
}

// The region's server at index drawn, or the next after it that may be asked: a server that
// turned this computer away is skipped. When none may be asked, the one drawn.
int NXO_KRV::askableRegionServer(int drawn) const {
  const int n = tables.regionCount;
  for (int step = 0; step < n; ++step) {
    const int server = tables.RegionServers[static_cast<size_t>((drawn + step) % n)];
    if (tables.validServer(server) &&
        synchroniser_.mayAsk(tables.ServerHost[static_cast<size_t>(server)]))
      return server;
  }
  return tables.RegionServers[static_cast<size_t>(drawn)];
}

// The region's other servers, in list order: one of them must confirm a change beyond the bound.
std::vector<sync::ServerChoice> NXO_KRV::regionConfirmers(const std::string& host) const {
  std::vector<sync::ServerChoice> others;
  for (int i = 0; i < tables.regionCount; ++i) {
    const int server = tables.RegionServers[static_cast<size_t>(i)];
    if (!tables.validServer(server)) continue;
    const auto at = static_cast<size_t>(server);
    if (text::trim(tables.ServerHost[at]) != text::trim(host))
      others.push_back({tables.ServerHost[at], tables.ServerPorts[at]});
  }
  return others;
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
