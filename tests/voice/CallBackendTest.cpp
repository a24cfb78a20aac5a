// Calls end to end: the main window and its controllers against the simulated modem's calls.
#include "CallPackages.h"
#include "CallRecordController.h"
#include "CompoundCallController.h"
#include "FakeAudio.h"
#include "MainWindowFixture.h"
#include "ModalQuestions.h"
#include "NoWaitingAlertInHandlers.h"
#include "PBController.h"
#include "PackageDispatchGuard.h"
#include "SMSController.h"
#include "SharedDistantConnection.h"
#include "SimulatedModem.h"
#include "SimulatorControl.h"
#include "SmsSendWindows.h"
#include "WordGlobe.h"

#include "Bundle.h"
#include "CocoaExt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMutexLocker>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QtEndian>

namespace {

using testsupport::waitUntil;

class CallBackend : public ModemWindowFixture {
protected:
  NoWaitingAlertInHandlers noWaitingAlerts;
  virtual bool multiCall() const { return false; }
  virtual bool callWait() const { return false; }

  QVariantMap settingsOverrides() const override {
    return {{"Call", QVariantMap{{"SupportMultipleCall", multiCall()}, {"SupportCallWait", callWait()}}}};
  }

  CompoundCallController *call() const { return g_CompoundCallController; }
  CallRecordController *log() const { return g_CallRecordController; }

  bool start() {
    if (!launch(QStringLiteral("sim-ready")))
      return false;
    return waitUntil([this] { return call()->isVoiceOverUsbEnabled() && call()->isSimReady(); });
  }

  bool control(const char *method, const QVariantList &args = {}) {
    return backend->control(QLatin1String(method), args).value(0).toBool();
  }

  QList<SimCaller> callers() const {
    QList<SimCaller> list;
    const QVariantList reply = backend->control(QStringLiteral("Callers"));
    if (!reply.isEmpty())
      reply.first().value<QDBusArgument>() >> list;
    return list;
  }

  // The call-hold values the modem received, in order.
  QList<quint32> chldReceived() const {
    QList<quint32> out;
    for (const QByteArray &bytes : backend->received()) {
      UIMsg m;
      if (UIMsg::decode(bytes, &m) && m.majorId == 2307 && m.minorId == 163 && m.dataLength >= 4)
        out << qFromLittleEndian<quint32>(m.data.data());
    }
    return out;
  }

  bool stageBecomes(int stage) {
    return waitUntil([this, stage] { return call()->callStage() == stage; });
  }

  void dial(const QString &number) {
    call()->page->dialNumber->setText(number);
    call()->selectDialCallStyle(call()->page->dial);
  }

  QVariantMap lastRecord() const {
    return log()->recordList().isEmpty() ? QVariantMap() : log()->recordList().last().toMap();
  }
};

TEST_F(CallBackend, DialDeliveredAnsweredAndHungUpGivesOneDialledRecord) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  dial(QStringLiteral("5550100"));
  ASSERT_TRUE(waitUntil([this] { return call()->isAudioRunning(); })); // delivered
  EXPECT_EQ(call()->callStage(), CompoundCallController::kDialling);
  ASSERT_TRUE(control("RemoteAnswer"));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kActive));
  EXPECT_TRUE(call()->isCallTimerRunning());
  // Keypad digits during the call reach the modem as DTMF.
  QPushButton key(QStringLiteral("9"));
  call()->dialNumberButnClicked(&key);
  ASSERT_TRUE(waitUntil([this] { return backend->control(QStringLiteral("Dtmf")).value(0).toString() == "9"; }));
  call()->hangClicked();
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_TRUE(callers().isEmpty());
  ASSERT_EQ(log()->recordList().size(), 1);
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("dialedCall"));
  EXPECT_EQ(lastRecord().value("mobilephone").toString(), QStringLiteral("5550100"));
  EXPECT_TRUE(lastRecord().value("calltime").toString().startsWith(QStringLiteral("00:00:")));
}

