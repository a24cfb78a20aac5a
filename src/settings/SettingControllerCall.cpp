// The Call page: call forwarding, waiting and barring read from and written to the network, one
// service at a time, each change read back before the next.
#include "SettingController.h"

#include "ConfigService.h"
#include "QELAlertPanel.h"
#include "SettingControllerSupport.h"

#include <QtEndian>
#include <cstring>

using namespace settingsupport;

namespace {
// Ends a read chain. Its result is said only when the chain had finished once before: the first
// read after start-up stays quiet.
bool endReadChain(bool &reading, bool &finished) {
  const bool say = finished;
  finished = true;
  reading = false;
  return say;
}
} // namespace

namespace {
constexpr int kCallMajor = 2307;
constexpr int kForwardSet = 154, kBarSet = 155, kWaitSet = 156;
constexpr int kNumberField = 32, kPasswordField = 12;
constexpr int kMaxEntries = 20, kForwardEntrySize = 84, kWaitEntrySize = 8;
constexpr quint32 kVoiceClass = 1, kAnyClass = 0xFF;

void tellCall(const QString &key) {
  NSBeginAlertPanelExt(QStringLiteral(" "), word(key), word(QStringLiteral("OK")));
}

quint32 wordAt(const UIMsg &msg, int offset) {
  if (offset < 0 || offset + 4 > msg.dataLength)
    return 0;
  return qFromLittleEndian<quint32>(msg.data.data() + offset);
}

QString textAt(const UIMsg &msg, int offset, int width) {
  QByteArray field = msg.payload().mid(offset, width);
  const int end = field.indexOf('\0');
  if (end >= 0)
    field.truncate(end);
  return QString::fromUtf8(field);
}

void putText(QByteArray &data, int offset, const QByteArray &text) {
  std::memcpy(data.data() + offset, text.constData(), size_t(text.size()));
}

bool checked(const QCheckBox *box) {
  return box && box->isChecked();
}
} // namespace

QString SettingController::callBarringFacilityString(int index) {
  static const char *facilities[] = {"AO", "OI", "OX", "AI", "IR"};
  return index >= 0 && index < 5 ? QLatin1String(facilities[index]) : QString();
}

// ---- the frame's part: reset, enabling, the first read ----

void SettingController::resetCallSetting() {
  divertWhenBusyState_ = divertWhenNotReachableState_ = divertWhenNotAnswerState_ = divertAllState_ = 0;
  divertWhenBusyNumber_.clear();
  divertWhenNotReachableNumber_.clear();
  divertWhenNotAnswerNumber_.clear();
  divertAllNumber_.clear();
  callSettingNibEnable(false);
  needReadCallSetting_ = true;
  callForwardReadFinsihed_ = callBarReadFinsihed_ = callWaitReadFinsihed_ = false;
  barAllOutgoingState_ = barInternationalState_ = barInternationalEXHCState_ = barAllIncomingState_ =
      barIncomingWhenRoamingState_ = 0;
}

void SettingController::callSettingNibEnable(bool on) {
  for (QCheckBox *box :
       {btnDivertWhenBusy_.data(), btnDivertWhenNotReachable_.data(), btnDivertWhenNotAnswer_.data(),
        btnDivertAll_.data(), btnCallWaitSetting_.data(), btnBarAllOutgoing_.data(), btnBarInternational_.data(),
        btnBarInternationalEXHC_.data(), btnBarAllIncoming_.data(), btnBarIncomingWhenRoaming_.data()})
    if (box)
      box->setEnabled(on);
  enable(txdCallBarPassword_, on);
  for (QLineEdit *field : {txdDivertWhenBusy_.data(), txdDivertWhenNotReachable_.data(), txdDivertWhenNotAnswer_.data(),
                           txdDivertAll_.data()})
    if (field)
      field->setEnabled(false);
  enable(btnCallSettingApply_, false);
  enable(btnReadCallSetStatus_, false);
}

void SettingController::updateNetworkStatus(const Notification &n) {
  const QString status = n.userInfo.value(QStringLiteral("init_NetworkStatus")).toString();
  if (status.isEmpty() || status == QLatin1String("No Service") || status == QLatin1String("Limited Service")) {
    enable(btnCallSettingApply_, false);
    enable(btnReadCallSetStatus_, false);
    return;
  }
  if (needReadCallSetting_) {
    needReadCallSetting_ = false;
    callSettingNibEnable(true);
    readCallForwardSetting();
    readCallWaitSetting();
    if (ConfigService::sharedConfigService()->isCallBarringSetting())
      callBarReadFinsihed_ = true;
    else
      readCallBarSetting();
  }
  if (callSettingsAllFinished()) {
    enable(btnCallSettingApply_, true);
    enable(btnReadCallSetStatus_, true);
  }
}

