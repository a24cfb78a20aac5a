#pragma once

#include <QObject>
#include <QStringList>

class SimulatedModem;

// The settings window's restore of a backup file: 768/104 (module 5) carries the file's path as
// NUL-terminated UTF-8 in 128 bytes. The modem records the path and answers type 1, result 0;
// it does not read the file (the program restores the phonebook itself).
class BackupRestore : public QObject {
  Q_OBJECT
public:
  static BackupRestore *install(SimulatedModem &modem);
  static BackupRestore *of(SimulatedModem &modem);

  // The paths of the restore requests received, oldest first.
  const QStringList &paths() const { return paths_; }

private:
  explicit BackupRestore(SimulatedModem &modem);

  SimulatedModem &modem_;
  QStringList paths_;
};
