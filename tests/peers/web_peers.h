// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The update service's servers on 127.0.0.1, each on a free high port: Debian's busybox httpd
// with a configuration of its own, and the project's version-query server. Each process is
// stopped by its PID when its object goes.
#include <sys/types.h>

#include <string>
#include <vector>

namespace korvane::testing {

// A TCP port on 127.0.0.1 that nothing listens on at the moment of asking.
int freeLoopbackPort();

class ServerProcess {
 public:
  ServerProcess() = default;
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  // Starts argv and waits until 127.0.0.1:port accepts connections; false, with error(), if not.
  bool start(const std::vector<std::string>& argv, int port);
  int port() const { return port_; }
  const std::string& error() const { return error_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string error_;
};

// The busybox program, or empty when it is not installed.
std::string busyboxPath();

// busybox httpd serving the folder root (which holds Korvane/...) to 127.0.0.1 only.
bool startWebServer(ServerProcess& server, const std::string& root, const std::string& workFolder);

// The version-query server answering latest, logging each request to logFile.
bool startVersionPeer(ServerProcess& server, const std::string& latest, const std::string& logFile);

}  // namespace korvane::testing
