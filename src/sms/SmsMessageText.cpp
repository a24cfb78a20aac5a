#include "SmsMessageText.h"

#include "SmsRecord.h"

#include <QUrl>
#include <algorithm>

namespace SmsMessageText {

QString textOf(const QVariantMap &record) {
  return SmsRecord::text(record);
}

namespace {
const QStringList &startMarks() {
  static const QStringList marks = {QStringLiteral("http://"), QStringLiteral("ftp://"), QStringLiteral("https://"),
                                    QStringLiteral("www.")};
  return marks;
}

// The smallest location of any mark in the text from `from`, -1 when none.
qsizetype firstOf(const QString &text, qsizetype from, const QStringList &marks) {
  qsizetype best = -1;
  for (const QString &mark : marks) {
    const qsizetype at = text.indexOf(mark, from, Qt::CaseInsensitive);
    if (at >= 0 && (best < 0 || at < best))
      best = at;
  }
  return best;
}

qsizetype firstEnd(const QString &text, qsizetype from) {
  for (qsizetype i = from; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char(' ') || c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
      return i;
  }
  return -1;
}
} // namespace

QList<Link> findHyperlinks(const QString &text) {
  QList<Link> links;
  qsizetype from = 0;
  while (from < text.size()) {
    const qsizetype head = firstOf(text, from, startMarks());
    if (head < 0)
      break;
    const qsizetype end = firstEnd(text, head);
    if (end < 0)
      break;
    links.prepend(Link{text.mid(head, end - head), int(head), int(end - head)});
    from = end;
  }
  return links;
}

QString urlOfLink(const QString &address) {
  if (address.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
    return QStringLiteral("http://") + address;
  return address;
}

QString linkedHtml(const QString &text) {
  QList<Link> links = findHyperlinks(text);
  std::sort(links.begin(), links.end(), [](const Link &a, const Link &b) { return a.location < b.location; });
  QString html;
  int at = 0;
  auto plain = [&html](const QString &part) {
    html += part.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
  };
  for (const Link &link : links) {
    plain(text.mid(at, link.location - at));
    const QUrl url(urlOfLink(link.linkAddress), QUrl::StrictMode);
    const QString shown = link.linkAddress.toHtmlEscaped();
    const QString style = QStringLiteral("color:blue;text-decoration:underline");
    // An address no URL can be made of keeps the look without the link.
    if (url.isValid())
      html += QStringLiteral("<a href=\"%1\" style=\"%2\">%3</a>")
                  .arg(QString::fromLatin1(url.toEncoded()).toHtmlEscaped(), style, shown);
    else
      html += QStringLiteral("<span style=\"%1\">%2</span>").arg(style, shown);
    at = link.location + link.length;
  }
  plain(text.mid(at));
  return html;
}

bool fieldContains(const QString &field, const QString &key) {
  return !field.isEmpty() && field.contains(key, Qt::CaseInsensitive);
}

} // namespace SmsMessageText
