// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/daytime_text.h"

#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "common/lenient_number.h"
#include "common/text.h"

namespace korvane::sync {

namespace {

bool allDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

int toInt(std::string_view s) {
  int v = 0;
  for (char c : s) v = v * 10 + (c - '0');
  return v;
}

// "HH:MM" or "HH:MM:SS" with an optional fraction of seconds.
bool parseClock(std::string_view s, CivilDateTime& t) {
  const auto parts = text::split(s, ":");
  if (parts.size() < 2 || parts.size() > 3) return false;
  std::string seconds = parts.size() == 3 ? parts[2] : "0";
  int millis = 0;
  if (const size_t dot = seconds.find_first_of(".,"); dot != std::string::npos) {
    std::string fraction = seconds.substr(dot + 1);
    seconds.resize(dot);
    if (!fraction.empty() && !allDigits(fraction)) return false;
    fraction = (fraction + "000").substr(0, 3);
    millis = toInt(fraction);
  }
  if (!allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(seconds)) return false;
  if (parts[0].size() > 2 || parts[1].size() != 2 || seconds.size() > 2) return false;
  t.hour = toInt(parts[0]);
  t.minute = toInt(parts[1]);
  t.second = toInt(seconds);
  t.millisecond = millis;
  return true;
}

int monthOf(std::string_view word) {
  static const std::array<const char*, 12> names = {
      "january", "february", "march",     "april",   "may",      "june",
      "july",    "august",   "september", "october", "november", "december"};
  if (word.size() < 3) return 0;
  const std::string lower = text::toLower(word);
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string_view name = names[i];
    if (lower.size() <= name.size() && name.substr(0, lower.size()) == lower) return int(i) + 1;
  }
  return 0;
}

bool isWeekday(std::string_view word) {
  static const std::array<const char*, 7> names = {"sunday",   "monday", "tuesday", "wednesday",
                                                   "thursday", "friday", "saturday"};
  if (word.size() < 3) return false;
  const std::string lower = text::toLower(word);
  for (std::string_view name : names)
    if (lower.size() <= name.size() && name.substr(0, lower.size()) == lower) return true;
  return false;
}

// Minutes east of UTC of a zone name; empty when the word is not a zone.
std::optional<int> zoneMinutes(std::string_view word) {
  struct Zone {
    const char* name;
    int minutes;
  };
  static const std::array<Zone, 17> zones = {{{"UTC", 0},
                                              {"GMT", 0},
                                              {"UT", 0},
                                              {"Z", 0},
                                              {"EST", -300},
                                              {"EDT", -240},
                                              {"CST", -360},
                                              {"CDT", -300},
                                              {"MST", -420},
                                              {"MDT", -360},
                                              {"PST", -480},
                                              {"PDT", -420},
                                              {"AKST", -540},
                                              {"AKDT", -480},
                                              {"HST", -600},
                                              {"AST", -240},
                                              {"ADT", -180}}};
  const std::string upper = text::toUpper(word);
  for (const Zone& z : zones)
    if (upper == z.name) return z.minutes;
  return std::nullopt;
}

// "+0100", "-05:00", "+01", "-5": minutes east of UTC.
std::optional<int> numericOffset(std::string_view s) {
  if (s.size() < 2 || (s[0] != '+' && s[0] != '-')) return std::nullopt;
  const int sign = s[0] == '-' ? -1 : 1;
  std::string digits = text::replaceAll(s.substr(1), ":", "");
  if (!allDigits(digits) || digits.size() > 4) return std::nullopt;
  int hours = 0, minutes = 0;
  if (digits.size() <= 2) {
    hours = toInt(digits);
  } else {
    hours = toInt(std::string_view(digits).substr(0, digits.size() - 2));
    minutes = toInt(std::string_view(digits).substr(digits.size() - 2));
  }
  if (hours > 14 || minutes > 59) return std::nullopt;
  return sign * (hours * 60 + minutes);
}

std::optional<CivilDateTime> toUtc(CivilDateTime t, int zoneEastMinutes) {
  if (!isValidCivil(t)) return std::nullopt;
  if (t.second == 60) t.second = 59;  // a leap second reads as the second before it
  return civilFromOleMillis(oleMillisFromCivil(t) - int64_t{zoneEastMinutes} * 60000);
}

// ISO 8601: YYYY-MM-DD, 'T' or a blank, the time, then Z, an offset or nothing.
std::optional<CivilDateTime> parseIso(std::string_view s) {
  if (s.size() < 16 || s[4] != '-' || s[7] != '-' || (s[10] != 'T' && s[10] != ' '))
    return std::nullopt;
  if (!allDigits(s.substr(0, 4)) || !allDigits(s.substr(5, 2)) || !allDigits(s.substr(8, 2)))
    return std::nullopt;
  CivilDateTime t;
  t.year = toInt(s.substr(0, 4));
  t.month = toInt(s.substr(5, 2));
  t.day = toInt(s.substr(8, 2));
  std::string_view rest = s.substr(11);
  size_t zoneAt = rest.find_first_of("Z+-");
  std::string_view clock = rest.substr(0, zoneAt);
  std::string_view zone = zoneAt == std::string_view::npos ? "" : rest.substr(zoneAt);
  while (!clock.empty() && clock.back() == ' ') clock.remove_suffix(1);
  if (!parseClock(clock, t)) return std::nullopt;
  int offset = 0;
  if (!zone.empty()) {
    const auto z = zone == "Z" ? std::optional<int>(0) : numericOffset(zone);
    if (!z) return std::nullopt;
    offset = *z;
  }
  return toUtc(t, offset);
}

std::vector<std::string> tokens(std::string_view s) {
  std::vector<std::string> out;
  std::string current;
  for (char c : s) {
    if (c == ' ' || c == ',' || c == '\t') {
      if (!current.empty()) out.push_back(current), current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) out.push_back(current);
  return out;
}

// Splits "17:37:43-PST" or "05:05:11+0100" into the clock and the zone that follows it.
std::pair<std::string, std::string> splitClockZone(const std::string& token) {
  const size_t at = token.find_first_of("+-", token.find(':'));
  if (at == std::string::npos) return {token, ""};
  const std::string zone = token.substr(at);
  if (zone.size() > 1 && std::isalpha(static_cast<unsigned char>(zone[1])))
    return {token.substr(0, at), zone.substr(1)};
  return {token.substr(0, at), zone};
}

struct Fields {
  int month = 0;
  std::vector<std::string> numbers;
  bool haveClock = false;
  std::optional<int> zone;
  CivilDateTime t;
};

bool takeZone(Fields& f, const std::string& word) {
  if (word.empty()) return true;
  const auto z = word[0] == '+' || word[0] == '-' ? numericOffset(word) : zoneMinutes(word);
  if (!z || f.zone) return false;
  f.zone = z;
  return true;
}

bool takeToken(Fields& f, const std::string& token) {
  if (token.find(':') != std::string::npos && !f.haveClock) {
    const auto [clock, zone] = splitClockZone(token);
    f.haveClock = parseClock(clock, f.t);
    return f.haveClock && takeZone(f, zone);
  }
  if (allDigits(token)) {
    f.numbers.push_back(token);
    return true;
  }
  if (const int m = monthOf(token); m && !f.month) {
    f.month = m;
    return true;
  }
  if (isWeekday(token)) return true;
  std::string word = token;
  if (word.size() > 1 && word[0] == '-' && std::isalpha(static_cast<unsigned char>(word[1])))
    word.erase(0, 1);
  return takeZone(f, word);
}

}  // namespace

bool looksLikeNist(std::string_view reply) {
  return isNumeric(text::left(reply, 5));
}

std::optional<CivilDateTime> parseNistDayTime(std::string_view reply, const FullYear& fullYear) {
  std::string s = text::replaceAll(reply, "\n", "");
  s = text::left(text::mid(s, 6), 18);  // " YR-MO-DA HH:MM:SS"
  if (s.size() != 18 || s[0] != ' ' || s[3] != '-' || s[6] != '-' || s[9] != ' ')
    return std::nullopt;
  const std::string yr = text::mid(s, 2, 2), mo = text::mid(s, 5, 2), da = text::mid(s, 8, 2);
  if (!allDigits(yr) || !allDigits(mo) || !allDigits(da)) return std::nullopt;
  CivilDateTime t;
  t.year = fullYear(toInt(yr));
  t.month = toInt(mo);
  t.day = toInt(da);
  const std::string clock = text::trim(text::mid(s, 10));  // " HH:MM:SS"
  if (clock.size() != 8 || !parseClock(clock, t)) return std::nullopt;
  return toUtc(t, 0);
}

std::optional<CivilDateTime> parseDayTimeText(std::string_view reply, const FullYear& fullYear) {
  std::string s(reply);
  for (char& c : s)
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  s = text::trim(s);
  if (auto iso = parseIso(s)) return iso;
  Fields f;
  for (const std::string& token : tokens(s))
    if (!takeToken(f, token)) return std::nullopt;
  if (!f.month || !f.haveClock || f.numbers.size() != 2) return std::nullopt;
  // The year is the four-digit number, else the second; the other is the day.
  const bool firstIsYear = f.numbers[0].size() == 4 && f.numbers[1].size() <= 2;
  const std::string& day = firstIsYear ? f.numbers[1] : f.numbers[0];
  const std::string& year = firstIsYear ? f.numbers[0] : f.numbers[1];
  if (day.size() > 2 || (year.size() != 2 && year.size() != 4)) return std::nullopt;
  f.t.day = toInt(day);
  f.t.month = f.month;
  f.t.year = year.size() == 2 ? fullYear(toInt(year)) : toInt(year);
  return toUtc(f.t, f.zone.value_or(0));
}

int nearestCenturyYear(int yy, int aroundYear) {
  const int century = aroundYear - ((aroundYear % 100) + 100) % 100;
  const int year = century + yy;
  if (year - aroundYear > 50) return year - 100;
  if (aroundYear - year > 50) return year + 100;
  return year;
}

std::optional<CivilDateTime> readDayTimeReply(std::string_view reply,
                                              const platform::Locale& locale, int localYear) {
  const FullYear fullYear = [localYear](int yy) { return nearestCenturyYear(yy, localYear); };
  if (looksLikeNist(reply))
    if (auto utc = parseNistDayTime(reply, fullYear)) return utc;
  if (auto utc = parseDayTimeText(reply, fullYear)) return utc;
  return locale.parseDateTime(reply);
}

std::string replyForDisplay(std::string_view reply) {
  const size_t first = reply.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const std::string_view line = reply.substr(first, reply.find_first_of("\r\n", first) - first);
  std::string out;
  for (char c : line) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) continue;
    if (out.size() == kMaxReplyShown) return out + "...";
    out.push_back(u < 0x80 ? c : '?');
  }
  return out;
}

}  // namespace korvane::sync
