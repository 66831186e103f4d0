// The real korvane on a private X display: single instance, shut-down on a signal, the main
// window's size, the tray and its menu, and the run-once mode ending by itself.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "e2e/window/desktop.h"

namespace korvane::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kWindowByName = "xdotool search --onlyvisible --name '^Korvane - '";

class WindowE2ETest : public ::testing::Test {
 protected:
  WindowE2ETest() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = (fs::temp_directory_path() /
              ("korvane-e2e-" + std::to_string(getpid()) + "-" + info->name()))
                 .string();
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::create_directories(KORVANE_E2E_SCREENS);
  }
  ~WindowE2ETest() override { fs::remove_all(folder); }

  std::unique_ptr<Process> startKorvane(Desktop& desktop, const std::string& args,
                                        const std::string& errName = "stderr.txt") {
    std::vector<std::string> argv{KORVANE_E2E_BINARY};
    std::istringstream words(args);
    for (std::string w; words >> w;) argv.push_back(w);
    return std::make_unique<Process>(argv, desktop.korvaneEnvironment(folder),
                                     folder + "/" + errName);
  }
  std::string readFile(const std::string& name) const {
    std::ifstream in(folder + "/" + name);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::string folder;
};

TEST_F(WindowE2ETest, SecondStartEndsAtOnceWithStatusZero) {
  Desktop desktop(false);
  auto first = startKorvane(desktop, "-rs");
  const std::string lock = folder + "/runtime/korvane.lock";
  ASSERT_FALSE(desktop.waitForOutput("flock -n " + lock + " true || echo held", 10s).empty())
      << "the first instance holds the lock";
  auto second = startKorvane(desktop, "", "stderr2.txt");
  const auto status = second->waitFor(5s);
  ASSERT_TRUE(status.has_value()) << "the second instance still runs";
  EXPECT_EQ(*status, 0);
  EXPECT_FALSE(first->waitFor(0ms).has_value()) << "the first one keeps running";
  EXPECT_EQ(desktop.run(kWindowByName), "") << "neither shows a window";
  first->signal(SIGTERM);
  EXPECT_EQ(first->waitFor(10s), std::optional<int>(0));
}

TEST_F(WindowE2ETest, SigtermRunsTheWholeShutDown) {
  Desktop desktop(false);
  auto korvane = startKorvane(desktop, "-x");
  ASSERT_FALSE(desktop.waitForOutput(kWindowByName, 15s).empty());
  korvane->signal(SIGTERM);
  ASSERT_EQ(korvane->waitFor(10s), std::optional<int>(0));
  EXPECT_NE(readFile("stderr.txt").find("shut-down complete, unload mode 2"), std::string::npos)
      << readFile("stderr.txt");
}

TEST_F(WindowE2ETest, MainWindowHasTheDesignedClientArea) {
  Desktop desktop(false);
  auto korvane = startKorvane(desktop, "-x");
  const std::string id = desktop.waitForOutput(kWindowByName, 15s);
  ASSERT_FALSE(id.empty());
  std::this_thread::sleep_for(1500ms);  // one tick writes the clock text
  const std::string shot = std::string(KORVANE_E2E_SCREENS) + "/main_window.png";
  desktop.run("import -window " + id + " " + shot);
  EXPECT_EQ(desktop.run("identify -format %wx%h " + shot), "403x249");
  // Without a tray, Minimize must not hide the window where nobody could bring it back.
  const std::string geometry = desktop.run("xdotool getwindowgeometry --shell " + id);
  int x = 0, y = 0;
  sscanf(geometry.c_str(), "WINDOW=%*d\nX=%d\nY=%d", &x, &y);
  desktop.run("xdotool mousemove " + std::to_string(x + 330) + " " + std::to_string(y + 176) +
              " click 1");
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(desktop.run(kWindowByName), id);
  // "About / Help" opens the about box beside the main window.
  desktop.run("xdotool mousemove " + std::to_string(x + 330) + " " + std::to_string(y + 74) +
              " click 1");
  const std::string about =
      desktop.waitForOutput("xdotool search --onlyvisible --name '^About Korvane$'", 5s);
  ASSERT_FALSE(about.empty());
  const std::string aboutShot = std::string(KORVANE_E2E_SCREENS) + "/about_box.png";
  desktop.run("import -window " + about + " " + aboutShot);
  EXPECT_EQ(desktop.run("identify -format %wx%h " + aboutShot), "382x176");
  EXPECT_EQ(desktop.run(kWindowByName), id) << "modeless: the main window stays";
  korvane->signal(SIGTERM);
  EXPECT_EQ(korvane->waitFor(10s), std::optional<int>(0));
}

TEST_F(WindowE2ETest, MinimiseToTrayOpenTheMenuAndRestore) {
  Desktop desktop(true);
  auto korvane = startKorvane(desktop, "-x");
  const std::string id = desktop.waitForOutput(kWindowByName, 15s);
  ASSERT_FALSE(id.empty());
  const std::string geometry = desktop.run("xdotool getwindowgeometry --shell " + id);
  int x = 0, y = 0;
  sscanf(geometry.c_str(), "WINDOW=%*d\nX=%d\nY=%d", &x, &y);
  desktop.run("xdotool mousemove " + std::to_string(x + 330) + " " + std::to_string(y + 176) +
              " click 1");  // Minimize
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(desktop.run(kWindowByName), "") << "hidden to the tray";
  // The tray panel sits at the bottom right; the icon fills its right end.
  const std::string panel = desktop.run(
      "xwininfo -root -tree | grep '\"panel\"' | sed -E 's/.*  "
      "([0-9]+)x([0-9]+)\\+([0-9]+)\\+([0-9]+).*/\\1 \\2 \\3 \\4/'");
  int pw = 0, ph = 0, px = 0, py = 0;
  ASSERT_EQ(sscanf(panel.c_str(), "%d %d %d %d", &pw, &ph, &px, &py), 4) << panel;
  const std::string iconAt = std::to_string(px + pw - 12) + " " + std::to_string(py + ph / 2);
  desktop.run("xdotool mousemove " + iconAt + " click 3");
  std::this_thread::sleep_for(1s);
  const std::string shot = std::string(KORVANE_E2E_SCREENS) + "/tray_menu.png";
  desktop.run("import -window root " + shot);
  EXPECT_TRUE(fs::exists(shot));
  EXPECT_EQ(desktop.run(kWindowByName), "") << "the menu leaves the window hidden";
  desktop.run("xdotool key Escape");
  std::this_thread::sleep_for(300ms);
  desktop.run("xdotool mousemove " + iconAt + " click 1");
  EXPECT_EQ(desktop.waitForOutput(kWindowByName, 5s), id) << "a click on the icon restores";
  korvane->signal(SIGTERM);
  EXPECT_EQ(korvane->waitFor(10s), std::optional<int>(0));
}

TEST_F(WindowE2ETest, RunOnceEndsByItselfWithinSixtyFiveSeconds) {
  Desktop desktop(true);
  const auto started = std::chrono::steady_clock::now();
  auto korvane = startKorvane(desktop, "-ro");
  std::this_thread::sleep_for(2s);
  EXPECT_EQ(desktop.run(kWindowByName), "") << "run-once shows no window";
  const auto status = korvane->waitFor(65s);
  ASSERT_TRUE(status.has_value());
  EXPECT_EQ(*status, 0);
  EXPECT_GE(std::chrono::steady_clock::now() - started, 59s);
  EXPECT_NE(readFile("stderr.txt").find("shut-down complete, unload mode 1"), std::string::npos);
}

}  // namespace
}  // namespace korvane::e2e
