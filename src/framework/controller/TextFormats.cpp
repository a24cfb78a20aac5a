#include "TextFormats.h"

#include <QLocale>
#include <QTimeZone>
#include <QUrl>

QString fillWebLinkTemplate(const QString &format, const QStringList &values) {
  QString out;
  out.reserve(format.size() + 64);
  int next = 0;
  auto value = [&values](int index) {
    return index >= 0 && index < values.size() ? QString::fromLatin1(QUrl::toPercentEncoding(values.at(index)))
                                               : QString();
  };
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format.at(i);
    if (c != QLatin1Char('%') || i + 1 >= format.size()) {
      out.append(c);
      continue;
    }
    const QChar d = format.at(i + 1);
    if (d == QLatin1Char('%')) {
      out.append(QLatin1Char('%'));
      ++i;
    } else if (d == QLatin1Char('@')) {
      out.append(value(next++));
      ++i;
    } else if (d >= QLatin1Char('1') && d <= QLatin1Char('9') && i + 3 < format.size() &&
               format.at(i + 2) == QLatin1Char('$') && format.at(i + 3) == QLatin1Char('@')) {
      out.append(value(d.digitValue() - 1));
      i += 3;
    } else {
      out.append(c);
    }
  }
  return out;
}

QString formatCalendarDate(const QDateTime &date, const QString &format) {
  const QLocale c = QLocale::c();
  const QDate day = date.date();
  const QTime time = date.time();
  QString out;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar ch = format.at(i);
    if (ch != QLatin1Char('%') || i + 1 >= format.size()) {
      out.append(ch);
      continue;
    }
    const char d = format.at(++i).toLatin1();
    switch (d) {
    case 'Y':
      out += QString::number(day.year());
      break;
    case 'y':
      out += QStringLiteral("%1").arg(day.year() % 100, 2, 10, QLatin1Char('0'));
      break;
    case 'm':
      out += QStringLiteral("%1").arg(day.month(), 2, 10, QLatin1Char('0'));
      break;
    case 'd':
      out += QStringLiteral("%1").arg(day.day(), 2, 10, QLatin1Char('0'));
      break;
    case 'e':
      out += QString::number(day.day());
      break;
    case 'H':
      out += QStringLiteral("%1").arg(time.hour(), 2, 10, QLatin1Char('0'));
      break;
    case 'I':
      out += QStringLiteral("%1").arg(time.hour() % 12 == 0 ? 12 : time.hour() % 12, 2, 10, QLatin1Char('0'));
      break;
    case 'M':
      out += QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0'));
      break;
    case 'S':
      out += QStringLiteral("%1").arg(time.second(), 2, 10, QLatin1Char('0'));
      break;
    case 'F':
      out += QStringLiteral("%1").arg(time.msec(), 3, 10, QLatin1Char('0'));
      break;
    case 'p':
      out += time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
      break;
    case 'j':
      out += QStringLiteral("%1").arg(day.dayOfYear(), 3, 10, QLatin1Char('0'));
      break;
    case 'A':
      out += c.dayName(day.dayOfWeek(), QLocale::LongFormat);
      break;
    case 'a':
      out += c.dayName(day.dayOfWeek(), QLocale::ShortFormat);
      break;
    case 'B':
      out += c.monthName(day.month(), QLocale::LongFormat);
      break;
    case 'b':
      out += c.monthName(day.month(), QLocale::ShortFormat);
      break;
    case 'Z':
      out += date.timeZoneAbbreviation();
      break;
    case 'z': {
      const int offset = date.offsetFromUtc() / 60;
      out += QStringLiteral("%1%2%3")
                 .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                 .arg(qAbs(offset) / 60, 2, 10, QLatin1Char('0'))
                 .arg(qAbs(offset) % 60, 2, 10, QLatin1Char('0'));
      break;
    }
    case 'c':
      out += formatCalendarDate(date, QStringLiteral("%a %b %d %H:%M:%S %Z %Y"));
      break;
    case 'x':
      out += formatCalendarDate(date, QStringLiteral("%m/%d/%y"));
      break;
    case 'X':
      out += formatCalendarDate(date, QStringLiteral("%H:%M:%S"));
      break;
    case '%':
      out += QLatin1Char('%');
      break;
    default:
      out += QLatin1Char('%');
      out += format.at(i);
      break;
    }
  }
  return out;
}

QString systemDateTimeString(const QDateTime &date) {
  const QLocale locale;
  QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
  // Medium style shows seconds; the short pattern lacks them.
  if (!timeFormat.contains(QLatin1Char('s'))) {
    const qsizetype m = timeFormat.lastIndexOf(QLatin1String("mm"));
    if (m >= 0)
      timeFormat.insert(m + 2, QStringLiteral(":ss"));
  }
  // The fields of the moment in the local zone, whatever zone the date carries.
  const QDateTime local = date.toLocalTime();
  return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         locale.toString(local.time(), timeFormat);
}

QString fillWordedFormat(const QString &format, const QVariantList &values) {
  QString out;
  int next = 0;
  const int n = int(format.size());
  for (int i = 0; i < n; ++i) {
    const QChar c = format.at(i);
    if (c != QLatin1Char('%') || i + 1 >= n) {
      out += c;
      continue;
    }
    if (format.at(i + 1) == QLatin1Char('%')) {
      out += QLatin1Char('%');
      ++i;
      continue;
    }
    // %[flags][width][.precision][length]conversion
    int j = i + 1;
    bool zero = false, left = false;
    while (j < n && QStringLiteral("-+ #0").contains(format.at(j))) {
      zero = zero || format.at(j) == QLatin1Char('0');
      left = left || format.at(j) == QLatin1Char('-');
      ++j;
    }
    int width = 0;
    while (j < n && format.at(j).isDigit() && width < 100)
      width = width * 10 + format.at(j++).digitValue();
    while (j < n && format.at(j).isDigit())
      ++j; // an absurd width is capped
    if (j < n && format.at(j) == QLatin1Char('.')) {
      ++j;
      while (j < n && format.at(j).isDigit())
        ++j;
    }
    while (j < n && QStringLiteral("hlqLjzt").contains(format.at(j)))
      ++j;
    if (j >= n || !QStringLiteral("diouxXeEfgGcsSp@").contains(format.at(j))) {
      out += c; // not a conversion: kept as text
      continue;
    }
    const QChar conversion = format.at(j);
    const QVariant value = values.value(next++);
    QString text;
    if (value.isValid()) {
      if (QStringLiteral("diu").contains(conversion))
        text = QString::number(value.toLongLong());
      else if (conversion == QLatin1Char('x') || conversion == QLatin1Char('X'))
        text = QString::number(value.toLongLong(), 16);
      else
        text = value.toString();
      if (conversion == QLatin1Char('X'))
        text = text.toUpper();
    }
    if (text.size() < width) {
      const QString pad(width - text.size(), zero && !left && value.isValid() && !text.startsWith(QLatin1Char('-'))
                                                 ? QLatin1Char('0')
                                                 : QLatin1Char(' '));
      text = left ? text + pad : pad + text;
    }
    out += text;
    i = j;
  }
  return out;
}
