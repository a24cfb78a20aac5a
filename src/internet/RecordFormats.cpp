#include "RecordFormats.h"

#include "ConfigService.h"
#include "WordGlobe.h"

#include <QTimeZone>
#include <cmath>

namespace {

// One printf conversion of a number, done by Qt.
QString convert(QChar conversion, const QString &flags, int width, int precision, double value) {
  const bool leftAlign = flags.contains(u'-');
  const bool zeroPad = flags.contains(u'0') && !leftAlign;
  QString body;
  bool negative = false;
  if (conversion == u'f' || conversion == u'F') {
    if (!std::isfinite(value)) {
      body = std::isnan(value) ? QStringLiteral("nan") : QStringLiteral("inf");
      negative = value < 0;
    } else {
      negative = std::signbit(value) && value != 0;
      body = QString::number(std::fabs(value), 'f', precision < 0 ? 6 : std::min(precision, 30));
    }
  } else {
    // Integer conversions take the value's integer part, as a cast would.
    const double clamped = std::isfinite(value) ? std::clamp(value, -9.2e18, 9.2e18) : 0.0;
    qint64 v = qint64(clamped);
    if (conversion == u'u' && v < 0)
      v = qint64(quint32(qint32(v)));
    negative = v < 0;
    body = QString::number(negative ? -(v + 1) + 1ULL : quint64(v));
    if (precision >= 0 && body.size() < precision)
      body = QString(precision - body.size(), u'0') + body;
  }
  QString sign = negative               ? QStringLiteral("-")
                 : flags.contains(u'+') ? QStringLiteral("+")
                 : flags.contains(u' ') ? QStringLiteral(" ")
                                        : QString();
  const int padding = std::max(0, std::min(width, 64) - int(sign.size() + body.size()));
  if (leftAlign)
    return sign + body + QString(padding, u' ');
  if (zeroPad)
    return sign + QString(padding, u'0') + body;
  return QString(padding, u' ') + sign + body;
}

} // namespace

QString fillNumberPattern(const QString &pattern, const QList<double> &values) {
  QString out;
  int next = 0;
  const int n = int(pattern.size());
  for (int i = 0; i < n; ++i) {
    const QChar c = pattern[i];
    if (c != u'%') {
      out.append(c);
      continue;
    }
    if (i + 1 < n && pattern[i + 1] == u'%') {
      out.append(u'%');
      ++i;
      continue;
    }
    int j = i + 1;
    QString flags;
    while (j < n && QStringLiteral("0-+ #").contains(pattern[j]))
      flags.append(pattern[j++]);
    int width = 0;
    while (j < n && pattern[j].isDigit() && pattern[j].unicode() < 128)
      width = std::min(width * 10 + pattern[j++].digitValue(), 1000);
    int precision = -1;
    if (j < n && pattern[j] == u'.') {
      ++j;
      precision = 0;
      while (j < n && pattern[j].isDigit() && pattern[j].unicode() < 128)
        precision = std::min(precision * 10 + pattern[j++].digitValue(), 1000);
    }
    while (j < n && (pattern[j] == u'l' || pattern[j] == u'h'))
      ++j;
    if (j < n && QStringLiteral("diufF").contains(pattern[j])) {
      if (next < values.size())
        out.append(convert(pattern[j], flags, width, precision, values[next]));
      ++next;
      i = j;
      continue;
    }
    out.append(c); // not a conversion we fill: the text stays as it stands
  }
  return out;
}

QString wordedNumber(const QString &key, const QList<double> &values) {
  return fillNumberPattern(Map_Name_Item_of_IndexString(key), values);
}

QString durationText(qint64 t) {
  return fillNumberPattern(QStringLiteral("%02d:%02d:%02d"), {double(t / 3600), double(t % 3600 / 60), double(t % 60)});
}

QString formatTransferData(double value, const QStringList &unitFormats) {
  if (value < 0 || unitFormats.size() < 3)
    return QString("");
  const double k = value / 1024;
  if (k < 1024)
    return wordedNumber(unitFormats[0], {k});
  if (k < 1048576)
    return wordedNumber(unitFormats[1], {k / 1024});
  return wordedNumber(unitFormats[2], {k / 1048576});
}

