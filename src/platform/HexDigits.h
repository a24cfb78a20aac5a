#pragma once

// Hexadecimal text as the modem, the SIM files and the message codec write it: either case is
// read, upper case is written.

// The value of one hexadecimal digit, -1 for any other character.
constexpr int hexDigitValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

inline constexpr char kHexDigits[] = "0123456789ABCDEF";
