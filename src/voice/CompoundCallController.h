#pragma once

#include "CallAudioPath.h"
#include "CallPackages.h"
#include "CallPage.h"
#include "CallsNeighbour.h"
#include "QELUIController.h"

#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>
#include <functional>
#include <memory>

// The controller of the Call tab: it places and answers the voice calls the modem makes, hangs
// them up, holds, swaps and joins them, sends DTMF digits, follows the backend's stage codes and
// caller lists, and keeps the call stage the rest of the program reads. Split by concern:
// CompoundCallController.cpp (life, registrations, device and network events, requests),
// CompoundCallControllerDial.cpp (dial, answer, hang-up, keypad, stage codes, disconnect),
// CompoundCallControllerMulti.cpp (caller lists, multi-call mode, the two-party case),
// CompoundCallControllerPage.cpp (page wording, prompts, tip window, timing, end sheet, log
// records). It is also the face of the voice calls and SIM services to the other subsystems
// (CallsNeighbour), passing the USSD and SIM toolkit operations on to their controllers.
class CompoundCallController : public QELUIController, public CallsNeighbour {
  Q_OBJECT
public:
  // The call stage: 0 idle, any other value a call in progress.
  enum Stage {
    kIdle = 0,
    kActive = 1,
    kHeld = 2,
    kTwoParties = 3,
    kDialling = 4,
    kIncoming = 16,
    kWaiting = 32,
    kAnswering = 64,
  };
  enum RecordType { kRecordNone = 0, kRecordMissed = 1, kRecordReceived = 2, kRecordDialled = 3 };

  explicit CompoundCallController(QObject *parent = nullptr);
  ~CompoundCallController() override;

  // Outlet: the page's own controls (made by the controller when the builder gives none).
  QPointer<CallPage> page;

  int callStage() const override { return m_callStage; }
  // Every change of the stage goes through here, so that the plug-in hears of it.
  void setCallStage(int stage) {
    m_callStage = stage;
    publishCallState();
  }
  // The notification that tells the call plug-in the one call state both halves show: the stage,
  // the page's status words and what the page's buttons offer.
  static constexpr const char *kCallStateChanged = "callStateChanged";
  // The state as last told, for tests: "CallStage", "CallStatus", "CanDial", "CanAnswer",
  // "CanHangup".
  QVariantMap callState() const;
  // A ringing or waiting call: Dial answers it (and says so).
  bool isAnswerable() const { return m_callStage == kIncoming || m_callStage == kWaiting; }
  bool is2GNetRegisted() const override { return Net2GFlag; }
  // The USSD controller's and the SIM toolkit's operations for the other subsystems; nothing
  // (false) while that controller is absent.
  bool getConnectBtnEnableRadirer() const override;
  void toolkitExitClicked() override;
  void toolkitSelectClicked(int index) override;

  // ---- page actions (also the main window's call menu items and the plug-in's requests) ----
  Q_INVOKABLE void selectDialCallStyle(QObject *sender = nullptr) override;
  Q_INVOKABLE void hangClicked(QObject *sender = nullptr) override;
  // Answers a ringing call, or dials as the Dial button would; nothing while idle.
  Q_INVOKABLE void answerCall(QObject *sender = nullptr);
  Q_INVOKABLE void dialNumberButnClicked(QObject *sender);
  Q_INVOKABLE void backSpace(QObject *sender = nullptr);
  Q_INVOKABLE void callHold(QObject *sender = nullptr);
  Q_INVOKABLE void multipleCall(QObject *sender = nullptr);
  Q_INVOKABLE void gotoCallRecord(QObject *sender = nullptr);
  Q_INVOKABLE void incomingCallTipAnswer(QObject *sender = nullptr);
  Q_INVOKABLE void incomingCallTipHangup(QObject *sender = nullptr);
  Q_INVOKABLE void incomingCallTipOKClicked(QObject *sender = nullptr);
  // The microphone and speaker buttons show or hide their sliders (set to the device volume);
  // the sliders set the default input and output device volume.
  Q_INVOKABLE void microPhoneButtonClicked(QObject *sender = nullptr);
  Q_INVOKABLE void speakerButtonClicked(QObject *sender = nullptr);
  Q_INVOKABLE void microPhoneVolumeSliderChanged(QObject *sender);
  Q_INVOKABLE void speakerVolumeSliderChanged(QObject *sender);
  // The number field's search menu: the contact picker for one number, whose choice comes back
  // as "makeCallWithPhoneNumber".
  Q_INVOKABLE void showSelectWindow(QObject *sender = nullptr);
  // The numbers of the search menu, the latest first.
  QStringList recentSearches() const { return recentSearches_; }
  // The call-kind sheet: OK dials when voice is chosen, Cancel empties the number field.
  Q_INVOKABLE void selectDialCallStyleOK(QObject *sender = nullptr);
  Q_INVOKABLE void selectDialCallStyleCancel(QObject *sender = nullptr);
  // Shows the configured special number in the call plug-in's input box ("SpecialPhoneNumber").
  Q_INVOKABLE void letPhoneNumberDisplayedOnInputBox(QObject *sender = nullptr);
  // The number field's filter: keeps 0-9 + P W * #, at most 32 of them.
  void controlTextDidChange();
  static QString filterDialNumber(const QString &text);