TEST_F(CallBackend, ACallsAudioGoesToTheModemAndItsEchoIsPlayed) {
  PlayedAudio played;
  Sound::setOutputFactory([&played] { return std::make_unique<RecordingOutput>(&played); });
  SGAudio::setSourceFactory([] { return std::make_unique<FakeMicrophone>(); });
  struct Restore {
    ~Restore() {
      Sound::setOutputFactory({});
      SGAudio::setSourceFactory({});
    }
  } restore;
  if (!start())
    GTEST_SKIP() << "no session bus";
  // The process-wide service client follows the environment's backend; this test's is its own.
  SharedDistantConnection voice(be);
  ASSERT_TRUE(voice.doConnection());
  call()->setVoiceDataConnection(&voice);

  dial(QStringLiteral("5550100"));
  ASSERT_TRUE(waitUntil([this] { return call()->isAudioRunning(); }));
  ASSERT_TRUE(control("RemoteAnswer"));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kActive));
  CallAudioPath *audio = call()->audioPath();
  ASSERT_NE(audio, nullptr);
  EXPECT_TRUE(audio->hasAudioChannel());
  EXPECT_TRUE(audio->blocksMapped());
  ASSERT_TRUE(waitUntil([&] { return played.count() >= 1; }, 10000)) << "the echoed microphone is heard";
  EXPECT_TRUE(audio->swapFilePath().startsWith(config->configFilePathOfKey(kCMVoiceCallFolder).chopped(1)));
  EXPECT_TRUE(QFile::exists(audio->swapFilePath()));

  call()->hangClicked();
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_FALSE(audio->isRunning());
  EXPECT_FALSE(audio->blocksMapped());
  EXPECT_FALSE(audio->hasAudioChannel());
  EXPECT_EQ(voice.readVoiceData(), 0) << "the transfer was stopped";
}

TEST_F(CallBackend, APickedContactIsDialledAndALoggedNumberGoesToTheSmsEditor) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitUntil([] { return g_PBController && g_PBController->simInitFinished(); }));
  // The number field's menu opens the phonebook's picker, laid out for one number.
  QAction *select = nullptr;
  for (QAction *a : call()->page->searchMenu->actions())
    if (a->text() == QStringLiteral("Select contact"))
      select = a;
  ASSERT_NE(select, nullptr);
  select->trigger();
  QDialog *pickerWindow = nullptr;
  for (QWidget *w : QApplication::allWidgets())
    if (w->objectName() == QStringLiteral("selectContactWin") && w->isVisible())
      pickerWindow = qobject_cast<QDialog *>(w);
  ASSERT_NE(pickerWindow, nullptr);
  auto *table = pickerWindow->findChild<QTableWidget *>();
  auto *stores = pickerWindow->findChild<QComboBox *>();
  ASSERT_NE(table, nullptr);
  ASSERT_NE(stores, nullptr);
  stores->setCurrentIndex(1); // the SIM
  ASSERT_GE(table->rowCount(), 1);
  // A double click dials the row's number.
  emit table->cellDoubleClicked(0, 0);
  ASSERT_TRUE(waitUntil([this] { return callers().size() == 1; }));
  EXPECT_EQ(callers().first().number, QStringLiteral("0301234567"));
  call()->hangClicked();
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_EQ(call()->recentSearches().value(0), QStringLiteral("0301234567"));

  // The log's SMS button hands the selected numbers to the SMS editor.
  CallRecordPage *recordPage = log()->page;
  recordPage->recordAtPos->button(2)->click(); // dialled calls
  ASSERT_EQ(recordPage->callRecordView->rowCount(), 1);
  recordPage->callRecordView->selectRow(0);
  recordPage->SMSBtn->click();
  SmsEditorWindow *editor = g_SMSController->messageWindow();
  ASSERT_TRUE(waitUntil([editor] { return editor->isVisible(); }));
  EXPECT_EQ(editor->sendMessageTo->text(), QStringLiteral("0301234567;"));
}

