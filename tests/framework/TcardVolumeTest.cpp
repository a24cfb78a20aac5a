#include "TcardVolume.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A fake sysfs and mount table: USB devices with block disks below them, partitions, the
// device-number links and /proc/self/mountinfo lines.
class FakeSystem {
public:
  FakeSystem() { sys_ = dir_.path() + "/sys"; }

  void addUsbDevice(const QString &id, const char *vendor) {
    const QString dev = devPath(id);
    QDir().mkpath(dev);
    write(dev + "/idVendor", vendor);
    link(dev, sys_ + "/bus/usb/devices/" + id);
  }
  void addDisk(const QString &usbId, const QString &disk, const char *removable = "1", const char *scsiType = "0") {
    const QString path = diskPath(usbId, disk);
    QDir().mkpath(path + "/device");
    write(path + "/removable", removable);
    write(path + "/device/type", scsiType);
    link(path, sys_ + "/block/" + disk);
    disks_[disk] = path;
  }
  void addPartition(const QString &disk, const QString &part, const QString &number) {
    const QString path = disks_.value(disk) + "/" + part;
    QDir().mkpath(path);
    write(path + "/partition", "1");
    link(path, sys_ + "/dev/block/" + number);
  }
  void numberDisk(const QString &disk, const QString &number) {
    link(disks_.value(disk), sys_ + "/dev/block/" + number);
  }
  void mount(const QString &number, const QString &mountPoint, const QString &source, const char *type = "vfat") {
    mountInfo_ += QStringLiteral("%1 25 %2 / %3 rw,nosuid shared:1 - %4 %5 rw\n")
                      .arg(++id_)
                      .arg(number, mountPoint, QLatin1String(type), source)
                      .toUtf8();
  }

  void rawMountLine(const QByteArray &line) { mountInfo_ += line + "\n"; }

  TcardLocator locator(uint16_t vendor = 0xF0E1) {
    write(dir_.path() + "/mountinfo", mountInfo_);
    return TcardLocator({sys_, dir_.path() + "/mountinfo", vendor});
  }

private:
  QString devPath(const QString &id) const { return sys_ + "/devices/pci0000:00/usb1/" + id; }
  QString diskPath(const QString &usbId, const QString &disk) const {
    return devPath(usbId) + "/" + usbId + ":1.0/host6/target6:0:0/6:0:0:0/block/" + disk;
  }
  static void write(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes + "\n");
  }
  static void link(const QString &target, const QString &at) {
    QDir().mkpath(QFileInfo(at).absolutePath());
    ASSERT_TRUE(QFile::link(target, at)) << at.toStdString();
  }

  QTemporaryDir dir_;
  QString sys_;
  QHash<QString, QString> disks_;
  QByteArray mountInfo_;
  int id_ = 30;
};

} // namespace

TEST(TcardVolume, ComparesWholeDeviceNamesNotPrefixes) {
  struct Case {
    const char *card, *cardPart, *other, *otherPart;
  } cases[] = {
      {"mmcblk1", "mmcblk1p1", "mmcblk10", "mmcblk10p1"},
      {"sdb", "sdb1", "sdba", "sdba1"},
      {"sdb", "sdb1", "sdb1x", "sdb1x1"},
  };
  for (const Case &c : cases) {
    FakeSystem fake;
    fake.addUsbDevice("1-2", "f0e1");
    fake.addUsbDevice("1-3", "1234");
    fake.addDisk("1-2", c.card);
    fake.addPartition(c.card, c.cardPart, "8:17");
    fake.addDisk("1-3", c.other);
    fake.addPartition(c.other, c.otherPart, "8:33");
    // The other disk's volume comes first in the mount table.
    fake.mount("8:33", "/media/u/OTHER", QStringLiteral("/dev/") + c.otherPart);
    fake.mount("8:17", "/media/u/MY\\040CARD", QStringLiteral("/dev/") + c.cardPart);
    EXPECT_EQ(fake.locator().volume(), QStringLiteral("/media/u/MY CARD")) << c.card << " vs " << c.other;
  }
}

TEST(TcardVolume, OtherDiskAloneIsNeverTheCard) {
  FakeSystem fake;
  fake.addUsbDevice("1-2", "f0e1");
  fake.addUsbDevice("1-3", "1234");
  fake.addDisk("1-2", "mmcblk1");
  fake.addDisk("1-3", "mmcblk10");
  fake.addPartition("mmcblk10", "mmcblk10p1", "179:81");
  fake.mount("179:81", "/media/u/OTHER", "/dev/mmcblk10p1");
  EXPECT_TRUE(fake.locator().volume().isNull());
}

TEST(TcardVolume, FindsAWholeDiskMountAndFallsBackToTheSourcePath) {
  FakeSystem fake;
  fake.addUsbDevice("1-2", "F0E1");
  fake.addDisk("1-2", "sdc");
  fake.numberDisk("sdc", "8:32");
  fake.mount("8:32", "/run/media/u/CARD", "/dev/sdc");
  EXPECT_EQ(fake.locator().volume(), "/run/media/u/CARD");

  // Without the device-number link, the mount source names the device.
  FakeSystem bare;
  bare.addUsbDevice("1-2", "f0e1");
  bare.addDisk("1-2", "sdc");
  bare.addPartition("sdc", "sdc1", "8:33");
  bare.mount("8:99", "/media/CARD", "/dev/sdc1");
  EXPECT_EQ(bare.locator().volume(), "/media/CARD");
}

TEST(TcardVolume, SkipsTheVirtualCdDriveAndNetworkMountsAndOtherVendors) {
  FakeSystem fake;
  fake.addUsbDevice("1-2", "f0e1");
  fake.addDisk("1-2", "sda", "1", "5"); // the modem's CD-ROM
  fake.addPartition("sda", "sda1", "8:1");
  fake.addDisk("1-2", "sdb", "0"); // not removable
  fake.addPartition("sdb", "sdb1", "8:17");
  fake.addDisk("1-2", "sdc");
  fake.addPartition("sdc", "sdc1", "8:33");
  fake.mount("8:1", "/media/CD", "/dev/sda1", "iso9660");
  fake.mount("8:33", "/mnt/remote", "/dev/sdc1", "nfs4");
  fake.mount("8:33", "/media/CARD", "/dev/sdc1");
  EXPECT_EQ(fake.locator().volume(), "/media/CARD");
  EXPECT_TRUE(fake.locator(0x1234).volume().isNull());
}

TEST(TcardVolume, SurvivesAMalformedMountTable) {
  FakeSystem fake;
  fake.addUsbDevice("1-2", "f0e1");
  fake.addDisk("1-2", "sdc");
  fake.addPartition("sdc", "sdc1", "8:33");
  for (const QByteArray &line : {QByteArray("garbage"), QByteArray("1 2 8:33"), QByteArray("- - - - - - -"),
                                 QByteArray("36 25 8:33 / /x rw -"), QByteArray("36 25 8:33 / /y rw - vfat"),
                                 QByteArray(5000, ' '), QByteArray("36 25 9:99 / /z rw - vfat /dev/../etc rw")})
    fake.rawMountLine(line);
  fake.mount("8:33", "/media/CARD", "/dev/sdc1");
  EXPECT_EQ(fake.locator().volume(), "/media/CARD");
  EXPECT_EQ(TcardLocator::unescapeMountField("a\\040b\\\\c\\9"), QStringLiteral("a b\\\\c\\9"));
  EXPECT_EQ(TcardLocator::unescapeMountField("\\04"), QStringLiteral("\\04"));
}
