// SPDX-License-Identifier: GPL-3.0-or-later
// A UnixTime server for the tests: on each TCP connection it sends the seconds since
// 1970-01-01 00:00 UTC as 4 bytes, big-endian, and closes. No packaged server speaks it.
// With --epoch 1900 it counts from 1900 as a Time server does (a second one beside xinetd's);
// with --epoch none it sends a count of 0, as a server without a time of its own does.
//   korvane-unixtime-peer [--address A] [--port N] [--epoch 1970|1900|none]
//   (default 127.0.0.1, 519, 1970)
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "peers/tcp_peer.h"

namespace {

uint32_t epochSeconds = 0;  // added to the count since 1970
bool zero = false;

void serve(int peer) {
  const auto seconds = zero ? 0u : static_cast<uint32_t>(std::time(nullptr)) + epochSeconds;
  const unsigned char reply[4] = {
      static_cast<unsigned char>(seconds >> 24), static_cast<unsigned char>(seconds >> 16),
      static_cast<unsigned char>(seconds >> 8), static_cast<unsigned char>(seconds)};
  if (send(peer, reply, sizeof reply, 0) != static_cast<ssize_t>(sizeof reply))
    std::fprintf(stderr, "korvane-unixtime-peer: send: %s\n", std::strerror(errno));
  close(peer);
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace korvane::peers;
  std::string address = "127.0.0.1";
  long port = 519;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--address") {
      address = argv[i + 1];
    } else if (option == "--epoch") {
      const std::string epoch = argv[i + 1];
      if (epoch != "1970" && epoch != "1900" && epoch != "none")
        return std::fputs("bad --epoch\n", stderr), 2;
      zero = epoch == "none";
      epochSeconds = epoch == "1900" ? 2208988800u : 0;
    } else if (option == "--port") {
      port = parsePort(argv[i + 1]);
      if (port < 0) return std::fputs("bad --port\n", stderr), 2;
    } else {
      return std::fprintf(stderr, "unknown option %s\n", option.c_str()), 2;
    }
  }
  installStopHandlers();
  const int listener = listenTcp("korvane-unixtime-peer", address, port);
  if (listener < 0) return 1;
  return acceptUntilStopped(listener, serve);
}
