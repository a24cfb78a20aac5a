// The Security page: the SIM PIN lock (on/off, change, automatic validation), the PUK, and the
// modem's device lock code. Requests go out under module 3; the device status controller handles
// the same SIM at start-up under module 1, so the shared answers act here only on module 3.
#include "SettingController.h"

#include "CodeSheet.h"
#include "ConfigService.h"
#include "DeviceCodes.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "SettingService.h"
#include "UIMsg.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtEndian>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

// The alert of a backend answer: it does not wait, so packages keep arriving while it is up;
// `then` runs after the answer, never when the device went meanwhile.
void tell(const QString &title, const QString &messageKey, std::function<void()> then = {}) {
  NSBeginAlertPanelExt(title.isEmpty() ? QString() : word(title), word(messageKey), word(QStringLiteral("OK")),
                       QString(), [then](int, bool closedByRemoval) {
                         if (then && !closedByRemoval)
                           then();
                       });
}

QByteArray codeField(const QString &code, int width) {
  QByteArray bytes = code.toLatin1().left(width);
  bytes.append(QByteArray(width - bytes.size(), '\0'));
  return bytes;
}

QByteArray u32(quint32 value) {
  QByteArray b(4, '\0');
  qToLittleEndian<quint32>(value, b.data());
  return b;
}

quint32 wordAt(const UIMsg &msg, int offset) {
  return offset + 4 <= msg.dataLength ? qFromLittleEndian<quint32>(msg.data.data() + offset) : 0;
}

QString checkCodes(const QString &puk, const QString &pin, const QString &newPin) {
  return DeviceCodes::pinPukProblem(puk, pin, newPin);
}

QString leftText(int tries) {
  return word(QStringLiteral("You only have %d time(s) left!")).replace(QStringLiteral("%d"), QString::number(tries));
}

QString unlockLeftText(int tries) {
  return word(QStringLiteral("You have only %d time(s) to unlock!"))
      .replace(QStringLiteral("%d"), QString::number(tries));
}

bool isSettingAnswer(const UIMsg &msg) {
  return msg.type == 1 && msg.moduleId == kModuleSetting;
}
} // namespace

// ---- alerts ----

void SettingController::runAlertPanel(const QString &wordingKey) {
  tell(QStringLiteral("Warning!"), wordingKey);
}

void SettingController::runInformationPanel(const QString &text) {
  beginSystemAlertPanel(QStringLiteral(" "), text, word(QStringLiteral("OK")));
}

// ---- sheets ----

namespace {
void wire(CodeSheet *sheet, SettingController *c, void (SettingController::*ok)(QObject *),
          void (SettingController::*cancel)(QObject *)) {
  QObject::connect(sheet->ok, &QPushButton::clicked, c, [c, sheet, ok] { (c->*ok)(sheet->ok); });
  QObject::connect(sheet->cancel, &QPushButton::clicked, c, [c, sheet, cancel] { (c->*cancel)(sheet->cancel); });
  // Escape and the close button are a Cancel; the sheet's own ending is not.
  QObject::connect(sheet, &QDialog::rejected, c, [c, sheet, cancel] {
    if (!sheet->property("closing").toBool())
      (c->*cancel)(sheet->cancel);
  });
  for (int i = 0; i < sheet->fieldCount(); ++i) {
    QLineEdit *f = sheet->field(i);
    QObject::connect(f, &QLineEdit::textEdited, c, [c, f] { c->controlTextDidChange(f); });
  }
}
} // namespace

CodeSheet *SettingController::enablePinSheet() {
  if (!m_EnablePinWin) {
    m_EnablePinWin = new CodeSheet(QStringLiteral("m_EnablePinWin"), 1, wndMain);
    wire(m_EnablePinWin, this, &SettingController::ChangePinActiveStatusOK,
         &SettingController::ChangePinActiveStatusCancel);
    wordSheets();
  }
  return m_EnablePinWin;
}

CodeSheet *SettingController::revisePinSheet() {
  if (!m_RevisePinWin) {
    m_RevisePinWin = new CodeSheet(QStringLiteral("m_RevisePinWin"), 3, wndMain);
    wire(m_RevisePinWin, this, &SettingController::ChangePinOK, &SettingController::ChangePinCancel);
    wordSheets();
  }
  return m_RevisePinWin;
}

