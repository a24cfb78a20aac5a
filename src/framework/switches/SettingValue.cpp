#include "SettingValue.h"

#include <QString>
#include <cmath>
#include <limits>

namespace SettingValue {

namespace {

int saturate(double d) {
  if (std::isnan(d))
    return 0;
  if (d >= double(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  if (d <= double(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  return int(d);
}

int leadingInt(const QString &text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && text.at(i).isSpace())
    ++i;
  bool negative = false;
  if (i < n && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
    negative = text.at(i++) == QLatin1Char('-');
  qint64 v = 0;
  for (; i < n && text.at(i).unicode() >= u'0' && text.at(i).unicode() <= u'9'; ++i) {
    v = v * 10 + (text.at(i).unicode() - u'0');
    if (v > qint64(std::numeric_limits<int>::max()) + 1)
      break;
  }
  if (negative)
    v = -v;
  return saturate(double(v));
}

} // namespace

bool toBool(const QVariant &value) {
  switch (value.typeId()) {
  case QMetaType::Bool:
    return value.toBool();
  case QMetaType::Int:
  case QMetaType::UInt:
  case QMetaType::LongLong:
  case QMetaType::ULongLong:
    return value.toLongLong() != 0;
  case QMetaType::Double:
  case QMetaType::Float:
    return value.toDouble() != 0.0;
  case QMetaType::QString: {
    const QString text = value.toString();
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
      ++i;
    while (i < text.size() && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
      ++i;
    while (i < text.size() && text.at(i) == QLatin1Char('0'))
      ++i;
    if (i >= text.size())
      return false;
    const char16_t c = text.at(i).unicode();
    return c == u'Y' || c == u'y' || c == u'T' || c == u't' || (c >= u'1' && c <= u'9');
  }
  default:
    return false;
  }
}

int toInt(const QVariant &value) {
  switch (value.typeId()) {
  case QMetaType::Bool:
    return value.toBool() ? 1 : 0;
  case QMetaType::Int:
  case QMetaType::UInt:
  case QMetaType::LongLong:
  case QMetaType::ULongLong:
  case QMetaType::Double:
  case QMetaType::Float:
    return saturate(value.toDouble());
  case QMetaType::QString:
    return leadingInt(value.toString());
  default:
    return 0;
  }
}

double toDouble(const QVariant &value) {
  switch (value.typeId()) {
  case QMetaType::Bool:
  case QMetaType::Int:
  case QMetaType::UInt:
  case QMetaType::LongLong:
  case QMetaType::ULongLong:
  case QMetaType::Double:
  case QMetaType::Float:
    return value.toDouble();
  case QMetaType::QString: {
    // The leading number of the text, as a C reader would take it.
    const QString text = value.toString().trimmed();
    qsizetype end = 0;
    while (end < text.size() && end < 64 && QStringLiteral("+-.0123456789eE").contains(text.at(end)))
      ++end;
    for (qsizetype len = end; len > 0; --len) {
      bool ok = false;
      const double d = text.left(len).toDouble(&ok);
      if (ok)
        return std::isfinite(d) ? d : 0.0;
    }
    return 0.0;
  }
  default:
    return 0.0;
  }
}

} // namespace SettingValue
