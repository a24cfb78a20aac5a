#include "DialRecord.h"

#include <QDateTime>
#include <QTimeZone>

const QStringList &RecordFileHeaderKeys() {
  static const QStringList keys{kRecordConnectName, kRecordStartTime,   kRecordDisconnectTime,
                                kRecordConnectTime, kRecordReceiveByte, kRecordSendByte};
  return keys;
}

const QStringList &RecordFileHeaderTitles() {
  static const QStringList titles{QStringLiteral("Connect Name"),    QStringLiteral("Start Time"),
                                  QStringLiteral("Disconnect Time"), QStringLiteral("Duration"),
                                  QStringLiteral("Data Receive"),    QStringLiteral("Data Transport")};
  return titles;
}

double recordAmountValue(const QVariant &value) {
  switch (value.typeId()) {
  case QMetaType::Double:
  case QMetaType::Float:
  case QMetaType::LongLong:
  case QMetaType::Int:
  case QMetaType::ULongLong:
  case QMetaType::UInt:
  case QMetaType::Bool:
    return value.toDouble();
  case QMetaType::QString: {
    // As a float value of a text would: the leading decimal, spaces before it allowed.
    const QString text = value.toString().trimmed();
    int end = 0;
    if (end < text.size() && (text[end] == u'+' || text[end] == u'-'))
      ++end;
    bool dot = false, digits = false;
    for (; end < text.size(); ++end) {
      const QChar c = text[end];
      if (c.isDigit() && c.unicode() < 128)
        digits = true;
      else if (c == u'.' && !dot)
        dot = true;
      else
        break;
    }
    if (!digits)
      return 0;
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
      int e = end + 1;
      if (e < text.size() && (text[e] == u'+' || text[e] == u'-'))
        ++e;
      const int expStart = e;
      while (e < text.size() && text[e].isDigit() && text[e].unicode() < 128)
        ++e;
      if (e > expStart)
        end = e;
    }
    bool ok = false;
    const double v = text.left(end).toDouble(&ok);
    return ok && qIsFinite(v) ? v : 0;
  }
  default:
    return 0;
  }
}

void DialRecord::setReceiveByte(const QVariant &value) {
  fileText.clear();
  receiveByte = value;
  receiveKB = recordAmountValue(value);
}

void DialRecord::setSendByte(const QVariant &value) {
  fileText.clear();
  sendByte = value;
  sendKB = recordAmountValue(value);
}

bool DialRecord::sameContent(const DialRecord &o) const {
  return hasName == o.hasName && connectName == o.connectName && hasStart == o.hasStart && startMs == o.startMs &&
         hasDisconnect == o.hasDisconnect && disconnectMs == o.disconnectMs && hasConnectTime == o.hasConnectTime &&
         connectTime == o.connectTime && receiveByte == o.receiveByte && sendByte == o.sendByte && extra == o.extra;
}

QVariantMap DialRecord::toMap() const {
  QVariantMap map = extra;
  if (hasName)
    map.insert(kRecordConnectName, connectName);
  if (hasStart)
    map.insert(kRecordStartTime, QDateTime::fromMSecsSinceEpoch(startMs, QTimeZone::utc()));
  if (hasDisconnect)
    map.insert(kRecordDisconnectTime, QDateTime::fromMSecsSinceEpoch(disconnectMs, QTimeZone::utc()));
  if (hasConnectTime)
    map.insert(kRecordConnectTime, connectTime);
  if (receiveByte.isValid())
    map.insert(kRecordReceiveByte, receiveByte);
  if (sendByte.isValid())
    map.insert(kRecordSendByte, sendByte);
  return map;
}

namespace {
bool dateValue(const QVariant &v, qint64 *ms) {
  if (v.typeId() != QMetaType::QDateTime || !v.toDateTime().isValid())
    return false;
  *ms = v.toDateTime().toMSecsSinceEpoch();
  return true;
}
} // namespace

DialRecord DialRecord::fromMap(const QVariantMap &map) {
  DialRecord r;
  for (auto it = map.cbegin(); it != map.cend(); ++it) {
    const QString &key = it.key();
    const QVariant &v = it.value();
    if (key == kRecordConnectName && v.typeId() == QMetaType::QString) {
      r.connectName = v.toString();
      r.hasName = true;
    } else if (key == kRecordStartTime && dateValue(v, &r.startMs)) {
      r.hasStart = true;
    } else if (key == kRecordDisconnectTime && dateValue(v, &r.disconnectMs)) {
      r.hasDisconnect = true;
    } else if (key == kRecordConnectTime && (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int ||
                                             v.typeId() == QMetaType::Double || v.typeId() == QMetaType::QString)) {
      // A text or a real reads as its integer value, as the sums read it.
      r.connectTime = qint64(recordAmountValue(v));
      r.hasConnectTime = true;
    } else if (key == kRecordReceiveByte) {
      r.setReceiveByte(v);
    } else if (key == kRecordSendByte) {
      r.setSendByte(v);
    } else {
      r.extra.insert(key, v);
    }
  }
  return r;
}
