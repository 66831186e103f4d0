// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the loopback time servers until SIGINT or SIGTERM, for the benchmark scripts:
// prints "ready" once every server answers, or the reason it could not start them. With the
// argument "nts" chronyd serves NTS too, and "nts-ca PATH" follows with its CA file.
#include <signal.h>

#include <cstdio>
#include <string>

#include "e2e/peers.h"

int main(int argc, char* argv[]) {
  const bool nts = argc > 1 && std::string(argv[1]) == "nts";
  const unsigned kinds = korvane::e2e::kAllPeers | (nts ? korvane::e2e::kNtsPeer : 0);
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigprocmask(SIG_BLOCK, &stopSignals, nullptr);  // the servers started unblock them

  if (const std::string why = korvane::e2e::peersUnavailable(kinds); !why.empty()) {
    std::fprintf(stderr, "korvane-loopback-peers: %s\n", why.c_str());
    return 1;
  }
  korvane::e2e::LoopbackPeers peers(kinds);
  if (!peers.error().empty()) {
    std::fprintf(stderr, "korvane-loopback-peers: %s\n", peers.error().c_str());
    return 1;
  }
  std::printf("ready\n");
  if (nts) std::printf("nts-ca %s\n", peers.ntsCaFile().c_str());
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stopSignals, &signal);
  return 0;
}
