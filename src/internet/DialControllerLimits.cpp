// The usage limits while a connection is up: the 80 % warning and the limit action of the record
// settings, the variant's limit counted from its own start, and the "Volume Limit" warnings at
// 25 to 100 %. Each warning and each action happens at most once per connection; the totals are
// the records controller's, held in memory, plus this connection's figures.
#include "DialController.h"

#include "ConfigService.h"
#include "DialRecordController.h"
#include "MainWindowNeighbour.h"
#include "ModalQuestions.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "RecordClock.h"
#include "RecordLimitWindows.h"
#include "RecordResetRules.h"
#include "SettingValue.h"
#include "TextFormats.h"
#include "WordGlobe.h"
#include "WordingOperation.h"

#include <QPushButton>
#include <cmath>

namespace {

const QString kRecord = QStringLiteral("Record");

QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

QVariant record(const QString &key) {
  return ConfigService::readValue(kRecord, key);
}

bool recordOn(const QString &key) {
  return SettingValue::toBool(record(key));
}

// Limits apply only while a reset period is set.
bool periodSet() {
  return recordOn(QStringLiteral("IfSetRecordResetFrequence")) || recordOn(QStringLiteral("IfSetRecordResetEveryDays"));
}

void refreshTotals() {
  if (g_DialRecordController)
    g_DialRecordController->refreshTotalsForLimits();
}

// "recordLimitWarn" and "recordLimitDisconnect" are stored as "1" or "0".
int storedFlag(const QString &key, bool *present) {
  const QVariant value = record(key);
  *present = value.isValid();
  return value.toString().toInt();
}

} // namespace

DialController::UsageFigures DialController::limitFigures() const {
  // Tests hand in their figures; otherwise the running connection counts its own.
  if (limitFiguresSet_)
    return limitFigures_;
  return {double(m_sendData), double(m_receiveData), m_connecttime};
}

double DialController::currentTotalDataKB() const {
  const double records = g_DialRecordController ? g_DialRecordController->getTotalData() : 0;
  if (saveRecordFlag)
    return records;
  const UsageFigures f = limitFigures();
  return records + (f.sentBytes + f.receivedBytes) / 1024.0;
}

qint64 DialController::currentTotalSeconds() const {
  const qint64 records = g_DialRecordController ? g_DialRecordController->gettotalTime() : 0;
  return saveRecordFlag ? records : records + limitFigures().seconds;
}

int DialController::delayForLimistDisconnect() const {
  return ConfigService::readValue(QStringLiteral("Internet"), QStringLiteral("LimitDisconnectDelay")).toInt();
}

void DialController::resetLimitFlagsForConnect() {
  warnLimitFlag = true;
  autoDisconnectFlag = true;
  warnLimitExceedFlag = true;
  warnLimit75Flag_ = true;
  warnLimit50Flag_ = true;
  warnLimit25Flag_ = true;
  saveRecordFlag = false;
}

void DialController::checkRecordLimit() {
  if (connectStatus_ != kConnected)
    return;
  if (warnLimitFlag)
    recordLimitWarn();
  if (autoDisconnectFlag)
    recordLimitDisconnect();
}

// ---- the 80 % warning ----

void DialController::recordLimitWarn() {
  if (!periodSet())
    return;
  refreshTotals();
  if (recordOn(QStringLiteral("recordLimitState")))
    recordDataLimitWarn();
  else
    recordTimeLimitWarn();
}

void DialController::recordDataLimitWarn() {
  bool present = false;
  if (!warnLimitFlag || storedFlag(QStringLiteral("recordLimitWarn"), &present) != 1 || !present)
    return;
  const double limit = record(QStringLiteral("recordDataLimit")).toDouble();
  if (limit <= 0)
    return;
  const double total = currentTotalDataKB();
  if (total > limit * 0.8 * 1024 && total < limit * 1024) {
    warnLimitFlag = false;
    runLimitWarning(word(QStringLiteral("Total Data is reaching 80 percent of the limit")));
  }
}