TEST_F(CallBackend, ARingThatTheCallerEndsIsMissed) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(control("Ring", {QStringLiteral("5550200")}));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kIncoming));
  EXPECT_EQ(call()->page->dialNumber->text(), QStringLiteral("5550200"));
  ASSERT_TRUE(control("RemoteHangup", {0}));
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("missedCall"));
  EXPECT_EQ(lastRecord().value("calltime").toString(), QStringLiteral("00:00:00"));
  EXPECT_FALSE(control("RemoteHangup", {0})); // nobody left
}

// A ring plays the ring tone the bundle ships, from the user's settings folder as a first start
// leaves it, and stops when the caller gives up.
TEST_F(CallBackend, ARingPlaysTheShippedRingTone) {
  PlayedAudio played;
  Sound::setOutputFactory([&played] { return std::make_unique<RecordingOutput>(&played); });
  struct Restore {
    ~Restore() { Sound::setOutputFactory({}); }
  } restore;
  const QString shippedSounds = testsupport::buildBundlePath() + QStringLiteral("/Resources/ModemList/sound");
  const QString userSounds = dir.filePath(QStringLiteral("ModemList/sound"));
  ASSERT_TRUE(QDir().mkpath(userSounds));
  for (const QFileInfo &f : QDir(shippedSounds).entryInfoList(QDir::Files))
    ASSERT_TRUE(QFile::copy(f.filePath(), userSounds + QLatin1Char('/') + f.fileName()));
  if (!start())
    GTEST_SKIP() << "no session bus";
  const int before = played.count();
  ASSERT_TRUE(control("Ring", {QStringLiteral("5550200")}));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kIncoming));
  ASSERT_TRUE(waitUntil([&] { return played.count() > before; })) << "no ring tone";
  const auto ring = Sound::fromFile(shippedSounds + QStringLiteral("/call.wav"));
  ASSERT_TRUE(ring);
  {
    QMutexLocker lock(&played.lock);
    EXPECT_EQ(played.pcm.last(), ring->audio().pcm);
  }
  EXPECT_EQ(QELUIController::currentSoundType(), int(kSoundIncomingCall));
  ASSERT_TRUE(control("RemoteHangup", {0}));
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_FALSE(QELUIController::isSoundPlaying()) << "the ring stops with the call";
}

TEST_F(CallBackend, ARingAnsweredAndEndedByTheCallerIsReceived) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(control("Ring", {QStringLiteral("5550300")}));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kIncoming));
  call()->answerCall();
  ASSERT_TRUE(stageBecomes(CompoundCallController::kActive));
  ASSERT_EQ(callers().size(), 1);
  EXPECT_EQ(callers().first().state, 0);
  ASSERT_TRUE(control("RemoteHangup", {0}));
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("recivedCall"));
  EXPECT_EQ(log()->recordList().size(), 1);
}

TEST_F(CallBackend, AMalformedIncomingNumberIsFilteredBeforeItIsShownOrLogged) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  // The whole 116-byte field, no terminator: escape sequences, control characters and letters
  // around the digits, and more digits than the number field holds after them.
  QByteArray field;
  for (char c = 1; c < 32; ++c)
    field += c;
  field += "\x1b[2J5550400\x7f\r\nname ";
  field += QByteArray(CallPackages::kIncomingNumberWidth - field.size(), '9');
  ASSERT_EQ(field.size(), CallPackages::kIncomingNumberWidth);
  const QString expected = (QStringLiteral("25550400") + QString(100, QLatin1Char('9'))).left(32);
  backend->control(QStringLiteral("Inject"),
                   {SimulatedModem::makePackage(CallPackages::kEventMajor, CallPackages::kIncomingMinor, 0, 0,
                                                field + QByteArray("tail", 4), CallPackages::kModule)
                        .encode()});
  ASSERT_TRUE(stageBecomes(CompoundCallController::kIncoming));
  EXPECT_EQ(call()->page->dialNumber->text(), expected);
  for (const QLabel *label : call()->page->findChildren<QLabel *>())
    for (const QChar c : label->text())
      EXPECT_FALSE(c.category() == QChar::Other_Control) << label->objectName().toStdString();
  backend->control(QStringLiteral("Inject"),
                   {SimulatedModem::makePackage(CallPackages::kEventMajor, CallPackages::kStageMinor, 0, 0,
                                                QByteArray("\x07\0\0\0", 4), CallPackages::kModule)
                        .encode()});
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("missedCall"));
  EXPECT_EQ(lastRecord().value("mobilephone").toString(), expected);
}

