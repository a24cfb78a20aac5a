#include "QelFileManager.h"

#include "Plist.h"
#include "SafeFile.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <sys/stat.h>

namespace {
bool somethingAt(const QString &path) {
  struct stat st {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool matchesType(const QFileInfo &info, int searchType) {
  switch (searchType) {
  case QelFileManager::kSearchFiles:
    return info.isFile();
  case QelFileManager::kSearchFolders:
    return info.isDir();
  case QelFileManager::kSearchAll:
    return true;
  default:
    return false;
  }
}

bool writeBytesAtomically(const QString &path, const QByteArray &bytes) {
  return SafeFile::writeAtomically(path, bytes);
}
} // namespace

QString QelFileManager::expandTilde(const QString &path) {
  if (path == QLatin1String("~"))
    return QDir::homePath();
  if (path.startsWith(QLatin1String("~/")))
    return QDir::homePath() + path.mid(1);
  return path;
}

bool QelFileManager::createFolder(const QString &path) {
  if (path.isEmpty())
    return false;
  const QStringList parts = expandTilde(path).split(QLatin1Char('/'));
  QString reached;
  int start = 0;
  if (parts.size() > 1 && parts.first().isEmpty()) {
    reached = QStringLiteral("/");
    start = 1;
  }
  bool handled = false;
  for (int i = start; i < parts.size(); ++i) {
    const QString &part = parts.at(i);
    if (part.isEmpty())
      return handled;
    reached += part;
    const QFileInfo info(reached);
    if (!info.exists()) {
      if (!SafeFile::makeFolder(reached))
        return false;
    } else if (!info.isDir()) {
      return false;
    }
    handled = true;
    reached += QLatin1Char('/');
  }
  return handled;
}

bool QelFileManager::createDirectory(const QString &path) {
  if (path.isEmpty())
    return false;
  const QString p = expandTilde(path);
  if (QFileInfo(p).isDir())
    return true;
  // One level only, as before; the program's own folders are private to the user.
  return QFileInfo(QFileInfo(p).absolutePath()).isDir() && SafeFile::makeFolder(p);
}

bool QelFileManager::writeToFile(const QString &path, const QVariant &content, QStringConverter::Encoding encoding) {
  const QString p = expandTilde(path);
  if (p.isEmpty())
    return false;
  if (!somethingAt(p)) {
    const QString parent = QFileInfo(p).absolutePath();
    if (!QFileInfo(parent).isDir() && !createFolder(parent))
      return false;
  }
  switch (content.typeId()) {
  case QMetaType::QString: {
    QStringEncoder encoder(encoding, encoding == QStringConverter::Utf8 ? QStringConverter::Flag::Default
                                                                        : QStringConverter::Flag::WriteBom);
    const QByteArray bytes = encoder.encode(content.toString());
    return !encoder.hasError() && writeBytesAtomically(p, bytes);
  }
  case QMetaType::QByteArray:
    return writeBytesAtomically(p, content.toByteArray());
  case QMetaType::QVariantList:
  case QMetaType::QVariantMap:
    return Plist::writeFile(p, content);
  default:
    qWarning() << "QelFileManager: cannot write content of type" << content.typeName() << "to" << p;
    return false;
  }
}

QVariantMap QelFileManager::readFromFile(const QString &path, const QString &splitNewLine, const QString &splitItem,
                                         QStringConverter::Encoding encoding) {
  QVariantMap result;
  const QString p = expandTilde(path);
  QFile file(p);
  if (p.isEmpty() || !file.exists()) {
    qWarning("error:file path is not exist![readFromFile:]");
    return result;
  }
  // Only a regular file: a FIFO or device in its place would block or never end.
  if (splitNewLine.isEmpty() || splitItem.isEmpty() || !QFileInfo(p).isFile() || !file.open(QIODevice::ReadOnly) ||
      file.size() > kMaxReadBytes)
    return result;
  return parseKeyValueData(file.read(kMaxReadBytes), splitNewLine, splitItem, encoding);
}

QVariantMap QelFileManager::parseKeyValueData(const QByteArray &bytes, const QString &splitNewLine,
                                              const QString &splitItem, QStringConverter::Encoding encoding) {
  QVariantMap result;
  if (splitNewLine.isEmpty() || splitItem.isEmpty())
    return result;
  QStringConverter::Encoding actual = encoding;
  if (const auto fromBom = QStringConverter::encodingForData(bytes))
    actual = *fromBom;
  QStringDecoder decoder(actual);
  const QString text = decoder.decode(bytes);
  for (const QString &line : text.split(splitNewLine)) {
    const QStringList parts = line.split(splitItem);
    if (parts.size() == 2)
      result.insert(parts.at(0), parts.at(1));
  }
  return result;
}

int QelFileManager::getFileTypeWithPath(const QString &path) {
  const QFileInfo info(expandTilde(path));
  if (info.isFile())
    return kFileTypeFile;
  if (info.isDir())
    return kFileTypeFolder;
  return kFileTypeOther;
}

bool QelFileManager::isHiddenFile(const QString &path) {
  return QFileInfo(path).fileName().startsWith(QLatin1Char('.'));
}

std::optional<QStringList> QelFileManager::getSubPathsWithFileDirectoryPath(const QString &folder, int searchType,
                                                                            bool fullPath, bool containHidden) {
  const QString root = expandTilde(folder);
  if (root.isEmpty() || !QFileInfo(root).isDir()) {
    qWarning("error:file type isn't directory or file may not be exist![getSubPathsFromFileDirectoryPath]");
    return std::nullopt;
  }
  QStringList found;
  const QDir base(root);
  QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    it.next();
    const QFileInfo info = it.fileInfo();
    if (!matchesType(info, searchType) || isHiddenFile(info.filePath()) != containHidden)
      continue;
    const QString relative = base.relativeFilePath(info.filePath());
    found << (fullPath ? root + QLatin1Char('/') + relative : relative);
  }
  found.sort();
  return found;
}

QStringList QelFileManager::searchSubPaths(const QStringList &subPaths, int searchType, const QString &root) {
  QStringList found;
  const QString base = expandTilde(root);
  for (const QString &relative : subPaths) {
    if (matchesType(QFileInfo(base + QLatin1Char('/') + relative), searchType))
      found << relative;
  }
  return found;
}

bool QelFileManager::removeFileAtPath(const QString &path) {
  const QString p = expandTilde(path);
  if (p.isEmpty() || !somethingAt(p))
    return true;
  const QFileInfo info(p);
  if (info.isDir() && !info.isSymLink())
    return QDir(p).removeRecursively();
  return QFile::remove(p);
}