CodeSheet *SettingController::pukSheet() {
  if (!m_PukWin) {
    m_PukWin = new CodeSheet(QStringLiteral("m_PukWin"), 3, wndMain);
    wire(m_PukWin, this, &SettingController::CheckoutPukOK, &SettingController::CheckoutPukCancel);
    wordSheets();
  }
  return m_PukWin;
}

CodeSheet *SettingController::unlockDeviceSheet() {
  if (!wndSetingUnlockDevice_) {
    wndSetingUnlockDevice_ = new CodeSheet(QStringLiteral("wndSetingUnlockDevice"), 1, wndMain);
    wire(wndSetingUnlockDevice_, this, &SettingController::enableDeviceUnlockCodeOK,
         &SettingController::enableDeviceUnlockCodeCancel);
    wordSheets();
  }
  return wndSetingUnlockDevice_;
}

CodeSheet *SettingController::modifyUnlockDeviceSheet() {
  if (!wndModifyUnlockDevice_) {
    wndModifyUnlockDevice_ = new CodeSheet(QStringLiteral("wndModifyUnlockDevice"), 3, wndMain);
    wire(wndModifyUnlockDevice_, this, &SettingController::modifyDeviceUnlockCodeOK,
         &SettingController::modifyDeviceUnlockCodeCancel);
    wordSheets();
  }
  return wndModifyUnlockDevice_;
}

void SettingController::wordSheets() {
  const auto words = [](CodeSheet *sheet, const char *title, const char *prompt, QList<const char *> labels) {
    if (!sheet)
      return;
    sheet->setWindowTitle(word(QLatin1String(title)));
    sheet->prompt->setText(word(QLatin1String(prompt)));
    for (int i = 0; i < labels.size() && i < sheet->fieldCount(); ++i)
      sheet->label(i)->setText(word(QLatin1String(labels[i])));
    sheet->ok->setText(word(QStringLiteral("OK")));
    sheet->cancel->setText(word(QStringLiteral("Cancel")));
  };
  words(m_EnablePinWin, "PIN Enable", "Please input PIN:", {"PIN:"});
  words(m_RevisePinWin, "Revise PIN", "Please input:", {"Old PIN:", "New PIN:", "Repeat New PIN:"});
  words(m_PukWin, "Unlock PIN", "Please input:", {"PUK:", "New PIN:", "Repeat New PIN:"});
  words(wndSetingUnlockDevice_, "Device function lock Enable",
        "Please input the unlock device code:", {"Unlock Code:"});
  words(wndModifyUnlockDevice_, "Change Unlock Code",
        "Please input:", {"Old Unlock Code:", "New Unlock Code:", "Verify Unlock Code:"});
  setTimeLeftLabels();
}

void SettingController::setTimeLeftLabels() {
  if (pinNum >= 0) {
    if (m_EnablePinWin)
      m_EnablePinWin->timeLeft->setText(leftText(pinNum));
    if (m_RevisePinWin)
      m_RevisePinWin->timeLeft->setText(leftText(pinNum));
  }
  if (pukNum >= 0 && m_PukWin)
    m_PukWin->timeLeft->setText(leftText(pukNum));
}

// ---- PIN buttons ----

void SettingController::setBtnPinState(bool on) {
  if (m_PINEnable)
    m_PINEnable->setChecked(on);
  if (m_RevisePinButton)
    m_RevisePinButton->setEnabled(on);
  if (labelPinModify_)
    labelPinModify_->setEnabled(on);
  if (btnPINAutoValidat_)
    btnPINAutoValidat_->setEnabled(on && m_PINEnable && m_PINEnable->isEnabled());
}

void SettingController::setBtnPinEnable(bool enableIt) {
  if (m_PINEnable)
    m_PINEnable->setEnabled(enableIt);
  if (btnPINAutoValidat_)
    btnPINAutoValidat_->setEnabled(enableIt && m_PINEnable && m_PINEnable->isChecked());
}

