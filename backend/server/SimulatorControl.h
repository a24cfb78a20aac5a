#pragma once

#include <QByteArrayList>
#include <QDBusArgument>
#include <QDBusContext>
#include <QObject>

// One caller of Callers(): id, direction (0 outgoing, 1 incoming), +CLCC state, number.
struct SimCaller {
  int id = 0;
  int direction = 0;
  int state = 0;
  QString number;
};
QDBusArgument &operator<<(QDBusArgument &arg, const SimCaller &caller);
const QDBusArgument &operator>>(const QDBusArgument &arg, SimCaller &caller);
Q_DECLARE_METATYPE(SimCaller)

// One message of SentMessages(): number, text.
struct SimSentSms {
  QString number;
  QString text;
};
QDBusArgument &operator<<(QDBusArgument &arg, const SimSentSms &sms);
const QDBusArgument &operator>>(const QDBusArgument &arg, SimSentSms &sms);
Q_DECLARE_METATYPE(SimSentSms)

class BackendServer;
class OperatorServer;
class SimulatedModem;

// The control interface tests and demos use to steer the simulated modem (gdbus call ...).
class SimulatorControl : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.qel.vArivevorer.Simulator")
public:
  SimulatorControl(SimulatedModem *modem, BackendServer *server, QObject *parent = nullptr);
  bool registerOn(class QDBusConnection &connection);
  // The operator's servers the control methods below steer (none: they answer nothing).
  void setOperatorServer(OperatorServer *server) { operator_ = server; }