namespace {
void enableCallButtonsWhenFinished(SettingController *c) {
  if (!c->callSettingsAllFinished())
    return;
  if (c->btnCallSettingApply_)
    c->btnCallSettingApply_->setEnabled(true);
  if (c->btnReadCallSetStatus_)
    c->btnReadCallSetStatus_->setEnabled(true);
}

QString currentCallTab(const SettingController *c) {
  if (!c->callSettingView_ || !c->callSettingView_->currentWidget())
    return QStringLiteral("CallForward");
  return c->callSettingView_->currentWidget()->property("itemIdentifier").toString();
}
} // namespace

// ---- actions ----

void SettingController::callSettingApply(QObject *) {
  enable(btnCallSettingApply_, false);
  enable(btnReadCallSetStatus_, false);
  const QString tab = currentCallTab(this);
  if (tab == QLatin1String("CallForward")) {
    // Numbers that do not fit their field are refused before anything is sent.
    for (QLineEdit *field : {txdDivertWhenBusy_.data(), txdDivertWhenNotReachable_.data(),
                             txdDivertWhenNotAnswer_.data(), txdDivertAll_.data()})
      if (field && field->text().toUtf8().size() > kNumberField - 1) {
        runAlertPanel(QStringLiteral("The number is too long!"));
        enableCallButtonsWhenFinished(this);
        return;
      }
    callForwardAsked_.clear();
    sendCallForwardSetting();
  } else if (tab == QLatin1String("CallWaiting")) {
    sendCallWaitSetting();
  } else if (tab == QLatin1String("CallBarring")) {
    if (txdCallBarPassword_ && txdCallBarPassword_->text().toUtf8().size() > kPasswordField - 1) {
      runAlertPanel(QStringLiteral("The password is too long!"));
      enableCallButtonsWhenFinished(this);
      return;
    }
    callBarAsked_.clear();
    sendCallBarSetting();
  }
}

void SettingController::readCallSettingStatues(QObject *) {
  enable(btnCallSettingApply_, false);
  enable(btnReadCallSetStatus_, false);
  const QString tab = currentCallTab(this);
  if (tab == QLatin1String("CallForward"))
    readCallForwardSetting();
  else if (tab == QLatin1String("CallWaiting"))
    readCallWaitSetting();
  else if (tab == QLatin1String("CallBarring"))
    readCallBarSetting();
}

void SettingController::setCallForward(QObject *) {
  checkCallForwardBtnState();
}

void SettingController::checkCallForwardBtnState() {
  const bool all = checked(btnDivertAll_);
  const QList<QPair<QCheckBox *, QLineEdit *>> others = {{btnDivertWhenBusy_, txdDivertWhenBusy_},
                                                         {btnDivertWhenNotReachable_, txdDivertWhenNotReachable_},
                                                         {btnDivertWhenNotAnswer_, txdDivertWhenNotAnswer_}};
  for (const auto &[box, field] : others) {
    if (box)
      box->setEnabled(!all);
    if (field)
      field->setEnabled(!all && checked(box));
  }
  enable(txdDivertAll_, all);
}

void SettingController::setCallBarring(QObject *) {
  if (btnBarInternational_)
    btnBarInternational_->setEnabled(!checked(btnBarAllOutgoing_));
  if (btnBarInternationalEXHC_)
    btnBarInternationalEXHC_->setEnabled(!checked(btnBarAllOutgoing_) && !checked(btnBarInternational_));
  if (btnBarIncomingWhenRoaming_)
    btnBarIncomingWhenRoaming_->setEnabled(!checked(btnBarAllIncoming_));
}

// ---- senders ----

void SettingController::sendCallForwardSetWithMode(int mode, int reason, const QString &number) {
  QByteArray data(88, '\0');
  qToLittleEndian<quint32>(quint32(reason), data.data());
  qToLittleEndian<quint32>(quint32(mode), data.data() + 4);
  putText(data, 8, number.toUtf8().left(kNumberField - 1));
  qToLittleEndian<quint32>(129, data.data() + 40);
  qToLittleEndian<quint32>(kVoiceClass, data.data() + 44);
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, kCallMajor, kForwardSet, 0, 0, data);
}

