// The Call page the program draws itself: wording, the status prompts, the incoming-call tip
// window, the call timing and the end sheet; and the call-log records of both modes.
#include "CompoundCallController.h"

#include "CallNeighbours.h"
#include "CallRecordController.h"
#include "CallRecordStore.h"
#include "ConfigService.h"
#include "DeviceVolume.h"
#include "FrameworkLinks.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "PhonebookNeighbour.h"
#include "QELAlertPanel.h"
#include "TextFormats.h"
#include "WordGlobe.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QHeaderView>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <cmath>

namespace {
const char *const kPromptSteps[] = {" *", " * *", " * * *", " * * * *", " * * * * *"};
constexpr int kDefaultTipCloseSeconds = 5;
} // namespace

QString CompoundCallController::word(const QString &key) const {
  return Map_Name_Item_of_IndexString(key);
}

// The call's notices only inform: they never wait, so that a notice raised while a package is
// handled (the audio channel at connect) leaves the packages after it, the device's removal
// among them, flowing.
void CompoundCallController::alert(const QString &titleKey, const QString &messageKey) {
  NSBeginAlertPanelExt(word(titleKey), word(messageKey), word(QStringLiteral("OK")));
}

void CompoundCallController::alertWithItemTitle(const QString &messageKey) {
  NSBeginAlertPanelExt(Map_Name_Item_of_Index(14), word(messageKey), word(QStringLiteral("OK")));
}

// ---- page set-up ----

void CompoundCallController::initializeNibResources() {
  if (!page) {
    ownPage_ = std::make_unique<CallPage>();
    page = ownPage_.get();
  }
  if (qelSkinManager) {
    const QList<QPair<QObject *, const char *>> skinned = {
        {page->endSheet, "CallEndWindow"},
        {page->endSheet->text, "LabelCallEnd"},
        {page->endSheet->time, "LabelCallEndTime"},
        {page->callName, "LabelCallName"},
        {page->dialNumber, "DialNumber_inputfield"},
        {page->dialStatus, "LabelDialStatus"},
        {page->tipWindow, "WindowOfIncomingCallTip"},
        {page->tipWindow->ok, "btnOfOKForIncomingWindow"},
    };
    for (const auto &[control, key] : skinned)
      FrameworkLinks::registerController(qelSkinManager, control, QLatin1String(key), false);
  }
  m_connectTime = 0;
  page->dial->setEnabled(false);
  page->missedCallMark->hide();
  page->dialNumber->setEnabled(false);
  page->dialNumber->clear();
  const QString toDisplay =
      ConfigService::readValue(QStringLiteral("Call"), QStringLiteral("phoneNumberToDisplay")).toString();
  if (!toDisplay.isEmpty())
    page->dialNumber->setText(toDisplay);
  initMultipleCallNib();
  CallStyleSheet *styleSheet = page->selectDialCallStyleWin;
  connect(styleSheet->ok, &QPushButton::clicked, this,
          [this] { selectDialCallStyleOK(page->selectDialCallStyleWin->ok); });
  connect(styleSheet->cancel, &QPushButton::clicked, this,
          [this] { selectDialCallStyleCancel(page->selectDialCallStyleWin->cancel); });
  connect(page->dialNumber, &QLineEdit::textEdited, this, [this] { controlTextDidChange(); });
  connect(page->dial, &QPushButton::clicked, this, [this] { selectDialCallStyle(page->dial); });
  connect(page->hangup, &QPushButton::clicked, this, [this] { hangClicked(page->hangup); });
  connect(page->hold, &QPushButton::clicked, this, [this] { callHold(page->hold); });
  connect(page->multipleCall, &QPushButton::clicked, this, [this] { multipleCall(page->multipleCall); });
  connect(page->record, &QPushButton::clicked, this, [this] { gotoCallRecord(page->record); });
  connect(page->backSpace, &QPushButton::clicked, this, [this] { backSpace(page->backSpace); });
  connect(page->microPhone, &QPushButton::clicked, this, [this] { microPhoneButtonClicked(page->microPhone); });
  connect(page->speaker, &QPushButton::clicked, this, [this] { speakerButtonClicked(page->speaker); });
  connect(page->microPhoneVolume, &QSlider::valueChanged, this,
          [this] { microPhoneVolumeSliderChanged(page->microPhoneVolume); });
  connect(page->speakerVolume, &QSlider::valueChanged, this,
          [this] { speakerVolumeSliderChanged(page->speakerVolume); });
  for (QPushButton *key : page->keypad)
    connect(key, &QPushButton::clicked, this, [this, key] { dialNumberButnClicked(key); });
  connect(page->missedCallMark, &QPushButton::clicked, this, [this] {
    page->missedCallMark->hide();
    notifyChangeTabViewItem(QStringLiteral("Setting"));
  });
  CallTipWindow *tip = page->tipWindow;
  connect(tip->answer, &QPushButton::clicked, this, [this] { incomingCallTipAnswer(page->tipWindow->answer); });
  connect(tip->hangup, &QPushButton::clicked, this, [this] { incomingCallTipHangup(page->tipWindow->hangup); });
  connect(tip->ok, &QPushButton::clicked, this, [this] { incomingCallTipOKClicked(page->tipWindow->ok); });
  changeNibLanguage();
}

