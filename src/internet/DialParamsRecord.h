#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>

// The dial-parameter record as a pure function of one profile and the connection settings.
namespace DialParamsRecord {

struct Settings {
  int connectType = 0;  // 0 dial-up, 1 NDIS
  int disableAlert = 0; // 1 tells the backend not to alert on a failed attempt
  int mtu = 0;
  bool doublePdp = false; // the IPv6 texts travel only then
};

// The 920-byte record; a missing or ill-typed profile entry gives 0 or an empty text.
QByteArray encode(const QVariantMap &profile, const Settings &settings);

// `text` as UTF-8 cut to at most width - 1 bytes, never inside a character, so the field keeps
// its terminating NUL.
QByteArray fieldBytes(const QString &text, int width);

} // namespace DialParamsRecord