void SettingController::sendCallBarSetWithMode(int mode, int reason) {
  callBarSettingFlag_ = reason;
  QByteArray data(32, '\0');
  putText(data, 0, callBarringFacilityString(reason).toLatin1());
  qToLittleEndian<quint32>(quint32(mode), data.data() + 12);
  if (mode != 2 && txdCallBarPassword_)
    putText(data, 16, txdCallBarPassword_->text().toUtf8().left(kPasswordField - 1));
  qToLittleEndian<quint32>(kVoiceClass, data.data() + 28);
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, kCallMajor, kBarSet, 0, 0, data);
}

void SettingController::sendCallWaitSetWithMode(int mode, int enableIt) {
  QByteArray data(12, '\0');
  qToLittleEndian<quint32>(quint32(enableIt), data.data());
  qToLittleEndian<quint32>(quint32(mode), data.data() + 4);
  qToLittleEndian<quint32>(kVoiceClass, data.data() + 8);
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, kCallMajor, kWaitSet, 0, 0, data);
}

// ---- forwarding ----

namespace {
struct ForwardRow {
  QCheckBox *box;
  QLineEdit *field;
  int *state;
  QString *number;
};
} // namespace

#define FORWARD_ROWS                                                                                                   \
  QList<ForwardRow> rows = {                                                                                           \
      {btnDivertWhenBusy_, txdDivertWhenBusy_, &divertWhenBusyState_, &divertWhenBusyNumber_},                         \
      {btnDivertWhenNotReachable_, txdDivertWhenNotReachable_, &divertWhenNotReachableState_,                          \
       &divertWhenNotReachableNumber_},                                                                                \
      {btnDivertWhenNotAnswer_, txdDivertWhenNotAnswer_, &divertWhenNotAnswerState_, &divertWhenNotAnswerNumber_},     \
      {btnDivertAll_, txdDivertAll_, &divertAllState_, &divertAllNumber_}}

void SettingController::readCallForwardSetting() {
  callForwardRead_ = true;
  callForwardSettingFlag_ = btnDivertWhenBusy_ ? btnDivertWhenBusy_->property("tag").toInt() : 1;
  sendCallForwardSetWithMode(2, callForwardSettingFlag_, QString());
}

void SettingController::sendCallForwardSetting() {
  callForwardRead_ = false;
  FORWARD_ROWS;
  for (const ForwardRow &r : rows) {
    if (!r.box)
      continue;
    const int tag = r.box->property("tag").toInt();
    const QString text = r.field ? r.field->text() : QString();
    const int state = r.box->isChecked() ? 1 : 0;
    if (state == *r.state && (state == 0 || text == *r.number))
      continue;
    // A condition the network did not take in this Apply is not sent again.
    if (callForwardAsked_.contains(tag))
      continue;
    callForwardAsked_.insert(tag, {state, state ? text : QString()});
    callForwardSettingFlag_ = tag;
    sendCallForwardSetWithMode(state ? 3 : 4, tag, text);
    return;
  }
  bool failed = false;
  for (const ForwardRow &r : rows) {
    if (!r.box || !callForwardAsked_.contains(r.box->property("tag").toInt()))
      continue;
    const QPair<int, QString> asked = callForwardAsked_.value(r.box->property("tag").toInt());
    if (asked.first != (*r.state ? 1 : 0) || (asked.first && asked.second != *r.number))
      failed = true;
  }
  if (failed) {
    // The network did not confirm what was asked: the page shows what it has.
    tellCall(QStringLiteral("Settings Failed!"));
    resetCallForwardStates();
    checkCallForwardBtnState();
  } else {
    tellCall(QStringLiteral("Settings successful!"));
  }
  callForwardAsked_.clear();
  enableCallButtonsWhenFinished(this);
}

void SettingController::resetCallForwardStates() {
  FORWARD_ROWS;
  for (const ForwardRow &r : rows) {
    if (r.box)
      r.box->setChecked(*r.state != 0);
    if (r.field)
      r.field->setText(*r.number);
  }
}

