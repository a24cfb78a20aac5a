#pragma once

#include <QString>

// The SIM alpha identifier of a name and the cut of a name to a SIM's byte limit.
namespace PBAlphaId {

// Upper-case hexadecimal text, two digits a byte, of the name as an alpha identifier.
QString encodeAlphaId(const QString &name);

// Drops trailing characters until the encoded name fits `maxBytes` (possibly nothing is left).
QString reSetNameStrWithInputName(const QString &name, int maxBytes);

} // namespace PBAlphaId