void DialController::recordTimeLimitWarn() {
  bool present = false;
  if (!warnLimitFlag || storedFlag(QStringLiteral("recordLimitWarn"), &present) != 1 || !present)
    return;
  const double limit = record(QStringLiteral("recordTimeLimit")).toDouble();
  if (limit <= 0)
    return;
  const qint64 seconds = qint64(limit * 3600);
  const qint64 total = currentTotalSeconds();
  if (total > qint64(seconds * 0.8) && total < seconds - delayForLimistDisconnect()) {
    warnLimitFlag = false;
    runLimitWarning(word(QStringLiteral("Total Time is reaching 80 percent of the limit")));
  }
}

LimitNoticeWindow *DialController::limitWarningWindow() {
  if (!wndLimitWarning_)
    wndLimitWarning_ = new LimitNoticeWindow(QStringLiteral("wndLimitWarning"), wndMain);
  return wndLimitWarning_;
}

LimitNoticeWindow *DialController::reachLimitsWindow() {
  if (!reachLimitsMsg)
    reachLimitsMsg = new LimitNoticeWindow(QStringLiteral("reachLimitsMsg"), wndMain);
  return reachLimitsMsg;
}

void DialController::runLimitWarning(const QString &message) {
  limitWarningWindow()->show(word(QStringLiteral("Warning!")), message, word(QStringLiteral("OK")));
}

void DialController::closeLimitWarningPanel(QObject *) {
  if (wndLimitWarning_)
    wndLimitWarning_->hide();
}

void DialController::reachLimitsMsgOK(QObject *) {
  if (reachLimitsMsg)
    reachLimitsMsg->hide();
}

// ---- the limit action ----

void DialController::limitDisconnect() {
  // One request per reached limit, and only for a connection that is still up: a question keeps
  // the event loop running, and the link may have dropped meanwhile.
  if (connectStatus_ != kConnected)
    return;
  ++limitDisconnectRequests_;
  setManualDisconnect(true);
  connectOrDisconnectNetwork(false);
}

namespace {
// Asks whether to disconnect at the reached limit; YES on the default button.
bool askDisconnect(const QString &defaultButton, const QString &alternateButton) {
  return NSRunAlertPanelExt(word(QStringLiteral("Warning!")),
                            word(QStringLiteral("Preset limit has been reached. Do you want to disconnect?")),
                            defaultButton, alternateButton) == ModalQuestions::kDefaultAnswer;
}
} // namespace

void DialController::recordLimitDisconnect() {
  if (periodSet()) {
    refreshTotals();
    if (recordOn(QStringLiteral("recordLimitState")))
      recordDataLimitDisconnect();
    else
      recordTimeLimitDisconnect();
  }
  if (recordOn(QStringLiteral("Record_IfSetRecordUsageLimit"))) {
    refreshTotals();
    if (recordOn(QStringLiteral("Record_LimitState_IfChooseDataLimit")))
      recordDataLimitDisconnectForET();
    else
      recordTimeLimitDisconnectForET();
  }
}

// The limit action, once per connection: ask (action 0) or say so and disconnect at once.
void DialController::actOnReachedLimit(int action) {
  autoDisconnectFlag = false;
  if (action == 0) {
    if (askDisconnect(word(QStringLiteral("OK")), word(QStringLiteral("Cancel"))))
      limitDisconnect();
    return;
  }
  reachLimitsWindow()->show(word(QStringLiteral("Warning!")), word(QStringLiteral("Preset limit has been reached.")),
                            word(QStringLiteral("OK")));
  limitDisconnect();
}

void DialController::recordDataLimitDisconnect() {
  bool present = false;
  const int action = storedFlag(QStringLiteral("recordLimitDisconnect"), &present);
  const double limit = record(QStringLiteral("recordDataLimit")).toDouble();
  if (!autoDisconnectFlag || !present || limit <= 0 || currentTotalDataKB() < limit * 1024)
    return;
  actOnReachedLimit(action);
}

