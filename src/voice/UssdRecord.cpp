#include "UssdRecord.h"

#include "SmsPacking.h"

#include <QtEndian>

namespace UssdRecord {

namespace {

qint32 wordAt(const QByteArray &data, int offset) {
  if (data.size() < offset + 4)
    return 0;
  return qFromLittleEndian<qint32>(data.constData() + offset);
}

QByteArray textField(const QByteArray &data) {
  if (data.size() <= kTextOffset)
    return {};
  const QByteArray field = data.mid(kTextOffset, kTextSize);
  const int nul = field.indexOf('\0');
  return nul < 0 ? field : field.left(nul);
}

} // namespace

QByteArray requestData(int n, int codeType, const QString &text, bool gsm7, const SmsCodecSettings &settings) {
  QByteArray encoded;
  if (gsm7)
    encoded = CodeTheSendingString(text, settings).toLatin1();
  else if (codeType == 15)
    encoded = text.toUtf8();
  if (encoded.size() >= kTextSize)
    return {};
  QByteArray record(kRecordSize, '\0');
  qToLittleEndian<qint32>(n, record.data());
  qToLittleEndian<qint32>(codeType, record.data() + 4);
  std::copy(encoded.cbegin(), encoded.cend(), record.begin() + kTextOffset);
  return record;
}

QString ucs2FromHex(const QByteArray &hex) {
  QString out;
  for (int i = 0; i + 4 <= hex.size(); i += 4) {
    bool ok = false;
    const uint unit = hex.mid(i, 4).toUInt(&ok, 16);
    if (!ok)
      break;
    out.append(QChar(char16_t(unit)));
  }
  return out;
}

Reply decodeReply(const QByteArray &data, bool gsm7, const SmsCodecSettings &settings) {
  Reply r;
  r.interaction = wordAt(data, 0);
  r.dcs = wordAt(data, 4);
  if (r.dcs <= 0)
    return r;
  const QByteArray text = textField(data);
  const int group = (r.dcs >> 4) & 0xF, low = r.dcs & 0xF;
  const auto seven = [&] {
    return gsm7 ? DecodeTheFeedbackStringWithGSM7(QString::fromLatin1(text), settings) : QString::fromUtf8(text);
  };
  r.decoded = true;
  if (group == 0) {
    r.text = seven();
  } else if (group == 1) {
    r.text = low == 1 ? ucs2FromHex(text.mid(4)) : QString::fromUtf8(text);
  } else if (group >= 4 && group <= 7) {
    // Alphabet bits 10 are UCS2, 00 the default alphabet; 01 (8-bit) is shown as it comes.
    const int alphabet = (low >> 2) & 3;
    r.text = alphabet == 2 ? ucs2FromHex(text) : alphabet == 0 ? seven() : QString::fromUtf8(text);
  } else if (group == 15) {
    r.text = (low & 4) ? QString::fromUtf8(text) : seven();
  } else if (group == 14) {
    r.decoded = false;
  } else {
    r.text = QString::fromUtf8(text);
  }
  return r;
}

} // namespace UssdRecord
