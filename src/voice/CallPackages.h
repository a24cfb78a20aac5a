#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct UIMsg;

// The voice-call packages of the backend (module 9), decoded field by field within the data the
// package carries. Nothing here trusts a length or a terminator from the backend.
namespace CallPackages {

inline constexpr int kModule = 9;
inline constexpr int kInitMajor = 2305, kInitMinor = 0;
inline constexpr int kEmergencyMajor = 2308, kEmergencyMinor = 145;
inline constexpr int kEventMajor = 2306, kIncomingMinor = 146, kStageMinor = 147, kRingMinor = 148, kWaitingMinor = 149;
inline constexpr int kRequestMajor = 2307, kDialMinor = 150, kHangupMinor = 151, kAnswerMinor = 152, kDtmfMinor = 153,
                     kChldMinor = 163, kCallerListMinor = 164, kCallerListReplyMinor = 166, kChldReplyMinor = 167;

inline constexpr int kDialNumberSize = 100;
inline constexpr int kIncomingNumberWidth = 116;
inline constexpr int kWaitingNumberWidth = 44;
inline constexpr int kEmergencyCount = 16, kEmergencyWidth = 36;
inline constexpr int kMaxCallers = 8, kCallerRecordSize = 76, kCallerListSize = 4 + kMaxCallers * kCallerRecordSize;
inline constexpr int kCallerNumberOffset = 20, kCallerNumberWidth = 56;

// One record of the caller-list reply: +CLCC state 0 active, 1 held, 2 dialling, 3 alerting,
// 4 incoming, 5 waiting.
struct CallerRecord {
  int id = 0;
  int direction = 0; // 0 outgoing, 1 incoming
  int state = 0;
  QString number;
};

// A zero-terminated UTF-8 text in data bytes [offset, offset + width), cut at the data's end.
QString textAt(const UIMsg &msg, int offset, int width);
// A little-endian 32-bit word at `offset`; 0 when it lies beyond the data.
quint32 wordAt(const UIMsg &msg, int offset);

// What a number may hold wherever it is shown, dialled or logged: 0-9 + P W * #, at most 32 of
// them (the number field's length). Everything else is dropped.
inline constexpr int kDialNumberLimit = 32;
QString dialableNumber(const QString &text);

// The numbers below are passed through dialableNumber: a malformed package must not put control
// characters or a screenful of text into the number field, the caller's name or the log.
QString incomingNumber(const UIMsg &msg);
QString waitingNumber(const UIMsg &msg);
int stageCode(const UIMsg &msg);
// The emergency numbers in order, up to the first empty one, at most 16.
QStringList emergencyNumbers(const UIMsg &msg);
// The caller list: the count is clamped to 8 and to the records the data holds, each number
// passed through dialableNumber; a record's
// state outside 0..5 is kept as it is (the controller shows it as an unknown state).
QList<CallerRecord> callerList(const UIMsg &msg);

// The dial request's data: the number in UTF-8, zero-filled to 100 bytes, at most 100 copied.
QByteArray dialData(const QString &number);

} // namespace CallPackages
