#include "DialRecordFile.h"

#include "Plist.h"

#include <QDateTime>
#include <QTimeZone>
#include <cstring>

namespace {

// ---- reading: the scanner for the common shape ----

// Thrown out of the scanner (by return value) when the text holds something it does not take;
// the general reader then decides.
class Scanner {
public:
  Scanner(const char *begin, const char *end) : p_(begin), end_(end) {}

  bool parseDocument(DialRecordList *out) {
    skipProlog();
    bool inPlist = false;
    if (startsWith("<plist")) {
      if (!skipPast('>'))
        return false;
      inPlist = true;
    }
    skipSpaceAndComments();
    if (startsWith("<array/>")) {
      p_ += 8;
    } else {
      if (!take("<array>"))
        return false;
      for (;;) {
        skipSpaceAndComments();
        if (take("</array>"))
          break;
        const char *dictBegin = p_;
        if (!take("<dict>"))
          return false;
        DialRecord record;
        if (!parseDict(&record))
          return false;
        record.fileText = QByteArray(dictBegin, p_ - dictBegin);
        out->append(std::move(record));
      }
    }
    skipSpaceAndComments();
    if (inPlist && !take("</plist>"))
      return false;
    skipSpaceAndComments();
    return p_ == end_;
  }

private:
  const char *p_;
  const char *end_;

  bool startsWith(const char *s) const {
    const size_t n = std::strlen(s);
    return size_t(end_ - p_) >= n && std::memcmp(p_, s, n) == 0;
  }
  bool take(const char *s) {
    if (!startsWith(s))
      return false;
    p_ += std::strlen(s);
    return true;
  }
  bool skipPast(char c) {
    const void *hit = std::memchr(p_, c, size_t(end_ - p_));
    if (!hit) {
      p_ = end_;
      return false;
    }
    p_ = static_cast<const char *>(hit) + 1;
    return true;
  }
  bool skipPast(const char *s) {
    const size_t n = std::strlen(s);
    for (const char *q = p_; size_t(end_ - q) >= n; ++q) {
      if (std::memcmp(q, s, n) == 0) {
        p_ = q + n;
        return true;
      }
    }
    p_ = end_;
    return false;
  }
  void skipSpace() {
    while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r'))
      ++p_;
  }
  void skipSpaceAndComments() {
    for (;;) {
      skipSpace();
      if (startsWith("<!--"))
        skipPast("-->");
      else
        return;
    }
  }
  void skipProlog() {
    if (startsWith("\xEF\xBB\xBF"))
      p_ += 3;
    for (;;) {
      skipSpaceAndComments();
      if (startsWith("<?"))
        skipPast("?>");
      else if (startsWith("<!DOCTYPE"))
        skipPast('>');
      else
        return;
    }
  }

  // The text up to "</name>"; false when it holds markup the scanner does not take.
  bool elementText(const char *closing, const char **textBegin, const char **textEnd) {
    const char *q = static_cast<const char *>(std::memchr(p_, '<', size_t(end_ - p_)));
    if (!q)
      return false;
    *textBegin = p_;
    *textEnd = q;
    p_ = q;
    return take(closing);
  }

  static bool decodeText(const char *b, const char *e, QString *out) {
    if (!std::memchr(b, '&', size_t(e - b))) {
      *out = QString::fromUtf8(b, e - b);
      return true;
    }
    QByteArray bytes;
    bytes.reserve(e - b);
    for (const char *q = b; q < e; ++q) {
      if (*q != '&') {
        bytes.append(*q);
        continue;
      }
      const char *semi = static_cast<const char *>(std::memchr(q, ';', size_t(e - q)));
      if (!semi || semi - q > 12)
        return false;
      const QByteArray entity(q + 1, semi - q - 1);
      if (entity == "amp")
        bytes.append('&');
      else if (entity == "lt")
        bytes.append('<');
      else if (entity == "gt")
        bytes.append('>');
      else if (entity == "quot")
        bytes.append('"');
      else if (entity == "apos")
        bytes.append('\'');
      else if (entity.startsWith('#')) {
        bool ok = false;
        const uint code = entity.startsWith("#x") ? entity.mid(2).toUInt(&ok, 16) : entity.mid(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
          return false;
        const char32_t c = code;
        bytes.append(QString::fromUcs4(&c, 1).toUtf8());
      } else {
        return false;
      }
      q = semi;
    }
    *out = QString::fromUtf8(bytes);
    return true;
  }

  static int digits(const char *s, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) {
      if (s[i] < '0' || s[i] > '9')
        return -1;
      v = v * 10 + (s[i] - '0');
    }
    return v;
  }

