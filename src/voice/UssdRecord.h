#pragma once

#include "SmsCodecSettings.h"

#include <QByteArray>
#include <QString>

// The USSD request and reply record of the backend (module 7): an interaction word, a code
// word and a NUL-terminated text. It travels as 8192 bytes: the two words and a text field of
// 8184 bytes, so a full text always keeps its terminator inside the record.
namespace UssdRecord {

inline constexpr int kModule = 7;
inline constexpr int kMajor = 1792, kRequestMinor = 139, kReplyMinor = 140;
inline constexpr int kRecordSize = 8192;
inline constexpr int kTextOffset = 8;
inline constexpr int kTextSize = kRecordSize - kTextOffset;

// The request: `n` and the code type, and the text packed as GSM 7-bit hexadecimal when
// `gsm7` is on, else as UTF-8 for code type 15 only (other code types send an empty text).
// Empty when the encoded text does not fit the text field: nothing must then be sent.
QByteArray requestData(int n, int codeType, const QString &text, bool gsm7, const SmsCodecSettings &settings = {});

struct Reply {
  int interaction = 0;
  int dcs = 0;
  QString text;
  bool decoded = false; // false: a scheme whose text is not read; the text is then empty
};

// The network reply, read within the data the package carries (short data reads as zeros, a
// text without NUL stops at the data's end).
Reply decodeReply(const QByteArray &data, bool gsm7, const SmsCodecSettings &settings = {});

// UTF-16 units from hexadecimal text, four digits a unit; a short tail or a bad group ends it.
QString ucs2FromHex(const QByteArray &hex);

} // namespace UssdRecord
