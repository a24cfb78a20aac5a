#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QObject;

// By-name dispatch is kept only where a configuration file, a table of the program or a plug-in
// names the method. When the object lacks that method the entry can never work, so it is said
// loudly, in every build, instead of being skipped: the warning names the class and the method.
namespace DispatchTargets {

// Whether `target` answers `selector` ("devicePlugin:" or a plain name) the way an "itemAction"
// entry is called: with the sender or with nothing.
bool answersItemAction(const QObject *target, const QByteArray &selector);

// Warns that `target` has no method `method`, which `wantedBy` ("notification DevicePlugin",
// "backend message 7/36", "item action") names, and remembers it.
void reportMissing(const QObject *target, const QByteArray &method, const QString &wantedBy);

// Every miss reported since the last forget(), as "Class::method (wanted by)", in order.
QStringList missing();
void forget();

} // namespace DispatchTargets
