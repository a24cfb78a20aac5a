#include "TokenListReader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace TokenListReader {
namespace {

bool isWordChar(QChar c) {
  const char16_t u = c.unicode();
  if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9'))
    return true;
  switch (u) {
  case u'_':
  case u'$':
  case u'+':
  case u'/':
  case u':':
  case u'.':
  case u'-':
    return true;
  default:
    return false;
  }
}

int hexValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= u'0' && u <= u'9')
    return u - u'0';
  if (u >= u'a' && u <= u'f')
    return u - u'a' + 10;
  if (u >= u'A' && u <= u'F')
    return u - u'A' + 10;
  return -1;
}

// Escapes can produce surrogates one at a time; a half pair is not text.
QString repairSurrogates(const QString &s) {
  QString out;
  out.reserve(s.size());
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s.at(i);
    if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
      out.append(c);
      out.append(s.at(++i));
    } else if (c.isSurrogate()) {
      out.append(QChar::ReplacementCharacter);
    } else {
      out.append(c);
    }
  }
  return out;
}

class Parser {
public:
  explicit Parser(const QString &text) : s_(text), n_(text.size()) {}

  Result run() {
    Result r;
    while (true) {
      if (!skipSpaceAndComments()) {
        // An unterminated comment swallows the rest of the text.
        noteBad(r, pos_);
        break;
      }
      if (pos_ >= n_)
        break;
      const qsizetype entryStart = pos_;
      QString key, value;
      if (parseEntry(&key, &value)) {
        if (r.table.size() >= kMaxEntries && !r.table.contains(key)) {
          r.truncated = true;
          continue;
        }
        r.table.insert(key, value);
      } else {
        noteBad(r, entryStart);
        // Resume on the line after the one the entry began on: every failure moves forward.
        const qsizetype nl = s_.indexOf(QLatin1Char('\n'), entryStart);
        pos_ = nl < 0 ? n_ : nl + 1;
      }
    }
    return r;
  }

private:
  void noteBad(Result &r, qsizetype at) {
    ++r.badEntries;
    if (r.firstBadLine == 0)
      r.firstBadLine = int(QStringView(s_).left(at).count(QLatin1Char('\n'))) + 1;
  }

  // False for a block comment that never ends.
  bool skipSpaceAndComments() {
    while (pos_ < n_) {
      const QChar c = s_.at(pos_);
      if (c.isSpace()) {
        ++pos_;
      } else if (c == QLatin1Char('/') && pos_ + 1 < n_ && s_.at(pos_ + 1) == QLatin1Char('/')) {
        const qsizetype nl = s_.indexOf(QLatin1Char('\n'), pos_);
        pos_ = nl < 0 ? n_ : nl + 1;
      } else if (c == QLatin1Char('/') && pos_ + 1 < n_ && s_.at(pos_ + 1) == QLatin1Char('*')) {
        // Once a comment is known to run to the end, every later one does too: no rescan.
        if (openCommentFrom_ >= 0 && pos_ >= openCommentFrom_)
          return false;
        const qsizetype end = s_.indexOf(QLatin1String("*/"), pos_ + 2);
        if (end < 0) {
          openCommentFrom_ = pos_;
          return false;
        }
        pos_ = end + 2;
      } else {
        break;
      }
    }
    return true;
  }

  bool parseEntry(QString *key, QString *value) {
    // An empty key could never be asked for.
    if (!readToken(key, kMaxKeyLength) || key->isEmpty() || !skipSpaceAndComments() || pos_ >= n_)
      return false;
    if (s_.at(pos_) == QLatin1Char(';')) {
      // A lone key stands for itself.
      ++pos_;
      *value = *key;
      return true;
    }
    if (s_.at(pos_) != QLatin1Char('='))
      return false;
    ++pos_;
    if (!skipSpaceAndComments() || !readToken(value, kMaxValueLength) || !skipSpaceAndComments())
      return false;
    if (pos_ >= n_ || s_.at(pos_) != QLatin1Char(';'))
      return false;
    ++pos_;
    return true;
  }

  bool readToken(QString *out, int maxLength) {
    if (pos_ >= n_)
      return false;
    if (s_.at(pos_) == QLatin1Char('"'))
      return readQuoted(out, maxLength);
    const qsizetype start = pos_;
    while (pos_ < n_ && isWordChar(s_.at(pos_)))
      ++pos_;
    if (pos_ == start || pos_ - start > maxLength)
      return false;
    *out = s_.mid(start, pos_ - start);
    return true;
  }