void SettingController::continueReadCallForwardSetting(int status, const QString &number) {
  FORWARD_ROWS;
  for (int i = 0; i < rows.size(); ++i) {
    const ForwardRow &r = rows[i];
    if (!r.box || r.box->property("tag").toInt() != callForwardSettingFlag_)
      continue;
    r.box->setChecked(status != 0);
    if (r.field) {
      r.field->setEnabled(status != 0);
      r.field->setText(number);
    }
    *r.state = status;
    *r.number = number;
    if (!callForwardRead_)
      return;
    if (i + 1 < rows.size() && rows[i + 1].box) {
      callForwardSettingFlag_ = rows[i + 1].box->property("tag").toInt();
      sendCallForwardSetWithMode(2, callForwardSettingFlag_, QString());
      return;
    }
    // The last condition: the read chain ends.
    checkCallForwardBtnState();
    if (endReadChain(callForwardRead_, callForwardReadFinsihed_))
      tellCall(QStringLiteral("Read Call Forwarding Status Successful!"));
    enableCallButtonsWhenFinished(this);
    return;
  }
}

void SettingController::dealWithMsgOfReadCallForwardSetting(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.moduleId != kModuleSetting)
    return;
  if (msg.result >= 0xFF) {
    if (callForwardRead_) {
      if (endReadChain(callForwardRead_, callForwardReadFinsihed_))
        tellCall(QStringLiteral("Read Call Forwarding Status Failed!"));
      resetCallForwardStates();
      enableCallButtonsWhenFinished(this);
      return;
    }
    // A failed read-back of an Apply: the page keeps what it last read.
    tellCall(QStringLiteral("Settings Failed!"));
    resetCallForwardStates();
    checkCallForwardBtnState();
    callForwardAsked_.clear();
    enableCallButtonsWhenFinished(this);
    return;
  }
  // A read-back without a voice entry counts as off with no number.
  int status = 0;
  QString number;
  const int count = int(qMin<quint32>(wordAt(msg, 0), kMaxEntries));
  for (int i = 0; i < count; ++i) {
    const int base = 4 + i * kForwardEntrySize;
    const quint32 cls = wordAt(msg, base + 4);
    if (cls != kVoiceClass && cls != kAnyClass)
      continue;
    status = int(wordAt(msg, base));
    number = textAt(msg, base + 8, kForwardEntrySize - 8);
  }
  // An Apply's read-back goes on with the next change; a read chain goes on by itself.
  const bool applying = !callForwardRead_;
  continueReadCallForwardSetting(status, number);
  if (applying)
    sendCallForwardSetting();
}

void SettingController::dealWithCallForwardSettingResult(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.moduleId != kModuleSetting)
    return;
  if (msg.result >= 0xFF && !callForwardRead_) {
    tellCall(QStringLiteral("Settings Failed!"));
    resetCallForwardStates();
    checkCallForwardBtnState();
    callForwardAsked_.clear();
    enableCallButtonsWhenFinished(this);
    return;
  }
  sendCallForwardSetWithMode(2, callForwardSettingFlag_, QString());
}

// ---- waiting ----

void SettingController::readCallWaitSetting() {
  sendCallWaitSetWithMode(2, 1);
}

void SettingController::sendCallWaitSetting() {
  const int on = checked(btnCallWaitSetting_) ? 1 : 0;
  sendCallWaitSetWithMode(on, on);
}

void SettingController::dealWithMsgOfReadCallWaitSetting(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.moduleId != kModuleSetting)
    return;
  if (msg.result < 0xFF) {
    const int count = int(qMin<quint32>(wordAt(msg, 0), kMaxEntries));
    for (int i = 0; i < count; ++i) {
      const int base = 4 + i * kWaitEntrySize;
      const quint32 cls = wordAt(msg, base + 4);
      if ((cls == kVoiceClass || cls == kAnyClass) && btnCallWaitSetting_)
        btnCallWaitSetting_->setChecked(wordAt(msg, base) != 0);
    }
    if (callWaitReadFinsihed_)
      tellCall(QStringLiteral("Read Call Waiting Status Successful!"));
  } else if (callWaitReadFinsihed_) {
    tellCall(QStringLiteral("Read Call Waiting Status Failed!"));
  }
  callWaitReadFinsihed_ = true;
  enableCallButtonsWhenFinished(this);
}

void SettingController::dealWithCallWaitSettingResult(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.moduleId != kModuleSetting)
    return;
  // Only 0 is a success; any other result (not only 255) left the setting as it was.
  tellCall(msg.result == 0 ? QStringLiteral("Settings successful!") : QStringLiteral("Settings Failed!"));
  enableCallButtonsWhenFinished(this);
}