// A machine without a microphone: the notice about the audio channel is up while the modem's
// packages go on arriving, so the call connects, hangs up, and the device's removal is seen
// (and closes the notice) without anyone pressing OK.
TEST_F(CallBackend, WithoutAMicrophoneTheCallGoesOnWhileTheAudioNoticeIsUp) {
  SGAudio::setSourceFactory([] { return std::unique_ptr<AudioCaptureSource>(); });
  struct Restore {
    ~Restore() { SGAudio::setSourceFactory({}); }
  } restore;
  PackageDispatchGuard::resetWaitingAlertsInHandlers();
  if (!start())
    GTEST_SKIP() << "no session bus";
  answers.reset(); // real windows: the notice stays until answered
  dial(QStringLiteral("5550100"));
  ASSERT_TRUE(waitUntil([this] { return call()->isAudioRunning(); })); // delivered
  ASSERT_TRUE(waitUntil([] { return ModalQuestions::openQuestionCount() == 1; })) << "the audio notice";
  ASSERT_TRUE(control("RemoteAnswer"));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kActive));
  EXPECT_EQ(call()->page->dialStatus->text(), Map_Name_Item_of_IndexString(QStringLiteral("Status:In use")));
  call()->hangClicked();
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_TRUE(callers().isEmpty()) << "the hang-up reached the modem";
  dial(QStringLiteral("5550101"));
  ASSERT_TRUE(waitUntil([this] { return call()->isAudioRunning(); }));
  ASSERT_TRUE(control("RemoteAnswer"));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kActive));
  EXPECT_EQ(ModalQuestions::openQuestionCount(), 1);
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_TRUE(waitUntil([] { return ModalQuestions::openQuestionCount() == 0; })) << "the notice went with the device";
  EXPECT_TRUE(PackageDispatchGuard::waitingAlertsInHandlers().isEmpty())
      << PackageDispatchGuard::waitingAlertsInHandlers().join(QLatin1Char('\n')).toStdString();
}

class WaitingCallBackend : public CallBackend {
protected:
  bool callWait() const override { return true; }
};

TEST_F(WaitingCallBackend, AWaitingCallAnsweredAndEndedFromTheTipLeavesTheMainCall) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  dial(QStringLiteral("5550100"));
  ASSERT_TRUE(waitUntil([this] { return call()->isAudioRunning(); }));
  ASSERT_TRUE(control("RemoteAnswer"));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kActive));
  ASSERT_TRUE(control("Ring", {QStringLiteral("5550999")}));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kWaiting));
  EXPECT_TRUE(call()->page->tipWindow->isVisible());
  call()->incomingCallTipAnswer();
  ASSERT_TRUE(waitUntil([this] { return chldReceived() == QList<quint32>({2}); }));
  call()->incomingCallTipHangup();
  ASSERT_TRUE(waitUntil([this] { return chldReceived() == QList<quint32>({2, 1}); }));
  ASSERT_TRUE(waitUntil([this] { return callers().size() == 1; }));
  EXPECT_EQ(callers().first().number, QStringLiteral("5550100"));
  EXPECT_EQ(callers().first().state, 0);
  EXPECT_EQ(call()->callStage(), CompoundCallController::kActive);
  EXPECT_EQ(lastRecord().value("mobilephone").toString(), QStringLiteral("5550999"));
  // The main call ends as usual.
  call()->hangClicked();
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_EQ(lastRecord().value("mobilephone").toString(), QStringLiteral("5550100"));
}

class MultiCallBackend : public CallBackend {
protected:
  bool multiCall() const override { return true; }
};

