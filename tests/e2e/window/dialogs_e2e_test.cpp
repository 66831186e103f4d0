// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog and the floating clock's settings dialog of the real korvane, driven as a
// person does (pointer and keys): what they change on the screen and what they write.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "e2e/window/window_e2e.h"

namespace korvane::e2e {
namespace {

namespace fs = std::filesystem;
using korvane::testing::writeText;
using namespace std::chrono_literals;

// The frameless clock windows have the program's name; the dialogs have the main window's.
const std::string kClockWindow = "^korvane$";
const std::string kDialog = "^Korvane - ";
// A window the program opens in answer to a click: generous, as a sanitizer build is slow.
constexpr auto kOpenWait = 10s;

// Control centres in client pixels.
constexpr int kAdvanced[] = {354, 101};
constexpr int kRunAtStartup[] = {20, 142};
constexpr int kEnableSkin[] = {30, 258};
constexpr int kSkinList[] = {200, 361};
constexpr int kUseSkin[] = {353, 361};
constexpr int kAdjustFloating[] = {312, 335};
constexpr int kOptionsApply[] = {353, 392};
constexpr int kFontSettings[] = {172, 167};
constexpr int kBackground[] = {295, 167};
constexpr int kOpacityText[] = {42, 222};
constexpr int kSettingsApply[] = {222, 318};

// The colour most pixels of an image have, as "#RRGGBB"; source is a file or "x:" + a window.
std::string mostCommonColour(const Desktop& desktop, const std::string& source) {
  const std::string image = source.rfind("x:", 0) == 0
                                ? "import -window " + source.substr(2) + " png:-"
                                : "cat '" + source + "'";
  return desktop.run(image +
                     " | convert -'[0]' -format %c histogram:info:- | sort -rn | head -1 "
                     "| grep -o '#[0-9A-F]\\{6\\}' | head -1");
}

// Waits for a shown clock window whose most common colour is colour; its id or empty.
std::string waitForClockColoured(const Desktop& desktop, const std::string& colour) {
  const auto end = std::chrono::steady_clock::now() + kOpenWait;
  for (;;) {
    for (const std::string& id : desktop.windowsNamed(kClockWindow))
      if (mostCommonColour(desktop, "x:" + id) == colour) return id;
    if (std::chrono::steady_clock::now() >= end) return "";
    std::this_thread::sleep_for(200ms);
  }
}

// Where a value stands in the hive text: written later, found later.
size_t positionOf(const std::string& hive, const std::string& name) {
  return hive.find("\n\"" + name + "\"=");
}

class DialogsE2ETest : public WindowE2ETest {
 protected:
  void click(const std::string& id, const int (&at)[2]) { desktop->clickIn(id, at[0], at[1]); }
  // Starts korvane with the main window shown and opens the options dialog from it.
  void openOptions(bool compositing) {
    desktop = std::make_unique<Desktop>(false, compositing);
    korvane = startKorvane(*desktop, "-x");
    main = desktop->waitForOutput(kWindowByName, 15s);
    ASSERT_FALSE(main.empty()) << readFile("stderr.txt");
    click(main, kAdvanced);
    options = desktop->waitForNewWindow(kDialog, {main}, kOpenWait);
    ASSERT_FALSE(options.empty()) << readFile("stderr.txt");
  }
  // Answers the question box that has this name with its default button, Yes.
  void answerYes(const std::string& boxName) {
    const std::string box = desktop->waitForNewWindow(boxName, {}, kOpenWait);
    ASSERT_FALSE(box.empty()) << boxName << "\n" << readFile("stderr.txt");
    desktop->keysTo(box, "Return");
    EXPECT_TRUE(desktop->waitUntilGone(box, kOpenWait));
  }
  void screenshot(const std::string& id, const std::string& name) {
    desktop->run("import -window " + id + " " + KORVANE_E2E_SCREENS + "/" + name + ".png");
  }
  void endKorvane() {
    korvane->signal(SIGTERM);
    EXPECT_EQ(korvane->waitFor(10s), std::optional<int>(0)) << readFile("stderr.txt");
  }

