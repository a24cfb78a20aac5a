#include "Plist.h"

#include "SafeFile.h"

#include <QDateTime>
#include <QTimeZone>
#include <cstring>
#include <plist/plist.h>
#include <vector>

namespace {

// Seconds between the Unix epoch and the property-list epoch (2001-01-01 UTC).
constexpr qint64 kPlistEpochOffset = 978307200;
constexpr int kMaxDepth = 512;
// More objects than any file of ours holds; a binary list whose shared objects expand past this
// would make the parser build a tree of that size.
constexpr qint64 kMaxBinaryVisits = qint64(1) << 22;

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

// libplist builds and frees its trees recursively: a few hundred thousand nested containers in a
// file of a few megabytes overflow the stack before any limit of ours could look at the tree.
// So the nesting is measured on the bytes first, without recursion.

// True when the XML text nests arrays and dictionaries deeper than `limit`. It reads the markup
// as libplist does (processing instructions, comments, the document type, character data in
// text), so that it never counts less than the parser would build; where the parser would stop
// at an error, so does the scan.
bool xmlDeeperThan(const QByteArray &data, int limit) {
  const char *p = data.constData();
  const qsizetype n = data.size();
  const auto skipPast = [&](qsizetype from, const char *what) {
    const qsizetype at = data.indexOf(what, from);
    return at < 0 ? n : at + qsizetype(std::strlen(what));
  };
  const auto startsWith = [&](qsizetype at, const char *what) {
    return QByteArrayView(p + at, n - at).startsWith(what);
  };
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  int depth = 0;
  qsizetype i = 0;
  while (i < n) {
    const void *lt = std::memchr(p + i, '<', size_t(n - i));
    if (!lt)
      break;
    i = static_cast<const char *>(lt) - p + 1;
    if (startsWith(i, "?")) {
      i = skipPast(i, "?>");
    } else if (startsWith(i, "!--")) {
      i = skipPast(i + 3, "-->");
    } else if (startsWith(i, "![CDATA[")) {
      i = skipPast(i + 8, "]]>");
    } else if (startsWith(i, "!DOCTYPE")) {
      // Up to the first '>', or from a '[' to the first "]>".
      qsizetype j = i + 8;
      while (j < n && p[j] != '[' && p[j] != '>')
        ++j;
      i = j < n && p[j] == '[' ? skipPast(j, "]>") : j + 1;
    } else if (startsWith(i, "!")) {
      return false;
    } else {
      qsizetype nameEnd = i;
      while (nameEnd < n && !isSpace(p[nameEnd]) && p[nameEnd] != '<' && p[nameEnd] != '>')
        ++nameEnd;
      qsizetype gt = nameEnd;
      while (gt < n && p[gt] != '<' && p[gt] != '>')
        ++gt;
      if (gt >= n || p[gt] == '<')
        return false;
      const bool empty = p[gt - 1] == '/';
      if (empty && gt == nameEnd)
        --nameEnd;
      const QByteArrayView name(p + i, nameEnd - i);
      if (!empty && (name == "array" || name == "dict")) {
        if (++depth > limit)
          return true;
      } else if (name == "/array" || name == "/dict") {
        --depth;
      }
      i = gt + 1;
    }
  }
  return false;
}

quint64 readBigEndian(const uchar *p, int size) {
  quint64 v = 0;
  for (int k = 0; k < size; ++k)
    v = (v << 8) | p[k];
  return v;
}

enum class BinaryScan { Fine, TooDeep, Broken };

// Walks the object references of a binary property list from its root, as the parser would
// expand them, with an explicit stack: deeper than `limit` levels (a reference cycle included),
// more than `maxVisits` objects in all (shared objects count at each use) or references out of
// the file answer no.
BinaryScan scanBinary(const QByteArray &data, int limit, qint64 maxVisits) {
  constexpr qsizetype kHeader = 8, kTrailer = 32;
  const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
  const qsizetype size = data.size();
  if (size < kHeader + kTrailer)
    return BinaryScan::Broken;
  const uchar *trailer = bytes + size - kTrailer;
  const int offsetSize = trailer[6], refSize = trailer[7];
  const quint64 objects = readBigEndian(trailer + 8, 8), root = readBigEndian(trailer + 16, 8),
                table = readBigEndian(trailer + 24, 8);
  const quint64 end = quint64(size - kTrailer);
  if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8 || objects == 0 || root >= objects ||
      table < quint64(kHeader) || table >= end || objects > (end - table) / quint64(offsetSize))
    return BinaryScan::Broken;

