#include "RecordsFixture.h"

#include "Plist.h"

bool RecordsFixture::QelFileManagerWrite(const QString &path, const QVariantList &list) {
  return Plist::writeFile(path, list);
}

QVariantList RecordsFixture::readList(const QString &path) {
  QVariant v;
  if (!Plist::readFile(path, &v))
    return {};
  return v.toList();
}
