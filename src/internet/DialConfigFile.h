#pragma once

#include <QString>
#include <QVariantList>

// dialConfig.plist in the ModemList folder: an array of profile dictionaries. It holds account
// passwords, so it is written readable by the user only.
namespace DialConfigFile {

QString path();
// The profiles of the file; entries that are not dictionaries are dropped. A file that exists
// but cannot be read is renamed aside (its new path in `setAside`) so that no later save
// overwrites what the user may still recover; the answer is then an empty list.
QVariantList read(QString *setAside = nullptr);
bool write(const QVariantList &profiles);

} // namespace DialConfigFile