  // ---- notifications ----
  Q_INVOKABLE void makeCallWithPhoneNumber(const Notification &n);
  Q_INVOKABLE void dialNumberButnFromBundle(const Notification &n);
  Q_INVOKABLE void setMuteBtnDownFromBundle(const Notification &n);
  Q_INVOKABLE void setMuteBtnUpFromBundle(const Notification &n);
  Q_INVOKABLE void setVolumeFromBundle(const Notification &n);
  Q_INVOKABLE void updateNetworkStatus(const Notification &n);
  Q_INVOKABLE void devicePlugin(const Notification &n);
  Q_INVOKABLE void simReady(const Notification &n);
  Q_INVOKABLE void deviceRemoved(const Notification &n);
  Q_INVOKABLE void tabViewItemWillChange(const Notification &n);
  Q_INVOKABLE void notifyDeviceUnlockSuccess(const Notification &n);
  Q_INVOKABLE void notifyDeviceUnlockFailed(const Notification &n);
  Q_INVOKABLE void updateLanguages(const Notification &n);
  Q_INVOKABLE void machineWillSleep();

  // ---- backend packages ----
  Q_INVOKABLE void voiceInitFinished(const Notification &n);
  Q_INVOKABLE void initRgentPhone(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfIncomingCall(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfWaitingCall(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCallStageChanged(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfRing(const Notification &n);
  Q_INVOKABLE void dealWithMsgOfCheckCall(const Notification &n);
  Q_INVOKABLE void dealWithMultipleCallOptResult(const Notification &n);

  // The decoded forms the handlers pass on (tests drive them directly).
  void callStageDidChange(int code);
  void showIncomingCall(const QString &number);
  void showWaitingCall(const QString &number);
  void upDateCaller(const QList<CallPackages::CallerRecord> &callers);
  void receiveCallerListInSingleMode(const QList<CallPackages::CallerRecord> &callers);

  // ---- requests ----
  void sendCommandOfVoiceCallToNumber(const QString &number);
  void sendCommandOfHangupCall();
  void sendCommandOfAnswerCall();
  void sendCommandOfCallDTMF(QChar key);
  void sendCHLDCmdWithOption(quint32 option);
  void checkCallerState();
  // Sees every request as it goes to the backend (minor id and data); tests install one.
  using RequestObserver = std::function<void(int minor, const QByteArray &data)>;
  static void setRequestObserver(RequestObserver observer);

  // ---- call audio ----
  // Both do nothing when the audio is already in that state.
  void startVoiceDataSequenceGrabbing();
  void stopVoiceDataSequenceGrabbing();
  // The running call's audio path; null before the first call.
  CallAudioPath *audioPath() const { return audioPath_.get(); }
  // The voice-data service; the process-wide one unless a test installs its own before the
  // first call (not owned).
  void setVoiceDataConnection(SharedDistantConnection *link) { serverProto_ = link; }
  SharedDistantConnection *voiceDataConnection() const;
  bool isAudioRunning() const { return audioRunning_; }
  int audioStarts() const { return audioStarts_; }
  int audioStops() const { return audioStops_; }

  // ---- state read by the page, the plug-ins and the tests ----
  bool supportMultipleCall() const;
  bool supportCallWait() const;
  QString dialNumberString() const { return m_dialNumberString; }
  QString phoneNumberInCallTip() const { return phoneNumberInCallTip_; }
  bool hasIncomingCall() const { return m_hasIncomingCall; }
  bool hasIncomingCallInTip() const { return hasIncomingCallInTip_; }
  qint64 connectTime() const { return m_connectTime; }
  bool isDtmfEnabled() const { return m_isdtmfEnabled; }
  bool isVoiceOverUsbEnabled() const { return m_isVoiceOverUsbEnabled; }
  bool isUrgentCall() const { return m_isUrgentCall; }
  bool isMicrophoneMuted() const { return microPhoneIsMute_; }
  double volume() const { return volume_; }
  QStringList urgentCallNumbers() const { return urgentCallNumberList; }
  const QVariantList &callers() const { return callerArray_; }
  bool isCallTimerRunning() const { return callTimingTimer_.isActive(); }
  bool isPromptRunning() const { return promptTimer_.isActive(); }
  QString promptText() const { return promptText_; }
  bool isTipCloseScheduled() const { return tipCloseTimer_.isActive(); }
  int tipCloseIntervalMs() const { return tipCloseTimer_.isActive() ? tipCloseTimer_.interval() : -1; }
  // Seconds since 1 January 2001 (UTC), the time base of the connect times.
  static qint64 referenceSeconds();
  static QString durationText(qint64 seconds);
  // The caller-state texts of the caller table (not worded).
  static QString callerStateText(int state);

  // Device status as the device events set it.
  void netcardChanged(int code);
  bool isDeviceOnline() const { return m_netCardState == 0; }
  bool isSimReady() const { return m_simCardState == 0; }

protected:
  void initializeNibResources() override;
  void registerMessages() override;
  void initializeController() override;
  void loadCommonBundle() override;

private slots:
  void prepareForSleep(bool sleeping);

private:
  void sendRequest(int minor, const QByteArray &data = QByteArray());

  // Dial road.
  void originateVoiceCall();
  bool isUssdComand(const QString &text);
  void answerIncomingCall();
  void dealDialWithCallHoldStage();
  void dealDialWithCallHoldConnectedStage();
  void dealDialWithCallWaitStage();
  void hangupInSingleMode();
  void hangupWaitingCallFromMainPage();
  void responseToCallDisconnected();
  void incomingCallEstablished();
  void refreshVoiceAvailability();
  void changeCallWindow();
  void alertCallInProgress();

  // Multi-call.
  void hangClickedWhenSupportMultipleCall();
  int checkDataCardCallState() const;
  void applyStageFromCallers(int stage);
  void setButtonState();
  void reloadCallerTable();
  void receiveHangupWhenHasCallInIncommingCallTip(const QList<CallPackages::CallerRecord> &callers);
  void setBtnStateWithDialBtn(bool dial, bool hangup, bool hold, bool multiple);

  // Page.
  void changeNibLanguage();
  void initMultipleCallNib();
  void initSearchField();
  void addRecentSearch(const QString &number);
  void setStatus(const QString &wordingKey);
  void setCallName(const QString &number);
  void setMenuItems(bool accept, bool reject);
  void enableDial(bool on);
  void enableHangup(bool on);
  void enableNumberField(bool on);
  void setNumberField(const QString &text);
  QString numberFieldText() const;
  void spinDialPrompt(const QString &wordingKey);
  void promptTick();
  bool promptStageHolds() const;
  void promptIncomingCallOfNumber(const QString &number);
  void doIncomingCallNotification(const QString &number);
  void initialzeIncomingCallNotify();
  void setCloseIncomingCallWinTime();
  void closeTipWindow();
  void scheduleTimerForCallTiming();
  void invalidateTimerForCallTiming();
  void updateCallTiming();
  void promptCallEndStatus(qint64 seconds);
  void closeCallEndWindow();
  void alert(const QString &titleKey, const QString &messageKey);
  // Posts the call state when it differs from the one last posted (always with `force`).
  void publishCallState(bool force = false);
  void alertWithItemTitle(const QString &messageKey);
  QString word(const QString &key) const;

  // Call log.
  // Each answers the duration it logged in seconds, or -1 when the record has none.
  qint64 saveCallRecordOfMainCall();
  qint64 saveCallRecordOfTipCall();
  void saveCallRecordWithCaller(const QVariantMap &caller);
  void addRecord(const QVariantMap &record, int type);

  int m_callStage = kIdle;
  int m_callStyle = 0;
  QString m_dialNumberString;
  QString phoneNumberInCallTip_;
  qint64 m_connectTime = 0;
  qint64 connectTimeInCallTip_ = 0;
  bool m_hasIncomingCall = false;
  bool hasIncomingCallInTip_ = false;
  // The tip's call is the active one (answered from the tip, not swapped back since).
  bool tipCallActive_ = false;
  bool audioRunning_ = false;
  int m_callRecordType = kRecordNone;
  bool m_isdtmfEnabled = false;
  int m_netCardState = 1;
  int m_simCardState = 1;
  bool m_isVoiceOverUsbEnabled = false;
  bool Net2GFlag = false;
  QStringList urgentCallNumberList;
  bool m_isUrgentCall = false;
  QVariantList callerArray_;
  bool microPhoneIsMute_ = false;
  double volume_ = 1.0;
  QVariantMap currentRecord_;
  QStringList recentSearches_;
  QString networkStatus_;
  bool menuAccept_ = false;
  bool menuReject_ = false;
  int audioStarts_ = 0;
  int audioStops_ = 0;
  // The missing audio channel is told once a session, not on every call.
  bool audioProblemTold_ = false;
  QVariantMap publishedState_;

  QTimer promptTimer_;
  QString promptText_;
  QString promptKey_;
  int promptStep_ = 0;
  QTimer callTimingTimer_;
  QTimer tipCloseTimer_;
  QTimer endSheetTimer_;
  std::unique_ptr<CallPage> ownPage_;
  std::unique_ptr<CallAudioPath> audioPath_;
  SharedDistantConnection *serverProto_ = nullptr;
};

extern CompoundCallController *g_CompoundCallController;