  // Days from 1970-01-01 of a civil date (proleptic Gregorian).
  static qint64 daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
  }

  static bool parseDate(const char *b, const char *e, qint64 *ms) {
    // The form every writer uses: "2024-03-01T12:00:00Z".
    if (e - b == 20 && b[4] == '-' && b[7] == '-' && b[10] == 'T' && b[13] == ':' && b[16] == ':' && b[19] == 'Z') {
      const int y = digits(b, 4), mo = digits(b + 5, 2), d = digits(b + 8, 2);
      const int h = digits(b + 11, 2), mi = digits(b + 14, 2), s = digits(b + 17, 2);
      if (y >= 0 && mo >= 1 && mo <= 12 && d >= 1 && d <= 31 && h >= 0 && h < 24 && mi >= 0 && mi < 60 && s >= 0 &&
          s < 60) {
        *ms = ((daysFromCivil(y, mo, d) * 24 + h) * 60 + mi) * 60000LL + s * 1000LL;
        return true;
      }
      return false;
    }
    const QDateTime dt = QDateTime::fromString(QString::fromLatin1(b, e - b), Qt::ISODate);
    if (!dt.isValid())
      return false;
    *ms = dt.toMSecsSinceEpoch();
    return true;
  }

  // One value after a key. False for anything but the simple kinds.
  bool parseValue(QVariant *value, qint64 *dateMs, bool *isDate) {
    *isDate = false;
    const char *b, *e;
    if (take("<string>")) {
      if (!elementText("</string>", &b, &e))
        return false;
      QString text;
      if (!decodeText(b, e, &text))
        return false;
      *value = text;
      return true;
    }
    if (take("<string/>")) {
      *value = QString("");
      return true;
    }
    if (take("<date>")) {
      if (!elementText("</date>", &b, &e) || !parseDate(b, e, dateMs))
        return false;
      *isDate = true;
      return true;
    }
    if (take("<integer>")) {
      if (!elementText("</integer>", &b, &e))
        return false;
      bool ok = false;
      const qint64 v = QByteArray::fromRawData(b, e - b).trimmed().toLongLong(&ok);
      if (!ok)
        return false;
      *value = v;
      return true;
    }
    if (take("<real>")) {
      if (!elementText("</real>", &b, &e))
        return false;
      bool ok = false;
      const double v = QByteArray::fromRawData(b, e - b).trimmed().toDouble(&ok);
      if (!ok)
        return false;
      *value = v;
      return true;
    }
    if (take("<true/>")) {
      *value = true;
      return true;
    }
    if (take("<false/>")) {
      *value = false;
      return true;
    }
    return false;
  }

  static bool keyIs(const char *b, const char *e, const QString &key) {
    const int n = int(e - b);
    if (n != key.size())
      return false;
    for (int i = 0; i < n; ++i)
      if (key[i].unicode() != uchar(b[i]))
        return false;
    return true;
  }

  bool parseDict(DialRecord *r) {
    for (;;) {
      skipSpaceAndComments();
      if (take("</dict>"))
        return true;
      const char *kb, *ke;
      if (!take("<key>") || !elementText("</key>", &kb, &ke))
        return false;
      skipSpaceAndComments();
      QVariant value;
      qint64 ms = 0;
      bool isDate = false;
      if (!parseValue(&value, &ms, &isDate))
        return false;
      // The keys the program reads, with the types it writes; anything else is kept as it is.
      if (keyIs(kb, ke, kRecordStartTime) && isDate) {
        r->startMs = ms;
        r->hasStart = true;
      } else if (keyIs(kb, ke, kRecordDisconnectTime) && isDate) {
        r->disconnectMs = ms;
        r->hasDisconnect = true;
      } else if (keyIs(kb, ke, kRecordConnectName) && value.typeId() == QMetaType::QString) {
        r->connectName = value.toString();
        r->hasName = true;
      } else if (keyIs(kb, ke, kRecordConnectTime) && value.typeId() == QMetaType::LongLong) {
        r->connectTime = value.toLongLong();
        r->hasConnectTime = true;
      } else if (keyIs(kb, ke, kRecordReceiveByte) && !isDate) {
        r->setReceiveByte(value);
      } else if (keyIs(kb, ke, kRecordSendByte) && !isDate) {
        r->setSendByte(value);
      } else {
        QString key;
        if (!decodeText(kb, ke, &key))
          return false;
        if (key == kRecordConnectName || key == kRecordStartTime || key == kRecordDisconnectTime ||
            key == kRecordConnectTime)
          return false; // an unusual type for a known key: let the general reader decide
        r->extra.insert(key, isDate ? QVariant(QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc())) : value);
      }
    }
  }
};

