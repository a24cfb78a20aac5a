#include "TcardVolume.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {
constexpr qint64 kMaxAttributeBytes = 4096;
constexpr qint64 kMaxMountInfoBytes = 4 * 1024 * 1024;

QByteArray readAttribute(const QString &path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return f.read(kMaxAttributeBytes).trimmed();
}

// Kernel device names are plain: letters, digits and a few marks, never a path.
bool isPlainName(const QString &name) {
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
    return false;
  for (const QChar c : name) {
    if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('-') && c != QLatin1Char('_') &&
        c != QLatin1Char('.') && c != QLatin1Char(':'))
      return false;
  }
  return true;
}

// File systems that live on another machine: never the card, even if a name were to match.
bool isNetworkFileSystem(const QByteArray &type) {
  static const QSet<QByteArray> kNetwork = {"nfs", "nfs4", "cifs",       "smb3",      "smbfs", "ncpfs",      "afs",
                                            "9p",  "ceph", "fuse.sshfs", "glusterfs", "davfs", "fuse.rclone"};
  return kNetwork.contains(type);
}

QStringList sortedEntries(const QString &folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
}
} // namespace

QString TcardLocator::usbDevicePath() const {
  const QString base = roots_.sys + QStringLiteral("/bus/usb/devices");
  const QByteArray wanted = QByteArray::number(roots_.vendorId, 16).rightJustified(4, '0');
  for (const QString &entry : sortedEntries(base)) {
    const QString dev = base + QLatin1Char('/') + entry;
    if (readAttribute(dev + QStringLiteral("/idVendor")).toLower() == wanted)
      return QFileInfo(dev).canonicalFilePath();
  }
  return {};
}

QString TcardLocator::removableDiskName(const QString &usbDevice) const {
  if (usbDevice.isEmpty())
    return {};
  const QString prefix = usbDevice + QLatin1Char('/');
  const QString base = roots_.sys + QStringLiteral("/block");
  for (const QString &name : sortedEntries(base)) {
    if (!isPlainName(name))
      continue;
    const QString disk = base + QLatin1Char('/') + name;
    if (!QFileInfo(disk).canonicalFilePath().startsWith(prefix))
      continue;
    if (readAttribute(disk + QStringLiteral("/removable")) != "1")
      continue;
    // The modem's virtual CD drive is removable too; only a direct-access disk is the card.
    const QByteArray scsiType = readAttribute(disk + QStringLiteral("/device/type"));
    if (!scsiType.isEmpty() && scsiType != "0")
      continue;
    return name;
  }
  return {};
}

QString TcardLocator::unescapeMountField(const QByteArray &field) {
  QByteArray out;
  out.reserve(field.size());
  for (qsizetype i = 0; i < field.size(); ++i) {
    const char c = field.at(i);
    if (c == '\\' && i + 3 < field.size()) {
      int v = 0;
      bool octal = true;
      for (qsizetype k = 1; k <= 3; ++k) {
        const char d = field.at(i + k);
        octal = octal && d >= '0' && d <= '7';
        v = v * 8 + (d - '0');
      }
      if (octal && v < 256) {
        out += static_cast<char>(v);
        i += 3;
        continue;
      }
    }
    out += c;
  }
  return QFile::decodeName(out);
}

QString TcardLocator::kernelNameOfMount(const QByteArray &majorMinor, const QByteArray &source) const {
  // The device number names the block device whatever path the mount source took.
  const QString byNumber = roots_.sys + QStringLiteral("/dev/block/") + QString::fromLatin1(majorMinor);
  const QString target = QFileInfo(byNumber).canonicalFilePath();
  if (!target.isEmpty())
    return QFileInfo(target).fileName();
  if (source.startsWith("/dev/"))
    return QFileInfo(unescapeMountField(source)).fileName();
  return {};
}

bool TcardLocator::belongsToDisk(const QString &kernelName, const QString &diskName) const {
  if (!isPlainName(kernelName))
    return false;
  if (kernelName == diskName)
    return true;
  // A partition of the disk is a folder of that name inside the disk's own folder.
  return QFileInfo(roots_.sys + QStringLiteral("/block/") + diskName + QLatin1Char('/') + kernelName +
                   QStringLiteral("/partition"))
      .exists();
}

QString TcardLocator::mountPathOfDisk(const QString &diskName) const {
  if (!isPlainName(diskName))
    return {};
  QFile f(roots_.mountInfo);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return mountPathOfDiskInTable(f.read(kMaxMountInfoBytes), diskName);
}

QString TcardLocator::mountPathOfDiskInTable(const QByteArray &table, const QString &diskName) const {
  if (!isPlainName(diskName))
    return {};
  for (const QByteArray &line : table.split('\n')) {
    // id parent major:minor root mount-point options [optional...] - fstype source super-options
    const QList<QByteArray> fields = line.simplified().split(' ');
    const qsizetype dash = fields.indexOf("-");
    if (fields.size() < 6 || dash < 6 || dash + 2 >= fields.size())
      continue;
    const QByteArray fsType = fields.at(dash + 1);
    if (isNetworkFileSystem(fsType))
      continue;
    if (belongsToDisk(kernelNameOfMount(fields.at(2), fields.at(dash + 2)), diskName))
      return unescapeMountField(fields.at(4));
  }
  return {};
}

namespace {
// The contacts page asks every few seconds while it is shown; say why there is no card once,
// and again only after the answer changed.
void tellOnce(const char *why) {
  static QByteArray lastTold;
  if (lastTold == why)
    return;
  lastTold = why;
  if (*why)
    qInfo("%s", why);
}
} // namespace

QString TcardLocator::volume() const {
  const QString usb = usbDevicePath();
  if (usb.isEmpty()) {
    tellOnce("Find no TCard object!");
    return {};
  }
  const QString disk = removableDiskName(usb);
  if (disk.isEmpty()) {
    tellOnce("TCard BSDName is nil!");
    return {};
  }
  const QString mount = mountPathOfDisk(disk);
  tellOnce(mount.isEmpty() ? "Find no TCard object!" : "");
  return mount;
}

QString getTcardVolume() {
  // A folder that stands in for the card's mount, for demonstrations and end-to-end tests.
  const QString standIn = qEnvironmentVariable("QEL_TCARD_VOLUME");
  if (!standIn.isEmpty())
    return QFileInfo(standIn).isDir() ? QFileInfo(standIn).absoluteFilePath() : QString();
  return TcardLocator().volume();
}
