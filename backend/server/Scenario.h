#pragma once

#include <QString>
#include <QVariantMap>

// Scenarios: plists that set up the simulated modem. One is named either by a file path or by
// its name in the bundle's Scenarios folder ("sim-pin" for Resources/Scenarios/sim-pin.plist).
namespace Scenario {

// The file `nameOrPath` stands for: an existing file as given, else the bundle's scenario of
// that name; empty when neither exists.
QString pathOf(const QString &nameOrPath);

// Reads the scenario; false with `error` set (a line for the user) when it cannot be found or
// read as a dictionary.
bool read(const QString &nameOrPath, QVariantMap *out, QString *error = nullptr);

} // namespace Scenario
