#pragma once

#include <QMutex>
#include <QString>

// Facts about the computer for the diagnostics report. Keeps the last answers it gave.
class GetSystemInfo {
public:
  // `dmiRoot` is the folder of the firmware's machine identity (/sys/class/dmi/id).
  explicit GetSystemInfo(QString dmiRoot = QStringLiteral("/sys/class/dmi/id"));

  static GetSystemInfo *sharedGetSystemInfo();

  // The operating system's name and version, e.g. "Debian GNU/Linux 12 (bookworm)".
  QString getOSVersion();
  // The user's first preferred language (e.g. "en-GB").
  QString getOSLanguage();
  // The machine model: the product name, with the version when it adds something. A null
  // string when the firmware does not tell (missing files or placeholder texts).
  QString getPCModel();

private:
  QString readField(const QString &name) const;

  QString dmiRoot_;
  QMutex lock_;
  QString osVersion_, osLanguage_, pcModel_;
};
