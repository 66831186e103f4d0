// SPDX-License-Identifier: GPL-3.0-or-later
// A version-query server for the tests: on each TCP connection it reads the request, appends it
// and a line end to the log file, answers ":'/|NXO_PRODLI" + the latest version, and closes.
//   korvane-version-peer --port N --latest V [--log FILE] [--address A]
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "peers/tcp_peer.h"

namespace {

void serve(int peer, const std::string& latest, const std::string& log) {
  timeval wait{2, 0};  // a client that never asks still gets its answer
  setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  char request[512];
  const ssize_t n = recv(peer, request, sizeof request, 0);
  if (!log.empty() && n > 0) {  // a readiness probe sends nothing
    if (FILE* f = std::fopen(log.c_str(), "a")) {
      std::fwrite(request, 1, static_cast<size_t>(n), f);
      std::fputc('\n', f);
      std::fclose(f);
    }
  }
  const std::string reply = ":'/|NXO_PRODLI" + latest;
  if (send(peer, reply.data(), reply.size(), 0) != static_cast<ssize_t>(reply.size()))
    std::fprintf(stderr, "korvane-version-peer: send: %s\n", std::strerror(errno));
  close(peer);
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace korvane::peers;
  std::string address = "127.0.0.1", latest, log;
  long port = 26144;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--address") {
      address = argv[i + 1];
    } else if (option == "--latest") {
      latest = argv[i + 1];
    } else if (option == "--log") {
      log = argv[i + 1];
    } else if (option == "--port") {
      port = parsePort(argv[i + 1]);
      if (port < 0) return std::fputs("bad --port\n", stderr), 2;
    } else {
      return std::fprintf(stderr, "unknown option %s\n", option.c_str()), 2;
    }
  }
  if (latest.empty()) return std::fputs("--latest is required\n", stderr), 2;

  installStopHandlers();
  const int listener = listenTcp("korvane-version-peer", address, port);
  if (listener < 0) return 1;
  return acceptUntilStopped(listener, [&](int peer) { serve(peer, latest, log); });
}
