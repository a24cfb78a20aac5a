// An arrival is put into the PC list's text without parsing it; the list file is anyone's to
// edit. A list that parsed before must parse after, with the arrival first and every message it
// had; a list that did not parse may stay damaged (the next parsed write sets it aside).
#include "ListFile.h"
#include "Plist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("SmsList_PC.plist"));
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      return 0;
    f.write(bytes);
  }
  QVariant before;
  const bool parsedBefore = Plist::fromData(bytes, &before) && before.typeId() == QMetaType::QVariantMap;
  const QVariantMap arrival{{QStringLiteral("messagetext"), QStringLiteral("new")}};
  if (!ListFile::prepend(path, QStringLiteral("InBox"), arrival))
    return 0;
  QVariantMap after;
  const bool parsedAfter = ListFile::read(path, &after) == ListFile::ReadState::Read;
  if (parsedBefore && !parsedAfter)
    std::abort();
  const QVariantList box = after.value(QStringLiteral("InBox")).toList();
  if (parsedAfter && (box.isEmpty() || box.first().toMap() != arrival))
    std::abort();
  if (parsedBefore) {
    const QVariant old = before.toMap().value(QStringLiteral("InBox"));
    const qsizetype had = old.typeId() == QMetaType::QVariantList ? old.toList().size() : 0;
    if (box.size() != had + 1)
      std::abort();
  }
  // Damaged inputs were set aside; keep the folder small.
  for (const QString &name : QDir(dir.path()).entryList({QStringLiteral("*.damaged-*")}))
    QFile::remove(dir.filePath(name));
  return 0;
}