void SettingController::setPinMenuItems(bool on) {
  if (labelPINEnable_)
    labelPINEnable_->setEnabled(!on);
  if (labelPINDisable_)
    labelPINDisable_->setEnabled(on);
}

void SettingController::setPinActiveStatus(quint32 status) {
  pinActive_ = status != 0;
  setBtnPinEnable(true);
  setBtnPinState(pinActive_);
  if (m_RevisePinButton)
    m_RevisePinButton->setEnabled(pinActive_);
  if (labelPinModify_)
    labelPinModify_->setEnabled(pinActive_);
  setPinMenuItems(pinActive_);
}

bool SettingController::pinActiveStatus() const {
  return m_PINEnable ? m_PINEnable->isChecked() : pinActive_;
}

void SettingController::setPinTimeLeft(int tries) {
  pinNum = tries;
  setTimeLeftLabels();
}

void SettingController::setPukTimeLeft(int tries) {
  pukNum = tries;
  setTimeLeftLabels();
}

void SettingController::invertPinCheckbox() {
  const bool on = !pinActiveStatus();
  pinActive_ = on;
  if (m_PINEnable)
    m_PINEnable->setChecked(on);
  setPinMenuItems(on);
}

void SettingController::sendPinPayload(int minor, const QByteArray &payload, int type) {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, 4, minor, type, 0, payload);
}

// ---- lock on/off ----

void SettingController::EnablePIN(QObject *) {
  pinActive_ = true;
  if (m_PINEnable)
    m_PINEnable->setChecked(true);
  setPinMenuItems(true);
  ChangePinActiveStatus(nullptr);
}

void SettingController::DisablePIN(QObject *) {
  pinActive_ = false;
  if (m_PINEnable)
    m_PINEnable->setChecked(false);
  setPinMenuItems(false);
  ChangePinActiveStatus(nullptr);
}

void SettingController::ChangePinActiveStatus(QObject *sender) {
  // A click on the box has flipped it already; the box now shows the state asked for.
  if (sender && sender == m_PINEnable)
    pinActive_ = m_PINEnable->isChecked();
  m_PinEnableFlag = 1;
  if (ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("pinAutoValidation")))
    pinAutoValidationStatusWinFlag_ = false;
  CodeSheet *sheet = enablePinSheet();
  sheet->clearFields();
  sheet->open();
  sheet->field(0)->setFocus();
}

void SettingController::ChangePinActiveStatusOK(QObject *) {
  CodeSheet *sheet = enablePinSheet();
  const QString pin = sheet->field(0)->text();
  const QString problem = checkCodes(QString(), pin, QString());
  if (!problem.isNull()) {
    runAlertPanel(problem);
    sheet->field(0)->clear();
    return;
  }
  sheet->end();
  if (pinAutoValidationStatusWinFlag_)
    SendCPWD();
  else
    SendCLCK();
}

void SettingController::ChangePinActiveStatusCancel(QObject *) {
  if (pinAutoValidationStatusWinFlag_) {
    if (btnPINAutoValidat_)
      btnPINAutoValidat_->setChecked(!btnPINAutoValidat_->isChecked());
  } else {
    invertPinCheckbox();
  }
  enablePinSheet()->end();
}

void SettingController::SendCLCK() {
  QByteArray payload = codeField(enablePinSheet()->field(0)->text(), 12);
  payload += u32(pinActiveStatus() ? 1 : 0);
  sendPinPayload(14, payload);
}

void SettingController::SendCPWD() {
  CodeSheet *sheet = pinAutoValidationStatusWinFlag_ ? enablePinSheet() : revisePinSheet();
  QString oldPin, newPin;
  if (pinAutoValidationStatusWinFlag_) {
    oldPin = newPin = sheet->field(0)->text();
  } else {
    oldPin = sheet->field(0)->text();
    newPin = sheet->field(1)->text();
  }
  sentNewPin_ = newPin;
  sendPinPayload(12, codeField(oldPin, 10) + codeField(newPin, 10));
}