TEST_F(MultiCallBackend, HoldJoinAndReleaseOneCaller) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  QList<bool> dataService;
  NotificationCenter::defaultCenter().addObserver(
      &owner, QStringLiteral("DataServiceSwitch"), nullptr,
      [&dataService](const Notification &n) { dataService << n.userInfo.value("DataServiceSwitch").toBool(); });
  dial(QStringLiteral("5550101"));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kDialling));
  ASSERT_TRUE(control("RemoteAnswer"));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kActive));
  dial(QStringLiteral("5550102"));
  ASSERT_TRUE(waitUntil([this] { return callers().size() == 2; }));
  ASSERT_TRUE(control("RemoteAnswer"));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kTwoParties)); // one active, one held
  call()->callHold();
  ASSERT_TRUE(waitUntil([this] { return chldReceived() == QList<quint32>({2}); }));
  call()->multipleCall();
  ASSERT_TRUE(stageBecomes(CompoundCallController::kActive)); // joined
  ASSERT_EQ(call()->page->callerTable->rowCount(), 2);
  call()->page->callerTable->selectRow(1);
  call()->hangClicked();
  ASSERT_TRUE(waitUntil([this] { return callers().size() == 1; }));
  EXPECT_EQ(chldReceived(), QList<quint32>({2, 3, 12}));
  ASSERT_TRUE(waitUntil([this] { return call()->callers().size() == 1; }));
  call()->hangClicked();
  ASSERT_TRUE(stageBecomes(0));
  ASSERT_EQ(log()->recordList().size(), 2);
  for (const QVariant &r : log()->recordList())
    EXPECT_EQ(r.toMap().value("callType").toString(), QStringLiteral("dialedCall"));
  ASSERT_FALSE(dataService.isEmpty());
  EXPECT_TRUE(dataService.last()); // data service back on once the last caller left
}

TEST_F(CallBackend, VoiceAvailabilityAndADeviceThatLeavesDuringACall) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  EXPECT_TRUE(call()->page->dial->isEnabled());
  backend->control(QStringLiteral("SetVoiceAvailable"), {false});
  ASSERT_TRUE(waitUntil([this] { return !call()->isVoiceOverUsbEnabled(); }));
  EXPECT_FALSE(call()->page->dial->isEnabled());
  backend->control(QStringLiteral("SetVoiceAvailable"), {true});
  ASSERT_TRUE(waitUntil([this] { return call()->isVoiceOverUsbEnabled(); }));
  dial(QStringLiteral("5550100"));
  ASSERT_TRUE(waitUntil([this] { return call()->isAudioRunning(); }));
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_FALSE(call()->isAudioRunning());
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("dialedCall"));
}

} // namespace