void CompoundCallController::initMultipleCallNib() {
  const bool multiple = supportMultipleCall();
  page->callerTable->setVisible(multiple);
  page->hold->setVisible(multiple);
  page->multipleCall->setVisible(multiple);
  page->hold->setEnabled(false);
  page->multipleCall->setEnabled(false);
}

void CompoundCallController::changeNibLanguage() {
  if (!page)
    return;
  CallTipWindow *tip = page->tipWindow;
  tip->title->setText(word(QStringLiteral("You have a incoming call.")));
  tip->nameCaption->setText(word(QStringLiteral("Name:")));
  tip->numberCaption->setText(word(QStringLiteral("Number:")));
  tip->ok->setText(word(QStringLiteral("OK")));
  tip->answer->setText(word(QStringLiteral("Answer")));
  tip->hangup->setText(word(QStringLiteral("Hang up")));
  if (page->callName->text().isEmpty())
    page->callName->setText(QString());
  if (m_callStage == kIdle)
    setStatus(QStringLiteral("Status:Idle"));
  else if (m_callStage == kActive)
    setStatus(QStringLiteral("Status:In use"));
  page->record->setText(word(QStringLiteral("Record")));
  page->backSpace->setText(word(QStringLiteral("BackSpace")));
  page->microPhone->setText(word(QStringLiteral("MicroPhone")));
  page->speaker->setText(word(QStringLiteral("Speaker")));
  // The sliders have no caption of their own; a screen reader names them after their buttons.
  page->microPhoneVolume->setAccessibleName(page->microPhone->text());
  page->speakerVolume->setAccessibleName(page->speaker->text());
  page->dial->setText(word(isAnswerable() ? QStringLiteral("Answer") : QStringLiteral("Dial")));
  page->hangup->setText(word(QStringLiteral("Hang up")));
  page->hold->setText(word(m_callStage == kHeld ? QStringLiteral("Resume") : QStringLiteral("Hold")));
  page->multipleCall->setText(word(QStringLiteral("Multiple Call")));
  page->callerTable->setHorizontalHeaderLabels(
      {word(QStringLiteral("Name/Phone Number")), word(QStringLiteral("State"))});
  CallStyleSheet *styleSheet = page->selectDialCallStyleWin;
  styleSheet->voiceCell->setText(word(QStringLiteral("Voice Call")));
  styleSheet->videoCell->setText(word(QStringLiteral("Video Call")));
  styleSheet->ok->setText(word(QStringLiteral("OK")));
  styleSheet->cancel->setText(word(QStringLiteral("Cancel")));
  initSearchField();
}

// ---- the number field's search menu ----

void CompoundCallController::initSearchField() {
  QMenu *menu = page->searchMenu;
  menu->clear();
  menu->setTitle(word(QStringLiteral("Search contact menu")));
  page->searchMenuButton->setToolTip(menu->title());
  page->searchMenuButton->setText(QStringLiteral("\u25BE"));
  menu->addAction(word(QStringLiteral("Select contact")), this, [this] { showSelectWindow(); });
  if (recentSearches_.isEmpty())
    return;
  menu->addSeparator();
  for (const QString &number : std::as_const(recentSearches_))
    menu->addAction(number, this, [this, number] {
      // During a call the field belongs to the call (DTMF digits, the caller's number).
      if (page->dialNumber->isEnabled())
        setNumberField(number);
    });
}

void CompoundCallController::addRecentSearch(const QString &number) {
  constexpr int kMaxRecentSearches = 10;
  if (number.isEmpty())
    return;
  recentSearches_.removeAll(number);
  recentSearches_.prepend(number);
  while (recentSearches_.size() > kMaxRecentSearches)
    recentSearches_.removeLast();
  if (page)
    initSearchField();
}

