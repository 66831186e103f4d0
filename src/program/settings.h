// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's settings: the in-memory values, their load at start-up (with the defaults of a
// first run) and the writers each window calls when it saves what it owns.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "program/registry.h"
#include "program/vocabulary.h"

namespace korvane::program {

constexpr std::string_view kDefaultTimeServer = "time.nist.gov";
constexpr std::string_view kSettingsKey = "Software\\Korvane";
constexpr std::string_view kSettingsKeyPath = "HKEY_LOCAL_MACHINE\\Software\\Korvane";
constexpr std::string_view kDefaultSkin = "KRV_Default Skin.gif";
constexpr int kDefaultOpacity = 200;
constexpr int32_t kDefaultMaxSilentChange = 1000;
constexpr int32_t kWindowBackgroundColour = -2147483643;  // system colour 5

struct Settings {
  bool loaded = false;  // the start-up load ran; later list reads keep what is in memory
  // Zone names as the registry gave them at start.
  std::string standardName;
  std::string daylightName;
  bool runAtStartup = false;
  bool runValuePresent = false;  // the Run value exists (read at start, kept by the writer)
  std::string LastServer;        // host of the server used last
  bool openMinimised = false;
  std::string regionCode = "NA";
  std::string protocol;
  // The largest clock change one server's word may make, in seconds; 0: no bound.
  int32_t maxSilentChangeSeconds = kDefaultMaxSilentChange;
  // Taskbar clock.
  bool clockOverlay = false;
  bool clock24Hour = false;
  bool clockSeconds = false;
  bool clockAmPm = false;
  std::string overlaySkin;
  // Floating clock.
  std::string floatingSkin;
  int opacity = 0;            // 0..255
  std::string floatingStyle;  // "KRV" skin, "FNT" font
  bool floatingLaunch = false;
  bool floatingOnTop = false;
  int32_t floatingX = 0;  // twips, -1 = never placed
  int32_t floatingY = 0;
  std::string fontName;
  int32_t fontSize = 0;
  bool fontBold = false;
  bool fontItalic = false;
  bool fontUnderline = false;
  bool fontStrikethrough = false;
  int32_t textColour = 0;
  int32_t backColour = 0;
  // Windows may be translucent (found at start-up, never stored).
  bool layeredCapable = false;
};

// The main window's boxes that "Settings" holds.
struct MainWindowBoxes {
  bool random = false;  // the random-server box is ticked
  // The interval's count; none when the stored one is not a number (the box keeps its own).
  std::optional<std::string> count;
  std::string unit;
};

// What the load hands to the main window, in the order it reads the values.
struct SettingsHooks {
  std::function<void()> minimiseWindow;
  std::function<void(const MainWindowBoxes&)> showBoxes;
};

// Loads every setting once per run (a second call does nothing); on a first run writes the
// defaults instead. True on a first run.
bool loadSettings(Registry& registry, Settings& settings, const SettingsHooks& hooks);

// Main window, on unload: the last server (the server box's text) and Settings.
void writeMainWindowSettings(Registry& registry, std::string_view serverBoxText,
                             const MainWindowBoxes& boxes, std::string_view regionCode);
// Options dialog, on close after a change; programCommand is what the Run value starts.
// runValuePresent follows each successful write or delete of the Run value.
void writeOptionsSettings(Registry& registry, Settings& settings, std::string_view programCommand);
// Floating clock settings, on apply.
void writeFloatingSettings(Registry& registry, const Settings& settings);
// Floating clock, on close after it was moved.
void writeFloatingPosition(Registry& registry, const Settings& settings);

// The bound a stored "KRVMaxChange" text gives: a count of seconds, 0 for none; missing,
// negative or not a number, the default.
int32_t workingMaxChange(std::string_view stored);

// The opacity a stored value gives the window: 10 or less (nearly invisible) the default,
// above 255 fully opaque.
int workingOpacity(int32_t stored);

// The stored forms of the compound values.
std::string formatClockSkin(const Settings& settings);
std::string formatDetachMode(const Settings& settings);
std::string formatDetachFont(const Settings& settings);

}  // namespace korvane::program