void SettingController::dealWithMsgOfChangePinActiveStatus(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1)
    return;
  SettingService *service = SettingService::sharedSettingService();
  if (msg.result != 0) {
    service->setNeedAlertLeftTimesFlag(true);
    invertPinCheckbox();
    tell(QStringLiteral("Warning!"), QStringLiteral("Incorrect PIN code!"));
    return;
  }
  service->setNeedAlertLeftTimesFlag(false);
  m_PinEnableFlag = 0;
  const bool on = pinActiveStatus();
  // Without the lock a saved PIN has no use left: it goes.
  if (auto *device = Neighbourhood::deviceStatus(); device && !on)
    device->cardPinChanged(QString());
  if (m_RevisePinButton)
    m_RevisePinButton->setEnabled(on);
  if (labelPinModify_)
    labelPinModify_->setEnabled(on);
  setPinMenuItems(on);
  if (btnPINAutoValidat_)
    btnPINAutoValidat_->setEnabled(on);
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("changePinActiveStatusSuccessful"), this);
  tell(QStringLiteral(" "), QStringLiteral("Settings successful!"));
}

// ---- change PIN ----

void SettingController::ChangePin(QObject *) {
  m_PinEnableFlag = 0;
  CodeSheet *sheet = revisePinSheet();
  sheet->clearFields();
  sheet->open();
  sheet->field(0)->setFocus();
}

void SettingController::ChangePinOK(QObject *) {
  if (ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("pinAutoValidation")))
    pinAutoValidationStatusWinFlag_ = false;
  CodeSheet *sheet = revisePinSheet();
  QString problem = checkCodes(QString(), sheet->field(0)->text(), QString());
  if (problem.isNull())
    problem = checkCodes(QString(), sheet->field(1)->text(), sheet->field(2)->text());
  if (!problem.isNull()) {
    runAlertPanel(problem);
    sheet->clearFields();
    sheet->field(0)->setFocus();
    return;
  }
  sheet->end();
  SendCPWD();
}

void SettingController::ChangePinCancel(QObject *) {
  revisePinSheet()->end();
}

void SettingController::dealWithMsgOfChangePin(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || !isSettingAnswer(msg))
    return;
  SettingService *service = SettingService::sharedSettingService();
  if (msg.result != 0) {
    service->setNeedAlertLeftTimesFlag(true);
    tell(QStringLiteral(" "), QStringLiteral("Incorrect PIN code!"));
    return;
  }
  service->setNeedAlertLeftTimesFlag(false);
  // A PIN saved on this computer for the card follows its change.
  if (auto *device = Neighbourhood::deviceStatus(); device && !sentNewPin_.isEmpty())
    device->cardPinChanged(sentNewPin_);
  sentNewPin_.clear();
  if (!pinAutoValidationStatusWinFlag_)
    tell(QStringLiteral(" "), QStringLiteral("New PIN enabled!"));
}

// ---- tries ----

void SettingController::CheckPinPukRemainCount(QObject *) {
  sendPinPayload(8, QByteArray(8, '\0'));
}

void SettingController::dealWithMsgOfCountPinPukRemain(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || !isSettingAnswer(msg) || msg.result != 0)
    return;
  const int pinTries = int(std::min<quint32>(wordAt(msg, 0), 99));
  const int pukTries = int(std::min<quint32>(wordAt(msg, 4), 99));
  setPinTimeLeft(pinTries);
  setPukTimeLeft(pukTries);
  SettingService *service = SettingService::sharedSettingService();
  QPointer<SettingController> self(this);
  if (m_PinEnableFlag == 1 && service->checkPinInputStatusByLeftTimes(pinTries) == 1) {
    // The box shows again the state the user asked for, and the sheet comes back.
    invertPinCheckbox();
    const auto reopen = [self] {
      if (self)
        self->ChangePinActiveStatus(nullptr);
    };
    if (auto *device = Neighbourhood::deviceStatus())
      device->alertWithPinOrPukLeftTimes(pinTries, true, reopen);
    else
      reopen();
  } else if (pinAutoValidationStatusWinFlag_) {
    setPinAutoValidationStatusWithLeftPinTimes(pinTries);
  }
  if (pinTries <= 0) {
    const auto unblock = [self] {
      if (!self)
        return;
      if (ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("IsPUKwinBeginSheetForDidoro")))
        NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("setPinUnlockStatusForBundle"),
                                                                 nullptr);
      else
        self->CheckoutPuk(nullptr);
    };
    if (auto *device = Neighbourhood::deviceStatus())
      device->alertWithPinOrPukLeftTimes(pukTries, false, unblock);
    else
      unblock();
  }
}