void CompoundCallController::showSelectWindow(QObject *) {
  if (PhonebookNeighbour *phonebook = Neighbourhood::phonebook())
    phonebook->showContactPickerForCall(wndMain ? wndMain.data() : page.data());
}

// ---- the call-kind sheet ----

void CompoundCallController::selectDialCallStyleOK(QObject *) {
  CallStyleSheet *styleSheet = page->selectDialCallStyleWin;
  const bool voice = styleSheet->dialCallStyle->checkedId() == 0;
  styleSheet->hide();
  if (voice)
    originateVoiceCall();
}

void CompoundCallController::selectDialCallStyleCancel(QObject *) {
  setNumberField(QString());
  page->selectDialCallStyleWin->hide();
}

void CompoundCallController::letPhoneNumberDisplayedOnInputBox(QObject *) {
  ConfigService *switches = ConfigService::sharedConfigService();
  const QString number = switches ? switches->readDisplayInTheInputBoxSpecialPhoneNum().toString() : QString();
  if (number.isEmpty())
    return;
  notificationCenter->postNotificationName(QStringLiteral("SpecialPhoneNumber"), this,
                                           {{QString::fromLatin1(kCallWithPhoneNumber), number}});
  notifyChangeTabViewItem(QStringLiteral("Call"));
}

void CompoundCallController::updateLanguages(const Notification &) {
  changeNibLanguage();
}

// ---- small page helpers ----

void CompoundCallController::setStatus(const QString &wordingKey) {
  // A status of a stage the animation does not run in ends the animation at once.
  if (!promptStageHolds())
    promptTimer_.stop();
  if (page)
    page->dialStatus->setText(word(wordingKey));
  publishCallState();
}

void CompoundCallController::setCallName(const QString &number) {
  const QString name = phonebookNameOf(number);
  if (page)
    page->callName->setText(name);
  notificationCenter->postNotificationName(QString::fromLatin1(kSetCallName), this,
                                           {{QString::fromLatin1(kSetCallName), name}});
}

void CompoundCallController::setMenuItems(bool accept, bool reject) {
  menuAccept_ = accept;
  menuReject_ = reject;
  if (auto *main = Neighbourhood::mainWindow())
    main->setCallMenuItemEnable(accept, true, reject, true);
}

void CompoundCallController::enableDial(bool on) {
  if (page)
    page->dial->setEnabled(on);
  publishCallState();
}

void CompoundCallController::enableHangup(bool on) {
  if (page)
    page->hangup->setEnabled(on);
  publishCallState();
}

QVariantMap CompoundCallController::callState() const {
  return publishedState_;
}

void CompoundCallController::publishCallState(bool force) {
  const bool answerable = isAnswerable();
  // The page's Dial button answers a ringing call: it says so.
  if (page)
    page->dial->setText(word(answerable ? QStringLiteral("Answer") : QStringLiteral("Dial")));
  const bool dialEnabled = page && page->dial->isEnabled();
  const QString status = promptTimer_.isActive() && promptStageHolds()
                             ? promptText_
                             : (page ? page->dialStatus->text() : word(QStringLiteral("Status:Idle")));
  const QVariantMap state{
      {QStringLiteral("CallStage"), m_callStage},
      {QStringLiteral("CallStatus"), status},
      // Idle, a number may always be tried: a device that is not ready says so.
      {QStringLiteral("CanDial"), !answerable && (m_callStage == kIdle || dialEnabled)},
      {QStringLiteral("CanAnswer"), answerable},
      {QStringLiteral("CanHangup"), m_callStage != kIdle && page && page->hangup->isEnabled()},
  };
  if (!force && state == publishedState_)
    return;
  publishedState_ = state;
  notificationCenter->postNotificationName(QString::fromLatin1(kCallStateChanged), this, state);
}

void CompoundCallController::enableNumberField(bool on) {
  if (page)
    page->dialNumber->setEnabled(on);
}

void CompoundCallController::setNumberField(const QString &text) {
  if (page)
    page->dialNumber->setText(text);
}

QString CompoundCallController::numberFieldText() const {
  return page ? page->dialNumber->text() : QString();
}

// ---- the status animation ----

