#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

// The customer log's files: one semicolon-separated text file a day in its folder, named
// ddmm20yy.csv, lines ended by CR LF, the worded header first. Events wait in memory and are
// written together; only the files of this month and the previous one are kept.
class CustomerLogBook {
public:
  // The current values an event carries besides its text.
  struct Values {
    QString rssi = QStringLiteral("0");
    QString rat = QStringLiteral("No Service");
    QString lac = QStringLiteral("0");
    QString cellId = QStringLiteral("0");
    QString rnc = QStringLiteral("0");
    QString upLink = QStringLiteral("0.00 Kbps");
    QString downLink = QStringLiteral("0.00 Kbps");
  };
  struct Event {
    QString date, time, pcid, message;
    Values values;
  };

  explicit CustomerLogBook(QString folder = {});

  void setFolder(const QString &folder) { folder_ = folder; }
  QString folder() const { return folder_; }
  void setHeader(const QString &header) { header_ = header; }
  void setPcId(const QString &pcid) { pcid_ = pcid; }
  // Seams: the clock, and how a file is replaced (atomically by default).
  void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
  using Writer = std::function<bool(const QString &path, const QByteArray &bytes)>;
  void setWriter(Writer writer) { writer_ = std::move(writer); }

  // Stamps and queues one event with the values given.
  void add(const QString &message, const Values &values);
  int queued() const { return int(queue_.size()); }
  const QList<Event> &queue() const { return queue_; }

  // Writes the queue into today's file. True when there was nothing to write or it was
  // written; the queue is kept for the next try when the day file could not be read or
  // replaced, so no event is lost and no day's lines are overwritten.
  bool write();

  static QString dayFileName(const QDate &day);
  // A value as the file carries it: the separator and line breaks become spaces.
  static QString cleanValue(const QString &value);
  static QByteArray lineOf(const Event &event);
  // Whether a folder entry is a day file to remove in the month of `today` (only names of the
  // day-file form; kept are this month's and the previous month's, with their years).
  static bool isExpiredDayFile(const QString &name, const QDate &today);

private:
  QDateTime now() const { return clock_ ? clock_() : QDateTime::currentDateTime(); }
  void removeExpired(const QDate &today) const;

  QString folder_;
  QString header_;
  QString pcid_;
  QList<Event> queue_;
  std::function<QDateTime()> clock_;
  Writer writer_;
};
