// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_locale.h"

#include <QDateTime>
#include <QLocale>

namespace korvane::platform {

namespace {

QDateTime toQt(const CivilDateTime& t) {
  return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second, t.millisecond));
}

// The locale's long time format without the zone name Qt appends to it.
QString longTimeFormat() {
  QString f = QLocale::system().timeFormat(QLocale::LongFormat);
  f.remove(QLatin1String(" t")).remove(QLatin1Char('t'));
  return f.trimmed();
}

}  // namespace

std::string QtLocale::longTime(const CivilDateTime& t) const {
  return QLocale::system().toString(toQt(t).time(), longTimeFormat()).toStdString();
}

std::string QtLocale::generalDate(const CivilDateTime& t) const {
  const QLocale locale = QLocale::system();
  return (locale.toString(toQt(t).date(), QLocale::ShortFormat) + QLatin1Char(' ') +
          locale.toString(toQt(t).time(), longTimeFormat()))
      .toStdString();
}

int QtLocale::fullYear(int twoDigitYear) const {
  return twoDigitYear < 50 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

std::optional<CivilDateTime> QtLocale::parseDateTime(std::string_view text) const {
  const QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).trimmed();
  const QLocale locale = QLocale::system();
  for (auto format : {QLocale::LongFormat, QLocale::ShortFormat}) {
    QDateTime dt = locale.toDateTime(s, format);
    if (!dt.isValid()) continue;
    const QDate d = dt.date();
    const QTime tm = dt.time();
    return CivilDateTime{d.year(),    d.month(),   d.day(),  tm.hour(),
                         tm.minute(), tm.second(), tm.msec()};
  }
  return std::nullopt;
}

std::string QtLocale::dayName(int dayOfWeek, bool abbreviated) const {
  const int qtDay = ((dayOfWeek % 7) + 7) % 7 == 0 ? 7 : ((dayOfWeek % 7) + 7) % 7;
  return QLocale::system()
      .dayName(qtDay, abbreviated ? QLocale::ShortFormat : QLocale::LongFormat)
      .toStdString();
}

std::string QtLocale::monthName(int month) const {
  return QLocale::system().monthName(month, QLocale::LongFormat).toStdString();
}

std::string QtLocale::monthAbbreviation(int month) const {
  return QLocale::system().monthName(month, QLocale::ShortFormat).toStdString();
}

std::string QtLocale::timeDesignator(bool afternoon) const {
  const QLocale locale = QLocale::system();
  return (afternoon ? locale.pmText() : locale.amText()).toStdString();
}

std::string QtLocale::toUpper(std::string_view text) const {
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  return QLocale::system().toUpper(s).toStdString();
}

}  // namespace korvane::platform