// One timer on the main thread animates the status label; a new prompt replaces the running one.
void CompoundCallController::spinDialPrompt(const QString &wordingKey) {
  promptKey_ = wordingKey;
  promptText_ = word(wordingKey);
  promptStep_ = 0;
  promptTimer_.start();
  promptTick();
  publishCallState();
}

bool CompoundCallController::promptStageHolds() const {
  return m_callStage == kDialling || m_callStage == kIncoming ||
         (m_callStage == kAnswering && promptKey_ == QStringLiteral("Status:connect"));
}

void CompoundCallController::promptTick() {
  if (!promptStageHolds()) {
    promptTimer_.stop();
    return;
  }
  if (page)
    page->dialStatus->setText(promptText_ + QLatin1String(kPromptSteps[promptStep_ % 5]));
  ++promptStep_;
}

// ---- incoming calls ----

void CompoundCallController::showIncomingCall(const QString &number) {
  notificationCenter->postNotificationName(QString::fromLatin1(kIncomingCall), this,
                                           {{QStringLiteral("IncomingPhoneNumber"), number}});
  if (m_callStage != kIdle && m_callStage != kWaiting) {
    if (m_callStage == kIncoming)
      playSound(kSoundIncomingCall);
  } else {
    notifyDataServiceSwitch(true);
    m_hasIncomingCall = true;
    m_callStyle = 0;
    m_dialNumberString = number;
    setNumberField(number);
    enableDial(true);
    enableHangup(true);
    setMenuItems(true, true);
    enableNumberField(false);
    promptIncomingCallOfNumber(number);
  }
  if (supportMultipleCall())
    checkCallerState();
}

void CompoundCallController::showWaitingCall(const QString &number) {
  const bool tipPath = supportCallWait() && m_callStage == kActive;
  if (supportMultipleCall() && !tipPath) {
    setCallStage(kWaiting);
    checkCallerState();
    showIncomingCall(number);
    return;
  }
  if (!tipPath)
    return;
  setCallStage(kWaiting);
  phoneNumberInCallTip_ = number;
  connectTimeInCallTip_ = 0;
  tipCallActive_ = false;
  doIncomingCallNotification(number);
}

void CompoundCallController::promptIncomingCallOfNumber(const QString &number) {
  bool sheetShown = false;
  if (wndMain)
    for (const QDialog *d : wndMain->findChildren<QDialog *>())
      sheetShown = sheetShown || (d->isVisible() && d->isModal());
  if (sheetShown || ConfigService::readBool(QStringLiteral("Call"), QStringLiteral("ShowIncomingCallNotify")))
    doIncomingCallNotification(number);
  if (wndMain && wndMain->isMinimized())
    wndMain->showNormal();
  if (m_callStage == kIdle) {
    setCallStage(kIncoming);
    playSound(kSoundIncomingCall);
    spinDialPrompt(QStringLiteral("Status: Incomming call"));
  } else if (m_callStage == kWaiting) {
    spinDialPrompt(QStringLiteral("Status: Waiting call"));
  }
  setCallName(number);
  m_connectTime = 0;
  if (wndMain) {
    wndMain->show();
    wndMain->raise();
  }
  notifyChangeTabViewItem(QStringLiteral("Call"));
  if (page && ConfigService::readBool(QStringLiteral("Call"), QStringLiteral("PromptWhenIncomingCall"))) {
    page->missedCallMark->setProperty("imageName", QStringLiteral("Status_call"));
    page->missedCallMark->setToolTip(word(QStringLiteral("Missed Call")));
    page->missedCallMark->show();
  }
}

void CompoundCallController::doIncomingCallNotification(const QString &number) {
  if (!page || !page->tipWindow)
    return;
  CallTipWindow *tip = page->tipWindow;
  hasIncomingCallInTip_ = true;
  if (m_callStage == kWaiting && supportCallWait() && (!supportMultipleCall() || !phoneNumberInCallTip_.isEmpty())) {
    tip->title->setText(word(QStringLiteral("Call Waiting")));
    tip->answer->show();
    tip->hangup->show();
    tip->answer->setEnabled(true);
    tip->hangup->setEnabled(true);
    tip->ok->hide();
    tipCloseTimer_.stop();
  } else {
    tip->title->setText(word(m_callStage == kWaiting ? QStringLiteral("You have a waiting call.")
                                                     : QStringLiteral("You have a incoming call.")));
    initialzeIncomingCallNotify();
  }
  tip->number->setText(number);
  tip->name->setText(phonebookNameOf(number));
  tip->setWindowTitle(QString());
  tip->show();
  tip->raise();
}

