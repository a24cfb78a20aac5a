#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include "UIMsg.h"

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
//                       code's packed GSM 7-bit hexadecimal form. A reply with interaction 1
//                       may hold "Menu": answer ("1") -> reply, the same shape, which the next
//                       request of that session is matched against (a session: USSD menus);
//                       the answer "*" takes any text.
//     "Unknown"  dict   the reply to a code (or menu answer) the script does not know, same
//                       shape; without it an unknown code gets no reply.
// A request whose first word is 2 ends the session: it is answered and nothing follows.
// A reply whose DCS says the default alphabet (coding group 0, groups 4-7 with alphabet bits 00,
// group 15 without the 8-bit flag) is sent packed as GSM 7-bit hexadecimal text, one whose
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
  // While on, every USSD request is answered with a failure.
  void setFailRequests(bool on) { failRequests_ = on; }
  // The menu the open session answers from; empty when no session is open.
  QVariantMap session() const { return session_; }

  // Text in the GSM default alphabet (and its extension table), packed into septets as
  // upper-case hexadecimal, seven spare bits filled with a carriage return: the program's codec.
  static QByteArray packedHex(const QString &code);
  static QByteArray ussdRecord(int interaction, int dcs, const QByteArray &text);

private:
  explicit SimServices(SimulatedModem &modem);
  void onUssdRequest(const UIMsg &msg);
  SimulatedModem &modem_;
  bool simReady_ = false;
  QString lastRequest_;
  QVariantMap session_;
  bool failRequests_ = false;
};
