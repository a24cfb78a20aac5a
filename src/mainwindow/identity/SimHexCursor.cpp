#include "SimHexCursor.h"

#include "HexDigits.h"
#include "UIMsg.h"

#include <algorithm>

QByteArray SimHexCursor::fieldText(const UIMsg &msg, int offset, int width) {
  if (offset < 0 || width <= 0 || offset >= msg.dataLength)
    return {};
  const int end = std::min(offset + width, int(msg.dataLength));
  const char *begin = reinterpret_cast<const char *>(msg.data.data()) + offset;
  const int len = int(std::find(begin, begin + (end - offset), '\0') - begin);
  return QByteArray(begin, len);
}

uint32_t SimHexCursor::peekHex(int width) const {
  uint32_t value = 0;
  const int end = pos_ + std::min(width, std::max(0, remaining()));
  for (int i = pos_; i < end; ++i) {
    const int digit = hexDigitValue(text_.at(i));
    if (digit < 0)
      break;
    value = (value << 4) | uint32_t(digit);
  }
  return value;
}

void SimHexCursor::skip(int count) {
  pos_ = std::min(int(text_.size()), pos_ + count);
}

QString SimHexCursor::peeksemioctex() const {
  if (atEnd())
    return {};
  if (remaining() == 1)
    return QString(QLatin1Char(text_.at(pos_)));
  const char first = text_.at(pos_);
  const char second = text_.at(pos_ + 1);
  if (first == 'F')
    return QString(QLatin1Char(second));
  return QString(QLatin1Char(second)) + QLatin1Char(first);
}

QString SimHexCursor::getsemioctex() {
  QString s = peeksemioctex();
  skipsemioctex();
  return s;
}

uint32_t SimHexCursor::getsemi_triple() {
  QString joined;
  for (int i = 0; i < 3; ++i)
    joined += getsemioctex();
  // Read as the C conversion does: up to the first character that is not hexadecimal, and at
  // most the 6 digits a triple can hold.
  SimHexCursor digits(joined.toLatin1());
  return digits.peekHex(6);
}