// ---- automatic validation ----

void SettingController::pinAutoValidation(QObject *sender) {
  pinAutoValidationStatusWinFlag_ = true;
  m_PinEnableFlag = 0;
  auto *box = qobject_cast<QCheckBox *>(sender);
  writeSetting(QStringLiteral("pinAutoValidationState"), box ? box->isChecked() : false);
  CodeSheet *sheet = enablePinSheet();
  sheet->clearFields();
  sheet->open();
}

void SettingController::setPinAutoValidationStatusWithLeftPinTimes(int tries) {
  switch (SettingService::sharedSettingService()->checkPinInputStatusByLeftTimes(tries)) {
  case 1:
    enablePinSheet()->clearFields();
    enablePinSheet()->open();
    break;
  case 0: {
    sendPinPayload(17, codeField(enablePinSheet()->field(0)->text(), 10));
    const bool on = btnPINAutoValidat_ && btnPINAutoValidat_->isChecked();
    sendPinPayload(18, u32(on ? 1 : 0) + u32(0));
    break;
  }
  default:
    break;
  }
}

void SettingController::dealWithMsgOfChangePinAutoValidationStatus(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || msg.type != 1)
    return;
  if (msg.result != 0) {
    if (btnPINAutoValidat_)
      btnPINAutoValidat_->setChecked(!btnPINAutoValidat_->isChecked());
    tell(QStringLiteral("Warning!"), QStringLiteral("The operation failed!"));
    return;
  }
  tell(QStringLiteral(" "), QStringLiteral("Settings successful!"));
}

void SettingController::dealWithMsgOfSetPinAutoValidationStatus(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || !isSettingAnswer(msg))
    return;
  SettingService *service = SettingService::sharedSettingService();
  service->setNeedAlertLeftTimesFlag(msg.result != 0);
  if (msg.result != 0)
    tell(QStringLiteral(" "), QStringLiteral("Incorrect PIN code!"));
}

// ---- PUK ----

void SettingController::CheckoutPuk(QObject *) {
  CodeSheet *sheet = pukSheet();
  sheet->clearFields();
  sheet->open();
  sheet->field(0)->setFocus();
}

void SettingController::CheckoutPukOK(QObject *) {
  CodeSheet *sheet = pukSheet();
  const QString problem = checkCodes(sheet->field(0)->text(), sheet->field(1)->text(), sheet->field(2)->text());
  if (!problem.isNull()) {
    runAlertPanel(problem);
    sheet->clearFields();
    sheet->field(0)->setFocus();
    return;
  }
  sheet->end();
  SendPukCheckout();
}

void SettingController::SendPukCheckout() {
  CodeSheet *sheet = pukSheet();
  sentNewPin_ = sheet->field(1)->text();
  sendPinPayload(11, codeField(sheet->field(1)->text(), 10) + codeField(sheet->field(0)->text(), 10));
}

void SettingController::CheckoutPukCancel(QObject *) {
  pukSheet()->end();
  // A blocked card is of no use: the controllers treat the device as gone.
  notifyDeviceRemoved();
}

void SettingController::dealWithMsgOfCheckoutPuk(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n) || !isSettingAnswer(msg))
    return;
  pinActive_ = true;
  if (m_PINEnable)
    m_PINEnable->setChecked(true);
  setPinMenuItems(true);
  if (msg.result != 0) {
    tell(QStringLiteral(" "), QStringLiteral("Incorrect PUK code!"));
    return;
  }
  tell(QStringLiteral(" "), QStringLiteral("New PIN enabled!"));
  if (auto *device = Neighbourhood::deviceStatus(); device && !sentNewPin_.isEmpty())
    device->cardPinChanged(sentNewPin_);
  sentNewPin_.clear();
  if (ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("IsPUKwinBeginSheetForDidoro")))
    NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("changePukStatusSuccessfulForBundle"),
                                                             nullptr);
}