public slots:
  Q_SCRIPTABLE void Plug();
  Q_SCRIPTABLE void Unplug();
  Q_SCRIPTABLE bool Inject(const QByteArray &bytes);
  Q_SCRIPTABLE QByteArrayList Received();
  Q_SCRIPTABLE void Reset();
  // Swaps the SIM for the one of a scenario in the bundle ("sim-pin", "no-sim", ...) or of a
  // scenario file given by path; false when there is no such scenario.
  Q_SCRIPTABLE bool SetSim(const QString &scenario);
  // Replaces the whole scenario and replays the device's start.
  Q_SCRIPTABLE bool LoadScenario(const QString &scenario);
  // "Ready", "PIN", "PUK", "Absent" or "Invalid", then the PIN and PUK tries left.
  Q_SCRIPTABLE QString SimState(int &pinTries, int &pukTries);

  // ---- signal and device ----

  // Pushes the signal report of the current family for `level` (0 to 5), as raw values the
  // program's tables turn back into that level; false for any other level.
  Q_SCRIPTABLE bool SetSignal(int level);
  // Switches the report family ("CSQ", "CDMA", "CDMAMarked", "Extended", "Extended2G",
  // "Icera", "Icera2G") and pushes its report for the current level; false for an unknown one.
  Q_SCRIPTABLE bool SetSignalFamily(const QString &family);
  // Pushes a family's report with these raw words (gdbus: SetSignalReport CSQ "[20]"); false
  // for an unknown family or fewer words than its layout has.
  Q_SCRIPTABLE bool SetSignalReport(const QString &family, const QList<int> &words);
  // The current family, then the level.
  Q_SCRIPTABLE QString Signal(int &level);
  // Pushes the device-mode reply with `mode` (4, 5 and 6 are the CDMA family).
  Q_SCRIPTABLE bool SetDeviceMode(int mode);

  // ---- end ----

  // (separator)

  // ---- registration, network and roaming ----
  // Each pushes what a registered device reports after such a change, for example
  //   gdbus call --session --dest org.qel.vArivevorer --object-path /Simulator
  //         --method org.qel.vArivevorer.Simulator.SetNetwork "Abroad" "262" "01" "HSDPA"
  // The registered domains: "CS_PS", "CS_ONLY", "PS_ONLY", or anything else for no service.
  Q_SCRIPTABLE void SetRegistration(const QString &domain);
  // Operator name, MCC, MNC and access technology ("GSM", "UMTS", "HSDPA", ...) of the serving
  // network; an empty text keeps that part.
  Q_SCRIPTABLE void SetNetwork(const QString &operatorName, const QString &mcc, const QString &mnc,
                               const QString &technology);
  Q_SCRIPTABLE void SetRoaming(bool roaming);
  // Location area and cell identity, hexadecimal texts.
  Q_SCRIPTABLE void SetCell(const QString &lac, const QString &cellId);
  // ---- end ----

  // ---- connection profiles ----
  // The last dial parameters received (APN, number, user, password, connect type, authentication
  // mode, MTU); empty texts and zeros before any.
  Q_SCRIPTABLE QString DialParams(QString &number, QString &user, QString &password, int &connectType, int &authMode,
                                  int &mtu);
  // ---- data session ----
  // The session's state ("idle", "connecting", "connected", "disconnecting"), then the APN
  // dialled, the bytes sent and received and the address given.
  Q_SCRIPTABLE QString DataSession(QString &apn, qulonglong &sent, qulonglong &received, QString &address);
  // Bytes per second while connected, from now on.
  Q_SCRIPTABLE void SetDataRates(uint up, uint down);
  Q_SCRIPTABLE bool SetDataCounters(qulonglong sent, qulonglong received);
  // The network takes the link down.
  Q_SCRIPTABLE void DropData();
  // "connect", "fail" or "account" (connect only with the scenario's account) for an APN.
  Q_SCRIPTABLE void SetConnectOutcome(const QString &apn, const QString &outcome);
  // The dial-up status layout, "old" (36 bytes) or "new" (164 bytes); false for anything else.
  Q_SCRIPTABLE bool SetStatusLayout(const QString &layout);
  // ---- message stores ----
  // Positions: 0 the PC list, 1 the SIM, 4 the device memory.
  // The SIM or device store as plist XML (its "Capacity" and boxes); empty for another position.
  Q_SCRIPTABLE QString SmsStore(int position);
  // Replaces the SIM or device store's boxes with those of a plist (XML text, or the path of a
  // list file), rewrites its list file and pushes the counts and the list-ready; false for
  // another position or an unreadable plist.
  Q_SCRIPTABLE bool SetSmsStore(int position, const QString &listFile);
  // Sets a store's capacity in message parts and pushes the counts and the list-ready.
  Q_SCRIPTABLE bool SetSmsCapacity(int position, int capacity);
  // A message from the network: stored at `position` (below 0: the receive position; a full SIM
  // or device store sends it to the PC) and announced part by part. Answers the parts, 0 when
  // nothing was stored.
  Q_SCRIPTABLE int DeliverSms(const QString &from, const QString &text, int position);
  // The same at the receive position with the parts announced in `order` (1-based; parts not
  // named are stored but not announced).
  Q_SCRIPTABLE int DeliverSmsParts(const QString &from, const QString &text, const QList<int> &order);
  Q_SCRIPTABLE void DeliverClass0(const QString &from, const QString &text);
  // A delivery report for a message sent to `to`: 1 delivered, 2 pending, others failed.
  Q_SCRIPTABLE void DeliverReport(const QString &to, int result);
  Q_SCRIPTABLE void Broadcast(const QString &from, const QString &text);
  Q_SCRIPTABLE void DeliverRecharge(const QString &from, const QString &text);
  // An MMS push (8192/194); its bytes are the package's data.
  Q_SCRIPTABLE void PushMms(const QByteArray &data);
  // Where arriving messages are stored (0, 1, 3 or 4); pushes 768/97.
  Q_SCRIPTABLE bool SetReceivePosition(int position);
  // ---- managing stored messages ----
  // The next `count` requests of that minor (92 delete, 93 copy, 112, 114, 115) answer 0xFF.
  Q_SCRIPTABLE void FailSmsRequests(int minor, int count);
  // A message from the network (as DeliverSms) that arrives once the `count`-th following
  // request of that minor (92 delete, 93 copy) has been carried out, before it is answered.
  Q_SCRIPTABLE void DeliverSmsAfterRequests(int minor, int count, const QString &from, const QString &text,
                                            int position);
  // The store location the settings last sent (768/97 module 3: 1 SIM, 2 PC, 3 device, 4 card);
  // -1 before any.
  Q_SCRIPTABLE int StoreLocation();
  // ---- end ----
  // ---- phonebook ----
  // Replaces a contact memory ("SIM" or "ME") with a scenario dictionary given as plist XML
  // (limits and "Contacts") and pushes its read result; false for an unknown memory or bad XML.
  Q_SCRIPTABLE bool SetContacts(const QString &store, const QString &plist);
  // A contact memory as plist XML; empty for an unknown memory.
  Q_SCRIPTABLE QString Contacts(const QString &store);
  // The active contact memory: 1 device memory, 2 SIM.
  Q_SCRIPTABLE int ActiveMemory();
  // The next `count` phonebook writes, deletes or memory switches fail.
  Q_SCRIPTABLE void FailPhonebookRequests(int count);
  // ---- voice calls ----
  // An incoming call from `number` (a waiting call while another call is up); false when the
  // device is gone or the line is full.
  Q_SCRIPTABLE bool Ring(const QString &number);
  // The far end answers the dialled call; false when no call is dialling.
  Q_SCRIPTABLE bool RemoteAnswer();
  // The far end of caller `id` hangs up (0: every caller); false when there is no such caller.
  Q_SCRIPTABLE bool RemoteHangup(int id);
  // The callers: id, direction, +CLCC state (0 active ... 5 waiting), number.
  Q_SCRIPTABLE QList<SimCaller> Callers();
  // Every DTMF digit the program sent, in order.
  Q_SCRIPTABLE QString Dtmf();
  // Pushes the voice-init reply with voice over USB available or not.
  Q_SCRIPTABLE void SetVoiceAvailable(bool available);
  // ---- router ----
  // Pushes every read of the router's settings; false when the scenario has no router.
  Q_SCRIPTABLE bool RouterPushReads();
  // The router's settings as plist XML, in the shape of the scenario's "Router" dictionary
  // (empty without a router).
  Q_SCRIPTABLE QString RouterState();
  // The next `count` applies are answered with a failure (0 cancels).
  Q_SCRIPTABLE void RouterFailNext(int count);

  // The card and what it sends: a new IMSI pushed (empty: a failed reply), the messages sent
  // (number, text), and whether the next sends succeed.
  Q_SCRIPTABLE void SetImsi(const QString &imsi);
  Q_SCRIPTABLE QList<SimSentSms> SentMessages();
  Q_SCRIPTABLE void SetSmsSendResult(bool ok);
  // ---- end ----

  // Sending: every send request as decoded (plist XML array of dictionaries), the first
  // `failedParts` parts of each later send to `number` fail, the centre the modem reports (or a
  // failing centre request), whether draft saves succeed.
  Q_SCRIPTABLE QString SentSms();
  Q_SCRIPTABLE void SetSendFailure(const QString &number, int failedParts);
  Q_SCRIPTABLE void SetSmsCenter(const QString &number, bool fail);
  Q_SCRIPTABLE void SetDraftSaveResult(bool ok);

  // SIM services: a network-initiated USSD reply (false before the SIM is ready).
  Q_SCRIPTABLE bool UssdPush(const QString &text, int dcs, int interaction);
  // While on, USSD requests are answered with a failure.
  Q_SCRIPTABLE void UssdFail(bool on);
  // The SIM toolkit: a proactive request ("menu", "alert", "alertNoButton", "input",
  // "information"; false before the SIM is ready) and the last input answer received.
  Q_SCRIPTABLE bool StkPush(const QString &kind, const QString &text, int minimum, int maximum);
  Q_SCRIPTABLE QString StkLastInput();
  // The GPS receiver: the position it reports while tracking, and whether its requests fail.
  Q_SCRIPTABLE void GpsSetPosition(const QString &latitude, const QString &longitude, const QString &altitude,
                                   const QString &velocity1, const QString &velocity2, const QString &velocity3);
  Q_SCRIPTABLE void GpsFail(bool on);
  // The voice-data service's frames: taken from the program (answered) and handed to it (out).
  Q_SCRIPTABLE int VoiceStats(int &framesOut);

  // Device lock: sets the lock and its code (empty keeps the code) and pushes the lock status;
  // DeviceLock answers whether it is on, then the code.
  Q_SCRIPTABLE void SetDeviceLock(bool enabled, const QString &code);
  Q_SCRIPTABLE bool DeviceLock(QString &code);
  // The message settings the program set: centre, store position, routing (plist XML).
  Q_SCRIPTABLE QString SmsSettings();
  // The network updates the SIM: pushes the notice (false without a device).
  Q_SCRIPTABLE bool SimUpdate();

  // Network selection: the networks a manual search finds (an array of dictionaries as plist
  // XML; false when it is not one), and the modem's mode, selection, band, roaming switches and
  // registered network (plist XML).
  Q_SCRIPTABLE bool SetNetworkList(const QString &plist);
  Q_SCRIPTABLE QString NetworkSelection();
  // Call forwarding, waiting and barring as the network keeps them (a dictionary as plist XML;
  // false when it is not one); KeepCallServices makes changes answer success without taking.
  Q_SCRIPTABLE bool SetCallServices(const QString &plist);
  Q_SCRIPTABLE QString CallServices();
  Q_SCRIPTABLE void KeepCallServices(bool keep);

  // ---- the operator's servers ----
  // Every request they received, as "METHOD path?query", oldest first.
  Q_SCRIPTABLE QStringList OperatorRequests();
  // Replaces the answer of one path (a path ending in "/" covers all below it): `status` 0 closes
  // the connection without an answer, a negative status restores the usual answer; the answer is
  // held `delayMs` (2147483647 or more: never answered). False while nothing is served.
  Q_SCRIPTABLE bool SetOperatorAnswer(const QString &path, int status, const QString &body, uint delayMs);
  // ---- end ----

private:
  SimulatedModem *modem_;
  BackendServer *server_;
  OperatorServer *operator_ = nullptr;
};
