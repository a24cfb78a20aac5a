#pragma once

// The character tables of the GSM 7-bit alphabet, shared by the codec's source files.

#include <array>
#include <cstdint>

namespace smscodec {

struct ShiftPair {
  uint8_t gsm;
  char16_t ucs;
};

// Default alphabet. 0x1B (the escape) reads as a space when met alone.
inline constexpr std::array<char16_t, 128> kDefaultAlphabet = {
    u'@',      u'\u00A3', u'$',      u'\u00A5', u'\u00E8', u'\u00E9', u'\u00F9', u'\u00EC', // 0x00
    u'\u00F2', u'\u00C7', u'\n',     u'\u00D8', u'\u00F8', u'\r',     u'\u00C5', u'\u00E5', // 0x08
    u'\u0394', u'_',      u'\u03A6', u'\u0393', u'\u039B', u'\u03A9', u'\u03A0', u'\u03A8', // 0x10
    u'\u03A3', u'\u0398', u'\u039E', u' ',      u'\u00C6', u'\u00E6', u'\u00DF', u'\u00C9', // 0x18
    u' ',      u'!',      u'"',      u'#',      u'\u00A4', u'%',      u'&',      u'\'',     // 0x20
    u'(',      u')',      u'*',      u'+',      u',',      u'-',      u'.',      u'/',      // 0x28
    u'0',      u'1',      u'2',      u'3',      u'4',      u'5',      u'6',      u'7',      // 0x30
    u'8',      u'9',      u':',      u';',      u'<',      u'=',      u'>',      u'?',      // 0x38
    u'\u00A1', u'A',      u'B',      u'C',      u'D',      u'E',      u'F',      u'G',      // 0x40
    u'H',      u'I',      u'J',      u'K',      u'L',      u'M',      u'N',      u'O',      // 0x48
    u'P',      u'Q',      u'R',      u'S',      u'T',      u'U',      u'V',      u'W',      // 0x50
    u'X',      u'Y',      u'Z',      u'\u00C4', u'\u00D6', u'\u00D1', u'\u00DC', u'\u00A7', // 0x58
    u'\u00BF', u'a',      u'b',      u'c',      u'd',      u'e',      u'f',      u'g',      // 0x60
    u'h',      u'i',      u'j',      u'k',      u'l',      u'm',      u'n',      u'o',      // 0x68
    u'p',      u'q',      u'r',      u's',      u't',      u'u',      u'v',      u'w',      // 0x70
    u'x',      u'y',      u'z',      u'\u00E4', u'\u00F6', u'\u00F1', u'\u00FC', u'\u00E0', // 0x78
};

// Extension table entries (escape 0x1B followed by the code); every other code is empty.
inline constexpr ShiftPair kExtension[] = {
    {0x0A, u'\u000C'}, {0x14, u'^'},      {0x28, u'{'},      {0x29, u'}'},      {0x2F, u'\\'},
    {0x3C, u'['},      {0x3D, u'~'},      {0x3E, u']'},      {0x40, u'|'},      {0x41, u'\u00C1'},
    {0x55, u'\u00DA'}, {0x61, u'\u00E1'}, {0x65, u'\u20AC'}, {0x75, u'\u00FA'},
};

// National single-shift tables, without form feed and the second page break.
inline constexpr ShiftPair kSpanishSingle[] = {
    {0x09, u'\u00E7'}, {0x14, u'^'},      {0x28, u'{'},      {0x29, u'}'},      {0x2F, u'\\'},     {0x3C, u'['},
    {0x3D, u'~'},      {0x3E, u']'},      {0x40, u'|'},      {0x41, u'\u00C1'}, {0x49, u'\u00CD'}, {0x4F, u'\u00D3'},
    {0x55, u'\u00DA'}, {0x61, u'\u00E1'}, {0x65, u'\u20AC'}, {0x69, u'\u00ED'}, {0x6F, u'\u00F3'}, {0x75, u'\u00FA'},
};

inline constexpr ShiftPair kPortugueseSingle[] = {
    {0x05, u'\u00EA'}, {0x09, u'\u00E7'}, {0x0B, u'\u00D4'}, {0x0C, u'\u00F4'}, {0x0E, u'\u00C1'}, {0x0F, u'\u00E1'},
    {0x12, u'\u03A6'}, {0x13, u'\u0393'}, {0x14, u'^'},      {0x15, u'\u03A9'}, {0x16, u'\u03A0'}, {0x17, u'\u03A8'},
    {0x18, u'\u03A3'}, {0x19, u'\u0398'}, {0x1F, u'\u00CA'}, {0x28, u'{'},      {0x29, u'}'},      {0x2F, u'\\'},
    {0x3C, u'['},      {0x3D, u'~'},      {0x3E, u']'},      {0x40, u'|'},      {0x41, u'\u00C0'}, {0x49, u'\u00CD'},
    {0x4F, u'\u00D3'}, {0x55, u'\u00DA'}, {0x5B, u'\u00C3'}, {0x5C, u'\u00D5'}, {0x61, u'\u00C2'}, {0x65, u'\u20AC'},
    {0x69, u'\u00ED'}, {0x6F, u'\u00F3'}, {0x75, u'\u00FA'}, {0x7B, u'\u00E3'}, {0x7C, u'\u00F5'}, {0x7F, u'\u00E2'},
};

inline constexpr ShiftPair kTurkishSingle[] = {
    {0x14, u'^'},      {0x28, u'{'},      {0x29, u'}'},      {0x2F, u'\\'},     {0x3C, u'['},      {0x3D, u'~'},
    {0x3E, u']'},      {0x40, u'|'},      {0x47, u'\u011E'}, {0x49, u'\u0130'}, {0x53, u'\u015E'}, {0x63, u'\u00E7'},
    {0x65, u'\u20AC'}, {0x67, u'\u011F'}, {0x69, u'\u0131'}, {0x73, u'\u015F'},
};

// National locking-shift tables; 0x1B reads as a space.
inline constexpr std::array<char16_t, 128> kTurkishLocking = {
    u'@',      u'\u00A3', u'$',      u'\u00A5', u'\u20AC', u'\u00E9', u'\u00F9', u'\u0131', // 0x00
    u'\u00F2', u'\u00C7', u'\n',     u'\u011E', u'\u011F', u'\r',     u'\u00C5', u'\u00E5', // 0x08
    u'\u0394', u'_',      u'\u03A6', u'\u0393', u'\u039B', u'\u03A9', u'\u03A0', u'\u03A8', // 0x10
    u'\u03A3', u'\u0398', u'\u039E', u' ',      u'\u015E', u'\u015F', u'\u00DF', u'\u00C9', // 0x18
    u' ',      u'!',      u'"',      u'#',      u'\u00A4', u'%',      u'&',      u'\'',     // 0x20
    u'(',      u')',      u'*',      u'+',      u',',      u'-',      u'.',      u'/',      // 0x28
    u'0',      u'1',      u'2',      u'3',      u'4',      u'5',      u'6',      u'7',      // 0x30
    u'8',      u'9',      u':',      u';',      u'<',      u'=',      u'>',      u'?',      // 0x38
    u'\u0130', u'A',      u'B',      u'C',      u'D',      u'E',      u'F',      u'G',      // 0x40
    u'H',      u'I',      u'J',      u'K',      u'L',      u'M',      u'N',      u'O',      // 0x48
    u'P',      u'Q',      u'R',      u'S',      u'T',      u'U',      u'V',      u'W',      // 0x50
    u'X',      u'Y',      u'Z',      u'\u00C4', u'\u00D6', u'\u00D1', u'\u00DC', u'\u00A7', // 0x58
    u'\u00E7', u'a',      u'b',      u'c',      u'd',      u'e',      u'f',      u'g',      // 0x60
    u'h',      u'i',      u'j',      u'k',      u'l',      u'm',      u'n',      u'o',      // 0x68
    u'p',      u'q',      u'r',      u's',      u't',      u'u',      u'v',      u'w',      // 0x70
    u'x',      u'y',      u'z',      u'\u00E4', u'\u00F6', u'\u00F1', u'\u00FC', u'\u00E0', // 0x78
};

inline constexpr std::array<char16_t, 128> kPortugueseLocking = {
    u'@',      u'\u00A3', u'$',      u'\u00A5', u'\u00EA', u'\u00E9', u'\u00FA', u'\u00ED', // 0x00
    u'\u00F3', u'\u00E7', u'\n',     u'\u00D4', u'\u00F4', u'\r',     u'\u00C1', u'\u00E1', // 0x08
    u'\u0394', u'_',      u'\u00AA', u'\u00C7', u'\u00C0', u'\u221E', u'^',      u'\\',     // 0x10
    u'\u20AC', u'\u00D3', u'|',      u' ',      u'\u00C2', u'\u00E2', u'\u00CA', u'\u00C9', // 0x18
    u' ',      u'!',      u'"',      u'#',      u'\u00BA', u'%',      u'&',      u'\'',     // 0x20
    u'(',      u')',      u'*',      u'+',      u',',      u'-',      u'.',      u'/',      // 0x28
    u'0',      u'1',      u'2',      u'3',      u'4',      u'5',      u'6',      u'7',      // 0x30
    u'8',      u'9',      u':',      u';',      u'<',      u'=',      u'>',      u'?',      // 0x38
    u'\u00CD', u'A',      u'B',      u'C',      u'D',      u'E',      u'F',      u'G',      // 0x40
    u'H',      u'I',      u'J',      u'K',      u'L',      u'M',      u'N',      u'O',      // 0x48
    u'P',      u'Q',      u'R',      u'S',      u'T',      u'U',      u'V',      u'W',      // 0x50
    u'X',      u'Y',      u'Z',      u'\u00C3', u'\u00D5', u'\u00DA', u'\u00DC', u'\u00A7', // 0x58
    u'~',      u'a',      u'b',      u'c',      u'd',      u'e',      u'f',      u'g',      // 0x60
    u'h',      u'i',      u'j',      u'k',      u'l',      u'm',      u'n',      u'o',      // 0x68
    u'p',      u'q',      u'r',      u's',      u't',      u'u',      u'v',      u'w',      // 0x70
    u'x',      u'y',      u'z',      u'\u00E3', u'\u00F5', u'`',      u'\u00FC', u'\u00E0', // 0x78
};

} // namespace smscodec