namespace {

class CallPlugIns : public ModemWindowFixture {
protected:
  NoWaitingAlertInHandlers noWaitingAlerts;
};

TEST_F(CallPlugIns, TheirViewsSitBesideThePagesOwnControlsAndTalkThroughNotifications) {
  Bundle::setMainBundlePath(QStringLiteral(QEL_BUNDLE_BUILD_DIR)); // where the build puts the plug-ins
  buildOffline();
  ASSERT_NE(g_CompoundCallController, nullptr);
  CallPage *page = g_CompoundCallController->page;
  CallRecordPage *recordPage = g_CallRecordController->page;
  const int callTab = NSTabViewExt::tabViewItemOfIdentifier(parts.tabs, QStringLiteral("Call"));
  const int recordTab = NSTabViewExt::tabViewItemOfIdentifier(parts.tabs, QStringLiteral("Record"));
  ASSERT_GE(callTab, 0);
  EXPECT_EQ(parts.tabs->widget(callTab), page);
  EXPECT_EQ(parts.tabs->widget(recordTab), recordPage);
  auto *callView = page->findChild<QWidget *>(QStringLiteral("CallBundleView"));
  auto *recordView = recordPage->findChild<QWidget *>(QStringLiteral("CallRecordBundleView"));
  ASSERT_NE(callView, nullptr) << "CallBundle not loaded";
  ASSERT_NE(recordView, nullptr) << "CallRecordBundle not loaded";

  // The plug-in's keys and buttons reach the controller.
  callView->findChild<QPushButton *>(QStringLiteral("CallBundleKey7"))->click();
  EXPECT_EQ(page->dialNumber->text(), QStringLiteral("7"));
  callView->findChild<QCheckBox *>(QStringLiteral("CallBundleMute"))->setChecked(true);
  EXPECT_TRUE(g_CompoundCallController->isMicrophoneMuted());
  // The volume slider carries a caption, tied to it for the keyboard and a screen reader.
  auto *volume = callView->findChild<QSlider *>(QStringLiteral("CallBundleVolume"));
  auto *volumeLabel = callView->findChild<QLabel *>(QStringLiteral("CallBundleVolumeLabel"));
  ASSERT_NE(volume, nullptr);
  ASSERT_NE(volumeLabel, nullptr);
  EXPECT_EQ(volumeLabel->text(), QStringLiteral("Volume"));
  EXPECT_EQ(volumeLabel->buddy(), volume);
  EXPECT_EQ(volume->accessibleName(), QStringLiteral("Volume"));
  EXPECT_EQ(page->microPhoneVolume->accessibleName(), page->microPhone->text());
  EXPECT_EQ(page->speakerVolume->accessibleName(), page->speaker->text());
  EXPECT_FALSE(page->speakerVolume->accessibleName().isEmpty());
  // The controller's answers reach the plug-in: no device, so the dial is refused.
  callView->findChild<QLineEdit *>(QStringLiteral("CallBundleNumber"))->setText(QStringLiteral("5550100"));
  callView->findChild<QPushButton *>(QStringLiteral("CallBundleDial"))->click();
  EXPECT_EQ(callView->findChild<QLabel *>(QStringLiteral("CallBundleStatus"))->text(),
            QStringLiteral("Device not ready"));

  // The operator's special number shows in the plug-in's box without dialling.
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("SpecialPhoneNumber"), nullptr,
                                                           {{"makeCallWithPhoneNumber", QStringLiteral("10086")}});
  EXPECT_EQ(callView->findChild<QLineEdit *>(QStringLiteral("CallBundleNumber"))->text(), QStringLiteral("10086"));
  // Its diagnostics button asks the device status, whose answer it shows.
  int answered = 0;
  QObject diagObserver;
  NotificationCenter::defaultCenter().addObserver(&diagObserver, QStringLiteral("diagInfo"), nullptr,
                                                  [&answered](const Notification &) { ++answered; });
  callView->findChild<QPushButton *>(QStringLiteral("CallBundleDiagnostics"))->click();
  EXPECT_EQ(answered, 1);
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("diagInfo"), nullptr,
                                                           {{"IMEI", QStringLiteral("356938035643809")}});
  EXPECT_EQ(callView->findChild<QLabel *>(QStringLiteral("CallBundleDiagInfo"))->text(),
            QStringLiteral("IMEI: 356938035643809"));
  NotificationCenter::defaultCenter().removeObserver(&diagObserver);

  // The log's plug-in lists new records and clears the log.
  auto *list = recordView->findChild<QListWidget *>(QStringLiteral("CallRecordBundleList"));
  ASSERT_NE(list, nullptr);
  QCoreApplication::processEvents(); // the log read at start, which earlier tests may have filled
  const int before = list->count();
  g_CallRecordController->addCallRecord({{"mobilephone", "5550100"},
                                         {"date", QDateTime::currentDateTimeUtc()},
                                         {"callType", "dialedCall"},
                                         {"calltime", "00:00:03"}});
  EXPECT_EQ(list->count(), before + 1);
  // Clear all asks first; declined, the log and the list stay.
  answers.reset(); // the old script restores the windows as it goes
  answers = std::make_unique<ScriptedAnswers>(QList<int>{0});
  recordView->findChild<QPushButton *>(QStringLiteral("CallRecordBundleClear"))->click();
  ASSERT_EQ(answers->asked().size(), 1);
  EXPECT_EQ(answers->asked().first().message, QStringLiteral("Are you sure you want to delete all the record(s)?"));
  EXPECT_EQ(list->count(), before + 1);
  EXPECT_EQ(g_CallRecordController->recordList().size(), before + 1);
  answers.reset(); // the old script restores the windows as it goes
  answers = std::make_unique<ScriptedAnswers>(QList<int>{1});
  recordView->findChild<QPushButton *>(QStringLiteral("CallRecordBundleClear"))->click();
  EXPECT_EQ(answers->asked().size(), 1);
  EXPECT_EQ(list->count(), 0);
  EXPECT_TRUE(g_CallRecordController->recordList().isEmpty());
}

} // namespace

