#include "Plist.h"

#include "SafeFile.h"

#include <QDateTime>
#include <QTimeZone>
#include <plist/plist.h>

namespace {

// Seconds between the Unix epoch and the property-list epoch (2001-01-01 UTC).
constexpr qint64 kPlistEpochOffset = 978307200;
constexpr int kMaxDepth = 512;

struct PlistFree {
  void operator()(plist_t p) const {
    if (p)
      plist_free(p);
  }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

QVariant toVariant(plist_t node, int depth) {
  if (!node || depth > kMaxDepth)
    return {};
  switch (plist_get_node_type(node)) {
  case PLIST_DICT: {
    QVariantMap map;
    plist_dict_iter it = nullptr;
    plist_dict_new_iter(node, &it);
    for (;;) {
      char *key = nullptr;
      plist_t value = nullptr;
      plist_dict_next_item(node, it, &key, &value);
      if (!value) {
        free(key);
        break;
      }
      map.insert(QString::fromUtf8(key ? key : ""), toVariant(value, depth + 1));
      free(key);
    }
    free(it);
    return map;
  }
  case PLIST_ARRAY: {
    // Walked by iterator: reading a binary-parsed array by index is slow in this libplist.
    QVariantList list;
    list.reserve(qsizetype(plist_array_get_size(node)));
    plist_array_iter it = nullptr;
    plist_array_new_iter(node, &it);
    for (;;) {
      plist_t item = nullptr;
      plist_array_next_item(node, it, &item);
      if (!item)
        break;
      list.append(toVariant(item, depth + 1));
    }
    free(it);
    return list;
  }
  case PLIST_STRING: {
    // Read with its length: a binary plist string may hold a NUL, which the copying getter of
    // this libplist asserts on.
    uint64_t len = 0;
    const char *s = plist_get_string_ptr(node, &len);
    return s ? QString::fromUtf8(s, qsizetype(std::min<uint64_t>(len, uint64_t(std::numeric_limits<int>::max()))))
             : QString();
  }
  case PLIST_KEY: {
    char *s = nullptr;
    plist_get_key_val(node, &s);
    QString str = QString::fromUtf8(s ? s : "");
    free(s);
    return str;
  }
  case PLIST_UINT: {
    uint64_t v = 0;
    plist_get_uint_val(node, &v);
    return QVariant::fromValue(qint64(v));
  }
  case PLIST_REAL: {
    double v = 0;
    plist_get_real_val(node, &v);
    return v;
  }
  case PLIST_BOOLEAN: {
    uint8_t v = 0;
    plist_get_bool_val(node, &v);
    return bool(v);
  }
  case PLIST_DATE: {
    int32_t sec = 0, usec = 0;
    plist_get_date_val(node, &sec, &usec);
    return QDateTime::fromMSecsSinceEpoch((qint64(sec) + kPlistEpochOffset) * 1000 + usec / 1000, QTimeZone::utc());
  }
  case PLIST_DATA: {
    char *d = nullptr;
    uint64_t len = 0;
    plist_get_data_val(node, &d, &len);
    QByteArray bytes(d, qsizetype(len));
    free(d);
    return bytes;
  }
  default:
    return {};
  }
}

plist_t fromVariant(const QVariant &v, int depth) {
  if (depth > kMaxDepth)
    return nullptr;
  switch (v.typeId()) {
  case QMetaType::QVariantMap: {
    plist_t dict = plist_new_dict();
    const QVariantMap map = v.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
      if (plist_t child = fromVariant(it.value(), depth + 1))
        plist_dict_set_item(dict, it.key().toUtf8().constData(), child);
    return dict;
  }
  case QMetaType::QVariantHash: {
    QVariantMap map;
    const QVariantHash hash = v.toHash();
    for (auto it = hash.cbegin(); it != hash.cend(); ++it)
      map.insert(it.key(), it.value());
    return fromVariant(map, depth);
  }
  case QMetaType::QVariantList:
  case QMetaType::QStringList: {
    plist_t array = plist_new_array();
    for (const QVariant &item : v.toList())
      if (plist_t child = fromVariant(item, depth + 1))
        plist_array_append_item(array, child);
    return array;
  }
  case QMetaType::Bool:
    return plist_new_bool(v.toBool());
  case QMetaType::Int:
  case QMetaType::LongLong:
  case QMetaType::Short:
  case QMetaType::Long:
  case QMetaType::Char:
  case QMetaType::SChar:
    return plist_new_uint(uint64_t(v.toLongLong()));
  case QMetaType::UInt:
  case QMetaType::ULongLong:
  case QMetaType::UShort:
  case QMetaType::ULong:
  case QMetaType::UChar:
    return plist_new_uint(v.toULongLong());
  case QMetaType::Double:
  case QMetaType::Float:
    return plist_new_real(v.toDouble());
  case QMetaType::QDateTime: {
    const qint64 ms = v.toDateTime().toMSecsSinceEpoch() - kPlistEpochOffset * 1000;
    qint64 sec = ms / 1000, rem = ms % 1000;
    if (rem < 0) {
      rem += 1000;
      --sec;
    }
    return plist_new_date(int32_t(sec), int32_t(rem * 1000));
  }
  case QMetaType::QByteArray: {
    const QByteArray b = v.toByteArray();
    return plist_new_data(b.constData(), uint64_t(b.size()));
  }
  case QMetaType::UnknownType:
    return nullptr;
  default:
    if (v.canConvert<QString>())
      return plist_new_string(v.toString().toUtf8().constData());
    return nullptr;
  }
}

} // namespace

namespace Plist {

bool fromData(const QByteArray &data, QVariant *out) {
  *out = QVariant();
  if (data.isEmpty() || data.size() > std::numeric_limits<int32_t>::max())
    return false;
  plist_t root = nullptr;
  plist_from_memory(data.constData(), uint32_t(data.size()), &root);
  PlistPtr guard(root);
  if (!root)
    return false;
  *out = toVariant(root, 0);
  return out->isValid();
}

QByteArray toXml(const QVariant &value) {
  PlistPtr root(fromVariant(value, 0));
  if (!root)
    return {};
  char *xml = nullptr;
  uint32_t len = 0;
  plist_to_xml(root.get(), &xml, &len);
  QByteArray out(xml, qsizetype(len));
  plist_to_xml_free(xml);
  return out;
}

bool readFile(const QString &path, QVariant *out) {
  QByteArray bytes;
  if (!SafeFile::readRegularFile(path, &bytes)) {
    *out = QVariant();
    return false;
  }
  return fromData(bytes, out);
}

bool readDictionary(const QString &path, QVariantMap *out) {
  QVariant v;
  if (!readFile(path, &v) || v.typeId() != QMetaType::QVariantMap) {
    out->clear();
    return false;
  }
  *out = v.toMap();
  return true;
}

bool writeFile(const QString &path, const QVariant &value, int permissions) {
  const QByteArray xml = toXml(value);
  if (xml.isEmpty())
    return false;
  return SafeFile::writeAtomically(path, xml, QFileDevice::Permissions(permissions));
}

} // namespace Plist
