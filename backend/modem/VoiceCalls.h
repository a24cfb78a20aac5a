#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

class SimulatedModem;
struct UIMsg;

// The simulated modem's voice calls (module 9 of the program). It keeps the callers as a modem
// does (id, direction, +CLCC state, number) and answers:
//   2307/150 dial (100-byte number): stage code 1 (delivered), then 5 (answered) after
//            "AnswerAfterMs"; code 8 for a busy number, without voice, or without a ready SIM
//            unless the number is an emergency number
//   2307/151 hang up: every call ends (code 7 for a call still ringing, 6 otherwise)
//   2307/152 answer: the incoming call becomes active (code 5)
//   2307/153 DTMF: the digit is kept (Dtmf())
//   2307/163 call-hold service (CHLD 0, 1, 2, 3, "1x"), then 2307/167
//   2307/164 the caller list, 2307/166 (count, then up to 8 records of 76 bytes)
// Pushes: when the device comes up, the voice-init reply 2305/0 (result byte 1 when voice is
// available) and the emergency numbers 2308/145; an incoming call 2306/146 (then 2306/148 every
// second while it rings); a waiting call 2306/149; stage codes 2306/147.
//
// Scenario keys (all optional), in the dictionary "Voice":
//   "Available"        bool     voice over USB available (YES)
//   "EmergencyNumbers" array    (["112", "911"])
//   "AnswerAfterMs"    integer  the far end answers a dialled call after this long (3000); a
//                               negative value waits for RemoteAnswer()
//   "BusyNumbers"      array    numbers whose dial fails with code 8
//   "RingWhenReady"    string   a number that calls in once the SIM is ready
//   "RingAfterMs"      integer  how long after the SIM is ready it rings (1000)
class VoiceCalls : public QObject {
  Q_OBJECT
public:
  // +CLCC states.
  enum State { kActive = 0, kHeld = 1, kDialling = 2, kAlerting = 3, kIncoming = 4, kWaiting = 5 };
  struct Caller {
    int id = 0;
    int direction = 0; // 0 outgoing, 1 incoming
    int state = kActive;
    QString number;
  };

  static constexpr int kMaxCallers = 8;
  static constexpr int kRecordSize = 76;
  static constexpr int kListSize = 4 + kMaxCallers * kRecordSize;

  static VoiceCalls *install(SimulatedModem &modem);
  static VoiceCalls *of(SimulatedModem &modem);

  // Control. Ring: an incoming call (a waiting call during a call); false when the device is
  // gone or the line is full.
  bool ring(const QString &number);
  // The far end answers every outgoing call still dialling or alerting; false when none.
  bool remoteAnswer();
  // The far end of caller `id` (0: every caller) hangs up; false when there is no such caller.
  bool remoteHangup(int id);
  void setVoiceAvailable(bool available);

  const QList<Caller> &callers() const { return callers_; }
  QString dtmf() const { return dtmf_; }

  // The caller-list reply's data for `callers`.
  static QByteArray encodeCallerList(const QList<Caller> &callers);

private:
  explicit VoiceCalls(SimulatedModem &modem);
  void install();
  void devicePackage(const UIMsg &package);
  void pushVoiceInit();
  void pushEmergencyNumbers();
  void pushStage(int code);
  QStringList emergencyNumbers() const;
  QVariantMap voiceDict() const;

  void dial(const UIMsg &request);
  void hangup();
  void answer();
  void callHold(quint32 value);
  void endCaller(int index);
  int indexOf(int id) const;
  int nextId() const;
  bool hasState(int state) const;
  void followRing();

  SimulatedModem &modem_;
  QList<Caller> callers_;
  QString dtmf_;
  bool available_ = true;
  bool availableOverridden_ = false;
  QTimer ringTimer_;
  QTimer answerTimer_;
};
