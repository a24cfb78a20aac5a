#pragma once

#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <optional>

// File and folder operations shared by the stores. Every operation answers false, an empty
// result or a null list on failure; none throws.
class QelFileManager {
public:
  enum FileType : int { kFileTypeFile = 0, kFileTypeFolder = 1, kFileTypeOther = 2 };
  enum SearchType : int { kSearchFiles = 0, kSearchFolders = 1, kSearchAll = 2 };

  // "~" and "~/..." become the home folder.
  static QString expandTilde(const QString &path);

  // Creates every missing folder of the path, component by component. Folders created here are
  // the program's own and readable by the user only (0700), whatever the umask.
  static bool createFolder(const QString &path);
  // Creates one folder (no intermediate folders, 0700); true when it already exists.
  static bool createDirectory(const QString &path);

  // Writes atomically: a QString as text in `encoding` (UTF-16 with a byte-order mark), a
  // QByteArray as it is, a QVariantList or QVariantMap as an XML property list. The parent
  // folder is created when nothing is at the path yet. Answers whether the content really
  // reached the file: an empty path, a failed folder, a failed write or content of any other
  // kind answer false.
  static bool writeToFile(const QString &path, const QVariant &content,
                          QStringConverter::Encoding encoding = QStringConverter::Utf8);

  // Splits the text at `splitNewLine`, each line at `splitItem`; a line of exactly two parts
  // gives key -> value (later lines win). Missing, unreadable or oversized files give an empty
  // map. A byte-order mark, when present, decides the encoding.
  static QVariantMap readFromFile(const QString &path, const QString &splitNewLine, const QString &splitItem,
                                  QStringConverter::Encoding encoding = QStringConverter::Utf8);

  // The splitting of readFromFile over bytes already read.
  static QVariantMap parseKeyValueData(const QByteArray &bytes, const QString &splitNewLine, const QString &splitItem,
                                       QStringConverter::Encoding encoding = QStringConverter::Utf8);

  // Links are followed.
  static int getFileTypeWithPath(const QString &path);
  // Hidden in the Linux sense: the name begins with a dot.
  static bool isHiddenFile(const QString &path);

  // Every path below `folder` (recursive, symbolic links to folders not entered) of the search
  // type whose hidden state equals `containHidden`, relative or, with `fullPath`, as
  // folder + "/" + relative. Nothing when `folder` is not an existing folder.
  static std::optional<QStringList> getSubPathsWithFileDirectoryPath(const QString &folder, int searchType,
                                                                     bool fullPath, bool containHidden);
  // The relative paths of `subPaths` below `root` that are of the search type.
  static QStringList searchSubPaths(const QStringList &subPaths, int searchType, const QString &root);

  // True when nothing is there afterwards. A symbolic link is removed, never its target.
  static bool removeFileAtPath(const QString &path);

  // Largest file readFromFile takes.
  static constexpr qint64 kMaxReadBytes = 16 * 1024 * 1024;
};
