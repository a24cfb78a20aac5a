#pragma once

#include "SmsCodecSettings.h"

#include <QString>
#include <cstdint>

// The octet-level half of the codec: septet packing, UCS2 byte order, hexadecimal text, SIM
// alpha identifiers, and the USSD text conversion built on them. Buffers are the caller's;
// each function says how large they must be.

// Packs n septets least significant bit first. Writes one octet for every septet whose index
// within its group of eight is not 0, so the bits the last septet leaves over are not written:
// pass one extra septet (the padding) and use ceil(7n/8) octets. out needs n octets.
// Answers the octets written, -1 on null buffers or n < 1.
int Encode7bit(const uint8_t *septets, uint8_t *out, int n);

// Unpacks n octets into n + n/7 septets and writes a 0 byte after them (out needs
// n + n/7 + 1 bytes). Answers the septets written, -1 on bad arguments.
int Decode7bit(const uint8_t *octets, uint8_t *out, int n);

// Packs n septets after startBit bits into out, which must be zeroed and hold
// ceil((startBit + 7n) / 8) octets; answers that octet count.
int packSeptetsAt(const uint8_t *septets, int n, uint8_t *out, int startBit);

// The seven bits starting at bitPosition, least significant first; bits past nOctets read 0.
uint8_t get7bitChar(const uint8_t *octets, int nOctets, int bitPosition);

// Two hexadecimal digits per byte, high digit first; out needs nChars/2 bytes. A character that
// is not a hexadecimal digit reads as 0. Answers nChars/2, -1 on bad arguments.
int String2Bytes(const char *hex, uint8_t *out, int nChars);

// Upper-case hexadecimal, NUL-terminated (out needs 2n + 1 chars). Answers 2n.
int Bytes2String(const uint8_t *bytes, char *out, int n);

// nDigits upper-case digits, high nibble first, not terminated. 0, or -1 when
// outSize < nDigits + 1 or an argument is null.
int HextoASC(char *out, int outSize, const uint8_t *bytes, int nDigits);

// ORs the digits into a zeroed out. 0, or -1 when outSize < nChars/2 + 1 or an argument is null.
int ASCtoHex(uint8_t *out, int outSize, const char *hex, int nChars);

// Reads n UCS-2 units starting two bytes after `in` (host order) and writes them big-endian.
// out needs 2n bytes. Answers 2n.
int EncodeUcs2(const uint8_t *in, uint8_t *out, int n);
// Big-endian pairs to host order, then a 16-bit zero (out needs nBytes + 2). Answers nBytes.
int DecodeUcs2(const uint8_t *in, uint8_t *out, int nBytes);
int Encode8bit(const uint8_t *in, uint8_t *out, int n);
// Copies and adds a 0 byte (out needs n + 1).
int Decode8bit(const uint8_t *in, uint8_t *out, int n);

// SIM alpha identifiers.
inline constexpr int kAlphaIdError = 0xFFFF;
// Writes the tag 0x80 and the units big-endian; 0, or 0xFFFF on bad arguments or a small out.
int utUcs2ToAlphaId(uint8_t *out, uint16_t outSize, const char16_t *units, uint16_t n);
// Answers the units written, 0xFFFF on bad arguments, an unknown tag or a small out.
int utAlphaIdToUcs2(char16_t *out, int outCount, const uint8_t *id, int n, const SmsCodecSettings &settings = {});
// Hexadecimal text of fewer than 512 characters: an alpha identifier when it begins "80", "81"
// or "82", else unpacked GSM septets. out[0] receives the unit count and the units follow (out
// needs 257 units). 0, or -1 on bad input.
int Usc2orGSM7toAscDecode(const char *hex, char16_t *out, const SmsCodecSettings &settings = {});

// USSD text: the request in packed GSM 7-bit as hexadecimal text, and the reply back.
// Seven spare bits at the end are filled with a carriage return, not zeros, so that the network
// does not read an "@"; a wanted carriage return on an octet boundary gets a second one.
QString CodeTheSendingString(const QString &text, const SmsCodecSettings &settings);
QString DecodeTheFeedbackStringWithGSM7(const QString &hex, const SmsCodecSettings &settings);
