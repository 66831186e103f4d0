#include "app/query/query_options.h"

#include <charconv>

namespace korvane::query {

namespace {

std::optional<sync::Protocol> protocolNamed(const std::string& name) {
  if (name == "time") return sync::Protocol::Time;
  if (name == "daytime") return sync::Protocol::DayTime;
  if (name == "sntp") return sync::Protocol::Sntp;
  if (name == "unixtime") return sync::Protocol::UnixTime;
  return std::nullopt;
}

std::optional<int> countOf(const std::string& text) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < 1 || n > kMaxCount)
    return std::nullopt;
  return n;
}

}  // namespace

std::optional<QueryOptions> parseQueryOptions(const std::vector<std::string>& args,
                                              std::string& error) {
  QueryOptions o;
  std::vector<std::string> hosts;
  auto refuse = [&error](const std::string& why) -> std::optional<QueryOptions> {
    error = why;
    return std::nullopt;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i], value;
    const bool takesValue = arg.rfind("--protocol", 0) == 0 || arg.rfind("--count", 0) == 0;
    if (takesValue) {
      if (const size_t eq = arg.find('='); eq != std::string::npos) {
        value = arg.substr(eq + 1);
        arg.resize(eq);
      } else if (arg == "--protocol" || arg == "--count") {
        if (i + 1 >= args.size()) return refuse(arg + " needs a value");
        value = args[++i];
      }
    }
    if (arg == "--help" || arg == "-h") {
      o.action = QueryOptions::Action::Help;
    } else if (arg == "--version") {
      o.action = QueryOptions::Action::Version;
    } else if (arg == "--protocol") {
      const auto p = protocolNamed(value);
      if (!p) return refuse("unknown protocol \"" + value + "\"");
      o.protocol = *p;
      o.protocolText = value;
    } else if (arg == "--count") {
      const auto n = countOf(value);
      if (!n) return refuse("--count wants a whole number from 1 to " + std::to_string(kMaxCount));
      o.count = *n;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return refuse("unknown option " + arg);
    } else {
      hosts.push_back(arg);
    }
  }
  if (o.action != QueryOptions::Action::Query) return o;
  if (hosts.size() != 1 || hosts[0].empty())
    return refuse(hosts.empty() ? "no host given" : "give exactly one host");
  o.host = hosts[0];
  return o;
}

std::string queryUsage(const std::string& program) {
  return "Usage: " + program +
         " [--protocol time|daytime|sntp|unixtime] [--count N] HOST\n"
         "Asks the time server HOST for the time N times (default 1) and prints, for each\n"
         "exchange, how far the local clock is from it:\n"
         "  HOST PROTOCOL offset +S.SSS s delay D.DDD s\n"
         "The offset is the server's time minus the local time; Time, DayTime and UnixTime\n"
         "give whole seconds. The delay is the measured round trip. The clock is never set.\n"
         "Options:\n"
         "  --protocol P  sntp (UDP 123, the default), time (TCP 37), daytime (TCP 13) or\n"
         "                unixtime (TCP 519)\n"
         "  --count N     number of exchanges, 1 to " +
         std::to_string(kMaxCount) +
         "\n"
         "  --help        show this text\n"
         "  --version     show the version\n"
         "Exit status: 0 when every exchange succeeded, 1 when one failed, 2 for bad arguments.\n";
}

}  // namespace korvane::query
