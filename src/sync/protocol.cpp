// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/protocol.h"

namespace korvane::sync {

std::string_view protocolName(Protocol p) {
  switch (p) {
    case Protocol::Time:
      return "Time";
    case Protocol::Sntp:
      return "SNTP";
    case Protocol::DayTime:
      return "DayTime";
    case Protocol::UnixTime:
      return "UnixTime";
  }
  return "";
}

std::string_view protocolLampTip(Protocol p) {
  switch (p) {
    case Protocol::Time:
      return " Time Protocol: Time ";
    case Protocol::Sntp:
      return " Time Protocol: Simple Network ";
    case Protocol::DayTime:
      return " Time Protocol: DayTime ";
    case Protocol::UnixTime:
      return " Time Protocol: UnixTime ";
  }
  return "";
}

int protocolPort(Protocol p) {
  switch (p) {
    case Protocol::Time:
      return 37;
    case Protocol::Sntp:
      return 123;
    case Protocol::DayTime:
      return 13;
    case Protocol::UnixTime:
      return 519;
  }
  return 0;
}

}  // namespace korvane::sync
