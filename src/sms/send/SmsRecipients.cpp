#include "SmsRecipients.h"

#include "SmsCodec.h"
#include "SmsRecord.h"

namespace SmsRecipients {

namespace {
QStringList rawItems(const QString &text, const QString &separator) {
  if (separator.isEmpty())
    return {text};
  QStringList out = text.split(separator);
  // A text ending with the separator has no further item.
  if (!out.isEmpty() && out.last().isEmpty())
    out.removeLast();
  return out;
}
} // namespace

QStringList split(const QString &text, const QString &separator, const SpecialNumberLookup &special) {
  QStringList out;
  for (const QString &item : rawItems(text, separator)) {
    if (isUnValidCharWithSendNumString(item))
      continue;
    const QString number = special ? special(item) : QString();
    out << (number.isEmpty() ? item : number);
  }
  return out;
}

QStringList items(const QString &text, const QString &separator) {
  QStringList out;
  for (const QString &item : rawItems(text, separator))
    if (!item.isEmpty())
      out << item;
  return out;
}

int numberofSendPhone(const QString &text, const QString &separator) {
  if (text.isEmpty() || separator.isEmpty())
    return text.isEmpty() ? 0 : 1;
  const int separators = int(text.count(separator));
  return separators + (text.endsWith(separator) ? 0 : 1);
}

bool isUnValidCharWithSendNumString(const QString &text) {
  const QByteArray bytes = text.toUtf8();
  for (char c : bytes)
    if (c != ' ')
      return false;
  return true;
}

Filtered filter(const QString &text, QChar separator, int max) {
  Filtered out;
  int run = 0, count = 0;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    const QChar prev = i == 0 ? QLatin1Char('0') : text.at(i - 1);
    if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+')) {
      ++run;
      if (run <= 40 && count < max)
        out.text += c;
    } else if (c == separator && i > 0 && prev != separator) {
      ++count;
      if (count > max) {
        out.tooMany = true;
        break;
      }
      out.text += c;
      run = 0;
    }
  }
  return out;
}

QString appendPicked(const QString &field, const QStringList &numbers, QChar separator) {
  QString text = field;
  for (const QString &number : numbers) {
    if (!text.isEmpty() && !text.endsWith(separator))
      text += separator;
    text += number + separator;
  }
  return text;
}

} // namespace SmsRecipients

SmsTextCount SmsTextCount::of(const QString &typed, const SmsCodecSettings &settings) {
  SmsTextCount c;
  c.text = typed;
  if (typed.isEmpty()) {
    c.parts = 1;
    return c;
  }
  auto units = [](const QString &s) { return reinterpret_cast<const char16_t *>(s.utf16()); };
  const int limit = getMaxTextNum(units(typed), int(typed.size()), kMaxParts, settings);
  // An escape pair never straddles two parts, so a text within five parts' characters can
  // still need a sixth part: that is over the limit too.
  if (getInputTextNum(units(typed), unsigned(typed.size()), settings) > limit ||
      getInputPackNum(units(typed), unsigned(typed.size()), settings) > kMaxParts) {
    const int keep = cutMaxTextLen(units(typed), unsigned(typed.size()), kMaxParts, settings);
    c.text = typed.left(qBound(0, keep, int(typed.size())));
    c.cut = true;
  }
  c.characters = getInputTextNum(units(c.text), unsigned(c.text.size()), settings);
  c.parts = qMax(1, getInputPackNum(units(c.text), unsigned(c.text.size()), settings));
  return c;
}

SmsDraftKey SmsDraftKey::of(const QVariantMap &record, int position) {
  SmsDraftKey key;
  if (record.isEmpty())
    return key;
  key.valid = true;
  key.position = position;
  bool ok = false;
  key.index = record.value(QStringLiteral("index")).toInt(&ok);
  if (!ok)
    key.index = -1;
  key.number = SmsRecord::number(record);
  key.date = SmsRecord::date(record);
  key.text = SmsRecord::text(record);
  return key;
}

bool SmsDraftKey::matches(const QVariantMap &record) const {
  return valid && SmsRecord::number(record) == number && SmsRecord::date(record) == date &&
         SmsRecord::text(record) == text;
}

int SmsDraftKey::findIn(const QVariantList &box) const {
  if (!valid)
    return -1;
  if (index >= 0 && index < box.size() && matches(box.at(index).toMap()))
    return index;
  for (int i = 0; i < box.size(); ++i)
    if (matches(box.at(i).toMap()))
      return i;
  return -1;
}
