// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/query_exchange.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace korvane::sync {

QueryOutcome queryOutcomeOf(const ExchangeResult& result) {
  if (result.kind != ExchangeKind::Answer) return {false, 0, 0, result.why, -1, {}};
  return {true, result.offsetMillis(), result.delayMillis(),
          {},   result.stratum,        result.referenceId};
}

namespace {

std::string threeDecimals(long long millis) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%lld.%03lld", millis / 1000, millis % 1000);
  return buffer;
}

}  // namespace

std::string signedSeconds(double millis) {
  const long long ms = std::llround(millis);
  return (ms < 0 ? "-" : "+") + threeDecimals(ms < 0 ? -ms : ms);
}

std::string plainSeconds(double millis) {
  const long long ms = std::llround(millis);
  return (ms < 0 ? "-" : "") + threeDecimals(ms < 0 ? -ms : ms);
}

std::string queryLine(const std::string& host, const std::string& protocol,
                      const QueryOutcome& outcome) {
  std::string line = host + " " + protocol + " offset " + signedSeconds(outcome.offsetMillis) +
                     " s delay " + plainSeconds(outcome.delayMillis) + " s";
  if (outcome.stratum >= 0)
    line += " stratum " + std::to_string(outcome.stratum) + " ref " +
            (outcome.referenceId.empty() ? "-" : outcome.referenceId);
  return line;
}

}  // namespace korvane::sync