  std::unique_ptr<Desktop> desktop;
  std::unique_ptr<Process> korvane;
  std::string main, options;
};

// "Advanced" opens the options dialog (its caption is the main window's); ticking "Run Korvane
// when Windows Starts." and "Apply" write the options and the autostart entry of this binary.
TEST_F(DialogsE2ETest, AdvancedOpensTheOptionsDialogWhoseApplyWritesTheAutostartEntry) {
  writeText(folder + "/registry.reg", startingHive("Default Time Protocol"));
  openOptions(false);
  if (HasFatalFailure()) return;
  screenshot(options, "options_dialog");
  click(options, kRunAtStartup);
  click(options, kOptionsApply);
  EXPECT_TRUE(desktop->waitUntilGone(options, kOpenWait)) << "Apply closes the dialog";

  const std::string hive = readFile("registry.reg");
  EXPECT_EQ(hiveValue(hive, "OpenMinimized"), "NO") << hive;
  EXPECT_EQ(hiveValue(hive, "KRVClockSkin"), "NO:NO:NO:YES") << hive;
  EXPECT_EQ(hiveValue(hive, "KRVSkinLocal"), "KRV_Default Skin.gif") << hive;
  const std::string entry = readFile("config/autostart/korvane.desktop");
  const std::string program = fs::canonical(KORVANE_E2E_BINARY).string();
  for (const std::string& key :
       {"Exec=" + program, "TryExec=" + program, std::string("Icon=korvane")})
    EXPECT_NE(entry.find("\n" + key + "\n"), std::string::npos) << key << " in " << entry;
  EXPECT_EQ(desktop->run("desktop-file-validate " + folder + "/config/autostart/korvane.desktop" +
                         " && echo valid"),
            "valid");
  endKorvane();
}

// Switching the clock skin on shows the overlay; another skin and "Use Skin" (Yes) put the
// overlay back with that skin, sized to fit the screen; closing writes the options in order.
TEST_F(DialogsE2ETest, UseSkinShowsTheOverlayWithTheNewSkinAndClosingWritesInOrder) {
  writeText(folder + "/registry.reg", startingHive("Default Time Protocol"));
  openOptions(false);
  if (HasFatalFailure()) return;
  const std::string skins = folder + "/home/Skins/";
  const std::string defaultSkin = mostCommonColour(*desktop, skins + "KRV_Default Skin.gif");
  const std::string blueSkin = mostCommonColour(*desktop, skins + "KRV_Blue Dots.gif");
  ASSERT_NE(defaultSkin, blueSkin);

  click(options, kEnableSkin);
  const std::string first = waitForClockColoured(*desktop, defaultSkin);
  ASSERT_FALSE(first.empty()) << "the overlay shows the stored skin\n" << readFile("stderr.txt");
  click(options, kSkinList);
  desktop->keysTo(options, "Up");  // the entry above the stored one
  click(options, kUseSkin);
  answerYes("^Korvane$");  // "Implement New KRV Clock Skin Now?"
  const std::string overlay = waitForClockColoured(*desktop, blueSkin);
  ASSERT_FALSE(overlay.empty()) << readFile("stderr.txt");
  desktop->run(std::string("import -window root ") + KORVANE_E2E_SCREENS + "/overlay_new_skin.png");
  // Its first Paint sizes the stand-in clock to the new skin: 15 cells of 16 pixels at the
  // screen's right, which the 10-cell overlay covers from the left.
  const int clockLeft = 1024 - 15 * 16;
  for (int i = 0; i < 50 && desktop->geometryOf(overlay).x != clockLeft; ++i)
    std::this_thread::sleep_for(100ms);
  const Desktop::Geometry g = desktop->geometryOf(overlay);
  EXPECT_EQ(g.x, clockLeft);
  EXPECT_EQ(g.width, 10 * 16);
  EXPECT_EQ(g.y + g.height, 768);

  click(options, kOptionsApply);
  ASSERT_TRUE(desktop->waitUntilGone(options, kOpenWait));
  const std::string hive = readFile("registry.reg");
  EXPECT_EQ(hiveValue(hive, "OpenMinimized"), "NO") << hive;
  EXPECT_EQ(hiveValue(hive, "Protocol"), "Default Time Protocol") << hive;
  EXPECT_EQ(hiveValue(hive, "KRVClockSkin"), "YES:NO:NO:YES") << hive;
  EXPECT_EQ(hiveValue(hive, "KRVSkinLocal"), "KRV_Blue Dots.gif") << hive;
  EXPECT_LT(positionOf(hive, "OpenMinimized"), positionOf(hive, "KRVClockSkin")) << hive;
  EXPECT_LT(positionOf(hive, "KRVClockSkin"), positionOf(hive, "KRVSkinLocal")) << hive;
  EXPECT_FALSE(fs::exists(folder + "/config/autostart/korvane.desktop")) << "Run left unticked";
  EXPECT_FALSE(desktop->windowsNamed(kClockWindow).empty()) << "the overlay stays";
  endKorvane();
}

// "Adjust Floating KRV Clock": a font, a background and an opacity chosen in their dialogs, then
// "Apply" and Yes bring the floating clock back with them, translucent, and save them in order.
TEST_F(DialogsE2ETest, FloatingClockSettingsApplyFontColourAndOpacityAndSaveThem) {
  writeText(folder + "/registry.reg",
            startingHive("Default Time Protocol") + "\"KRVDetachMode\"=\"FNT:y:n:100:50\"\n");
  openOptions(true);
  if (HasFatalFailure()) return;
  const std::string before = desktop->waitForNewWindow(kClockWindow, {}, kOpenWait);
  ASSERT_FALSE(before.empty()) << "the floating clock opens at start";
  const Desktop::Geometry was = desktop->geometryOf(before);
  const auto opacityOf = [&](const std::string& id) {
    return desktop->run("xprop -id " + id + " _NET_WM_WINDOW_OPACITY | grep -o '[0-9]*$'");
  };
  EXPECT_EQ(opacityOf(before), std::to_string(200ULL * 0xFFFFFFFFULL / 255));

  click(options, kAdjustFloating);
  const std::string settings = desktop->waitForNewWindow(kDialog, {main, options}, kOpenWait);
  ASSERT_FALSE(settings.empty()) << readFile("stderr.txt");

  click(settings, kFontSettings);
  const std::string font = desktop->waitForNewWindow("^Select Font$", {}, kOpenWait);
  ASSERT_FALSE(font.empty());
  desktop->keysTo(font, "alt+f");
  desktop->run("xdotool type --delay 40 'Liberation Serif'");
  desktop->keysTo(font, "alt+y");
  desktop->run("xdotool type --delay 40 'Italic'");  // the one style of that first letter
  desktop->keysTo(font, "alt+s ctrl+a 2 0");
  // The size box's completion may hold the next key for a moment: underline on its own.
  desktop->run("sleep 0.3");
  desktop->keysTo(font, "alt+u");
  // A button's underline key shows it pressed and clicks it a moment later: an Enter sooner
  // would close the chooser first.
  desktop->run("sleep 0.3");
  screenshot(font, "font_dialog");
  desktop->keysTo(font, "Return");
  ASSERT_TRUE(desktop->waitUntilGone(font, kOpenWait));
  // The text colour follows the font; Escape keeps the one it had.
  const std::string textColour = desktop->waitForNewWindow("^Select Text Color$", {}, kOpenWait);
  ASSERT_FALSE(textColour.empty()) << readFile("stderr.txt");
  desktop->keysTo(textColour, "Escape");
  ASSERT_TRUE(desktop->waitUntilGone(textColour, kOpenWait));

  click(settings, kBackground);
  const std::string colour = desktop->waitForNewWindow("^Select Color$", {}, kOpenWait);
  ASSERT_FALSE(colour.empty());
  desktop->keysTo(colour, "alt+h ctrl+a");
  desktop->run("xdotool type --delay 40 '#ff0000'");
  screenshot(colour, "colour_dialog");
  desktop->keysTo(colour, "Return");
  ASSERT_TRUE(desktop->waitUntilGone(colour, kOpenWait));

  // 200 becomes 100 by its first digit: every shorter number on the way would warn.
  click(settings, kOpacityText);
  desktop->keysTo(settings, "Home shift+Right 1");
  screenshot(settings, "floating_settings_changed");
  click(settings, kSettingsApply);
  answerYes("^Load KRV Floating Clock Now\\?$");
  EXPECT_TRUE(desktop->waitUntilGone(settings, kOpenWait)) << "Apply closes the dialog";

  const std::string after = desktop->waitForNewWindow(kClockWindow, {before}, kOpenWait);
  ASSERT_FALSE(after.empty()) << "Yes opens the floating clock again\n" << readFile("stderr.txt");
  const Desktop::Geometry now = desktop->geometryOf(after);
  EXPECT_EQ(now.x, was.x);
  EXPECT_EQ(now.y, was.y);
  EXPECT_GT(now.height, was.height) << "20 points instead of 10";
  EXPECT_EQ(mostCommonColour(*desktop, "x:" + after), "#FF0000");
  EXPECT_EQ(opacityOf(after), std::to_string(100ULL * 0xFFFFFFFFULL / 255));
  // On the screen the desktop shows through the red.
  const std::string shot = std::string(KORVANE_E2E_SCREENS) + "/floating_clock_translucent.png";
  desktop->run("import -window root -crop " + std::to_string(now.width) + "x" +
               std::to_string(now.height) + "+" + std::to_string(now.x) + "+" +
               std::to_string(now.y) + " " + shot);
  EXPECT_NE(mostCommonColour(*desktop, shot), "#FF0000");

  const std::string hive = readFile("registry.reg");
  EXPECT_EQ(hiveValue(hive, "KRVDetachFont"), "Liberation Serif,20,n,y,y,n,0,255") << hive;
  EXPECT_EQ(hiveValue(hive, "KRVSkinTransP"), "100") << hive;
  EXPECT_EQ(hiveValue(hive, "KRVDetachMode"), "FNT:y:n:100:50") << hive;
  EXPECT_EQ(hiveValue(hive, "KRVClockSkin"), "NO:NO:NO:YES") << hive;
  EXPECT_EQ(hiveValue(hive, "KRVSkinDetach"), "KRV_Default Skin.gif") << hive;
  const char* order[] = {"KRVClockSkin", "KRVSkinDetach", "KRVSkinTransP", "KRVDetachFont"};
  for (size_t i = 1; i < std::size(order); ++i)
    EXPECT_LT(positionOf(hive, order[i - 1]), positionOf(hive, order[i])) << hive;
  endKorvane();
}

// The program ended while a chooser or a CAUTION box of the floating clock's settings is open:
// no window is destroyed under its own handler, the exit is clean and the settings are saved.
// The open box or chooser holds the windows it belongs to, the main window's close box included,
// so that way ends once it is answered.
TEST_F(DialogsE2ETest, EndingWithAChooserOrACautionBoxOpenExitsCleanlyAndSaves) {
  enum class Open { Font, TextColour, Caution };
  struct Case {
    const char* name;
    Open open;
    bool sigterm;
  };
  const Case cases[] = {{"font chooser, main window closed", Open::Font, false},
                        {"font chooser, SIGTERM", Open::Font, true},
                        {"text colour chooser after the font, SIGTERM", Open::TextColour, true},
                        {"caution box, main window closed", Open::Caution, false},
                        {"caution box, SIGTERM", Open::Caution, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeText(folder + "/registry.reg", startingHive("Default Time Protocol"));
    openOptions(false);
    if (HasFatalFailure()) return;
    click(options, kAdjustFloating);
    const std::string settings = desktop->waitForNewWindow(kDialog, {main, options}, kOpenWait);
    ASSERT_FALSE(settings.empty()) << readFile("stderr.txt");
    const bool caution = c.open == Open::Caution;
    if (caution) {
      click(settings, kOpacityText);
      desktop->keysTo(settings, "ctrl+a 5 Return");
    } else {
      click(settings, kFontSettings);
    }
    std::string box =
        desktop->waitForNewWindow(caution ? "^CAUTION!$" : "^Select Font$", {}, kOpenWait);
    ASSERT_FALSE(box.empty()) << readFile("stderr.txt");
    if (c.open == Open::TextColour) {
      desktop->keysTo(box, "Return");
      box = desktop->waitForNewWindow("^Select Text Color$", {}, kOpenWait);
      ASSERT_FALSE(box.empty()) << readFile("stderr.txt");
    }
    if (caution && c.sigterm)
      desktop->run(std::string("import -window root ") + KORVANE_E2E_SCREENS + "/caution_box.png");
    const auto saved = fs::last_write_time(folder + "/registry.reg");
    if (c.sigterm) {
      korvane->signal(SIGTERM);
    } else {
      desktop->closeWindow(main);
      EXPECT_EQ(korvane->waitFor(1s), std::nullopt) << "the open box holds the main window";
      desktop->keysTo(box, caution ? "Return" : "Escape");
      ASSERT_TRUE(desktop->waitUntilGone(box, kOpenWait));
      desktop->closeWindow(main);
    }
    EXPECT_EQ(korvane->waitFor(10s), std::optional<int>(0)) << readFile("stderr.txt");
    EXPECT_GT(fs::last_write_time(folder + "/registry.reg"), saved) << "the settings were saved";
    EXPECT_EQ(hiveValue(readFile("registry.reg"), "KRVLastServer"), "127.0.0.1");
    korvane.reset();
    desktop.reset();
  }
}

}  // namespace
}  // namespace korvane::e2e
