// SPDX-License-Identifier: GPL-3.0-or-later
// The one-second tick and the synchronisation interval.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "common/lenient_number.h"
#include "common/rounding.h"
#include "common/text.h"
#include "display/krv_layered.h"
#include "shell/nxo_krv.h"

namespace korvane::shell {

namespace {

constexpr int32_t kMinSyncSeconds = 30;

// The leading number of a text as a 32-bit count; out of range clamps to the nearest end.
int32_t countOf(const std::string& text) {
  const double x = leadingNumber(text);
  if (const auto n = toInt32HalfEven(x)) return *n;
  return x < 0 ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
}

}  // namespace

void NXO_KRV::CalcIntC() {
  SyncEvery = countOf(SyncN.text());
  const std::string unit = text::left(SyncIntC.text(), 3);
  if (unit == "Sec") {
    if (SyncEvery < 31) SyncEvery = kMinSyncSeconds;
    SyncN.setText(std::to_string(SyncEvery));
    SyncLimit = SyncEvery;
    // The button is redrawn, and keeps its state: disabled while a synchronisation runs.
    const bool wasEnabled = SyncTimeNow.enabled();
    SyncTimeNow.setEnabled(false);
    SyncTimeNow.setEnabled(wasEnabled);
  } else if (unit == "Min") {
    SyncLimit = saturateToInt32(int64_t{SyncEvery} * 60);
  } else if (unit == "Hou") {
    SyncLimit = saturateToInt32(int64_t{SyncEvery} * 3600);
  } else {
    SyncLimit = saturateToInt32(int64_t{SyncEvery} * 86400);
  }
  // Every unit has the floor seconds have: a request each second gets a client banned.
  SyncLimit = std::max(SyncLimit, kMinSyncSeconds);
  synchroniser_.intervalSeconds = SyncLimit;
}

void NXO_KRV::SyncN_Change() {
  const std::string& t = SyncN.text();
  if (!t.empty() && !isNumeric(t)) SyncN.setText(t.substr(0, t.size() - 1));
}

void NXO_KRV::SyncN_KeyPress(int& keyAscii) {
  if (keyAscii == 13) CalcIntC();
}

std::string NXO_KRV::currentText() const {
  const platform::SystemTime now = services_.clock.localTime();
  const platform::Locale& loc = services_.locale;
  return "   " + loc.toUpper(loc.dayName(now.dayOfWeek, true)) + " " +
         loc.toUpper(loc.monthName(now.month)) + " " + std::to_string(now.day) + " " +
         std::to_string(now.year) + " " + loc.longTime(platform::civilOf(now)) + "\r\n  " +
         SyncStatus;
}

std::string NXO_KRV::currentTip() const {
  const std::string zoneLine = " Current Time Zone: " + zone.ZoneName + " ";
  // A status longer than the box shows is read whole in the tip.
  if (SyncStatus.size() <= kStatusShown) return zoneLine;
  return zoneLine + "\n " + SyncStatus + " ";
}

void NXO_KRV::SyncNow_Timer() {
  zone = sync::CheckTimeZone(services_.clock);
  if (zone.ZoneName != lastZoneName) {
    lastZoneName = zone.ZoneName;
    Current.setToolTipText(currentTip());
    services_.events.doEvents();
    if (!loaded()) return;  // a shut-down ran meanwhile
    SyncCountdown = SyncLimit;
  }
  display::KeepOnScreen(*this, shell_.windows);
  lamps.DataInC();
  lamps.DataOutC();
  if (synchroniser_.busy())
    lamps.SRCToggle();
  else
    lamps.SRCInC();
  ++taskbarClockDelay;
  if (!floatingClockLoaded) ++floatingClockDelay;
  synchroniser_.tick();  // counts the time-out of a running synchronisation
  Current.setText(currentText());
  Current.setToolTipText(currentTip());
  if (!runOnce) deferredWindows();
  // A failed synchronisation leaves nothing to wait for: no version query follows it. A list
  // still downloading is no failure: its synchronisation is yet to come.
  if (runOnce && !synchroniser_.busy() &&
      (versionAnswered || (lastOutcome && !clockSynchronised()))) {
    unload(ui::kCloseFromCode);
    return;
  }
  if (wake.tick(services_.clock.suspendedMillis(), synchroniser_.busy())) SyncCountdown = SyncLimit;
  // Saturates: a zone change sets the countdown to the limit, which may be the largest count.
  if (SyncCountdown < std::numeric_limits<int32_t>::max()) ++SyncCountdown;
  if (SyncCountdown >= SyncLimit) {
    SyncCountdown = 0;
    SyncTimeNow_Click();
  }
  // Run-once mode ends by itself when the version reply never comes.
  if (runOnce && ++ticksSinceStart >= kRunOnceLimitTicks) unload(ui::kCloseFromCode);
}

void NXO_KRV::deferredWindows() {
  program::Program& windows = program_.program;
  if (floatingClockDelay > 4 && !floatingClockLoaded && settings.floatingLaunch) {
    if (!windows.loadedWindow(program::window::kFloatingClock))
      windows.loadWindow(program::window::kFloatingClock);
    floatingClockDelay = 0;
    floatingClockLoaded = true;
  }
  // An overlay still loading (its message box open) exists already: no second load.
  if (taskbarClockDelay > 4 && settings.clockOverlay) {
    if (!windows.loadedWindow(program::window::kTaskbarClock))
      windows.showWindow(program::window::kTaskbarClock);
    taskbarClockDelay = 0;
  }
}

}  // namespace korvane::shell
