// The options dialog of the real korvane on a private X display: "Advanced" opens it, and its
// close after a change writes the options and the autostart entry.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

#include "e2e/window/desktop.h"
#include "temp_folder.h"

namespace korvane::e2e {
namespace {

namespace fs = std::filesystem;
using korvane::testing::readText;
using korvane::testing::writeText;
using namespace std::chrono_literals;

const std::string kVisibleKorvane = "xdotool search --onlyvisible --name '^Korvane - '";

std::string hiveValue(const std::string& hive, const std::string& name) {
  std::smatch m;
  const std::regex line("(^|\n)\"" + name + "\"=\"([^\"\n]*)\"");
  return std::regex_search(hive, m, line) ? m[2].str() : "";
}

std::pair<int, int> windowOrigin(const Desktop& desktop, const std::string& id) {
  int x = 0, y = 0;
  sscanf(desktop.run("xdotool getwindowgeometry --shell " + id).c_str(), "WINDOW=%*d\nX=%d\nY=%d",
         &x, &y);
  return {x, y};
}

void clickAt(const Desktop& desktop, std::pair<int, int> origin, int x, int y) {
  desktop.run("xdotool mousemove " + std::to_string(origin.first + x) + " " +
              std::to_string(origin.second + y) + " click 1");
}

// The visible korvane window other than the main one; empty when there is none.
std::string otherWindow(const Desktop& desktop, const std::string& mainId) {
  std::istringstream ids(desktop.run(kVisibleKorvane));
  for (std::string id; ids >> id;)
    if (id != mainId) return id;
  return "";
}

TEST(OptionsE2ETest, AdvancedOpensTheDialogAndApplyWritesTheOptionsAndTheAutostartEntry) {
  const std::string folder =
      (fs::temp_directory_path() / ("korvane-e2e-options-" + std::to_string(getpid()))).string();
  fs::remove_all(folder);
  fs::create_directories(folder);
  writeText(folder + "/registry.reg",
            "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvane]\n"
            "\"Settings\"=\"NO:59:Minute/s:NA\"\n\"KRVLastServer\"=\"127.0.0.1\"\n"
            "\"Protocol\"=\"Default Time Protocol\"\n\n");
  Desktop desktop(false);
  Process korvane({KORVANE_E2E_BINARY}, desktop.korvaneEnvironment(folder), folder + "/stderr.txt");
  const std::string mainId = desktop.waitForOutput(kVisibleKorvane, 10s);
  ASSERT_FALSE(mainId.empty()) << readText(folder + "/stderr.txt");
  clickAt(desktop, windowOrigin(desktop, mainId), 354, 101);  // Advanced

  std::string dialogId;
  for (int i = 0; i < 50 && dialogId.empty(); ++i, std::this_thread::sleep_for(100ms))
    dialogId = otherWindow(desktop, mainId);
  ASSERT_FALSE(dialogId.empty()) << "Advanced shows the options dialog";
  fs::create_directories(KORVANE_E2E_SCREENS);
  desktop.run("import -window root " + std::string(KORVANE_E2E_SCREENS) + "/options.png");
  const auto origin = windowOrigin(desktop, dialogId);
  clickAt(desktop, origin, 20, 142);   // "Run Korvane when Windows Starts."
  clickAt(desktop, origin, 353, 392);  // Apply
  for (int i = 0; i < 50 && !otherWindow(desktop, mainId).empty(); ++i)
    std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(otherWindow(desktop, mainId).empty()) << "Apply closes the dialog";

  const std::string hive = readText(folder + "/registry.reg");
  EXPECT_EQ(hiveValue(hive, "OpenMinimized"), "NO") << hive;
  EXPECT_EQ(hiveValue(hive, "KRVClockSkin"), "NO:NO:NO:YES") << hive;
  EXPECT_EQ(hiveValue(hive, "KRVSkinLocal"), "KRV_Default Skin.gif") << hive;
  const std::string entry = readText(folder + "/config/autostart/korvane.desktop");
  EXPECT_NE(entry.find("\nExec=" + fs::canonical(KORVANE_E2E_BINARY).string() + "\n"),
            std::string::npos)
      << entry;

  desktop.closeWindow(mainId);
  EXPECT_EQ(korvane.waitFor(10s), std::optional<int>(0));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace korvane::e2e
