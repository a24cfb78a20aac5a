#pragma once

#include "SmsCodecSettings.h"

#include <cstdint>

// Message text held as UTF-16 code units, converted to and from GSM 7-bit characters (one
// septet per byte, not packed; an extension or national character is the escape 0x1B followed
// by its code). Every function is pure: the configuration it depends on is passed in.
// -1 reports bad arguments.

inline constexpr uint8_t kSmsEscape = 0x1B;

// Per-part limits, in septets for GSM text and in units for UCS2 text.
inline constexpr int kSmsGsmSingleLimit = 160;
inline constexpr int kSmsGsmMultiLimit = 153;
inline constexpr int kSmsNationalSingleLimit = 155;
inline constexpr int kSmsNationalMultiLimit = 149;
inline constexpr int kSmsUcs2SingleLimit = 70;
inline constexpr int kSmsUcs2MultiLimit = 67;

// 1 when every unit is GSM-codable, 0 when one is not, -1 when text is null.
int IfUcs2IsSMS7(const char16_t *text, int count, const SmsCodecSettings &settings);

// Converts to GSM septets; out needs 2 × count bytes. Answers the septets written (escaped
// characters count 2), -1 on bad arguments. What has no GSM place becomes a space.
int Ucs2toSMS7(uint8_t *out, int outSize, const char16_t *text, int count, const SmsCodecSettings &settings);

// Converts GSM septets to UTF-16; out needs count units. Answers the units written.
int SMS7toUcs2(char16_t *out, int outCount, const uint8_t *septets, int count, const SmsCodecSettings &settings);

// The same through the Turkish or Portuguese national locking-shift table.
int SMS7toUcs2_Turkish(char16_t *out, int outCount, const uint8_t *septets, int count);
int SMS7toUcs2_Portuguese(char16_t *out, int outCount, const uint8_t *septets, int count);

// The characters a text costs: septets for a GSM text, units for a UCS2 text.
int getInputTextNum(const char16_t *text, unsigned count, const SmsCodecSettings &settings);
// The number of SMS parts (0 for an empty text).
int getInputPackNum(const char16_t *text, unsigned count, const SmsCodecSettings &settings);
// The per-part limit of a multi-part message: 67, 153 or 149.
int getSingleMaxInputLen(const char16_t *text, unsigned count, const SmsCodecSettings &settings);
// multiPart 0: the one-part limit 70, 160 or 155; otherwise `getSingleMaxInputLen`.
int getSingleMaxLength(const char16_t *text, unsigned count, char multiPart, const SmsCodecSettings &settings);
// The multi-part limit times `parts` (also for one part).
int getMaxTextNum(const char16_t *text, int count, unsigned parts, const SmsCodecSettings &settings);
// The number of leading units to keep so that the text fits in `parts` parts.
int cutMaxTextLen(const char16_t *text, unsigned count, unsigned parts, const SmsCodecSettings &settings);

// 1 when c is the UCS-2 side of an entry of the "PortugueseSingle" or "SpanishSingle" table.
int isSingleCharacter(const QString &tableName, char16_t c);
// 1 when the switch is on and c (below U+0100) is in the Spanish or the Portuguese table.
int needUcs2EncodingForSingleCharacter(char16_t c, const SmsCodecSettings &settings);
// 1 when every unit is one of the characters the editor may replace with "?".
int ifUcs2IsSpecial(const char16_t *text, int count);
// 1 when a byte is the escape.
int has0x1b(const uint8_t *septets, int count);

// One-character variants: `CharacterUcs2ToSms7` answers 1 or 2 septets (0 when c has no GSM
// place, a space is written then); `CharacterSms7ToUcs2` decodes one escape pair.
int CharacterUcs2ToSms7(char16_t c, uint8_t out[2], const SmsCodecSettings &settings);
char16_t CharacterSms7ToUcs2(const uint8_t pair[2], const SmsCodecSettings &settings);
char16_t CharacterSms7ToUcs2_Old(const uint8_t pair[2]);

// What a text costs, in one pass.
struct SmsTextCost {
  bool gsm = true;        // every unit is GSM-codable
  bool hasEscape = false; // the GSM form holds at least one escape
  int septets = 0;        // the GSM form's length (only meaningful when gsm)
  int units = 0;
};
SmsTextCost smsTextCost(const char16_t *text, int count, const SmsCodecSettings &settings);

// The default-alphabet and table entries, for tests and the alpha-identifier decoder.
char16_t smsDefaultAlphabet(uint8_t septet);