void DialController::recordTimeLimitDisconnect() {
  bool present = false;
  const int action = storedFlag(QStringLiteral("recordLimitDisconnect"), &present);
  const double limit = record(QStringLiteral("recordTimeLimit")).toDouble();
  if (!autoDisconnectFlag || !present || limit <= 0 ||
      currentTotalSeconds() < qint64(limit * 3600 - delayForLimistDisconnect()))
    return;
  actOnReachedLimit(action);
}

namespace {
// The variant's action: ask (flag 0) or disconnect at once (1); its period starts again now,
// whatever the answer.
void variantReached(int action, const std::function<void()> &disconnect) {
  if (action == 0) {
    if (askDisconnect(
            WordingOperation::getDisplayWordingValueByWordingKey(QStringLiteral("Record_ReachedLimitDisconnect")),
            WordingOperation::getDisplayWordingValueByWordingKey(QStringLiteral("Record_ReachedLimitContinue"))))
      disconnect();
  } else {
    disconnect();
  }
  if (ConfigService *service = ConfigService::sharedConfigService())
    service->setconfigurationForRecordAndWriteToFile(
        QStringLiteral("Record_ResetStartTime"),
        formatCalendarDate(RecordClock::now(), RecordResetRules::kDatePattern));
  refreshTotals();
}
} // namespace

void DialController::recordDataLimitDisconnectForET() {
  bool present = false;
  const int action = storedFlag(QStringLiteral("Record_LimitDisconnectFlag"), &present);
  const double limit = recordOn(QStringLiteral("Record_IfSetRecordUsageLimit"))
                           ? record(QStringLiteral("Record_DataLimitValue")).toDouble()
                           : 0;
  if (!autoDisconnectFlag || !present || limit <= 0 || currentTotalDataKB() < limit * 1024)
    return;
  autoDisconnectFlag = false;
  variantReached(action, [this] { limitDisconnect(); });
}

void DialController::recordTimeLimitDisconnectForET() {
  bool present = false;
  const int action = storedFlag(QStringLiteral("Record_LimitDisconnectFlag"), &present);
  const QVariant hh = record(QStringLiteral("Record_TimeLimitHHValue"));
  const QVariant mm = record(QStringLiteral("Record_TimeLimitMMValue"));
  const double hours = hh.isValid() && mm.isValid() ? hh.toDouble() + mm.toDouble() / 60.0 : 0;
  if (!autoDisconnectFlag || !present || hours <= 0 ||
      currentTotalSeconds() < qint64(hours * 3600 - delayForLimistDisconnect()))
    return;
  autoDisconnectFlag = false;
  variantReached(action, [this] { limitDisconnect(); });
}

// ---- the "Volume Limit" warnings ----

void DialController::recordLimitWarnForVavu() {
  if (record(QStringLiteral("LimitSetValue")).toDouble() <= 0)
    return;
  refreshTotals();
  if (record(QStringLiteral("LimitSetType")).toInt() == 0) {
    if (recordOn(QStringLiteral("DataLimitSet")))
      dataLimitWarnForVavu();
  } else {
    timeLimitForVavu();
  }
}

void DialController::dataLimitWarnForVavu() {
  const double used = currentTotalDataKB();
  const double limit = record(QStringLiteral("LimitSetValue")).toDouble() * 1024;
  struct Band {
    double share;
    const char *key;
    bool *flag;
    const char *message;
  };
  const Band bands[] = {
      {1.0, "WarningForLimit100", &warnLimitExceedFlag,
       "The preset limit on the data volume that is set on the modem has now reached."},
      {0.8, "WarningForLimit80", &warnLimitFlag, "Total data is reaching 80 percent of the limit"},
      {0.75, "WarningForLimit75", &warnLimit75Flag_, "Total data is reaching 75 percent of the limit"},
      {0.5, "WarningForLimit50", &warnLimit50Flag_, "Total data is reaching 50 percent of the limit"},
      {0.25, "WarningForLimit25", &warnLimit25Flag_, "Total data is reaching 25 percent of the limit"}};
  QString message;
  for (const Band &band : bands) {
    if (!(used > limit * band.share))
      continue;
    // Only the band the total is in counts.
    if (recordOn(QString::fromLatin1(band.key)) && *band.flag) {
      *band.flag = false;
      message = QString::fromLatin1(band.message);
    }
    break;
  }
  runVolumeLimitWaring(message);
}