// ---- the PIN saved on this computer ----

void SettingController::refreshSavedPinControls() {
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  if (btnPinNumSavedInConfigFile_)
    btnPinNumSavedInConfigFile_->setChecked(device && device->isSavingPin());
  if (btnPinNumSavedInConfigFile_)
    btnPinNumSavedInConfigFile_->setEnabled(device != nullptr);
  if (btnRemovePinAutoCheckByICCID_)
    btnRemovePinAutoCheckByICCID_->setEnabled(device != nullptr);
}

void SettingController::enableSavePinNum(QObject *sender) {
  auto *box = qobject_cast<QCheckBox *>(sender);
  if (auto *device = Neighbourhood::deviceStatus())
    device->setSavingPin(box ? box->isChecked() : !device->isSavingPin());
  refreshSavedPinControls();
}

void SettingController::removeAutoCheckPinByICCID(QObject *) {
  if (auto *device = Neighbourhood::deviceStatus())
    device->forgetSavedPin();
  refreshSavedPinControls();
}

// ---- device lock code ----

void SettingController::setDeviceUnlockCodeState(bool on) {
  deviceUnlockCodeState_ = on;
  if (btnCheckDeviceUnlockCodeEnable)
    btnCheckDeviceUnlockCodeEnable->setChecked(on);
  if (btnModifyDeviceUnlockCode)
    btnModifyDeviceUnlockCode->setEnabled(on);
}

bool SettingController::getDeviceUnlockCodeState() const {
  return btnCheckDeviceUnlockCodeEnable ? btnCheckDeviceUnlockCodeEnable->isChecked() : deviceUnlockCodeState_;
}

void SettingController::checkDeviceUnlockCodeStatus(QObject *sender) {
  // The click flipped the box (a caller without the box flips the state here).
  if (sender != btnCheckDeviceUnlockCodeEnable || !btnCheckDeviceUnlockCodeEnable)
    deviceUnlockCodeState_ = !deviceUnlockCodeState_;
  else
    deviceUnlockCodeState_ = btnCheckDeviceUnlockCodeEnable->isChecked();
  openUnlockDeviceWindow();
}

void SettingController::openUnlockDeviceWindow() {
  CodeSheet *sheet = unlockDeviceSheet();
  sheet->clearFields();
  sheet->open();
  sheet->field(0)->setFocus();
}

void SettingController::enableDeviceUnlockCodeOK(QObject *) {
  CodeSheet *sheet = unlockDeviceSheet();
  const QString code = sheet->field(0)->text();
  if (!DeviceCodes::isValidDeviceUnlockCode(code)) {
    tell(QStringLiteral("Warning"), QStringLiteral("The unlock device code must be 4 digitals"));
    return;
  }
  const bool on = getDeviceUnlockCodeState();
  if (btnModifyDeviceUnlockCode)
    btnModifyDeviceUnlockCode->setEnabled(on);
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, 5, 29, 1, 0, u32(on ? 1 : 0) + codeField(code, 8));
  sheet->end();
}

void SettingController::enableDeviceUnlockCodeCancel(QObject *) {
  deviceUnlockCodeState_ = !getDeviceUnlockCodeState();
  if (btnCheckDeviceUnlockCodeEnable)
    btnCheckDeviceUnlockCodeEnable->setChecked(deviceUnlockCodeState_);
  unlockDeviceSheet()->end();
}

void SettingController::dealWithMsgOfCheckDeviceLockStatus(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  const bool on = getDeviceUnlockCodeState();
  if (msg.result != 0) {
    unlockCount_ = std::max(0, unlockCount_ - 1);
    unlockDeviceSheet()->timeLeft->setText(unlockLeftText(unlockCount_));
    if (btnModifyDeviceUnlockCode && !on)
      btnModifyDeviceUnlockCode->setEnabled(true);
    QPointer<SettingController> self(this);
    tell(QStringLiteral("Warning"), QStringLiteral("Invalid password!"), [self] {
      if (self)
        self->openUnlockDeviceWindow();
    });
    return;
  }
  tell(QStringLiteral("Warning"),
       on ? QStringLiteral("Device lock enabled!") : QStringLiteral("Device lock disabled!"));
}