QString formatTransferData(double bytes) {
  if (ConfigService::readValue(QStringLiteral("Internet"), QStringLiteral("DataWithMB")).toBool())
    return wordedNumber(QStringLiteral("%0.2f"), {bytes / 1048576});
  if (ConfigService::readValue(QStringLiteral("Internet"), QStringLiteral("dataType")).toString() ==
      QLatin1String("Kb"))
    return formatTransferData(bytes * 8,
                              {QStringLiteral("%0.2f Kb"), QStringLiteral("%0.2f Mb"), QStringLiteral("%0.2f Gb")});
  return formatTransferData(bytes,
                            {QStringLiteral("%0.2f KB"), QStringLiteral("%0.2f MB"), QStringLiteral("%0.2f GB")});
}

QString autoChangeKBDataToMBGBUnit(double kb) {
  if (kb >= 1048576)
    return wordedNumber(QStringLiteral("%0.2f GB"), {kb / 1024 / 1024});
  if (kb >= 1024)
    return wordedNumber(QStringLiteral("%0.2f MB"), {kb / 1024});
  return wordedNumber(QStringLiteral("%0.2f KB"), {kb});
}

QString formatWordsForCSV(const QString &text) {
  if (text.isNull())
    return QString();
  QString out = text;
  out.replace(u'"', QStringLiteral("\"\""));
  if (out.contains(u',') || out.contains(u'"'))
    out = u'"' + out + u'"';
  return out;
}

namespace {

QString anyText(const QVariant &v) {
  if (v.typeId() == QMetaType::QDateTime)
    return v.toDateTime().toString(Qt::ISODate);
  return v.toString();
}

QString dateText(qint64 ms, const RecordFieldFormats &formats) {
  const QDateTime date = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc()).toLocalTime();
  return formats.date ? formats.date(date) : date.toString(Qt::ISODate);
}

// The field as the exports write it; `amountsFormatted` picks the table's form of the amounts.
QString exportField(const DialRecord &r, const QString &key, const RecordFieldFormats &formats, bool amountsFormatted) {
  if (key == kRecordReceiveByte || key == kRecordSendByte) {
    const QVariant &stored = key == kRecordReceiveByte ? r.receiveByte : r.sendByte;
    if (!stored.isValid())
      return QString("");
    if (!amountsFormatted)
      return anyText(stored);
  }
  return recordFieldText(r, key, formats);
}

QString wordOf(const RecordFieldFormats &formats, const QString &key) {
  return formats.word ? formats.word(key) : Map_Name_Item_of_IndexString(key);
}

} // namespace

QString recordFieldText(const DialRecord &r, const QString &key, const RecordFieldFormats &formats) {
  if (key == kRecordConnectName)
    return r.hasName ? r.connectName : QString("");
  if (key == kRecordConnectTime)
    return r.hasConnectTime ? durationText(r.connectTime) : QString("");
  if (key == kRecordStartTime)
    return r.hasStart ? dateText(r.startMs, formats) : QString("");
  if (key == kRecordDisconnectTime)
    return r.hasDisconnect ? dateText(r.disconnectMs, formats) : QString("");
  if (key == kRecordReceiveByte)
    return r.receiveByte.isValid() ? formats.transferData(r.receiveKB * 1024) : QString("");
  if (key == kRecordSendByte)
    return r.sendByte.isValid() ? formats.transferData(r.sendKB * 1024) : QString("");
  return anyText(r.extra.value(key));
}

QString recordsAsText(const DialRecordList &records, const RecordFieldFormats &formats, bool amountsFormatted) {
  const QString separator = QStringLiteral("\t\t");
  QString out;
  for (const QString &title : RecordFileHeaderTitles())
    out += wordOf(formats, title) + separator;
  out += u'\n';
  for (const DialRecord &r : records) {
    for (const QString &key : RecordFileHeaderKeys())
      out += exportField(r, key, formats, amountsFormatted) + separator;
    out += u'\n';
  }
  return out;
}

QString recordsAsCsv(const DialRecordList &records, const RecordFieldFormats &formats) {
  QString out;
  for (const QString &title : RecordFileHeaderTitles())
    out += wordOf(formats, title) + u',';
  out += u'\n';
  for (const DialRecord &r : records) {
    for (const QString &key : RecordFileHeaderKeys()) {
      QString field = exportField(r, key, formats, true);
      // Names, and dates whose text holds a comma (a date style may), must not split the line.
      if (key == kRecordConnectName || key == kRecordStartTime || key == kRecordDisconnectTime)
        field = formatWordsForCSV(field);
      out += field + u',';
    }
    out += u'\n';
  }
  return out;
}
