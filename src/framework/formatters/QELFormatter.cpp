#include "QELFormatter.h"

#include <QLineEdit>
#include <limits>

namespace {
constexpr int kIPParts = 4;
constexpr qint64 kSaturate = std::numeric_limits<int>::max();

bool isAsciiDigit(QChar c) {
  // The whole UTF-16 unit is compared: U+0131 or U+0661 are not '1' because of their low byte.
  return c.unicode() >= u'0' && c.unicode() <= u'9';
}
} // namespace

bool QELFormatter::getObjectValue(QVariant *object, const QString &string, QString *errorDescription) const {
  if (object)
    *object = stringForObjectValue(string);
  if (errorDescription)
    errorDescription->clear();
  return true;
}

std::unique_ptr<TPAddressFormatter> TPAddressFormatter::defaultTPAddressFormatter() {
  return std::make_unique<TPAddressFormatter>();
}

bool TPAddressFormatter::isAllowedCharacter(QChar c) {
  const char16_t u = c.unicode();
  return isAsciiDigit(c) || u == u'*' || u == u'#' || u == u'a' || u == u'b' || u == u'c';
}

QString TPAddressFormatter::stringForObjectValue(const QVariant &object) const {
  if (object.typeId() != QMetaType::QString)
    return QString(QLatin1String(""));
  const QString text = object.toString();
  qsizetype n = 0;
  while (n < text.size() && isAllowedCharacter(text.at(n)))
    ++n;
  return text.left(n);
}

std::unique_ptr<IPAddressFormatter> IPAddressFormatter::defaultIPAddressFormatter() {
  return std::make_unique<IPAddressFormatter>();
}

bool IPAddressFormatter::scanInt(const QString &text, qsizetype from, qint64 *value) {
  qsizetype i = from;
  while (i < text.size() && text.at(i).isSpace())
    ++i;
  bool negative = false;
  if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
    negative = text.at(i) == QLatin1Char('-');
    ++i;
  }
  if (i >= text.size() || !isAsciiDigit(text.at(i)))
    return false;
  qint64 v = 0;
  for (; i < text.size() && isAsciiDigit(text.at(i)); ++i)
    v = qMin<qint64>(v * 10 + (text.at(i).unicode() - u'0'), kSaturate);
  *value = negative ? -v : v;
  return true;
}

QString IPAddressFormatter::stringForObjectValue(const QVariant &object) const {
  if (object.typeId() != QMetaType::QString)
    return QStringLiteral("0.0.0.0");
  QString text = object.toString();
  qsizetype starts[kIPParts] = {0, 0, 0, 0};
  int parts = 1;
  for (qsizetype i = 0; i < text.size() && parts < kIPParts; ++i) {
    if (text.at(i) == QLatin1Char('.'))
      starts[parts++] = i + 1;
  }
  for (; parts < kIPParts; ++parts) {
    text += QStringLiteral(".0");
    starts[parts] = text.size() - 1;
  }
  int values[kIPParts];
  for (int p = 0; p < kIPParts; ++p) {
    qint64 v = 0;
    if (!scanInt(text, starts[p], &v))
      v = 0;
    values[p] = static_cast<int>(qBound(qint64(0), v, qint64(255)));
  }
  return QStringLiteral("%1.%2.%3.%4").arg(values[0]).arg(values[1]).arg(values[2]).arg(values[3]);
}

QELFormatterBinding::QELFormatterBinding(QLineEdit *edit, std::shared_ptr<const QELFormatter> formatter)
    : QObject(edit), edit_(edit), formatter_(std::move(formatter)) {
  if (edit_)
    connect(edit_, &QLineEdit::editingFinished, this, &QELFormatterBinding::normalise);
}

void QELFormatterBinding::normalise() {
  if (!edit_ || !formatter_)
    return;
  QVariant value;
  formatter_->getObjectValue(&value, edit_->text());
  const QString normal = value.toString();
  if (normal != edit_->text())
    edit_->setText(normal);
}

QELFormatterBinding *setFormatter(QLineEdit *edit, std::shared_ptr<const QELFormatter> formatter) {
  return edit ? new QELFormatterBinding(edit, std::move(formatter)) : nullptr;
}
