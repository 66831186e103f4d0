// Runs the loopback time servers until SIGINT or SIGTERM, for the benchmark scripts:
// prints "ready" once every server answers, or the reason it could not start them.
#include <signal.h>

#include <cstdio>

#include "e2e/peers.h"

int main() {
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigprocmask(SIG_BLOCK, &stopSignals, nullptr);  // the servers started unblock them

  if (const std::string why = korvane::e2e::peersUnavailable(korvane::e2e::kAllPeers);
      !why.empty()) {
    std::fprintf(stderr, "korvane-loopback-peers: %s\n", why.c_str());
    return 1;
  }
  korvane::e2e::LoopbackPeers peers(korvane::e2e::kAllPeers);
  if (!peers.error().empty()) {
    std::fprintf(stderr, "korvane-loopback-peers: %s\n", peers.error().c_str());
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stopSignals, &signal);
  return 0;
}