void SettingController::modifyDeviceUnlockCode(QObject *) {
  CodeSheet *sheet = modifyUnlockDeviceSheet();
  sheet->timeLeft->setText(unlockLeftText(unlockCount_));
  sheet->clearFields();
  sheet->open();
  sheet->field(0)->setFocus();
}

void SettingController::modifyDeviceUnlockCodeOK(QObject *) {
  CodeSheet *sheet = modifyUnlockDeviceSheet();
  for (int i = 0; i < 3; ++i) {
    if (!DeviceCodes::isValidDeviceUnlockCode(sheet->field(i)->text())) {
      tell(QStringLiteral("Warning"), QStringLiteral("The unlock device code must be 4 digitals"));
      return;
    }
  }
  if (sheet->field(1)->text() != sheet->field(2)->text()) {
    tell(QStringLiteral("Warning"), QStringLiteral("Please input same unlock code!"));
    return;
  }
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleSetting, 5, 31, 1, 0,
                                      codeField(sheet->field(0)->text(), 5) + codeField(sheet->field(1)->text(), 5));
  sheet->end();
}

void SettingController::modifyDeviceUnlockCodeCancel(QObject *) {
  modifyUnlockDeviceSheet()->end();
}

void SettingController::dealWithMsgOfModifyDeviceLockCodeStatus(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  // Only a result of 0 is a success; a wrong old code (255) may be typed again.
  if (msg.result == 0) {
    tell(QStringLiteral("Warning"), QStringLiteral("Modify device unlock code successfully!"));
  } else if (msg.result == UIMsg::kResultFailure) {
    QPointer<SettingController> self(this);
    tell(QStringLiteral("Warning"), QStringLiteral("Invalid password!"), [self] {
      if (self)
        self->modifyDeviceUnlockCode(nullptr);
    });
  } else {
    tell(QStringLiteral("Warning"), QStringLiteral("The operation failed!"));
  }
}

void SettingController::dealWithMsgOfCheckDeviceUnLockResult(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  if (msg.result == 0) {
    NotificationCenter::defaultCenter().postNotificationName(QLatin1String(kDeviceUnlockSuccess), this);
  } else if (msg.result == UIMsg::kResultFailure) {
    tell(QStringLiteral("Warning"), QStringLiteral("Invalid password!"));
    NotificationCenter::defaultCenter().postNotificationName(QLatin1String(kDeviceUnlockFailed), this);
  }
}

void SettingController::dealWithMsgOfCheckDeviceUnLockCount(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  const int tries = int(std::min<quint32>(wordAt(msg, 0), 99));
  if (msg.result == 0 && tries < 1) {
    tell(QStringLiteral("Warning"), QStringLiteral("Device has been locked, please contact service provider!"));
    return;
  }
  unlockCount_ = tries;
  unlockDeviceSheet()->timeLeft->setText(unlockLeftText(unlockCount_));
  openUnlockDeviceWindow();
}

void SettingController::notifyDeviceUnlockSuccess(const Notification &) {
  if (auto *device = Neighbourhood::deviceStatus(); device && device->getDeviceLockFunctionModule() == 6) {
    // The tab opens on the code just accepted, without asking for it again.
    settingTabUnlocked_ = true;
    notifyChangeTabViewItem(QStringLiteral("Setting"));
  }
}

void SettingController::notifyDeviceUnlockFailed(const Notification &) {
  if (auto *device = Neighbourhood::deviceStatus(); device && device->getDeviceLockFunctionModule() == 6)
    notifyChangeTabViewItem(QStringLiteral("Internet"));
}

void SettingController::activePinStatus(const Notification &) {
  invertPinCheckbox();
  ChangePinActiveStatus(nullptr);
}

void SettingController::pinModifyClicked(const Notification &) {
  ChangePin(m_RevisePinButton);
}

void SettingController::pinUnlockClicked(const Notification &) {
  CheckoutPuk(nullptr);
}
