#pragma once

#include "SmsCodecSettings.h"

#include <cstdint>

// Coders between SMS PDUs in hexadecimal text (the form AT commands carry, service-centre
// address first) and a flat message record.

inline constexpr int kSmsPduTextSize = 200;
// The longest PDU text an encoder writes, with its terminating NUL: size `out` for it.
inline constexpr int kSmsPduHexSize = 400;

struct SmsPduRecord {
  char sca[36];     // service-centre address, at most 32 digits, "+" for international
  char address[45]; // originating, destination or recipient address; a broadcast's identifier
  uint8_t pid;      // TP-PID; TP-MR for a decoded SMS-SUBMIT or status report
  uint8_t dcs;      // TP-DCS; after decoding the coding: 0 GSM 7-bit, 4 8-bit, 8 UCS2
  // YYMMDDhhmmsszz in reading order; zz is the time zone in quarter hours, its first digit
  // with the high bit set (8-F) for a zone west of UTC
  char scts[15];
  // The user data: GSM septets one per byte, 8-bit data, or UCS2 in host byte order,
  // terminated. For the encoders, when hasUdh is 1 the header (its length octet, then the
  // elements) comes first and the text follows it.
  uint8_t text[kSmsPduTextSize];
  int textLength; // the text after any header: septets for GSM 7-bit, otherwise octets
  char dischargeTime[15];
  uint8_t status;
  uint8_t hasUdh;
  uint8_t concatIei; // 0 (8-bit reference) or 8 (16-bit reference)
  uint8_t concatRef8;
  uint8_t concatTotal;
  uint8_t concatSeq;
  uint16_t concatRef16;
  uint8_t reportFlag;
  uint32_t messageClass;        // 0-3, 99 when the coding scheme carries no class
  uint8_t lockingShiftLanguage; // 1 Turkish, 2 Spanish, 3 Portuguese, 0 none
};

// Decoders: the text length, -1 on null arguments or a PDU that ends early or is not
// hexadecimal. The record is cleared first.
int DecodePdu_Delivery(const char *pdu, SmsPduRecord *record, const SmsPduSettings &settings = {});
int DecodePdu_Submit(const char *pdu, SmsPduRecord *record, const SmsPduSettings &settings = {});
int Decode_Class0_PDU(const char *pdu, SmsPduRecord *record, const SmsPduSettings &settings = {});
// A cell-broadcast page (no service-centre address).
int Decode_BroadCast_PDU(const char *pdu, SmsPduRecord *record);
// 0, or -1 as above.
int STATUS_REPORT_PDU(const char *pdu, SmsPduRecord *record);

// Encoders: the PDU text length, -1 on null arguments or user data that does not fit.
// out needs kSmsPduHexSize chars.
int EncodePdu_Submit(const SmsPduRecord *record, char *out, const SmsPduSettings &settings = {});
// A sender with characters besides a leading "+", digits, "*" and "#" is written as a name
// (packed GSM septets, at most eleven, type 0xD0).
int EncodePdu_Delivery(const SmsPduRecord *record, char *out, const SmsPduSettings &settings = {});

// "2026-12-10 12:56:49" to the seven semi-octet fields of a PDU time stamp (time zone 0).
// out needs 15 chars. Answers 14, -1 on null arguments or an unreadable time.
int EncodeTimeStrToPDUFormat(const char *time, char *out);

// The user data in hexadecimal, beginning with its length in septets, unpacked one septet per
// byte into out (at least 161 bytes), terminated. Reads the header when hasUdh is set. Answers
// the septet count, 0 when the length exceeds 160 or the data is malformed.
int dc7BitHexStr2Str(const char *udHex, uint8_t *out, SmsPduRecord *record, int hasUdh);

// The index of the first run of eight zero bytes within the first 180 bytes, -1 when none.
int findEndCusor(const uint8_t *buffer);
