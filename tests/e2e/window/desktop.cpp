// SPDX-License-Identifier: GPL-3.0-or-later
#include "e2e/window/desktop.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

// Last: its macros (None, Status, True, ...) must not reach the headers above.
#include <X11/Xlib.h>

namespace korvane::e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

Process::Process(const std::vector<std::string>& argv,
                 const std::map<std::string, std::string>& env, const std::string& stderrFile) {
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    setpgid(0, 0);
    for (const auto& [k, v] : env) setenv(k.c_str(), v.c_str(), 1);
    const int nul = open("/dev/null", O_RDWR);
    const int err = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(nul, 0);
    dup2(nul, 1);
    dup2(err >= 0 ? err : nul, 2);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
}

Process::~Process() {
  if (status_ || pid_ <= 0) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

std::optional<int> Process::waitFor(std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!status_) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      break;
    }
    if (std::chrono::steady_clock::now() >= end) break;
    std::this_thread::sleep_for(20ms);
  }
  return status_;
}

void Process::signal(int sig) const {
  if (!status_ && pid_ > 0) kill(pid_, sig);
}

void Desktop::startXvfb(const std::string& size) {
  // Xvfb picks a free display itself and reports its number on a pipe. -noreset: without it the
  // server resets when its last client goes (a killed korvane), and a start meanwhile fails.
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
  const std::string fd = std::to_string(fds[1]);
  xvfb_ = std::make_unique<Process>(
      std::vector<std::string>{"Xvfb", "-displayfd", fd, "-screen", "0", size, "-dpi", "96",
                               "-nolisten", "tcp", "-noreset"},
      std::map<std::string, std::string>{});
  close(fds[1]);
  char buf[16] = {};
  const ssize_t n = read(fds[0], buf, sizeof buf - 1);
  close(fds[0]);
  if (n <= 0) throw std::runtime_error("Xvfb did not start");
  display_ = ":" + std::string(buf, static_cast<size_t>(n));
  while (!display_.empty() && (display_.back() == '\n' || display_.back() == ' '))
    display_.pop_back();
}

Desktop::Desktop(bool withTray, bool withCompositor) {
  startXvfb("1024x768x24");
  if (withTray) {
    tray_ = std::make_unique<Process>(
        std::vector<std::string>{"trayer", "--edge", "bottom", "--align", "right", "--widthtype",
                                 "request", "--height", "32", "--SetDockType", "false"},
        std::map<std::string, std::string>{{"DISPLAY", display_}});
    waitForOutput("xwininfo -root -tree | grep '\"panel\"'", 10s);
  }
  if (withCompositor) {
    compositor_ =
        std::make_unique<Process>(std::vector<std::string>{"xcompmgr"},
                                  std::map<std::string, std::string>{{"DISPLAY", display_}});
    // Running once it owns the compositing selection that windows ask about.
    waitForOutput("xwininfo -root -tree | grep '\"xcompmgr\"'", 10s);
  }
}

Desktop::Desktop(TwoMonitorsWithManager) {
  startXvfb("2560x1024x24");
  // The monitors live as long as the server (-noreset), not as long as xrandr.
  run("xrandr --setmonitor left 1280/338x1024/270+0+0 screen"
      " --setmonitor right 1280/338x1024/270+1280+0 none");
  if (run("xrandr --listmonitors | head -1") != "Monitors: 2")
    throw std::runtime_error("no second monitor on " + display_);
  manager_ = std::make_unique<Process>(std::vector<std::string>{"openbox", "--sm-disable"},
                                       std::map<std::string, std::string>{{"DISPLAY", display_}});
  // Running once it names itself on the root window.
  waitForOutput("xprop -root _NET_SUPPORTING_WM_CHECK | grep -o 'window id'", 10s);
}

Desktop::~Desktop() {
  manager_.reset();
  compositor_.reset();
  tray_.reset();
  if (xvfb_) xvfb_->signal(SIGTERM);
  if (xvfb_) xvfb_->waitFor(5s);
}

// The program folder of the build, but with the server list that names only 127.0.0.1: the
// program synchronises at start, and no test may send anything off this machine.
static std::string loopbackProgramFolder(const std::string& folder) {
  const fs::path home = fs::path(folder) / "home";
  if (!fs::exists(home)) {
    fs::copy(KORVANE_E2E_DATA_DIR, home, fs::copy_options::recursive);
    fs::copy_file(fs::path(KORVANE_PEER_CONFIG_DIR) / "loopback.krv", home / "NXO_KRV5.KRV",
                  fs::copy_options::overwrite_existing);
  }
  return home.string();
}

