// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the end-to-end runs of the real korvane on a private X display share: the settings a run
// starts from, reading them back, the debug log's status lines, and a fixture that gives each
// test its own folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "e2e/e2e_support.h"
#include "e2e/window/desktop.h"
#include "temp_folder.h"

namespace korvane::e2e {

inline const std::string kWindowByName = "xdotool search --onlyvisible --name '^Korvane - '";
// Start-up, one synchronisation on loopback and the reply's way into the window.
inline constexpr auto kStatusWait = std::chrono::seconds(20);
// Another run may hold the loopback servers for a minute or more (the idle benchmark keeps them
// while it measures), so wait longer than the usual half minute.
inline constexpr auto kPeersWait = std::chrono::seconds(180);

// The settings a run starts from: the last server is the loopback one of the program folder.
inline std::string startingHive(const std::string& protocol) {
  return "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Korvane]\n"
         "\"Settings\"=\"NO:59:Minute/s:NA\"\n\"KRVLastServer\"=\"127.0.0.1\"\n"
         "\"Protocol\"=\"" +
         protocol + "\"\n\n";
}

// A value of the settings key as the hive text holds it; empty when absent.
inline std::string hiveValue(const std::string& hive, const std::string& name) {
  std::smatch m;
  const std::regex line("(^|\n)\"" + name + "\"=\"([^\"\n]*)\"");
  return std::regex_search(hive, m, line) ? m[2].str() : "";
}

// Waits until the debug log shows a status line matching pattern; its first group then.
inline std::optional<long long> waitForStatus(const std::string& log, const std::string& pattern,
                                              std::chrono::milliseconds limit) {
  const std::regex status("korvane: status: +" + pattern);
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const std::string text = testing::readText(log);
    std::smatch m;
    if (std::regex_search(text, m, status)) return std::stoll(m[1]);
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

// Where a window's client area starts on the screen.
inline std::pair<int, int> windowOrigin(const Desktop& desktop, const std::string& id) {
  const Desktop::Geometry g = desktop.geometryOf(id);
  return {g.x, g.y};
}

// Replaces the text of the text box at (x, y) by typing, the way a person does.
inline void typeInto(const Desktop& desktop, int x, int y, const std::string& text) {
  desktop.run("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
  desktop.run("xdotool key ctrl+a type '" + text + "'");
}

class WindowE2ETest : public PeersTest {
 protected:
  WindowE2ETest() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = (std::filesystem::temp_directory_path() /
              ("korvane-e2e-" + std::to_string(getpid()) + "-" + info->name()))
                 .string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::create_directories(KORVANE_E2E_SCREENS);
  }
  ~WindowE2ETest() override { std::filesystem::remove_all(folder); }

  // Starts korvane with its hive, clock and program folder in at (the test's folder unless told).
  std::unique_ptr<Process> startKorvane(Desktop& desktop, const std::string& args,
                                        const std::string& errName = "stderr.txt",
                                        std::string at = {}) {
    if (at.empty()) at = folder;
    std::vector<std::string> argv{KORVANE_E2E_BINARY};
    std::istringstream words(args);
    for (std::string w; words >> w;) argv.push_back(w);
    return std::make_unique<Process>(argv, desktop.korvaneEnvironment(at), at + "/" + errName);
  }
  std::string readFile(const std::string& name) const {
    return testing::readText(folder + "/" + name);
  }
  std::string folder;
};

}  // namespace korvane::e2e
