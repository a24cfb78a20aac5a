#include "CallPackages.h"

#include "UIMsg.h"

#include <QtEndian>
#include <algorithm>

namespace CallPackages {

QString textAt(const UIMsg &msg, int offset, int width) {
  const int length = std::clamp(msg.dataLength, 0, UIMsg::kDataSize);
  if (offset < 0 || width <= 0 || offset >= length)
    return {};
  const int end = std::min(offset + width, length);
  const char *begin = reinterpret_cast<const char *>(msg.data.data()) + offset;
  const char *stop = std::find(begin, begin + (end - offset), '\0');
  return QString::fromUtf8(begin, stop - begin);
}

quint32 wordAt(const UIMsg &msg, int offset) {
  const int length = std::clamp(msg.dataLength, 0, UIMsg::kDataSize);
  if (offset < 0 || offset + 4 > length)
    return 0;
  return qFromLittleEndian<quint32>(msg.data.data() + offset);
}

QString dialableNumber(const QString &text) {
  static const QString allowed = QStringLiteral("0123456789+PW*#");
  QString kept;
  for (const QChar c : text) {
    if (kept.size() >= kDialNumberLimit)
      break;
    if (allowed.contains(c))
      kept += c;
  }
  return kept;
}

QString incomingNumber(const UIMsg &msg) {
  return dialableNumber(textAt(msg, 0, kIncomingNumberWidth));
}

QString waitingNumber(const UIMsg &msg) {
  return dialableNumber(textAt(msg, 0, kWaitingNumberWidth));
}

int stageCode(const UIMsg &msg) {
  return int(wordAt(msg, 0));
}

QStringList emergencyNumbers(const UIMsg &msg) {
  QStringList out;
  for (int i = 0; i < kEmergencyCount; ++i) {
    const QString number = textAt(msg, i * kEmergencyWidth, kEmergencyWidth);
    if (number.isEmpty())
      break;
    out << number;
  }
  return out;
}

QList<CallerRecord> callerList(const UIMsg &msg) {
  const int length = std::clamp(msg.dataLength, 0, UIMsg::kDataSize);
  const int fit = length < 4 ? 0 : (length - 4) / kCallerRecordSize;
  const quint32 count = std::min<quint32>({wordAt(msg, 0), quint32(kMaxCallers), quint32(fit)});
  QList<CallerRecord> out;
  for (int i = 0; i < int(count); ++i) {
    const int at = 4 + i * kCallerRecordSize;
    CallerRecord r;
    r.id = int(wordAt(msg, at));
    r.direction = int(wordAt(msg, at + 4));
    r.state = int(wordAt(msg, at + 8));
    r.number = dialableNumber(textAt(msg, at + kCallerNumberOffset, kCallerNumberWidth));
    out << r;
  }
  return out;
}

QByteArray dialData(const QString &number) {
  QByteArray data = number.toUtf8().left(kDialNumberSize);
  data.append(QByteArray(kDialNumberSize - data.size(), '\0'));
  return data;
}

} // namespace CallPackages
