#include "PBPcFile.h"

#include "ConfigManager.h"
#include "Plist.h"
#include "SafeFile.h"

#include <QDebug>
#include <QMutex>
#include <QSet>

namespace {

QMutex g_lock;
// Files read() found unreadable and left in place: not to be written over.
QSet<QString> g_kept;
QString g_lastSetAside;

void keep(const QString &filePath, bool kept) {
  QMutexLocker locker(&g_lock);
  if (kept)
    g_kept.insert(filePath);
  else
    g_kept.remove(filePath);
}

} // namespace

namespace PBPcFile {

QString path(const QString &fileName) {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return {};
  QString folder = config->configFilePathOfKey(kCMModemListPath);
  if (folder.isEmpty())
    folder = config->modemListPath();
  if (folder.isEmpty())
    return {};
  return folder + QLatin1Char('/') + fileName;
}

QVariantList read(const QString &filePath, ReadState *state) {
  QVariantList groups;
  ReadState result = ReadState::Missing;
  const auto done = [&] {
    if (state)
      *state = result;
    return groups;
  };
  if (filePath.isEmpty())
    return done();
  // A phonebook holds at most some thousand contacts; a file that grew far larger is still read
  // as long as it parses, as the message lists are.
  QByteArray bytes;
  const SafeFile::ReadResult got = SafeFile::readRegular(filePath, &bytes, SafeFile::kListMaxReadBytes);
  if (got == SafeFile::ReadResult::Missing) {
    keep(filePath, false);
    return done();
  }
  QVariant value;
  const bool parsed = got == SafeFile::ReadResult::Read && Plist::fromData(std::move(bytes), &value);
  if (!parsed || value.typeId() != QMetaType::QVariantList) {
    // Only a file that was read and is no phonebook is damaged; one that could not be read at all
    // (too large, permissions, an I/O error, a FIFO) may read well later and stays.
    QString aside;
    if (got == SafeFile::ReadResult::Read && SafeFile::setAside(filePath, &aside)) {
      qWarning().noquote() << "phonebook" << filePath << "is damaged; kept as" << aside
                           << "and the phonebook starts empty";
      keep(filePath, false);
      QMutexLocker locker(&g_lock);
      g_lastSetAside = aside;
      result = ReadState::SetAside;
    } else {
      qWarning().noquote() << "phonebook" << filePath << "cannot be read; left as it is and not written over";
      keep(filePath, true);
      result = ReadState::Kept;
    }
    return done();
  }
  keep(filePath, false);
  result = ReadState::Read;
  for (const QVariant &g : value.toList()) {
    if (g.typeId() != QMetaType::QVariantList)
      continue;
    QVariantList group;
    for (const QVariant &r : g.toList())
      if (r.typeId() == QMetaType::QVariantMap)
        group.append(r);
    if (!group.isEmpty())
      groups.append(QVariant(group));
  }
  return done();
}

bool write(const QString &filePath, const QVariantList &groups) {
  if (filePath.isEmpty())
    return false;
  {
    QMutexLocker locker(&g_lock);
    if (g_kept.contains(filePath)) {
      qWarning().noquote() << "phonebook" << filePath << "could not be read; not written over";
      return false;
    }
  }
  return Plist::writeFile(filePath, groups);
}

QString lastSetAsidePath() {
  QMutexLocker locker(&g_lock);
  return g_lastSetAside;
}

} // namespace PBPcFile
