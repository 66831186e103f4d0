// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/posix/posix_locale.h"

#include <langinfo.h>
#include <wctype.h>

#include <climits>
#include <ctime>
#include <cwchar>
#include <string>

#include "platform/posix/broken_down.h"

namespace korvane::platform {

namespace {

std::string format(const CivilDateTime& t, const char* pattern) {
  const std::tm tm = brokenDownOf(t);
  char buffer[128];
  const size_t n = std::strftime(buffer, sizeof buffer, pattern, &tm);
  return std::string(buffer, n);
}

bool onlyBlanks(const char* p) {
  for (; *p; ++p)
    if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') return false;
  return true;
}

// strptime takes "02/31" as read; the calendar decides.
bool validDate(const std::tm& tm) {
  return tm.tm_year > INT_MIN + 1900 && tm.tm_year < INT_MAX - 1900 && isValidCivil(civilOf(tm));
}

}  // namespace

class PosixLocale::Using {
 public:
  explicit Using(locale_t l) : previous_(uselocale(l)) {}
  ~Using() { uselocale(previous_); }
  Using(const Using&) = delete;
  Using& operator=(const Using&) = delete;

 private:
  locale_t previous_;
};

PosixLocale::~PosixLocale() {
  if (locale_) freelocale(locale_);
  if (textLocale_) freelocale(textLocale_);
}

// The user's character rules when they are UTF-8 (the program's texts are), else C.UTF-8's.
locale_t PosixLocale::textLocale() const {
  if (textLocale_) return textLocale_;
  textLocale_ = newlocale(LC_CTYPE_MASK, "", nullptr);
  if (textLocale_ && std::string_view(nl_langinfo_l(CODESET, textLocale_)) != "UTF-8") {
    freelocale(textLocale_);
    textLocale_ = nullptr;
  }
  if (!textLocale_) textLocale_ = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  return textLocale_;
}

std::string PosixLocale::toUpper(std::string_view text) const {
  const locale_t l = textLocale();
  if (!l) return Locale::toUpper(text);
  const Using guard(l);
  std::string out;
  std::mbstate_t in{}, back{};
  for (size_t i = 0; i < text.size();) {
    wchar_t wc = 0;
    size_t n = std::mbrtowc(&wc, text.data() + i, text.size() - i, &in);
    char upper[MB_LEN_MAX];
    const size_t m = n == 0 || n > text.size() - i
                         ? static_cast<size_t>(-1)
                         : std::wcrtomb(upper, static_cast<wchar_t>(towupper_l(wc, l)), &back);
    if (n == 0 || n > text.size() - i) {  // a NUL, or bytes that are no character: kept
      n = 1;
      in = {};
    }
    if (m == static_cast<size_t>(-1))
      out.append(text.substr(i, n));
    else
      out.append(upper, m);
    i += n;
  }
  return out;
}

locale_t PosixLocale::timeLocale() const {
  if (!locale_) locale_ = newlocale(LC_TIME_MASK, "", nullptr);
  if (!locale_) locale_ = newlocale(LC_TIME_MASK, "C", nullptr);  // LANG names no locale here
  return locale_ ? locale_ : LC_GLOBAL_LOCALE;
}

std::string PosixLocale::longTime(const CivilDateTime& t) const {
  const Using l(timeLocale());
  return format(t, "%X");
}

std::string PosixLocale::generalDate(const CivilDateTime& t) const {
  const Using l(timeLocale());
  return format(t, "%x %X");
}

std::string PosixLocale::dayName(int dayOfWeek, bool abbreviated) const {
  const int day = ((dayOfWeek % 7) + 7) % 7;
  return nl_langinfo_l(static_cast<nl_item>((abbreviated ? ABDAY_1 : DAY_1) + day), timeLocale());
}

std::string PosixLocale::monthName(int month) const {
  const int index = ((month - 1) % 12 + 12) % 12;
  return nl_langinfo_l(static_cast<nl_item>(MON_1 + index), timeLocale());
}

std::string PosixLocale::monthAbbreviation(int month) const {
  const int index = ((month - 1) % 12 + 12) % 12;
  return nl_langinfo_l(static_cast<nl_item>(ABMON_1 + index), timeLocale());
}

std::string PosixLocale::timeDesignator(bool afternoon) const {
  const std::string designator = nl_langinfo_l(afternoon ? PM_STR : AM_STR, timeLocale());
  // Many locales keep a 24-hour clock and name no designator; the clock text still needs one.
  return designator.empty() ? Locale::timeDesignator(afternoon) : designator;
}

int PosixLocale::fullYear(int twoDigitYear) const {
  return twoDigitYear < 50 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

std::optional<CivilDateTime> PosixLocale::parseDateTime(std::string_view text) const {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return std::nullopt;
  std::string s(text.substr(first));  // strptime wants a terminated string
  // Trailing NULs are padding; one inside would hide what follows it from strptime.
  s.erase(s.find_last_not_of('\0') + 1);
  if (s.find('\0') != std::string::npos) return std::nullopt;
  const Using l(timeLocale());
  const std::string dateAndTime = std::string(nl_langinfo(D_FMT)) + " " + nl_langinfo(T_FMT);
  for (const std::string& pattern : {std::string(nl_langinfo(D_T_FMT)), dateAndTime}) {
    std::tm tm{};
    tm.tm_mday = 1;
    const char* end = strptime(s.c_str(), pattern.c_str(), &tm);
    if (!end || !onlyBlanks(end) || !validDate(tm)) continue;
    return civilOf(tm);
  }
  return std::nullopt;
}

}  // namespace korvane::platform
