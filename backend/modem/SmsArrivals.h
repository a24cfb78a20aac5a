#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class SimulatedModem;

// What reaches the modem from the network: short messages, class-0 messages, delivery
// reports, cell broadcasts, recharge messages and MMS pushes.
//
// A message is cut into parts with the program's codec, stored whole (SmsStore: the SIM, the
// device memory or the PC list; a store without room sends it to the PC and the packages then
// name position 2), and announced with one 768/101 per part: the 436-byte record with the part's
// text, one reference shared by the parts of a long text (counted per sender, as each sender's
// phone numbers its own messages) and a stamp in a zone 8 hours east of GMT. 768/99 carries a
// class-0 message, 768/100 a report, 768/106 (type 1) a broadcast, 768/102 a recharge message,
// 8192/194 an MMS push.
//
// Scenario key "SMS"/"Arrivals": an array of {"From", "Text", "Position"} delivered when the
// SIM is ready (position absent: the receive position).
class SmsArrivals : public QObject {
  Q_OBJECT
public:
  static SmsArrivals *install(SimulatedModem &modem);
  static SmsArrivals *of(SimulatedModem &modem);
  // Stores and announces a message; the parts announced in `order` (1-based, the others not
  // announced; empty: all in turn). Position below 0: the receive position. Answers the number
  // of parts, 0 when nothing could be stored.
  int deliver(const QString &from, const QString &text, int position, const QList<int> &order = {});
  void deliverClass0(const QString &from, const QString &text);
  void deliverReport(const QString &to, int result);
  void broadcast(const QString &from, const QString &text);
  void deliverRecharge(const QString &from, const QString &text);
  void pushMms(const QByteArray &data);

private:
  explicit SmsArrivals(SimulatedModem &modem);
  SimulatedModem &modem_;
  QHash<QString, quint8> references_;
};