namespace {

// The call plug-in beside the page, against the modem with call waiting on (the shipped
// configuration), where a call's end arrives as a caller list and not as a stage code.
class CallPlugInBackend : public WaitingCallBackend {
protected:
  QWidget *view() const { return call()->page->findChild<QWidget *>(QStringLiteral("CallBundleView")); }
  QPushButton *button(const char *name) const { return view()->findChild<QPushButton *>(QLatin1String(name)); }
  QString status() const { return view()->findChild<QLabel *>(QStringLiteral("CallBundleStatus"))->text(); }
  static QString word(const char *key) { return Map_Name_Item_of_IndexString(QLatin1String(key)); }
  // Dial, Answer and Hang up of the plug-in, enabled or not.
  QList<bool> offered() const {
    return {button("CallBundleDial")->isEnabled(), button("CallBundleAnswer")->isEnabled(),
            button("CallBundleHangup")->isEnabled()};
  }
};

TEST_F(CallPlugInBackend, BothHalvesShowOneCallStateToItsEndThroughACallerList) {
  Bundle::setMainBundlePath(QStringLiteral(QEL_BUNDLE_BUILD_DIR)); // where the build puts the plug-ins
  if (!start())
    GTEST_SKIP() << "no session bus";
  ASSERT_NE(view(), nullptr) << "CallBundle not loaded";
  ASSERT_TRUE(waitUntil([this] { return status() == call()->page->dialStatus->text(); }));
  EXPECT_EQ(offered(), QList<bool>({true, false, false})) << "nothing to answer or hang up";
  EXPECT_EQ(call()->page->dial->text(), word("Dial"));

  // A ringing call: both halves offer Answer.
  ASSERT_TRUE(control("Ring", {QStringLiteral("5550300")}));
  ASSERT_TRUE(stageBecomes(CompoundCallController::kIncoming));
  EXPECT_EQ(call()->page->dial->text(), word("Answer"));
  EXPECT_TRUE(call()->page->dial->isEnabled());
  EXPECT_EQ(offered(), QList<bool>({false, true, true}));
  EXPECT_EQ(status(), word("Status: Incomming call"));
  EXPECT_TRUE(call()->page->dialStatus->text().startsWith(status()));

  button("CallBundleAnswer")->click();
  ASSERT_TRUE(stageBecomes(CompoundCallController::kActive));
  EXPECT_EQ(status(), call()->page->dialStatus->text());
  EXPECT_EQ(status(), word("Status:In use"));
  EXPECT_EQ(call()->page->dial->text(), word("Dial"));
  EXPECT_EQ(offered(), QList<bool>({false, false, true}));

  // The caller hangs up: with call waiting on the end comes as an empty caller list.
  ASSERT_TRUE(control("RemoteHangup", {0}));
  ASSERT_TRUE(stageBecomes(0));
  EXPECT_EQ(status(), QStringLiteral("Call ended"));
  EXPECT_EQ(offered(), QList<bool>({true, false, false}));
  EXPECT_EQ(lastRecord().value("callType").toString(), QStringLiteral("recivedCall"));
  // When the page's end notice goes, both show the page's idle words.
  ASSERT_TRUE(waitUntil([this] { return status() == call()->page->dialStatus->text(); }, 5000));
  EXPECT_EQ(status(), word("Status:Idle"));
}

} // namespace
