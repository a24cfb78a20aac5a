#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class SimulatedModem;

// Sending messages: the modem takes a send request (768/91), keeps the number and text of what
// it sent, and answers with one result word per part (a part is 160 units; every part goes out
// unless told otherwise). A request that asks for no result gets none.
class SmsSending : public QObject {
  Q_OBJECT
public:
  static SmsSending *install(SimulatedModem &modem);
  static SmsSending *of(SimulatedModem &modem);

  // (number, text) of every message sent, oldest first.
  QList<QPair<QString, QString>> sent() const { return sent_; }
  // Whether the following sends succeed.
  void setSendResult(bool ok) { sendOk_ = ok; }

private:
  explicit SmsSending(SimulatedModem &modem);
  SimulatedModem &modem_;
  QList<QPair<QString, QString>> sent_;
  bool sendOk_ = true;
};