  bool readQuoted(QString *out, int maxLength) {
    const qsizetype start = pos_;
    // A quote that found no end means no unescaped quote follows it, so none after it can end.
    if (openQuoteFrom_ >= 0 && start >= openQuoteFrom_)
      return false;
    ++pos_;
    QString text;
    bool tooLong = false;
    while (true) {
      if (pos_ >= n_) {
        openQuoteFrom_ = start;
        return false;
      }
      const QChar c = s_.at(pos_++);
      if (c == QLatin1Char('"'))
        break;
      if (text.size() > maxLength) {
        tooLong = true; // keep scanning to the closing quote, but drop the entry
        if (c == QLatin1Char('\\') && pos_ < n_)
          ++pos_;
        continue;
      }
      if (c != QLatin1Char('\\')) {
        text.append(c);
        continue;
      }
      if (pos_ >= n_) {
        openQuoteFrom_ = start;
        return false;
      }
      appendEscape(&text);
    }
    if (tooLong || text.size() > maxLength)
      return false;
    *out = repairSurrogates(text);
    return true;
  }

  void appendEscape(QString *text) {
    const QChar e = s_.at(pos_++);
    switch (e.unicode()) {
    case u'n':
      text->append(QLatin1Char('\n'));
      return;
    case u't':
      text->append(QLatin1Char('\t'));
      return;
    case u'r':
      text->append(QLatin1Char('\r'));
      return;
    case u'a':
      text->append(QChar(0x07));
      return;
    case u'b':
      text->append(QChar(0x08));
      return;
    case u'f':
      text->append(QChar(0x0C));
      return;
    case u'v':
      text->append(QChar(0x0B));
      return;
    case u'U':
    case u'u': {
      unsigned code = 0;
      int digits = 0;
      while (digits < 4 && pos_ < n_ && hexValue(s_.at(pos_)) >= 0) {
        code = code * 16 + unsigned(hexValue(s_.at(pos_++)));
        ++digits;
      }
      if (digits == 0)
        text->append(e); // "\U" without digits: keep the letter
      else if (code != 0)
        text->append(QChar(char16_t(code)));
      return;
    }
    default:
      break;
    }
    if (e.unicode() >= u'0' && e.unicode() <= u'7') {
      unsigned code = e.unicode() - u'0';
      for (int i = 0; i < 2 && pos_ < n_ && s_.at(pos_).unicode() >= u'0' && s_.at(pos_).unicode() <= u'7'; ++i)
        code = code * 8 + (s_.at(pos_++).unicode() - u'0');
      if (code != 0)
        text->append(QChar(char16_t(code & 0xFF)));
      return;
    }
    // \" \' \\ and any other escaped character stand for themselves.
    text->append(e);
  }

  const QString &s_;
  const qsizetype n_;
  qsizetype pos_ = 0;
  qsizetype openQuoteFrom_ = -1;
  qsizetype openCommentFrom_ = -1;
};

} // namespace

Result parseText(const QString &text) {
  return Parser(text).run();
}

Result parse(const QByteArray &bytes) {
  if (bytes.size() >= 2) {
    const auto b0 = uchar(bytes.at(0)), b1 = uchar(bytes.at(1));
    const bool le = b0 == 0xFF && b1 == 0xFE;
    const bool be = b0 == 0xFE && b1 == 0xFF;
    if (le || be) {
      QStringDecoder decoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
      return parseText(decoder(bytes.mid(2)));
    }
  }
  QByteArrayView view(bytes);
  const qsizetype nul = view.indexOf('\0');
  if (nul >= 0)
    view = view.first(nul);
  if (view.startsWith("\xEF\xBB\xBF"))
    view = view.sliced(3);
  return parseText(QString::fromUtf8(view));
}

bool readFile(const QString &path, Result *out) {
  if (path.isEmpty() || !out)
    return false;
  QFile file(path);
  const QFileInfo info(path);
  if (!info.isFile() || info.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly))
    return false;
  // Read one byte past the bound: a file that grew since the size check is refused too.
  const QByteArray bytes = file.read(kMaxFileBytes + 1);
  if (bytes.size() > kMaxFileBytes || file.error() != QFileDevice::NoError)
    return false;
  *out = parse(bytes);
  return true;
}

} // namespace TokenListReader
