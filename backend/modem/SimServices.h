#pragma once

#include <QObject>
#include <QString>

class SimulatedModem;

// The simulated modem's SIM services. USSD (module 7): a request 1792/139 carries an 8192-byte
// record (interaction word, code word, NUL-terminated text); it is answered 1792/139 with
// result 0, or 0xFF before the SIM is ready, and the scenario's reply follows as 1792/140 in
// the same record layout.
//
// Scenario keys (all optional):
//   "USSD" dictionary:
//     "Replies"  dict   code ("*100#") -> {"Text" string, "DCS" integer (15), "Interaction"
//                       integer (0)}; a request matches a code by its plain text or by the
//                       code's packed GSM 7-bit hexadecimal form. An unknown code gets no reply.
// A reply whose DCS is in coding group 0 is sent packed as GSM 7-bit hexadecimal text, one whose
// alphabet bits say UCS2 as UCS2 hexadecimal, any other as UTF-8.
class SimServices : public QObject {
  Q_OBJECT
public:
  static SimServices *install(SimulatedModem &modem);
  static SimServices *of(SimulatedModem &modem);

  // Sends a network-initiated USSD reply; false before the SIM is ready.
  bool ussdPush(const QString &text, int dcs, int interaction);
  // The text of the last USSD request, as it arrived.
  QString lastUssdRequest() const { return lastRequest_; }
  bool simReady() const { return simReady_; }

  // GSM 7-bit packing of plain ASCII codes as upper-case hexadecimal text, seven spare bits
  // filled with a carriage return as the program does.
  static QByteArray packedHex(const QString &code);
  static QByteArray ussdRecord(int interaction, int dcs, const QByteArray &text);

private:
  explicit SimServices(SimulatedModem &modem);
  void onUssdRequest(const QByteArray &data);
  SimulatedModem &modem_;
  bool simReady_ = false;
  QString lastRequest_;
};