// ---- writing ----

void appendEscaped(QByteArray &out, const QString &text) {
  const QByteArray utf8 = text.toUtf8();
  bool plain = true;
  for (const char c : utf8)
    if (c == '&' || c == '<' || c == '>' || (uchar(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')) {
      plain = false;
      break;
    }
  if (plain) {
    out.append(utf8);
    return;
  }
  for (const char c : utf8) {
    switch (c) {
    case '&':
      out.append("&amp;");
      break;
    case '<':
      out.append("&lt;");
      break;
    case '>':
      out.append("&gt;");
      break;
    default:
      // Control characters cannot stand in XML 1.0 text; they are dropped rather than making
      // the whole file unreadable.
      if (uchar(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
        out.append(c);
    }
  }
}

void appendTwoDigits(QByteArray &out, int v) {
  out.append(char('0' + v / 10));
  out.append(char('0' + v % 10));
}

// The civil date of a day count from 1970-01-01 (proleptic Gregorian).
void civilFromDays(qint64 z, qint64 *y, int *m, int *d) {
  z += 719468;
  const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
  const qint64 doe = z - era * 146097;
  const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const qint64 mp = (5 * doy + 2) / 153;
  *d = int(doy - (153 * mp + 2) / 5 + 1);
  *m = int(mp < 10 ? mp + 3 : mp - 9);
  *y = yoe + era * 400 + (*m <= 2);
}

void appendDate(QByteArray &out, qint64 ms) {
  qint64 seconds = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
  qint64 days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const qint64 secOfDay = seconds - days * 86400;
  qint64 y = 0;
  int m = 0, d = 0;
  civilFromDays(days, &y, &m, &d);
  out.append("<date>");
  if (y >= 0 && y <= 9999) {
    out.append(char('0' + y / 1000));
    out.append(char('0' + y / 100 % 10));
    out.append(char('0' + y / 10 % 10));
    out.append(char('0' + y % 10));
  } else {
    out.append(QByteArray::number(y));
  }
  out.append('-');
  appendTwoDigits(out, m);
  out.append('-');
  appendTwoDigits(out, d);
  out.append('T');
  appendTwoDigits(out, int(secOfDay / 3600));
  out.append(':');
  appendTwoDigits(out, int(secOfDay % 3600 / 60));
  out.append(':');
  appendTwoDigits(out, int(secOfDay % 60));
  out.append("Z</date>");
}

void appendValue(QByteArray &out, const QVariant &v, int depth);

void appendIndent(QByteArray &out, int depth) {
  out.append(QByteArray(depth, '\t'));
}

void appendKeyValue(QByteArray &out, const QString &key, const QVariant &v, int depth) {
  appendIndent(out, depth);
  out.append("<key>");
  appendEscaped(out, key);
  out.append("</key>\n");
  appendIndent(out, depth);
  appendValue(out, v, depth);
  out.append('\n');
}

void appendValue(QByteArray &out, const QVariant &v, int depth) {
  switch (v.typeId()) {
  case QMetaType::QString:
    out.append("<string>");
    appendEscaped(out, v.toString());
    out.append("</string>");
    break;
  case QMetaType::Bool:
    out.append(v.toBool() ? "<true/>" : "<false/>");
    break;
  case QMetaType::Int:
  case QMetaType::LongLong:
  case QMetaType::UInt:
  case QMetaType::ULongLong:
    out.append("<integer>").append(QByteArray::number(v.toLongLong())).append("</integer>");
    break;
  case QMetaType::Double:
  case QMetaType::Float:
    out.append("<real>").append(QByteArray::number(v.toDouble(), 'g', 17)).append("</real>");
    break;
  case QMetaType::QDateTime:
    appendDate(out, v.toDateTime().toMSecsSinceEpoch());
    break;
  case QMetaType::QByteArray:
    out.append("<data>").append(v.toByteArray().toBase64()).append("</data>");
    break;
  case QMetaType::QVariantList: {
    const QVariantList list = v.toList();
    if (list.isEmpty() || depth > 32) {
      out.append("<array/>");
      break;
    }
    out.append("<array>\n");
    for (const QVariant &item : list) {
      appendIndent(out, depth + 1);
      appendValue(out, item, depth + 1);
      out.append('\n');
    }
    appendIndent(out, depth);
    out.append("</array>");
    break;
  }
  case QMetaType::QVariantMap: {
    const QVariantMap map = v.toMap();
    if (map.isEmpty() || depth > 32) {
      out.append("<dict/>");
      break;
    }
    out.append("<dict>\n");
    for (auto it = map.cbegin(); it != map.cend(); ++it)
      appendKeyValue(out, it.key(), it.value(), depth + 1);
    appendIndent(out, depth);
    out.append("</dict>");
    break;
  }
  default:
    out.append("<string>");
    appendEscaped(out, v.toString());
    out.append("</string>");
  }
}

void appendRecord(QByteArray &out, const DialRecord &r) {
  if (!r.fileText.isEmpty()) {
    out.append('\t').append(r.fileText).append('\n');
    return;
  }
  const qsizetype begin = out.size() + 1;
  out.append("\t<dict>\n");
  if (r.hasName)
    appendKeyValue(out, kRecordConnectName, r.connectName, 2);
  if (r.hasConnectTime)
    appendKeyValue(out, kRecordConnectTime, r.connectTime, 2);
  if (r.hasDisconnect) {
    out.append("\t\t<key>disconnecttime</key>\n\t\t");
    appendDate(out, r.disconnectMs);
    out.append('\n');
  }
  for (auto it = r.extra.cbegin(); it != r.extra.cend(); ++it)
    appendKeyValue(out, it.key(), it.value(), 2);
  if (r.receiveByte.isValid())
    appendKeyValue(out, kRecordReceiveByte, r.receiveByte, 2);
  if (r.sendByte.isValid())
    appendKeyValue(out, kRecordSendByte, r.sendByte, 2);
  if (r.hasStart) {
    out.append("\t\t<key>starttime</key>\n\t\t");
    appendDate(out, r.startMs);
    out.append('\n');
  }
  out.append("\t</dict>\n");
  r.fileText = out.mid(begin, out.size() - 1 - begin);
}

} // namespace

namespace DialRecordFile {

bool parse(const QByteArray &bytes, DialRecordList *out) {
  out->clear();
  if (bytes.size() > kMaxFileBytes)
    return false;
  if (!bytes.startsWith("bplist")) {
    Scanner scanner(bytes.constData(), bytes.constData() + bytes.size());
    DialRecordList records;
    if (scanner.parseDocument(&records)) {
      *out = std::move(records);
      return true;
    }
  }
  QVariant root;
  if (!Plist::fromData(bytes, &root) || root.typeId() != QMetaType::QVariantList)
    return false;
  const QVariantList list = root.toList();
  out->reserve(list.size());
  for (const QVariant &item : list)
    if (item.typeId() == QMetaType::QVariantMap)
      out->append(DialRecord::fromMap(item.toMap()));
  return true;
}

QByteArray toXml(const DialRecordList &records) {
  QByteArray out;
  out.reserve(256 + records.size() * 400);
  out.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
             "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
             "<plist version=\"1.0\">\n");
  if (records.isEmpty()) {
    out.append("<array/>\n");
  } else {
    out.append("<array>\n");
    for (const DialRecord &r : records)
      appendRecord(out, r);
    out.append("</array>\n");
  }
  out.append("</plist>\n");
  return out;
}

} // namespace DialRecordFile
