#pragma once

#include <QStringView>

// The length in bytes of a name written as a SIM alpha identifier (3GPP TS 11.11 Annex B), for
// n UTF-16 units: n when none is above 127 (one default-alphabet byte each), n + 3 when all of
// those above 127 lie in one 128-character block numbered below 128 (form 0x81), n + 4 when that
// block is numbered 128 or above (form 0x82), else 2n + 1 (form 0x80, UCS2). The program cuts
// names with it and the simulated modem checks them with it, so both count alike.
namespace SimAlphaId {

enum class Form { Plain, Block81, Block82, Ucs2 };

// The form a name takes, and in `block` the shared block number for the two block forms.
inline Form formOf(QStringView name, int *block = nullptr) {
  int shared = -1;
  for (QChar c : name) {
    const int v = c.unicode();
    if (v <= 127)
      continue;
    if (shared == -1)
      shared = v >> 7;
    else if (shared != (v >> 7))
      return Form::Ucs2;
  }
  if (block)
    *block = shared;
  if (shared == -1)
    return Form::Plain;
  return shared < 128 ? Form::Block81 : Form::Block82;
}

inline int encodedLength(QStringView name) {
  const int n = int(name.size());
  if (n == 0)
    return 0;
  switch (formOf(name)) {
  case Form::Plain:
    return n;
  case Form::Block81:
    return n + 3;
  case Form::Block82:
    return n + 4;
  case Form::Ucs2:
    break;
  }
  return 2 * n + 1;
}

} // namespace SimAlphaId