void CompoundCallController::initialzeIncomingCallNotify() {
  CallTipWindow *tip = page->tipWindow;
  tip->answer->hide();
  tip->hangup->hide();
  tip->ok->show();
  setCloseIncomingCallWinTime();
}

void CompoundCallController::setCloseIncomingCallWinTime() {
  tipCloseTimer_.stop();
  const QVariant configured = ConfigService::readValue(QStringLiteral("Call"), QStringLiteral("IncomingCallClosetime"));
  const int seconds = configured.isValid() ? configured.toInt() : kDefaultTipCloseSeconds;
  if (seconds > 0)
    tipCloseTimer_.start(std::min(seconds, 24 * 3600) * 1000);
}

void CompoundCallController::closeTipWindow() {
  tipCloseTimer_.stop();
  if (page && page->tipWindow)
    page->tipWindow->hide();
}

void CompoundCallController::incomingCallTipOKClicked(QObject *) {
  closeTipWindow();
  if (ConfigService *switches = ConfigService::sharedConfigService();
      switches && switches->isGoToCallViewWhenIncoming())
    notifyChangeTabViewItem(QStringLiteral("Call"));
}

// ---- timing and end of call ----

void CompoundCallController::scheduleTimerForCallTiming() {
  callTimingTimer_.start();
  updateCallTiming();
}

void CompoundCallController::invalidateTimerForCallTiming() {
  callTimingTimer_.stop();
  if (page)
    page->timing->clear();
}

void CompoundCallController::updateCallTiming() {
  const qint64 seconds = m_connectTime > 0 ? std::max<qint64>(0, referenceSeconds() - m_connectTime) : 0;
  if (page)
    page->timing->setText(fillWordedFormat(word(QStringLiteral("Time:%02d:%02d:%02d")),
                                           {seconds / 3600, (seconds / 60) % 60, seconds % 60}));
}

void CompoundCallController::promptCallEndStatus(qint64 seconds) {
  if (!page || !page->endSheet)
    return;
  CallEndSheet *sheet = page->endSheet;
  sheet->text->setText(word(QStringLiteral("Call Ended")));
  sheet->time->setText(durationText(seconds));
  if (!sheet->isVisible()) {
    if (wndMain && sheet->parentWidget() != wndMain && wndMain->isVisible())
      sheet->setParent(wndMain, Qt::Sheet);
    if (wndMain && wndMain->isVisible())
      sheet->show();
    endSheetTimer_.start();
  }
}

void CompoundCallController::closeCallEndWindow() {
  if (page && page->endSheet)
    page->endSheet->hide();
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("enabelBtn"));
}

// ---- audio-related requests of the plug-in ----

void CompoundCallController::setMuteBtnDownFromBundle(const Notification &) {
  microPhoneIsMute_ = true;
  if (audioPath_)
    audioPath_->setMicrophoneMuted(true);
}

void CompoundCallController::setMuteBtnUpFromBundle(const Notification &) {
  microPhoneIsMute_ = false;
  if (audioPath_)
    audioPath_->setMicrophoneMuted(false);
}

void CompoundCallController::setVolumeFromBundle(const Notification &n) {
  volume_ = std::clamp(n.userInfo.value(QString::fromLatin1(kVolumeSliderChange)).toDouble(), 0.0, 1.0);
  setDefaultOutputDeviceVolume(float(volume_));
}

// ---- microphone and speaker volume ----

namespace {
// Shows or hides a volume slider, set first to the device's volume when it appears.
void toggleVolumeSlider(QSlider *slider, float volume) {
  if (!slider)
    return;
  if (slider->isVisibleTo(slider->parentWidget())) {
    slider->hide();
    return;
  }
  const QSignalBlocker quiet(slider);
  slider->setValue(int(std::lround(volume * 100.0f)));
  slider->show();
}
} // namespace

void CompoundCallController::microPhoneButtonClicked(QObject *) {
  if (page)
    toggleVolumeSlider(page->microPhoneVolume, getDefaultInputDeviceVolume());
}

void CompoundCallController::speakerButtonClicked(QObject *) {
  if (page)
    toggleVolumeSlider(page->speakerVolume, getDefaultOutputDeviceVolume());
}

void CompoundCallController::microPhoneVolumeSliderChanged(QObject *sender) {
  if (auto *slider = qobject_cast<QSlider *>(sender))
    setDefaultInputDeviceVolume(float(slider->value()) / 100.0f);
}

