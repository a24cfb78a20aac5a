#include "RecordResetRules.h"

#include <QLocale>

namespace RecordResetRules {

namespace {

// The Qt form of a calendar layout; literal text is quoted.
QString qtPattern(const QString &pattern) {
  QString out;
  QString literal;
  auto flush = [&] {
    if (literal.isEmpty())
      return;
    QString quoted = literal;
    quoted.replace(u'\'', QLatin1String("''"));
    out += u'\'' + quoted + u'\'';
    literal.clear();
  };
  for (qsizetype i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (c != u'%' || i + 1 >= pattern.size()) {
      literal += c;
      continue;
    }
    const QChar d = pattern[++i];
    const char *piece = nullptr;
    switch (d.unicode()) {
    case 'Y':
      piece = "yyyy";
      break;
    case 'y':
      piece = "yy";
      break;
    case 'm':
      piece = "MM";
      break;
    case 'd':
      piece = "dd";
      break;
    case 'e':
      piece = "d";
      break;
    case 'H':
      piece = "HH";
      break;
    case 'M':
      piece = "mm";
      break;
    case 'S':
      piece = "ss";
      break;
    case 'b':
      piece = "MMM";
      break;
    case 'B':
      piece = "MMMM";
      break;
    case '%':
      literal += u'%';
      continue;
    default:
      literal += u'%';
      literal += d;
      continue;
    }
    flush();
    out += QLatin1String(piece);
  }
  flush();
  return out;
}

QDateTime inZone(const QDateTime &local, const QTimeZone &zone) {
  if (!local.isValid())
    return {};
  return QDateTime(local.date(), local.time(), zone);
}

} // namespace

QDateTime parseCalendarDate(const QString &text, const QString &pattern, const QTimeZone &zone) {
  if (text.isEmpty() || pattern.isEmpty())
    return {};
  const QDateTime parsed = QLocale::c().toDateTime(text.trimmed(), qtPattern(pattern));
  return inZone(parsed, zone);
}

int periodDays(const QVariant &storedIndex) {
  bool ok = false;
  const int index = storedIndex.toString().trimmed().toInt(&ok);
  if (!ok || index < 0)
    return 1;
  return index + 1;
}

QDateTime periodStart(const QVariant &stored, const QString &resetTimePattern, const QTimeZone &zone) {
  if (stored.typeId() == QMetaType::QDateTime)
    return stored.toDateTime().toTimeZone(zone);
  const QString text = stored.toString();
  QDateTime start = parseCalendarDate(text, kDatePattern, zone);
  if (!start.isValid() && !resetTimePattern.isEmpty())
    start = parseCalendarDate(text, resetTimePattern, zone);
  return start;
}

int wholeDays(const QDateTime &from, const QDateTime &to, const QTimeZone &zone) {
  if (!from.isValid() || !to.isValid() || to < from)
    return 0;
  const QDateTime a = from.toTimeZone(zone);
  const QDateTime b = to.toTimeZone(zone);
  qint64 days = a.date().daysTo(b.date());
  // The day is whole once the same clock time is reached (on the calendar, not in seconds).
  while (days > 0 && a.addDays(days) > b)
    --days;
  return int(days);
}

EndedPeriods endedPeriods(const QDateTime &start, int periodLength, const QDateTime &now) {
  EndedPeriods result;
  if (!start.isValid() || !now.isValid() || periodLength < 1 || now < start)
    return result;
  const int elapsed = wholeDays(start, now, start.timeZone());
  const int days = elapsed / periodLength * periodLength;
  if (days <= 0)
    return result;
  result.days = days;
  result.newStart = start.addDays(days);
  result.removed = RecordWindow{start.toMSecsSinceEpoch(), result.newStart.toMSecsSinceEpoch() - 1};
  return result;
}

bool recurrenceEnded(int tag, const QDateTime &start, const QDateTime &now, int dayOfWeek, int dayOfMonth,
                     const QTimeZone &zone) {
  if (!start.isValid() || !now.isValid())
    return false;
  const int d = wholeDays(start, now, zone);
  if (d < 1)
    return false;
  const QDate first = start.toTimeZone(zone).date();
  const QDate today = now.toTimeZone(zone).date();
  switch (tag) {
  case kDaily:
    return true;
  case kWeekly: {
    if (d > 7)
      return true;
    for (int i = 1; i < d; ++i)
      if (first.addDays(i).dayOfWeek() % 7 == dayOfWeek)
        return true;
    // The chosen day itself ends the week once it has come.
    return today.dayOfWeek() % 7 == dayOfWeek;
  }
  case kMonthly: {
    if (d > 31)
      return true;
    for (int i = 1; i < d; ++i)
      if (first.addDays(i).day() == dayOfMonth + 1)
        return true;
    return today.day() == dayOfMonth + 1;
  }
  default:
    return false;
  }
}

QDateTime nextMidnight(const QDateTime &now, const QTimeZone &zone) {
  const QDate tomorrow = now.toTimeZone(zone).date().addDays(1);
  return QDateTime(tomorrow, QTime(0, 0), zone);
}

} // namespace RecordResetRules