// ---- barring ----

namespace {
struct BarRow {
  QCheckBox *box;
  int *state;
  bool dependent;
};
} // namespace

#define BAR_ROWS                                                                                                       \
  QList<BarRow> rows = {{btnBarAllOutgoing_, &barAllOutgoingState_, false},                                            \
                        {btnBarInternational_, &barInternationalState_, true},                                         \
                        {btnBarInternationalEXHC_, &barInternationalEXHCState_, true},                                 \
                        {btnBarAllIncoming_, &barAllIncomingState_, false},                                            \
                        {btnBarIncomingWhenRoaming_, &barIncomingWhenRoamingState_, true}}

void SettingController::readCallBarSetting() {
  callBarRead_ = true;
  sendCallBarSetWithMode(2, btnBarAllOutgoing_ ? btnBarAllOutgoing_->property("tag").toInt() : 0);
}

void SettingController::sendCallBarSetting() {
  callBarRead_ = false;
  BAR_ROWS;
  for (const BarRow &r : rows) {
    if (!r.box || (r.dependent && !r.box->isEnabled()))
      continue;
    const int state = r.box->isChecked() ? 1 : 0;
    const int tag = r.box->property("tag").toInt();
    if (state == *r.state || callBarAsked_.contains(tag))
      continue;
    callBarAsked_.insert(tag, state);
    sendCallBarSetWithMode(state, tag);
    return;
  }
  bool failed = false;
  for (const BarRow &r : rows)
    if (r.box && callBarAsked_.contains(r.box->property("tag").toInt()) &&
        callBarAsked_.value(r.box->property("tag").toInt()) != (*r.state ? 1 : 0))
      failed = true;
  if (failed) {
    tellCall(QStringLiteral("Settings Failed!"));
    resetCallBarStates();
  } else {
    tellCall(QStringLiteral("Settings successful!"));
  }
  callBarAsked_.clear();
  enableCallButtonsWhenFinished(this);
}

void SettingController::resetCallBarStates() {
  BAR_ROWS;
  for (const BarRow &r : rows)
    if (r.box)
      r.box->setChecked(*r.state != 0);
  setCallBarring(nullptr);
  if (txdCallBarPassword_)
    txdCallBarPassword_->clear();
}

void SettingController::readCallBarSettingSuccess(int status) {
  BAR_ROWS;
  for (int i = 0; i < rows.size(); ++i) {
    const BarRow &r = rows[i];
    if (!r.box || r.box->property("tag").toInt() != callBarSettingFlag_)
      continue;
    r.box->setChecked(status != 0);
    *r.state = status;
    setCallBarring(nullptr);
    if (!callBarRead_)
      return;
    if (i + 1 < rows.size() && rows[i + 1].box) {
      sendCallBarSetWithMode(2, rows[i + 1].box->property("tag").toInt());
      return;
    }
    if (endReadChain(callBarRead_, callBarReadFinsihed_))
      tellCall(QStringLiteral("Read Call Barring Status Successful!"));
    enableCallButtonsWhenFinished(this);
    return;
  }
}

void SettingController::dealWithMsgOfReadCallBarSetting(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.moduleId != kModuleSetting)
    return;
  if (msg.result >= 0xFF) {
    if (callBarRead_) {
      if (endReadChain(callBarRead_, callBarReadFinsihed_))
        tellCall(QStringLiteral("Read Call Barring Status Failed!"));
    } else {
      // A failed read-back of an Apply: the controls show the last state read.
      tellCall(QStringLiteral("Settings Failed!"));
      resetCallBarStates();
      callBarAsked_.clear();
    }
    enableCallButtonsWhenFinished(this);
    return;
  }
  // A change read back goes on with the next changed facility.
  const bool applying = !callBarRead_;
  readCallBarSettingSuccess(int(wordAt(msg, 0)));
  if (applying)
    sendCallBarSetting();
}

void SettingController::dealWithCallBarSettingResult(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.moduleId != kModuleSetting || callBarRead_)
    return;
  if (msg.result >= 0xFF) {
    tellCall(QStringLiteral("Settings Failed!"));
    resetCallBarStates();
    callBarAsked_.clear();
    enableCallButtonsWhenFinished(this);
    return;
  }
  sendCallBarSetWithMode(2, callBarSettingFlag_);
}
