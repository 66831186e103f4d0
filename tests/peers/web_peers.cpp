// SPDX-License-Identifier: GPL-3.0-or-later
#include "peers/web_peers.h"

#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>

#include "loopback_address.h"

extern char** environ;

namespace korvane::testing {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kReadyWait = std::chrono::seconds(5);
constexpr auto kStopWait = std::chrono::seconds(2);

bool accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const sockaddr_in where = loopbackAddress(port);
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where) == 0;
  close(fd);
  return ok;
}

}  // namespace

int freeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in where = loopbackAddress(0);
  socklen_t length = sizeof where;
  int port = 0;
  if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&where), &length) == 0)
    port = ntohs(where.sin_port);
  if (fd >= 0) close(fd);
  return port;
}

ServerProcess::~ServerProcess() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  const auto deadline = Clock::now() + kStopWait;
  while (Clock::now() < deadline) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

bool ServerProcess::start(const std::vector<std::string>& argv, int port) {
  port_ = port;
  if (port <= 0) return error_ = "no free port on 127.0.0.1", false;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  if (const int err = posix_spawn(&pid_, args[0], nullptr, nullptr, args.data(), environ)) {
    pid_ = -1;
    return error_ = "cannot start " + argv[0] + ": " + std::strerror(err), false;
  }
  const auto deadline = Clock::now() + kReadyWait;
  while (Clock::now() < deadline) {
    if (accepts(port)) return true;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return error_ = argv[0] + " ended at start, status " + std::to_string(status), false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return error_ = argv[0] + " did not accept on port " + std::to_string(port), false;
}

std::string busyboxPath() {
  for (const char* path : {"/usr/bin/busybox", "/bin/busybox"})
    if (access(path, X_OK) == 0) return path;
  return "";
}

bool startWebServer(ServerProcess& server, const std::string& root, const std::string& workFolder) {
  const std::string config = workFolder + "/httpd.conf";
  std::ofstream(config) << "A:127.0.0.1\nD:*\n";  // loopback clients only
  const int port = freeLoopbackPort();
  return server.start({busyboxPath(), "httpd", "-f", "-p", "127.0.0.1:" + std::to_string(port),
                       "-h", root, "-c", config},
                      port);
}

bool startVersionPeer(ServerProcess& server, const std::string& latest,
                      const std::string& logFile) {
  const int port = freeLoopbackPort();
  return server.start(
      {KORVANE_VERSION_PEER, "--port", std::to_string(port), "--latest", latest, "--log", logFile},
      port);
}

}  // namespace korvane::testing
