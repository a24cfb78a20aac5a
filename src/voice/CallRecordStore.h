#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

// The call log file: an array of call records, oldest first, written whole and atomically after
// every change. A record is {"mobilephone", "date", "calltime" ("%02d:%02d:%02d", optional),
// "callType" ("missedCall", "recivedCall", "dialedCall", optional)}.
class CallRecordStore {
public:
  static inline const QString kMissed = QStringLiteral("missedCall");
  static inline const QString kReceived = QStringLiteral("recivedCall");
  static inline const QString kDialled = QStringLiteral("dialedCall");

  explicit CallRecordStore(QString path = QString());

  // Reads the file: a missing file is an empty log; a file that exists but cannot be read is an
  // empty log too, and is moved aside before the first write instead of being overwritten.
  void load();
  bool save();

  const QVariantList &records() const { return records_; }
  // Appends `record`. With `sameNumberOnce`, first removes the earliest record of the same number
  // and the same missed-ness; answers its index, or -1.
  int add(const QVariantMap &record, bool sameNumberOnce);
  // Removes every record equal to `record`.
  void removeEqual(const QVariantMap &record);
  void clear();
  // The records of one kind, in log order.
  QVariantList recordsOfType(const QString &callType) const;

  QString path() const { return path_; }
  // Where an unreadable log was moved; empty when none was.
  QString setAsidePath() const { return setAsidePath_; }

private:
  QString path_;
  QVariantList records_;
  bool unreadable_ = false;
  QString setAsidePath_;
};
