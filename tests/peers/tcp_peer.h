// SPDX-License-Identifier: GPL-3.0-or-later
// What the project's small TCP test servers share: the port option, the stop signals, the
// listener and the accept loop.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace korvane::peers {

inline volatile std::sig_atomic_t stopping = 0;

// A port number 1..65535, or -1.
inline long parsePort(const char* text) {
  char* end = nullptr;
  const long port = std::strtol(text, &end, 10);
  return (*end || port < 1 || port > 65535) ? -1 : port;
}

// SIGTERM and SIGINT end the accept loop (no SA_RESTART, so accept() returns); a client that
// hangs up early never kills the server.
inline void installStopHandlers() {
  struct sigaction action {};
  action.sa_handler = [](int) { stopping = 1; };
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

// A listening TCP socket on address:port, or -1 with the reason printed after the server's name.
inline int listenTcp(const char* name, const std::string& address, long port) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(static_cast<uint16_t>(port));
  if (inet_pton(AF_INET, address.c_str(), &where.sin_addr) != 1) {
    std::fprintf(stderr, "%s: bad address %s\n", name, address.c_str());
    return -1;
  }
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  const int on = 1;
  if (listener < 0 || setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
      listen(listener, 16) != 0) {
    std::fprintf(stderr, "%s: listen on %s:%ld: %s\n", name, address.c_str(), port,
                 std::strerror(errno));
    if (listener >= 0) close(listener);
    return -1;
  }
  return listener;
}

// Hands each connection to serve (which closes it) until a stop signal arrives.
template <class Serve>
int acceptUntilStopped(int listener, Serve serve) {
  while (!stopping) {
    const int peer = accept(listener, nullptr, nullptr);
    if (peer >= 0) serve(peer);
  }
  close(listener);
  return 0;
}

}  // namespace korvane::peers