void CompoundCallController::speakerVolumeSliderChanged(QObject *sender) {
  if (auto *slider = qobject_cast<QSlider *>(sender))
    setDefaultOutputDeviceVolume(float(slider->value()) / 100.0f);
}

// ---- call log ----

void CompoundCallController::addRecord(const QVariantMap &record, int type) {
  QVariantMap r = record;
  if (type == kRecordMissed)
    r.insert(QStringLiteral("callType"), CallRecordStore::kMissed);
  else if (type == kRecordReceived)
    r.insert(QStringLiteral("callType"), CallRecordStore::kReceived);
  else if (type == kRecordDialled)
    r.insert(QStringLiteral("callType"), CallRecordStore::kDialled);
  if (type == kRecordMissed) {
    notificationCenter->postNotificationName(QString::fromLatin1(kMissedCall), this);
    if (g_CallRecordController)
      g_CallRecordController->recieveMissedCallNotification();
  }
  currentRecord_ = r;
  if (g_CallRecordController)
    g_CallRecordController->addCallRecord(r);
  m_callRecordType = kRecordNone;
}

qint64 CompoundCallController::saveCallRecordOfMainCall() {
  QVariantMap record{{QStringLiteral("mobilephone"), m_dialNumberString},
                     {QStringLiteral("date"), QDateTime::currentDateTimeUtc()}};
  int type = kRecordDialled;
  if (m_hasIncomingCall)
    type = m_callStage == kIncoming ? kRecordMissed : kRecordReceived;
  m_hasIncomingCall = false;
  qint64 duration = -1;
  if (m_callStage == kDialling || m_callStage == kIncoming || m_callStage == kWaiting) {
    duration = 0;
    m_connectTime = 0;
  } else if (m_callStage == kActive || m_callStage == kTwoParties) {
    duration = m_connectTime > 0 ? std::max<qint64>(0, referenceSeconds() - m_connectTime) : 0;
    m_connectTime = duration;
  }
  if (duration >= 0)
    record.insert(QStringLiteral("calltime"), durationText(duration));
  addRecord(record, type);
  return duration;
}

qint64 CompoundCallController::saveCallRecordOfTipCall() {
  if (!hasIncomingCallInTip_ && phoneNumberInCallTip_.isEmpty())
    return -1;
  QVariantMap record{{QStringLiteral("mobilephone"), phoneNumberInCallTip_},
                     {QStringLiteral("date"), QDateTime::currentDateTimeUtc()}};
  int type = kRecordNone;
  if (m_callStage == kWaiting)
    type = kRecordMissed;
  else if (m_callStage == kTwoParties)
    type = kRecordReceived;
  hasIncomingCallInTip_ = false;
  qint64 duration = -1;
  if (m_callStage == kDialling || m_callStage == kIncoming || m_callStage == kWaiting) {
    duration = 0;
    connectTimeInCallTip_ = 0;
  } else if (m_callStage == kActive || m_callStage == kTwoParties) {
    duration = connectTimeInCallTip_ > 0 ? std::max<qint64>(0, referenceSeconds() - connectTimeInCallTip_) : 0;
  }
  if (duration >= 0)
    record.insert(QStringLiteral("calltime"), durationText(duration));
  addRecord(record, type);
  phoneNumberInCallTip_.clear();
  connectTimeInCallTip_ = 0;
  return duration;
}

void CompoundCallController::saveCallRecordWithCaller(const QVariantMap &caller) {
  const qint64 start = caller.value(QStringLiteral("StartConnectTime")).toLongLong();
  const qint64 duration = start > 0 ? std::max<qint64>(0, referenceSeconds() - start) : 0;
  QVariantMap record{{QStringLiteral("mobilephone"), caller.value(QStringLiteral("PhoneNumber")).toString()},
                     {QStringLiteral("date"), QDateTime::currentDateTimeUtc()},
                     {QStringLiteral("calltime"), durationText(duration)}};
  const int state = caller.value(QStringLiteral("CallState")).toInt();
  if (caller.value(QStringLiteral("CallStyle")).toInt() == 1)
    record.insert(QStringLiteral("callType"),
                  state == kIncoming || state == kWaiting ? CallRecordStore::kMissed : CallRecordStore::kReceived);
  else
    record.insert(QStringLiteral("callType"), CallRecordStore::kDialled);
  currentRecord_ = record;
  if (g_CallRecordController)
    g_CallRecordController->addCallRecord(record);
}
