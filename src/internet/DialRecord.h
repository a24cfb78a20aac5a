#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// Keys of a connection record, in export order.
inline const QString kRecordConnectName = QStringLiteral("connectname");
inline const QString kRecordStartTime = QStringLiteral("starttime");
inline const QString kRecordDisconnectTime = QStringLiteral("disconnecttime");
inline const QString kRecordConnectTime = QStringLiteral("connecttime");
inline const QString kRecordReceiveByte = QStringLiteral("receivebyte");
inline const QString kRecordSendByte = QStringLiteral("sendbyte");
inline const QString kRecordLocalAddr = QStringLiteral("localaddr");

// The record keys in the order of the table's columns and of both exports.
const QStringList &RecordFileHeaderKeys();
// Their column titles (wording keys), in the same order.
const QStringList &RecordFileHeaderTitles();

// One finished connection. Dates are kept as milliseconds since the epoch (UTC, as the file
// holds them) so that sums and period filters compare integers, never calendar objects. Each
// field remembers whether the file had it; keys this program does not read ("localaddr" and any
// other) travel along untouched.
struct DialRecord {
  QString connectName;
  qint64 startMs = 0;
  qint64 disconnectMs = 0;
  qint64 connectTime = 0; // seconds
  QVariant receiveByte;   // kilobytes as stored (normally "%0.2f" text)
  QVariant sendByte;
  double receiveKB = 0; // the float values of the two above
  double sendKB = 0;
  QVariantMap extra;
  bool hasName = false;
  bool hasStart = false;
  bool hasDisconnect = false;
  bool hasConnectTime = false;
  // Identity within this process: deleting selected rows removes exactly these records.
  quint64 id = 0;
  // The record's dictionary as the file holds it, kept from reading (or the first write) so that
  // writing years of records back costs a copy, not a formatting of every field. A record is
  // not changed once it is held; code that changes a field of one clears this.
  mutable QByteArray fileText;

  void setReceiveByte(const QVariant &value);
  void setSendByte(const QVariant &value);

  // Equal when every key and value is equal (the identity is not compared).
  bool sameContent(const DialRecord &other) const;

  QVariantMap toMap() const;
  static DialRecord fromMap(const QVariantMap &map);
};

using DialRecordList = QList<DialRecord>;

// The float value of a stored amount: a number, or the leading decimal of a text ("12.5"), else 0.
double recordAmountValue(const QVariant &value);
