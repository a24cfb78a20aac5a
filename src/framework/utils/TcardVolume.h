#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// The USB vendor id of the modem whose memory card is looked for.
inline constexpr uint16_t kTcardUSBVendorID = 0xF0E1;

// Finds the mounted volume of the modem's memory card: the first USB device with the vendor
// id, the first removable disk below it, and the first mounted local file system on that disk
// or on one of its partitions. Device names are compared whole, so the card "mmcblk1" never
// takes the volume of "mmcblk10p1", nor "sdb" that of "sdba1".
class TcardLocator {
public:
  struct Roots {
    QString sys = QStringLiteral("/sys");
    QString mountInfo = QStringLiteral("/proc/self/mountinfo");
    uint16_t vendorId = kTcardUSBVendorID;
  };

  TcardLocator() = default;
  explicit TcardLocator(Roots roots) : roots_(std::move(roots)) {}

  // The mount path, or a null string.
  QString volume() const;

  // Steps, public for diagnostics: the sysfs path of the USB device, the kernel name of its
  // removable disk, the mount path of a file system on that disk.
  QString usbDevicePath() const;
  QString removableDiskName(const QString &usbDevice) const;
  QString mountPathOfDisk(const QString &diskName) const;
  // The same over a mount table's text.
  QString mountPathOfDiskInTable(const QByteArray &table, const QString &diskName) const;

  // A mountinfo field with its octal escapes (\040 and friends) undone.
  static QString unescapeMountField(const QByteArray &field);

private:
  QString kernelNameOfMount(const QByteArray &majorMinor, const QByteArray &source) const;
  bool belongsToDisk(const QString &kernelName, const QString &diskName) const;

  Roots roots_;
};

// The mount path of the modem's memory card with the system's own roots, or a null string.
// QEL_TCARD_VOLUME, when set, names a folder that stands in for the mount.
QString getTcardVolume();
