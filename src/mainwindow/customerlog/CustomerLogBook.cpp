#include "CustomerLogBook.h"

#include "SafeFile.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

CustomerLogBook::CustomerLogBook(QString folder) : folder_(std::move(folder)) {}

QString CustomerLogBook::dayFileName(const QDate &day) {
  const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
  return two(day.day()) + two(day.month()) + QStringLiteral("20") + two(day.year() % 100) + QStringLiteral(".csv");
}

QString CustomerLogBook::cleanValue(const QString &value) {
  QString out = value;
  for (QChar &c : out)
    if (c == QLatin1Char(';') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
      c = QLatin1Char(' ');
  return out;
}

void CustomerLogBook::add(const QString &message, const Values &values) {
  const QDateTime at = now();
  Event e;
  e.date = at.toString(QStringLiteral("dd/MM/yy"));
  e.time = at.toString(QStringLiteral("HH:mm:ss"));
  e.pcid = pcid_;
  e.message = message;
  e.values = values;
  queue_.append(e);
}

QByteArray CustomerLogBook::lineOf(const Event &e) {
  const QStringList fields = {e.date,        e.time,          e.pcid,           e.message,
                              e.values.rssi, e.values.rat,    e.values.lac,     e.values.cellId,
                              e.values.rnc,  e.values.upLink, e.values.downLink};
  QString line;
  for (int i = 0; i < fields.size(); ++i) {
    line += cleanValue(fields.at(i));
    line += i + 1 < fields.size() ? QStringLiteral(";") : QStringLiteral("\r\n");
  }
  return line.toUtf8();
}

bool CustomerLogBook::isExpiredDayFile(const QString &name, const QDate &today) {
  static const QRegularExpression dayFile(QStringLiteral("^(\\d{2})(\\d{2})(\\d{4})\\.(csv|CSV)$"));
  const QRegularExpressionMatch m = dayFile.match(name);
  if (!m.hasMatch())
    return false;
  const int month = m.captured(2).toInt();
  const int year = m.captured(3).toInt();
  const QDate previous = today.addMonths(-1);
  const bool current = month == today.month() && year == today.year();
  const bool before = month == previous.month() && year == previous.year();
  return !current && !before;
}

void CustomerLogBook::removeExpired(const QDate &today) const {
  const QDir dir(folder_);
  for (const QString &name : dir.entryList(QDir::Files | QDir::System | QDir::Hidden))
    if (isExpiredDayFile(name, today))
      QFile::remove(dir.filePath(name));
}

bool CustomerLogBook::write() {
  if (queue_.isEmpty())
    return true;
  if (folder_.isEmpty() || !SafeFile::makeFolder(folder_, 0700))
    return false;
  const QDate today = now().date();
  const QString name = dayFileName(today);
  removeExpired(today);

  const QDir dir(folder_);
  const QString path = dir.filePath(name);
  QString upper = name;
  upper.replace(QStringLiteral(".csv"), QStringLiteral(".CSV"));
  const QString upperPath = dir.filePath(upper);
  QString found;
  if (QFileInfo::exists(path))
    found = path;
  else if (QFileInfo::exists(upperPath))
    found = upperPath;

  QByteArray text;
  if (found.isEmpty()) {
    text = header_.toUtf8() + "\r\n";
  } else if (!SafeFile::readRegularFile(found, &text)) {
    // The day's lines are not thrown away because they could not be read now.
    qWarning() << "CustomerLogBook: cannot read" << found << "- keeping it and the events";
    return false;
  }
  for (const Event &e : queue_)
    text += lineOf(e);
  const bool ok = writer_ ? writer_(path, text) : SafeFile::writeAtomically(path, text);
  if (!ok)
    return false;
  if (found == upperPath)
    QFile::remove(upperPath);
  queue_.clear();
  return true;
}