  // Where the references of a container start and how many there are; false for a leaf or a
  // broken object.
  const auto children = [&](quint64 index, quint64 *refs, quint64 *count, bool *broken) {
    *broken = false;
    const quint64 at = readBigEndian(bytes + table + index * quint64(offsetSize), offsetSize);
    if (at < quint64(kHeader) || at >= table) {
      *broken = true;
      return false;
    }
    const uchar marker = bytes[at];
    const int type = marker >> 4;
    // Array, ordered set, set and dictionary; a dictionary lists its keys, then its values.
    if (type != 0xA && type != 0xB && type != 0xC && type != 0xD)
      return false;
    quint64 n = marker & 0x0F, pos = at + 1;
    if (n == 0x0F) {
      if (pos >= table || (bytes[pos] >> 4) != 0x1 || (bytes[pos] & 0x0F) > 3) {
        *broken = true;
        return false;
      }
      const int len = 1 << (bytes[pos] & 0x0F);
      if (pos + 1 + quint64(len) > table) {
        *broken = true;
        return false;
      }
      n = readBigEndian(bytes + pos + 1, len);
      pos += 1 + quint64(len);
    }
    if (type == 0xD)
      n *= 2;
    if (n > (table - pos) / quint64(refSize)) {
      *broken = true;
      return false;
    }
    *refs = pos;
    *count = n;
    return true;
  };

  struct Frame {
    quint64 refs, count, next;
  };
  std::vector<Frame> path;
  qint64 visits = 1;
  const auto enter = [&](quint64 index) {
    quint64 refs = 0, count = 0;
    bool broken = false;
    if (children(index, &refs, &count, &broken)) {
      path.push_back({refs, count, 0});
      return path.size() + 1 > size_t(limit) ? BinaryScan::TooDeep : BinaryScan::Fine;
    }
    return broken ? BinaryScan::Broken : BinaryScan::Fine;
  };
  if (BinaryScan s = enter(root); s != BinaryScan::Fine)
    return s;
  while (!path.empty()) {
    Frame &top = path.back();
    if (top.next == top.count) {
      path.pop_back();
      continue;
    }
    const quint64 ref = readBigEndian(bytes + top.refs + top.next * quint64(refSize), refSize);
    ++top.next;
    if (ref >= objects || ++visits > maxVisits)
      return BinaryScan::Broken;
    if (BinaryScan s = enter(ref); s != BinaryScan::Fine)
      return s;
  }
  return BinaryScan::Fine;
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

// `release`, when given, is emptied once the parser has built its tree: a large list's bytes
// need not stay while its values are made.
bool parse(const QByteArray &data, QByteArray *release, QVariant *out) {
  *out = QVariant();
  if (data.isEmpty() || data.size() > std::numeric_limits<int32_t>::max())
    return false;
  // Containers nest kMaxDepth + 1 levels deep at most: as deep as toVariant reads.
  const bool binary = plist_is_binary(data.constData(), uint32_t(data.size()));
  if (binary ? scanBinary(data, kMaxDepth + 1, kMaxBinaryVisits) != BinaryScan::Fine
             : xmlDeeperThan(data, kMaxDepth + 1))
    return false;
  plist_t root = nullptr;
  plist_from_memory(data.constData(), uint32_t(data.size()), &root);
  PlistPtr guard(root);
  if (release)
    *release = QByteArray();
  if (!root)
    return false;
  *out = toVariant(root, 0);
  return out->isValid();
}

} // namespace

namespace Plist {

bool fromData(const QByteArray &data, QVariant *out) {
  return parse(data, nullptr, out);
}

bool fromData(QByteArray &&data, QVariant *out) {
  QByteArray held = std::move(data);
  data = QByteArray();
  return parse(held, &held, out);
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
  return fromData(std::move(bytes), out);
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
