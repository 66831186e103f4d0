// korvane-query: asks a time server for the time with the program's own protocol code and
// prints how far the local clock is from it. It never sets the clock.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/query/query_options.h"
#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_locale.h"
#include "platform/posix/posix_socket.h"
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
  for (int i = 0; i < options->count; ++i) {
    if (i > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options->gapMs));
    const korvane::sync::QueryOutcome outcome = runExchange(loop, exchange, *options);
    if (!outcome.ok) {
      std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), options->host.c_str(),
                   outcome.error.c_str());
      return 1;
    }
    std::printf("%s\n",
                korvane::sync::queryLine(options->host, options->protocolText, outcome).c_str());
    std::fflush(stdout);
  }
  return 0;
}
