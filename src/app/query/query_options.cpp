// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/query/query_options.h"

#include <charconv>
#include <cmath>

#include "shell/host_port.h"

namespace korvane::query {

namespace {

std::optional<sync::Protocol> protocolNamed(const std::string& name) {
  if (name == "time") return sync::Protocol::Time;
  if (name == "daytime") return sync::Protocol::DayTime;
  if (name == "sntp") return sync::Protocol::Sntp;
  if (name == "unixtime") return sync::Protocol::UnixTime;
  if (name == "nts") return sync::Protocol::Sntp;  // SNTP, authenticated
  return std::nullopt;
}

std::optional<int> countOf(const std::string& text) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < 1 || n > kMaxCount)
    return std::nullopt;
  return n;
}

// Seconds such as "5" or "0.5", as whole milliseconds from 0 to maxMs.
std::optional<int> millisOf(const std::string& text, int maxMs) {
  double seconds = 0;
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), seconds, std::chars_format::fixed);
  if (ec != std::errc() || end != text.data() + text.size() || !(seconds >= 0) ||
      seconds * 1000 > maxMs)
    return std::nullopt;
  return static_cast<int>(std::lround(seconds * 1000));
}

// The option an argument names, in its long form; empty for anything else.
std::string longName(const std::string& arg) {
  static const char* const names[][2] = {
      {"-p", "--protocol"}, {"-c", "--count"},   {"-t", "--timeout"}, {"-g", "--gap"},
      {"-h", "--help"},     {"-V", "--version"}, {"--ca", "--ca"}};
  for (const auto& [shortName, fullName] : names)
    if (arg == shortName || arg == fullName) return fullName;
  return "";
}

bool takesValue(const std::string& name) {
  return name == "--protocol" || name == "--count" || name == "--timeout" || name == "--gap" ||
         name == "--ca";
}

}  // namespace

bool isLoopbackHost(const std::string& hostName) {
  return hostName == "localhost" || hostName == "::1" || hostName.rfind("127.", 0) == 0;
}

std::optional<QueryOptions> parseQueryOptions(const std::vector<std::string>& args,
                                              std::string& error) {
  QueryOptions o;
  std::optional<int> gap;
  std::vector<std::string> hosts;
  auto refuse = [&error](const std::string& why) -> std::optional<QueryOptions> {
    error = why;
    return std::nullopt;
  };
  bool optionsEnd = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i], value;
    if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
      hosts.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnd = true;
      continue;
    }
    std::string name;
    if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = longName(arg.substr(0, eq));
      if (!takesValue(name)) return refuse("unknown option " + arg.substr(0, eq));
      value = arg.substr(eq + 1);
    } else if (name = longName(arg); name.empty() && arg[1] != '-' && arg.size() > 2) {
      name = longName(arg.substr(0, 2));  // "-c5"
      if (!takesValue(name)) return refuse("unknown option " + arg);
      value = arg.substr(2);
    } else if (name.empty()) {
      return refuse("unknown option " + arg);
    } else if (takesValue(name)) {
      if (i + 1 >= args.size()) return refuse(arg + " needs a value");
      value = args[++i];
    }
    if (name == "--help") {
      o.action = QueryOptions::Action::Help;
    } else if (name == "--version") {
      o.action = QueryOptions::Action::Version;
    } else if (name == "--protocol") {
      const auto p = protocolNamed(value);
      if (!p) return refuse("unknown protocol \"" + value + "\"");
      o.protocol = *p;
      o.protocolText = value;
      o.nts = value == "nts";
    } else if (name == "--count") {
      const auto n = countOf(value);
      if (!n) return refuse("--count wants a whole number from 1 to " + std::to_string(kMaxCount));
      o.count = *n;
    } else if (name == "--timeout") {
      const auto ms = millisOf(value, kMaxTimeoutMs);
      if (!ms || *ms < 1) return refuse("--timeout wants seconds, above 0 and up to 600");
      o.timeoutMs = *ms;
    } else if (name == "--ca") {
      if (value.empty()) return refuse("--ca wants a file of PEM certificates");
      o.caFile = value;
    } else if (name == "--gap") {
      gap = millisOf(value, kMaxGapMs);
      if (!gap) return refuse("--gap wants seconds from 0 to 3600");
    }
  }
  if (o.action != QueryOptions::Action::Query) return o;
  if (!o.caFile.empty() && !o.nts) return refuse("--ca is for --protocol nts");
  if (hosts.size() != 1 || hosts[0].empty())
    return refuse(hosts.empty() ? "no host given" : "give exactly one host");
  const std::optional<shell::HostPort> server = shell::parseHostPort(hosts[0], 0);
  if (!server) return refuse("\"" + hosts[0] + "\" is not a host, host:port or [address]:port");
  o.host = hosts[0];
  o.hostName = server->host;
  o.port = server->port;
  o.gapMs = gap ? *gap : isLoopbackHost(o.hostName) ? 0 : kDefaultGapMs;
  return o;
}

std::string queryUsage(const std::string& program) {
  return "Usage: " + program +
         " [-p time|daytime|sntp|unixtime|nts] [-c N] [-t S] [-g S] [--ca FILE] HOST[:PORT]\n"
         "Asks the time server HOST for the time N times (default 1) and prints, for each\n"
         "exchange, how far the local clock is from it:\n"
         "  HOST PROTOCOL offset +S.SSS s delay D.DDD s\n"
         "and for SNTP the server's stratum and reference id after it (stratum N ref ID).\n"
         "The offset is the server's time minus the local time; Time, DayTime and UnixTime\n"
         "give whole seconds. The delay is the measured round trip. The clock is never set.\n"
         "HOST is a name or an address; an IPv6 address with a port is written [ADDRESS]:PORT.\n"
         "Options:\n"
         "  -p, --protocol P  sntp (UDP 123, the default), time (TCP 37), daytime (TCP 13)\n"
         "                    or unixtime (TCP 519); nts is SNTP authenticated by Network\n"
         "                    Time Security (keys over TLS on TCP 4460), its line ending\n"
         "                    in \"authenticated\"\n"
         "  -c, --count N     number of exchanges, 1 to " +
         std::to_string(kMaxCount) +
         "\n"
         "  -t, --timeout S   seconds one exchange may take (default 5)\n"
         "  -g, --gap S       seconds between exchanges (default 2, 0 for loopback)\n"
         "      --ca FILE     with nts: trust the PEM certificates of FILE instead of the\n"
         "                    system's\n"
         "  -h, --help        show this text\n"
         "  -V, --version     show the version\n"
         "Environment: KORVANE_CLOCK_FILE names a simulated clock (the machine's clock plus\n"
         "the milliseconds the file holds), which is then the local time compared.\n"
         "Exit status: 0 when every exchange succeeded, 1 when one failed, 2 for bad arguments.\n";
}

}  // namespace korvane::query
