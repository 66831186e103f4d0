// SPDX-License-Identifier: GPL-3.0-or-later
// The floating clock and the taskbar overlay of the real korvane on two monitors under a window
// manager: where the floating clock stays, what the mouse does to it, the tooltips on hover, and
// a probe skin whose background pixel and redrawing the screen shows.
#include <gtest/gtest.h>
#include <signal.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "e2e/window/window_e2e.h"

namespace korvane::e2e {
namespace {

using korvane::testing::readText;
using korvane::testing::writeText;
using namespace std::chrono_literals;

const std::string kClockWindow = "^korvane$";
constexpr auto kOpenWait = 15s;
// A point of the skinned picture and one of the icon, in the floating clock's client pixels.
constexpr int kPicture[] = {30, 5};
constexpr int kIcon[] = {8, 9};

// A complete hive (no first run) with the clocks' values; hidden start, no synchronisation.
std::string clocksHive(const std::string& clockSkin, const std::string& detachMode,
                       const std::string& detachSkin = "KRV_Default Skin.gif") {
  return "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvane]\n"
         "\"Settings\"=\"NO:59:Minute/s:NA\"\n\"KRVLastServer\"=\"127.0.0.1\"\n"
         "\"Protocol\"=\"Default Time Protocol\"\n\"OpenMinimized\"=\"NO\"\n"
         "\"KRVClockSkin\"=\"" +
         clockSkin + "\"\n\"KRVSkinLocal\"=\"KRV_Default Skin.gif\"\n\"KRVSkinDetach\"=\"" +
         detachSkin + "\"\n\"KRVSkinTransP\"=\"255\"\n\"KRVDetachMode\"=\"" + detachMode +
         "\"\n\"KRVDetachFont\"=\"Arial,10,n,n,n,n,0,-2147483643\"\n\n";
}

class ClocksE2ETest : public WindowE2ETest {
 protected:
  ClocksE2ETest() : desktop(Desktop::TwoMonitorsWithManager{}) {}

