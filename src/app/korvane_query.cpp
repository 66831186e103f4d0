// SPDX-License-Identifier: GPL-3.0-or-later
// korvane-query: asks a time server for the time with the program's own protocol code and
// prints how far the local clock is from it. It never sets the clock.
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/query/query_options.h"
#include "platform/gnutls/gnutls_tls.h"
#include "platform/gnutls/nettle_siv.h"
#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_locale.h"
#include "platform/posix/posix_socket.h"
#include "sync/nts_session.h"
#include "sync/query_exchange.h"

namespace {

using korvane::query::QueryOptions;

// Runs one exchange to its end on the poll loop.
korvane::sync::QueryOutcome runExchange(korvane::platform::PollLoop& loop,
                                        korvane::sync::QueryExchange& exchange,
                                        const QueryOptions& options) {
  korvane::sync::QueryOutcome outcome;
  exchange.start(
      options.protocol, options.hostName,
      [&outcome](const korvane::sync::QueryOutcome& o) { outcome = o; }, options.port);
  const auto deadline =
      korvane::platform::PollLoop::Clock::now() + std::chrono::milliseconds(options.timeoutMs);
  if (!loop.runUntil([&exchange] { return !exchange.running(); }, deadline)) exchange.timeOut();
  return outcome;
}

// Network Time Security for the run: one key establishment while cookies last, a fresh one
// when they run out or the server answers NTSN (once per exchange). Never plain SNTP instead.
class NtsRun {
 public:
  explicit NtsRun(const QueryOptions& options)
      : target_{options.hostName, options.port > 0 ? options.port : korvane::sync::kNtsKePort,
                korvane::sync::kNtsKeAlpn, options.caFile, options.timeoutMs} {}

  korvane::sync::QueryOutcome exchange(korvane::platform::PollLoop& loop,
                                       korvane::sync::QueryExchange& exchange,
                                       QueryOptions options) {
    for (bool rekeyed = false;; rekeyed = true) {
      if (keys_.cookies.empty()) {
        korvane::sync::NtsEstablished established = korvane::sync::establishNtsKeys(tls_, target_);
        if (!established.ok) return {false, 0, 0, established.why, -1, {}};
        keys_ = std::move(established.keys);
      }
      korvane::sync::NtsGuard guard(keys_, siv_, random_);
      exchange.setGuard(&guard);
      options.hostName = keys_.ntpHost;
      options.port = keys_.ntpPort;
      const korvane::sync::QueryOutcome outcome = runExchange(loop, exchange, options);
      exchange.setGuard(nullptr);
      if (outcome.ok || !guard.nak() || rekeyed) return outcome;
    }
  }

 private:
  korvane::platform::TlsTarget target_;
  korvane::platform::GnutlsConnector tls_;
  korvane::platform::NettleSiv siv_;
  korvane::platform::GnutlsRandom random_;
  korvane::sync::NtsKeys keys_;
};

}  // namespace

int main(int argc, char* argv[]) {
  const std::string program = "korvane-query";
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::string error;
  const auto options = korvane::query::parseQueryOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.c_str(),
                 error.c_str(), program.c_str());
    return 2;
  }
  if (options->action == QueryOptions::Action::Help) {
    std::fputs(korvane::query::queryUsage(program).c_str(), stdout);
    return 0;
  }
  if (options->action == QueryOptions::Action::Version) {
    std::printf("%s %s\n", program.c_str(), KORVANE_VERSION);
    return 0;
  }

  const auto clock = korvane::platform::makeSystemClock();
  korvane::platform::PosixLocale locale;
  korvane::platform::PollLoop loop;
  korvane::platform::PosixSocketFactory sockets(loop);
  korvane::sync::QueryExchange exchange(*clock, locale, sockets);
  std::optional<NtsRun> nts;
  if (options->nts) nts.emplace(*options);
  for (int i = 0; i < options->count; ++i) {
    if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options->gapMs));
    const korvane::sync::QueryOutcome outcome =
        nts ? nts->exchange(loop, exchange, *options) : runExchange(loop, exchange, *options);
    if (!outcome.ok) {
      std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), options->host.c_str(),
                   outcome.error.c_str());
      return 1;
    }
    std::printf("%s%s\n",
                korvane::sync::queryLine(options->host, options->protocolText, outcome).c_str(),
                nts ? " authenticated" : "");
    std::fflush(stdout);
  }
  return 0;
}
