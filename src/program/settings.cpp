// SPDX-License-Identifier: GPL-3.0-or-later
#include "program/settings.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "common/lenient_number.h"
#include "common/rounding.h"
#include "common/text.h"

namespace korvane::program {

using platform::HKEY_LOCAL_MACHINE;
using platform::kRunKey;
using platform::kTimeZoneKey;

namespace {

constexpr std::string_view kFirstRunSettings = "YES:59:Minutes/s:NA";
constexpr std::string_view kDefaultClockSkin = "NO:NO:NO:YES";
constexpr std::string_view kDefaultDetachMode = "KRV:n:y:-1:-1";
constexpr std::string_view kDefaultDetachFont = "Arial,10,n,n,n,n,0,-2147483643";
constexpr int kMaxOpacity = 255;

std::string read(Registry& r, std::string_view name) {
  return r.ReadString(kSettingsKey, name);
}

void write(Registry& r, std::string_view name, std::string_view text) {
  r.WriteString(HKEY_LOCAL_MACHINE, kSettingsKey, name, text);
}

// Field i (from 1) of a split value, or fallback when the value has fewer fields.
std::string field(const std::vector<std::string>& fields, size_t i, std::string_view fallback) {
  return i <= fields.size() ? fields[i - 1] : std::string(fallback);
}

// The lenient number of a text as a 32-bit integer; fallback when it does not fit.
int32_t number(std::string_view text, int32_t fallback) {
  return toInt32HalfEven(leadingNumber(text)).value_or(fallback);
}

const char* yesNo(bool on) {
  return on ? "YES" : "NO";
}

const char* yn(bool on) {
  return on ? "y" : "n";
}

void applyFloatingDefaults(Settings& s) {
  s.protocol = kDefaultProtocol;
  s.overlaySkin = kDefaultSkin;
  s.floatingSkin = kDefaultSkin;
  s.fontName = "Arial";
  s.fontSize = 10;
  s.textColour = 0;
  s.backColour = kWindowBackgroundColour;
  s.fontBold = s.fontItalic = s.fontUnderline = s.fontStrikethrough = false;
  s.floatingX = s.floatingY = -1;
  s.opacity = kDefaultOpacity;
  s.floatingStyle = "KRV";
  s.floatingOnTop = true;
  s.floatingLaunch = false;
}

void firstRun(Registry& r, Settings& s) {
  r.CreateKeyPath(kSettingsKeyPath);
  write(r, "Settings", kFirstRunSettings);
  write(r, "Protocol", kDefaultProtocol);
  write(r, "KRVClockSkin", kDefaultClockSkin);
  write(r, "KRVLastServer", kDefaultTimeServer);
  write(r, "KRVSkinLocal", kDefaultSkin);
  write(r, "OpenMinimized", "NO");
  write(r, "KRVSkinDetach", kDefaultSkin);
  write(r, "KRVSkinTransP", std::to_string(kDefaultOpacity));
  write(r, "KRVDetachMode", kDefaultDetachMode);
  write(r, "KRVDetachFont", kDefaultDetachFont);
  applyFloatingDefaults(s);
}

void loadMainWindowFields(Registry& r, Settings& s, const SettingsHooks& hooks) {
  const std::vector<std::string> f = text::split(read(r, "Settings"), ":", 4);
  if (f.size() != 4) return;
  MainWindowBoxes boxes{f[0] == "YES", std::nullopt, f[2]};
  if (isNumeric(f[1])) boxes.count = f[1];
  if (hooks.showBoxes) hooks.showBoxes(boxes);
  const std::string region = text::trim(f[3]);
  const bool known =
      std::find(std::begin(kRegionCodes), std::end(kRegionCodes), region) != std::end(kRegionCodes);
  s.regionCode = known ? region : std::string(kRegionCodes[0]);
}

void loadClockSkin(Registry& r, Settings& s) {
  const std::string stored = read(r, "KRVClockSkin");
  if (stored.empty()) {
    s.clockOverlay = s.clock24Hour = s.clockSeconds = false;
    s.clockAmPm = true;
    s.overlaySkin = kDefaultSkin;
    return;
  }
  const std::vector<std::string> f = text::split(stored, ":");
  s.clockOverlay = field(f, 1, "NO") == "YES";
  s.clock24Hour = field(f, 2, "NO") == "YES";
  s.clockSeconds = field(f, 3, "NO") == "YES";
  s.clockAmPm = field(f, 4, "NO") == "YES";
  s.overlaySkin = read(r, "KRVSkinLocal");
}

void loadFloatingClock(Registry& r, Settings& s) {
  const std::string detachSkin = read(r, "KRVSkinDetach");
  s.floatingSkin = detachSkin.empty() ? s.overlaySkin : detachSkin;

  s.opacity = workingOpacity(number(read(r, "KRVSkinTransP"), 0));

  const std::string mode = read(r, "KRVDetachMode");
  // Fields a stored text lacks take their first-run values.
  const std::vector<std::string> m = text::split(mode.empty() ? kDefaultDetachMode : mode, ":");
  s.floatingStyle = field(m, 1, "KRV");
  s.floatingLaunch = field(m, 2, "n") != "n";
  s.floatingOnTop = field(m, 3, "y") != "n";
  s.floatingX = number(field(m, 4, "-1"), -1);
  s.floatingY = number(field(m, 5, "-1"), -1);

  const std::string font = read(r, "KRVDetachFont");
  const std::vector<std::string> f = text::split(font.empty() ? kDefaultDetachFont : font, ",");
  s.fontName = field(f, 1, "Arial");
  s.fontSize = number(field(f, 2, "10"), 10);
  s.fontBold = field(f, 3, "n") != "n";
  s.fontItalic = field(f, 4, "n") != "n";
  s.fontUnderline = field(f, 5, "n") != "n";
  s.fontStrikethrough = field(f, 6, "n") != "n";
  s.textColour = number(field(f, 7, "0"), 0);
  s.backColour = number(field(f, 8, "-2147483643"), kWindowBackgroundColour);
}

}  // namespace

bool loadSettings(Registry& r, Settings& s, const SettingsHooks& hooks) {
  // A re-read list after a download must not minimise the window again or drop unsaved choices.
  if (s.loaded) return false;
  s.loaded = true;
  s.daylightName = r.ReadString(kTimeZoneKey, "DaylightName");
  s.standardName = r.ReadString(kTimeZoneKey, "StandardName");
  if (!r.ReadString(kRunKey, platform::kRunValueName).empty())
    s.runAtStartup = s.runValuePresent = true;
  s.LastServer = kDefaultTimeServer;
  s.maxSilentChangeSeconds = workingMaxChange(read(r, "KRVMaxChange"));
  if (read(r, "Settings").empty()) {
    firstRun(r, s);
    return true;
  }
  const std::string last = read(r, "KRVLastServer");
  if (!last.empty()) {
    s.LastServer = text::trim(last);
  } else {
    write(r, "KRVLastServer", kDefaultTimeServer);
  }
  if (read(r, "OpenMinimized") == "YES") {
    if (hooks.minimiseWindow) hooks.minimiseWindow();
    s.openMinimised = true;
  }
  loadMainWindowFields(r, s, hooks);
  s.protocol = read(r, "Protocol");
  if (s.protocol.empty()) {
    write(r, "Protocol", kDefaultProtocol);
    s.protocol = kDefaultProtocol;
  }
  loadClockSkin(r, s);
  loadFloatingClock(r, s);
  return false;
}

int32_t workingMaxChange(std::string_view stored) {
  const std::string t = text::trim(std::string(stored));
  if (t.empty() || !isNumeric(t)) return kDefaultMaxSilentChange;
  const int32_t n = number(t, -1);
  return n < 0 ? kDefaultMaxSilentChange : n;
}

int workingOpacity(int32_t stored) {
  // An opacity above a byte is as opaque as the window can be.
  return stored <= 10 ? kDefaultOpacity : std::min<int32_t>(stored, kMaxOpacity);
}

std::string formatClockSkin(const Settings& s) {
  return std::string(yesNo(s.clockOverlay)) + ":" + yesNo(s.clock24Hour) + ":" +
         yesNo(s.clockSeconds) + ":" + yesNo(s.clockAmPm);
}

std::string formatDetachMode(const Settings& s) {
  return s.floatingStyle + ":" + yn(s.floatingLaunch) + ":" + yn(s.floatingOnTop) + ":" +
         std::to_string(s.floatingX) + ":" + std::to_string(s.floatingY);
}

std::string formatDetachFont(const Settings& s) {
  return s.fontName + "," + std::to_string(s.fontSize) + "," + yn(s.fontBold) + "," +
         yn(s.fontItalic) + "," + yn(s.fontUnderline) + "," + yn(s.fontStrikethrough) + "," +
         std::to_string(s.textColour) + "," + std::to_string(s.backColour);
}

void writeMainWindowSettings(Registry& r, std::string_view serverBoxText,
                             const MainWindowBoxes& boxes, std::string_view regionCode) {
  write(r, "KRVLastServer", text::trim(serverBoxText));
  write(r, "Settings",
        std::string(boxes.random ? "YES:" : "NO:") + boxes.count.value_or("") + ":" + boxes.unit +
            ":" + std::string(regionCode));
}

void writeOptionsSettings(Registry& r, Settings& s, std::string_view programCommand) {
  write(r, "OpenMinimized", yesNo(s.openMinimised));
  write(r, "Protocol", s.protocol);
  if (s.runAtStartup && !s.runValuePresent) {
    if (r.WriteString(HKEY_LOCAL_MACHINE, kRunKey, platform::kRunValueName, programCommand))
      s.runValuePresent = true;
  } else if (s.runValuePresent && !s.runAtStartup) {
    if (r.DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, platform::kRunValueName) == 0)
      s.runValuePresent = false;
  }
  write(r, "KRVClockSkin", formatClockSkin(s));
  write(r, "KRVSkinLocal", s.overlaySkin);
}

void writeFloatingSettings(Registry& r, const Settings& s) {
  write(r, "KRVClockSkin", formatClockSkin(s));
  write(r, "KRVSkinDetach", s.floatingSkin);
  write(r, "KRVSkinTransP", std::to_string(s.opacity));
  write(r, "KRVDetachMode", formatDetachMode(s));
  write(r, "KRVDetachFont", formatDetachFont(s));
}

void writeFloatingPosition(Registry& r, const Settings& s) {
  write(r, "KRVDetachMode", formatDetachMode(s));
}

}  // namespace korvane::program
