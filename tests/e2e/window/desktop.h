// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private X display (Xvfb) for end-to-end runs of the real binary, with an optional tray
// (trayer), compositing manager (xcompmgr), window manager (openbox) and second monitor, and the
// korvane processes started on it. Every process is ended by its PID.
#include <sys/types.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korvane::e2e {

// A child process with its environment; killed and reaped when destroyed.
class Process {
 public:
  Process(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
          const std::string& stderrFile = "/dev/null");
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  pid_t pid() const { return pid_; }
  // The exit status once it has ended within the time; empty while it runs.
  std::optional<int> waitFor(std::chrono::milliseconds limit);
  void signal(int sig) const;

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// The environment of one korvane run in folder on Qt's offscreen platform (no display at all).
std::map<std::string, std::string> offscreenEnvironment(const std::string& folder);

class Desktop {
 public:
  explicit Desktop(bool withTray, bool withCompositor = false);
  // Two RandR monitors of 1280 x 1024 side by side (the left one primary) under a window manager.
  struct TwoMonitorsWithManager {};
  explicit Desktop(TwoMonitorsWithManager);
  ~Desktop();

  const std::string& display() const { return display_; }
  // A fresh folder for one run: its runtime folder, hive and simulated clock live there.
  std::map<std::string, std::string> korvaneEnvironment(const std::string& runFolder) const;
  // Runs a command on this display and returns its standard output (trimmed).
  std::string run(const std::string& command) const;
  // Polls a command until it prints something, or the time runs out.
  std::string waitForOutput(const std::string& command, std::chrono::milliseconds limit) const;
  // Asks a window to close the way its close box does (WM_DELETE_WINDOW): this display has no
  // window manager to do it.
  void closeWindow(const std::string& windowId) const;

  // The shown windows of korvane whose name matches the regular expression, oldest first.
  std::vector<std::string> windowsNamed(const std::string& pattern) const;
  // Waits for a shown window of that name that is none of known; empty when none came.
  std::string waitForNewWindow(const std::string& pattern, const std::vector<std::string>& known,
                               std::chrono::milliseconds limit) const;
  // Waits until the window is gone; whether it went.
  bool waitUntilGone(const std::string& windowId, std::chrono::milliseconds limit) const;
  // Clicks at (x, y) of the window's client area.
  void clickIn(const std::string& windowId, int x, int y) const;
  // Gives the window the keyboard (no window manager does it here) and types xdotool key names.
  void keysTo(const std::string& windowId, const std::string& keys) const;
  // The position and size of a window on the screen.
  struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Geometry geometryOf(const std::string& windowId) const;

 private:
  std::string display_;
  std::unique_ptr<Process> xvfb_;
  std::unique_ptr<Process> tray_;
  std::unique_ptr<Process> compositor_;
  std::unique_ptr<Process> manager_;
  void startXvfb(const std::string& size);
};

}  // namespace korvane::e2e