  // Starts korvane hidden and waits for its clock windows (the floating clock opens on the
  // fifth tick); ids oldest first.
  std::vector<std::string> start(const std::string& hive, size_t windows) {
    writeText(folder + "/registry.reg", hive);
    korvane = startKorvane(desktop, "-rs");
    const auto end = std::chrono::steady_clock::now() + kOpenWait;
    std::vector<std::string> ids;
    while ((ids = desktop.windowsNamed(kClockWindow)).size() < windows &&
           std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(200ms);
    std::this_thread::sleep_for(1500ms);  // placed and drawn
    return desktop.windowsNamed(kClockWindow);
  }
  // The floating clock among the clock windows: the one not at the primary's bottom.
  std::string floating(const std::vector<std::string>& ids) const {
    for (const std::string& id : ids)
      if (desktop.geometryOf(id).y < 900) return id;
    return "";
  }
  std::pair<int, int> at(const std::string& id) const { return windowOrigin(desktop, id); }
  void pointAt(const std::string& id, const int (&p)[2]) const {
    const auto [x, y] = at(id);
    desktop.run("xdotool mousemove --sync " + std::to_string(x + p[0]) + " " +
                std::to_string(y + p[1]));
  }
  void screenshot(const std::string& id, const std::string& name) const {
    desktop.run("import -window " + id + " " + KORVANE_E2E_SCREENS + "/" + name + ".png");
  }
  std::string savedMode() {
    korvane->signal(SIGTERM);
    EXPECT_EQ(korvane->waitFor(10s), std::optional<int>(0)) << readFile("stderr.txt");
    return hiveValue(readText(folder + "/registry.reg"), "KRVDetachMode");
  }

  Desktop desktop;
  std::unique_ptr<Process> korvane;
};

// A clock near the top of the right monitor stays there through the ticks, also after a drag
// by the window manager, and closing saves where it was dropped.
TEST_F(ClocksE2ETest, OnTheSecondMonitorTheFloatingClockStaysWhereItIsPut) {
  const std::string id = floating(start(clocksHive("NO:NO:NO:NO", "KRV:y:y:2200:20"), 1));
  ASSERT_FALSE(id.empty()) << readFile("stderr.txt");
  std::this_thread::sleep_for(2s);
  EXPECT_EQ(at(id), (std::pair{2200, 20}));
  pointAt(id, kPicture);
  desktop.run(
      "xdotool mousedown 1 sleep 0.3 mousemove_relative --sync -- -120 6 sleep 0.3 "
      "mousemove_relative --sync -- -120 6 sleep 0.3 mouseup 1");
  std::this_thread::sleep_for(2500ms);
  EXPECT_EQ(at(id), (std::pair{1960, 32})) << "dragged, then left where it was dropped";
  screenshot("root", "floating_clock_second_monitor");
  EXPECT_EQ(savedMode(), "KRV:y:y:1960:32");
}

// A right press opens the menu and leaves no move running: the clock stays put while the pointer
// goes onto the menu, and the menu's Escape does not snap anything back.
TEST_F(ClocksE2ETest, ARightClickOpensTheMenuAndTheClockDoesNotFollowThePointer) {
  const std::string id = floating(start(clocksHive("NO:NO:NO:NO", "KRV:y:y:2200:20"), 1));
  ASSERT_FALSE(id.empty()) << readFile("stderr.txt");
  const std::vector<std::string> before = desktop.windowsNamed("");
  pointAt(id, kPicture);
  desktop.run("xdotool click 3");
  const std::string menu = desktop.waitForNewWindow("", before, 5s);
  EXPECT_FALSE(menu.empty()) << "the menu opens";
  desktop.run("xdotool mousemove_relative --sync 60 40 sleep 0.5 mousemove_relative --sync 40 20");
  std::this_thread::sleep_for(1s);
  screenshot("root", "floating_clock_menu");
  EXPECT_EQ(at(id), (std::pair{2200, 20})) << "no move follows the pointer";
  desktop.run("xdotool key Escape");
  std::this_thread::sleep_for(500ms);
  EXPECT_EQ(at(id), (std::pair{2200, 20}));
  EXPECT_EQ(savedMode(), "KRV:y:y:2200:20");
}

// Neither clock window is ever the active one; their tooltips show on hover all the same.
TEST_F(ClocksE2ETest, TheTooltipsOfBothClocksShowOnHover) {
  const std::vector<std::string> ids = start(clocksHive("YES:NO:NO:NO", "KRV:y:y:400:300"), 2);
  ASSERT_EQ(ids.size(), 2u) << readFile("stderr.txt");
  const std::string clock = floating(ids);
  ASSERT_FALSE(clock.empty());
  const std::string overlay = ids[0] == clock ? ids[1] : ids[0];
  struct Case {
    std::string window;
    int point[2];
  };
  const Desktop::Geometry o = desktop.geometryOf(overlay);
  const Case cases[] = {{clock, {kIcon[0], kIcon[1]}}, {overlay, {o.width / 2, o.height / 2}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    desktop.run("xdotool mousemove --sync 700 700");
    std::this_thread::sleep_for(1s);
    const std::vector<std::string> before = desktop.windowsNamed("");
    pointAt(c.window, c.point);
    desktop.run("xdotool mousemove_relative --sync 1 1");
    const std::string tip = desktop.waitForNewWindow("", before, 4s);
    EXPECT_FALSE(tip.empty()) << "a tooltip window shows";
    screenshot("root", "clock_tooltip_" + std::to_string(&c - cases));
  }
  savedMode();
}

// A probe skin whose pixel (1, 1) differs from the overlay's background pixel and whose cells
// differ from each other: the floating clock's margin has the colour of (1, 1) inside its thin
// border, and the picture changes from one second to the next.
TEST_F(ClocksE2ETest, TheFloatingClockTakesItsBackgroundFromItsPixelAndRedrawsEverySecond) {
  const std::string skins = desktop.korvaneEnvironment(folder).at("KORVANE_HOME") + "/Skins";
  std::string cells;
  for (int k = 0; k < 15; ++k) cells += " xc:gray" + std::to_string(5 + 6 * k);
  desktop.run("convert -size 10x20" + cells +
              " +append -fill '#10E010' -draw 'point 1,1' -fill '#E01010' -draw 'point 149,1' '" +
              skins + "/KRV_Probe.gif'");
  const std::string id = floating(start(
      clocksHive("NO:YES:YES:NO", "KRV:y:y:400:300", "KRV_Probe.gif"), 1));  // 24 h with seconds
  ASSERT_FALSE(id.empty()) << readFile("stderr.txt");
  const Desktop::Geometry g = desktop.geometryOf(id);
  auto pixel = [&](int x, int y) {
    return desktop.run("import -window " + id + " -crop 1x1+" + std::to_string(x) + "+" +
                       std::to_string(y) + " -depth 8 txt:- | grep -o '#[0-9A-F]\\{6\\}'");
  };
  EXPECT_EQ(pixel(g.width - 2, g.height / 2), "#10E010") << "the right margin";
  const std::string border = pixel(g.width - 1, g.height / 2);
  EXPECT_NE(border, "#10E010") << "a thin border around it";
  EXPECT_EQ(pixel(0, 0), border);
  EXPECT_EQ(pixel(g.width / 2, g.height - 1), border);
  auto picture = [&] {
    return desktop.run("import -window " + id + " -crop " + std::to_string(g.width - 20) +
                       "x20+20+0 " + "-depth 8 rgb:- | md5sum");
  };
  const std::string first = picture();
  std::this_thread::sleep_for(1200ms);
  EXPECT_NE(picture(), first) << "redrawn with the next second";
  screenshot(id, "floating_clock_probe_skin");
  savedMode();
}

}  // namespace
}  // namespace korvane::e2e