void DialController::runVolumeLimitWaring(const QString &wordingKey) {
  if (wordingKey.isEmpty())
    return;
  NSRunAlertPanelExt(word(QStringLiteral("Warning!")), word(wordingKey), word(QStringLiteral("OK")), QString());
  if (recordOn(QStringLiteral("WarningForPlaySound")))
    playShortSound(1);
}

void DialController::timeLimitForVavu() {
  const qint64 used = currentTotalSeconds();
  const qint64 limit = qint64(record(QStringLiteral("LimitSetValue")).toInt() * 3600.0);
  if (used > limit && warnLimitExceedFlag) {
    if (recordOn(QStringLiteral("WarningForLimit100"))) {
      warnLimitExceedFlag = false;
      warnLimitFlag = false;
      NSRunAlertPanelExt(
          word(QStringLiteral("Warning!")),
          word(QStringLiteral("The preset limit on the time volume that is set on the modem has now reached.")),
          word(QStringLiteral("OK")), QString());
    }
    return;
  }
  if (used > limit * 0.8 && warnLimitFlag && recordOn(QStringLiteral("WarningForLimit80"))) {
    warnLimitFlag = false;
    NSRunAlertPanelExt(word(QStringLiteral("Warning!")),
                       word(QStringLiteral("Total time is reaching 80 percent of the limit.")),
                       word(QStringLiteral("OK")), QString());
  }
}

// ---- roaming white list and close ----

bool DialController::doBeforeConnect() {
  if (!SettingValue::toBool(ConfigService::readValue(QStringLiteral("Internet"),
                                                     QStringLiteral("z3iRemindWhilteNetAlertBeforeConnect"))) ||
      !Neighbourhood::deviceStatus() || Neighbourhood::deviceStatus()->networkRoamStatus() != 0 ||
      !Neighbourhood::deviceStatus()->isInWhiteList() || !Neighbourhood::deviceStatus()->roamTipWhenInWhiteList())
    return true;
  if (NSRunAlertPanelExt(word(QStringLiteral("Warning")), word(QStringLiteral("remindInWhiteList")),
                         word(QStringLiteral("OK")), word(QStringLiteral("Cancel"))) == ModalQuestions::kDefaultAnswer)
    return true;
  if (m_ConnectButton)
    m_ConnectButton->setEnabled(true);
  return false;
}

void DialController::doAfterConnected() {
  if (!SettingValue::toBool(ConfigService::readValue(QStringLiteral("Internet"),
                                                     QStringLiteral("alertWhenRoamConnectedAndIsBlackNet"))) ||
      !Neighbourhood::deviceStatus() || Neighbourhood::deviceStatus()->networkRoamStatus() != 0 ||
      Neighbourhood::deviceStatus()->isInWhiteList() || connectStatus_ != kConnected)
    return;
  // Runs from the status handlers of the backend's packages: the alert must not wait there.
  NSBeginAlertPanelExt(word(QStringLiteral("Warning")), word(QStringLiteral("connectedNotInWhiteList")),
                       word(QStringLiteral("OK")));
}

void DialController::performCloseActionForZID() {
  if (!SettingValue::toBool(
          ConfigService::readValue(QStringLiteral("MAINFORM"), QStringLiteral("CloseAppWihoutQueryConnection"))) ||
      closingForZID_ || !GetisDialNow())
    return;
  closingForZID_ = true;
  // The record is saved by the disconnect; the program ends once the link is down.
  quitFallbackTimer_.start();
  SelectDisconnectAction();
}