std::map<std::string, std::string> offscreenEnvironment(const std::string& folder) {
  fs::create_directories(fs::path(folder) / "runtime");
  fs::permissions(fs::path(folder) / "runtime", fs::perms::owner_all, fs::perm_options::replace);
  return {{"QT_QPA_PLATFORM", "offscreen"},
          {"XDG_RUNTIME_DIR", folder + "/runtime"},
          {"XDG_CONFIG_HOME", folder + "/config"},
          {"KORVANE_REGISTRY", folder + "/registry.reg"},
          {"KORVANE_CLOCK_FILE", folder + "/clock-offset"},
          {"KORVANE_HOME", loopbackProgramFolder(folder)},
          {"KORVANE_DEBUG", "1"}};
}

std::map<std::string, std::string> Desktop::korvaneEnvironment(const std::string& folder) const {
  std::map<std::string, std::string> env = offscreenEnvironment(folder);
  env["QT_QPA_PLATFORM"] = "xcb";
  env["DISPLAY"] = display_;
  return env;
}

std::string Desktop::run(const std::string& command) const {
  const std::string full = "DISPLAY=" + display_ + " " + command + " 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(full.c_str(), "r"), pclose);
  if (!pipe) return "";
  std::string out;
  char buf[512];
  while (fgets(buf, sizeof buf, pipe.get())) out += buf;
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

std::string Desktop::waitForOutput(const std::string& command,
                                   std::chrono::milliseconds limit) const {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    std::string out = run(command);
    if (!out.empty() || std::chrono::steady_clock::now() >= end) return out;
    std::this_thread::sleep_for(100ms);
  }
}

void Desktop::closeWindow(const std::string& windowId) const {
  std::unique_ptr<Display, int (*)(Display*)> x(XOpenDisplay(display_.c_str()), XCloseDisplay);
  if (!x) throw std::runtime_error("cannot open display " + display_);
  XEvent close{};
  close.xclient.type = ClientMessage;
  close.xclient.window = std::stoul(windowId);
  close.xclient.message_type = XInternAtom(x.get(), "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(x.get(), "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(x.get(), close.xclient.window, False, NoEventMask, &close);
  XSync(x.get(), False);
}

std::vector<std::string> Desktop::windowsNamed(const std::string& pattern) const {
  // By class, then by the name the window manager shows: the frameless clocks have only
  // _NET_WM_NAME, which xdotool's own name search does not read.
  const std::regex name(pattern);
  std::istringstream ids(run("xdotool search --onlyvisible --class '^korvane$'"));
  std::vector<std::string> found;
  for (std::string id; ids >> id;)
    if (std::regex_search(run("xdotool getwindowname " + id), name)) found.push_back(id);
  return found;
}

std::string Desktop::waitForNewWindow(const std::string& pattern,
                                      const std::vector<std::string>& known,
                                      std::chrono::milliseconds limit) const {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    for (const std::string& id : windowsNamed(pattern))
      if (std::find(known.begin(), known.end(), id) == known.end()) return id;
    if (std::chrono::steady_clock::now() >= end) return "";
    std::this_thread::sleep_for(100ms);
  }
}

bool Desktop::waitUntilGone(const std::string& windowId, std::chrono::milliseconds limit) const {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const auto shown = windowsNamed("");
    if (std::find(shown.begin(), shown.end(), windowId) == shown.end()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(100ms);
  }
}

Desktop::Geometry Desktop::geometryOf(const std::string& windowId) const {
  Geometry g;
  const std::string shell = run("xdotool getwindowgeometry --shell " + windowId);
  sscanf(shell.c_str(), "WINDOW=%*d\nX=%d\nY=%d\nWIDTH=%d\nHEIGHT=%d", &g.x, &g.y, &g.width,
         &g.height);
  return g;
}

void Desktop::clickIn(const std::string& windowId, int x, int y) const {
  const Geometry g = geometryOf(windowId);
  run("xdotool mousemove --sync " + std::to_string(g.x + x) + " " + std::to_string(g.y + y) +
      " click 1");
}

void Desktop::keysTo(const std::string& windowId, const std::string& keys) const {
  run("xdotool windowfocus --sync " + windowId + " key --delay 40 " + keys);
}

}  // namespace korvane::e2e
