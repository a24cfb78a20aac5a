// SIM code entry of InitController: the PIN and PUK sheets, the tries, automatic validation
// with a saved PIN, and the user's choices about saving it.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "DeviceCodes.h"
#include "InitController.h"
#include "InitStatusView.h"
#include "Neighbourhood.h"
#include "PinSheets.h"
#include "QELAlertPanel.h"
#include "QELMsgCenter.h"
#include "SettingsNeighbour.h"
#include "WordGlobe.h"

#include <QRegularExpression>
#include <QtEndian>
#include <utility>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

bool mainSwitch(const char *key) {
  return ConfigService::readBool(QStringLiteral("Main"), QLatin1String(key));
}

QByteArray codeField(const QString &code, int width) {
  QByteArray bytes = code.toLatin1().left(width);
  bytes.append(QByteArray(width - bytes.size(), '\0'));
  return bytes;
}

quint32 wordAt(const UIMsg &msg, int offset) {
  return offset + 4 <= msg.dataLength ? qFromLittleEndian<quint32>(msg.data.data() + offset) : 0;
}

void alertKey(const QString &key) {
  if (auto *settings = Neighbourhood::settings())
    settings->runAlertPanel(key);
  else
    NSBeginAlertPanelExt(word(QStringLiteral("Warning!")), word(key), word(QStringLiteral("OK")));
}
} // namespace

QString InitController::checkPinPukAlertMsg(const QString &puk, const QString &pin, const QString &newPin) {
  return DeviceCodes::pinPukProblem(puk, pin, newPin);
}

PinSheet *InitController::pinSheet() {
  if (!pinSheet_) {
    pinSheet_ = new PinSheet(wndMain);
    wirePinSheets();
  }
  return pinSheet_;
}

PukSheet *InitController::pukSheet() {
  if (!pukSheet_) {
    pukSheet_ = new PukSheet(wndMain);
    wirePinSheets();
  }
  return pukSheet_;
}

ReAlertSheet *InitController::reAlertSheet() {
  if (!reAlertSheet_) {
    reAlertSheet_ = new ReAlertSheet(wndMain);
    wirePinSheets();
  }
  return reAlertSheet_;
}

// Texts and button actions of whichever sheets exist; run again on a language change.
void InitController::wirePinSheets() {
  if (PinSheet *s = pinSheet_) {
    s->setWindowTitle(word(QStringLiteral("Enter PIN")));
    s->prompt->setText(word(QStringLiteral("Please input PIN:")));
    s->pinLabel->setText(word(QStringLiteral("PIN:")));
    s->savePin->setText(word(QStringLiteral("Save Pin")));
    s->ok->setText(word(QStringLiteral("OK")));
    s->cancel->setText(word(QStringLiteral("Cancel")));
    if (!s->property("wired").toBool()) {
      s->setProperty("wired", true);
      connect(s->ok, &QPushButton::clicked, this, [this, s] { closePinWindow(s->ok); });
      connect(s->cancel, &QPushButton::clicked, this, [this, s] { cancelPinWindow(s->cancel); });
      connect(s, &QDialog::rejected, this, [this, s] {
        if (!s->property("closing").toBool())
          cancelPinWindow(s->cancel);
      });
      connect(s->savePin, &QCheckBox::clicked, this, [this, s] { savePinNum(s->savePin); });
      connect(s->pinCode, &QLineEdit::textEdited, this, [this, s] { controlTextDidChange(s->pinCode); });
    }
  }
  if (PukSheet *s = pukSheet_) {
    s->setWindowTitle(word(QStringLiteral("Unlock PIN")));
    s->prompt->setText(word(QStringLiteral("Please input:")));
    s->pukLabel->setText(word(QStringLiteral("PUK:")));
    s->newPinLabel->setText(word(QStringLiteral("New PIN:")));
    s->repeatLabel->setText(word(QStringLiteral("Repeat New PIN:")));
    s->ok->setText(word(QStringLiteral("OK")));
    s->cancel->setText(word(QStringLiteral("Cancel")));
    if (!s->property("wired").toBool()) {
      s->setProperty("wired", true);
      connect(s->ok, &QPushButton::clicked, this, [this, s] { closePukWindow(s->ok); });
      connect(s->cancel, &QPushButton::clicked, this, [this, s] { cancelPukWindow(s->cancel); });
      connect(s, &QDialog::rejected, this, [this, s] {
        if (!s->property("closing").toBool())
          cancelPukWindow(s->cancel);
      });
      for (QLineEdit *f : {s->newPinCode, s->repNewPinCode})
        connect(f, &QLineEdit::textEdited, this, [this, f] { controlTextDidChange(f); });
    }
  }
  if (ReAlertSheet *s = reAlertSheet_) {
    s->message->setText(word(QStringLiteral("reAlert PIN")));
    s->yes->setText(word(QStringLiteral("YES")));
    s->no->setText(word(QStringLiteral("NO")));
    if (!s->property("wired").toBool()) {
      s->setProperty("wired", true);
      connect(s->yes, &QPushButton::clicked, this, [this, s] { clickYESOfReAlertPinWindow(s->yes); });
      connect(s->no, &QPushButton::clicked, this, [this, s] { clickNOOfReAlertPinWindow(s->no); });
    }
  }
}

// Ends a sheet without it counting as a cancel.
static void endSheet(QDialog *sheet) {
  if (!sheet || !sheet->isVisible())
    return;
  sheet->setProperty("closing", true);
  sheet->hide();
  sheet->setProperty("closing", false);
}

void InitController::alertWithPinOrPukLeftTimes(int tries, bool pinAlert, std::function<void()> then) {
  if (tries != 1 || ConfigService::readBool(QString(), QStringLiteral("NoNeedAlertOnlyOneLeftTimePinOrPuk"))) {
    if (then)
      then();
    return;
  }
  const QString text = pinAlert ? QStringLiteral("Only one chance left! If you input the wrong PIN code, your (U)SIM "
                                                 "card will be locked.")
                                : QStringLiteral("Only one chance left! If you input the wrong PUK code, your (U)SIM "
                                                 "card will be destroyed.");
  // Without waiting, so that the device's removal still arrives; the sheet that follows the
  // warning is not opened for a device that went while it was up.
  NSBeginAlertPanelExt(word(QStringLiteral("Warning")), word(text), word(QStringLiteral("OK")), QString(),
                       [then](int, bool closedByRemoval) {
                         if (then && !closedByRemoval)
                           then();
                       });
}

void InitController::dealWithMsgOfCountPinPukRemain(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.type != 1 || msg.moduleId != 1 || msg.result != 0)
    return;
  const int pinTries = int(std::min<quint32>(wordAt(msg, 0), 99));
  const int pukTries = int(std::min<quint32>(wordAt(msg, 4), 99));
  const QString left = word(QStringLiteral("You only have %d time(s) left!"));
  pinSheet()->timeLeft->setText(QString(left).replace(QStringLiteral("%d"), QString::number(pinTries)));
  pukSheet()->timeLeft->setText(QString(left).replace(QStringLiteral("%d"), QString::number(pukTries)));
  if (auto *settings = Neighbourhood::settings()) {
    settings->setPinTimeLeft(pinTries);
    settings->setPukTimeLeft(pukTries);
  }
  if (m_SimPinState != kSimCheckingCode)
    return;
  if (ConfigService::readBool(QStringLiteral("UIConfig"), QStringLiteral("RuvozUI"))) {
    if (auto *dial = Neighbourhood::connection()) {
      dial->setDeviceStatusStringRows(2);
      dial->ruvozUITopFixedImage(QString(), QString(), QString(),
                                 word(QStringLiteral("PIN enabled, please disable PIN")));
    }
    return;
  }
  QPointer<InitController> self(this);
  if (pinTries > 0) {
    // A saved PIN is tried once per insertion, and never on the last try: a wrong saved PIN
    // must not be what blocks the card.
    if (pinTries > 1 && isNeedPinAutoValidation()) {
      hadDoPinAutoValidation_ = true;
      pinAutoValidation();
    } else {
      afterWrongCodeAlert([self, pinTries] {
        if (self)
          self->alertWithPinOrPukLeftTimes(pinTries, true, [self] {
            if (self)
              self->openPinWindow();
          });
      });
    }
  } else if (pukTries > 0) {
    afterWrongCodeAlert([self, pukTries] {
      if (self)
        self->alertWithPinOrPukLeftTimes(pukTries, false, [self] {
          if (self)
            self->openPukWindow();
        });
    });
  }
}

void InitController::tellWrongCode(const QString &wordingKey) {
  // One at a time: a second wrong answer while the first is up waits for the same answer.
  if (wrongCodeAlertUp_)
    return;
  wrongCodeAlertUp_ = true;
  QPointer<InitController> self(this);
  // Without waiting, as every alert of a backend handler; the sheet that follows would take the
  // keyboard from it, so it opens from the answer (and not for a device that went meanwhile).
  NSBeginAlertPanelExt(word(QStringLiteral("Warning!")), word(wordingKey), word(QStringLiteral("OK")), QString(),
                       [self](int, bool closedByRemoval) {
                         if (!self)
                           return;
                         self->wrongCodeAlertUp_ = false;
                         const std::function<void()> next = std::exchange(self->afterWrongCodeAlert_, {});
                         if (next && !closedByRemoval)
                           next();
                       });
}

void InitController::afterWrongCodeAlert(std::function<void()> next) {
  if (wrongCodeAlertUp_)
    afterWrongCodeAlert_ = std::move(next);
  else if (next)
    next();
}

bool InitController::isNeedPinAutoValidation() const {
  if (hadDoPinAutoValidation_ || pinNum_.isEmpty())
    return false;
  if (mainSwitch("pinAutoValidation") && pinAutoValidationChecked_ && mainSwitch("hadDosavePinToModemByUser"))
    return true;
  const QString savedIccid =
      const_cast<InitController *>(this)->settingDict().value(QStringLiteral("Iccid")).toString();
  return mainSwitch("AtuoCheckPinAndIccidSavedInConfigFile") && pinNumSavedInConfigChecked_ && !iccid().isEmpty() &&
         iccid() == savedIccid;
}

void InitController::pinAutoValidation() {
  checkPinPukStatus_ = kCheckPin;
  pinSheet()->pinCode->setText(pinNum_);
  closePinWindow(nullptr);
  pinSheet()->pinCode->clear();
}

void InitController::openPinWindow() {
  checkPinPukStatus_ = kCheckPin;
  PinSheet *s = pinSheet();
  s->pinCode->clear();
  s->prompt->setText(
      word(autoPinFailed_ ? QStringLiteral("Incorrect PIN code!") : QStringLiteral("Please input PIN:")));
  autoPinFailed_ = false;
  s->savePin->setEnabled(true);
  if (labelPINEnter_)
    labelPINEnter_->setEnabled(false);
  s->open();
  s->pinCode->setFocus();
}

void InitController::openPukWindow() {
  checkPinPukStatus_ = kCheckPuk;
  PukSheet *s = pukSheet();
  s->pukCode->clear();
  s->newPinCode->clear();
  s->repNewPinCode->clear();
  if (labelPINUnlock_)
    labelPINUnlock_->setEnabled(false);
  s->open();
  s->pukCode->setFocus();
}

void InitController::sendPinCheck(const QString &pin) {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleInit, 4, 10, 1, 0, codeField(pin, 10));
}

void InitController::sendPukCheck(const QString &newPin, const QString &puk) {
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleInit, 4, 11, 1, 0, codeField(newPin, 10) + codeField(puk, 10));
}

void InitController::closePinWindow(QObject *sender) {
  manuuallyInputPinFlag_ = sender != nullptr;
  PinSheet *s = pinSheet();
  const QString pin = s->pinCode->text();
  const QString problem = checkPinPukAlertMsg(QString(), pin, QString());
  if (!problem.isNull()) {
    alertKey(problem);
    s->pinCode->clear();
    return;
  }
  endSheet(s);
  pinNum_ = pin;
  sendPinCheck(pin);
}

void InitController::closePukWindow(QObject *) {
  manuuallyInputPinFlag_ = true;
  PukSheet *s = pukSheet();
  const QString puk = s->pukCode->text(), newPin = s->newPinCode->text(), repeat = s->repNewPinCode->text();
  const QString problem = checkPinPukAlertMsg(puk, newPin, repeat);
  if (!problem.isNull()) {
    alertKey(problem);
    s->pukCode->clear();
    s->newPinCode->clear();
    s->repNewPinCode->clear();
    s->pukCode->setFocus();
    return;
  }
  endSheet(s);
  sendPukCheck(newPin, puk);
  pinNum_ = newPin;
}

void InitController::dealWithMsgOfCheckoutPin(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg))
    return;
  if (msg.type == 1) {
    if (msg.result == 0)
      setSimStatus(true);
    return;
  }
  if (msg.type != 0 || msg.moduleId != 1)
    return;
  m_SimPinState = kSimCheckingCode;
  if (msg.result == 0) {
    if (mainSwitch("pinAutoValidation")) {
      if (manuuallyInputPinFlag_) {
        const bool save = pinSheet()->savePin->isChecked();
        pinAutoValidationChecked_ = save;
        sendPinAutoValidationSwitch(save);
      }
    } else if (mainSwitch("AtuoCheckPinAndIccidSavedInConfigFile") && pinNumSavedInConfigChecked_ &&
               !pinNum_.isEmpty() && !iccid().isEmpty()) {
      ConfigManager *config = ConfigManager::sharedConfigManager();
      if (config) {
        config->getConfiguration().insert(kCMSavedPinKey, pinNum_);
        config->getConfiguration().insert(kCMSavedIccidKey, iccid());
        config->writeToFile();
      }
    }
  } else if (msg.result == UIMsg::kResultFailure) {
    if (checkPinPukStatus_ == kCheckPin && manuuallyInputPinFlag_)
      tellWrongCode(QStringLiteral("Incorrect PIN code!"));
    else if (checkPinPukStatus_ == kCheckPin && hadDoPinAutoValidation_)
      autoPinFailed_ = true; // the sheet that follows says why it is there
    else if (checkPinPukStatus_ == kCheckPuk)
      tellWrongCode(QStringLiteral("Incorrect PUK code!"));
  }
}

void InitController::sendPinAutoValidationSwitch(bool on) {
  QByteArray payload(8, '\0');
  qToLittleEndian<quint32>(on ? 1 : 0, payload.data());
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleInit, 4, 18, 0, 0, payload);
}

void InitController::dealWithMsgOfCheckoutPuk(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.moduleId != 1)
    return;
  if (msg.type == 1 && msg.result == 0)
    setSimStatus(true);
  else if (msg.type == 0)
    m_SimPinState = kSimCheckingCode;
}

void InitController::dealWithMsgOfPinAutoValidation(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.type != 1)
    return;
  if (msg.result != 0 || msg.dataLength == 0) {
    pinAutoValidationChecked_ = false;
  } else if (msg.dataLength >= 8) {
    pinAutoValidationChecked_ = wordAt(msg, 0) == 1;
    ConfigManager *config = ConfigManager::sharedConfigManager();
    if (config && !config->getConfigurationByModule(QStringLiteral("Main")).isValid())
      config->setConfigurationByModule(QStringLiteral("Main"), QVariantMap());
    if (config)
      config->setConfigurationByModuleKeyAndValue(QStringLiteral("Main"), QStringLiteral("hadDosavePinToModemByUser"),
                                                  wordAt(msg, 4) == 1);
  }
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleInit, 4, 16, 0, 0);
}

void InitController::dealWithMsgOfReadPin(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.type != 1 || msg.result != 0 || msg.dataLength != 10)
    return;
  const QByteArray bytes = msg.payload();
  const int end = bytes.indexOf('\0');
  pinNum_ = QString::fromLatin1(end < 0 ? bytes : bytes.left(end));
}

void InitController::dealWithMsgOfSavePin(const Notification &n) {
  UIMsg msg;
  readPackage(n, &msg);
}

void InitController::dealWithMsgOfCheckPinActiveStatus(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.type != 1 || msg.result != 0)
    return;
  const quint32 status = wordAt(msg, 0);
  if (auto *settings = Neighbourhood::settings())
    settings->setPinActiveStatus(status);
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("pinActiveStatusForBundle"), this,
                                                           {{QStringLiteral("pinActiveStatusForBundle"), status}});
}

void InitController::savePinToModem() {
  if (!pinNum_.isEmpty() && qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleInit, 4, 17, 0, 0, codeField(pinNum_, 10));
}

void InitController::cancelPinWindow(QObject *sender) {
  if (mainSwitch("reAlertWhenCancelPINOrPUKwindow") && sender) {
    pinInputWndDisplayFlag_ = true;
    reAlertSheet()->open();
    return;
  }
  endSheet(pinSheet_);
  if (ConfigService::readBool(QString(), QStringLiteral("needReenterPIN"))) {
    if (labelPINEnter_)
      labelPINEnter_->setEnabled(true);
    return;
  }
  notificationCenter->postNotificationName(QStringLiteral("changePinActiveStatusCancel"));
  if (!ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("IsPUKwinBeginSheetForDidoro")) &&
      qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleInit, 4, 15, 1, 0);
}

void InitController::cancelPukWindow(QObject *sender) {
  if (mainSwitch("reAlertWhenCancelPINOrPUKwindow") && sender) {
    pinInputWndDisplayFlag_ = false;
    reAlertSheet()->open();
    return;
  }
  endSheet(pukSheet_);
  if (labelPINUnlock_)
    labelPINUnlock_->setEnabled(true);
}

void InitController::clickNOOfReAlertPinWindow(QObject *) {
  endSheet(reAlertSheet_);
}

void InitController::clickYESOfReAlertPinWindow(QObject *sender) {
  endSheet(reAlertSheet_);
  if (!sender) {
    setLockTip(QString());
    // Device removal: whatever code entry was open goes away quietly.
    if (pinSheet_ && pinSheet_->isVisible())
      cancelPinWindow(nullptr);
    if (pukSheet_ && pukSheet_->isVisible())
      cancelPukWindow(nullptr);
    return;
  }
  if (pinInputWndDisplayFlag_)
    cancelPinWindow(nullptr);
  else
    cancelPukWindow(nullptr);
  setLockTip(pinInputWndDisplayFlag_ ? QStringLiteral("PIN is locked") : QStringLiteral("PUK is locked"));
  networkStatusViewHidden_ = true;
}

void InitController::setLockTip(const QString &wordingKey) {
  if (!statusView)
    return;
  // A backend that could not be brought back is what the user must know above all; the device
  // removal that follows its end (and resets the status area) does not hide it.
  const QString key = qelMsgCenter && qelMsgCenter->hasGivenUp() ? QStringLiteral("Init_BackendStopped") : wordingKey;
  // The key is kept so that a change of language re-words the tip.
  statusView->lockTipLabel->setProperty("wordingKey", key);
  statusView->lockTipLabel->setText(key.isEmpty() ? QString() : word(key));
}

void InitController::openPINWindow(const Notification &) {
  openPinWindow();
}

void InitController::savePinNum(QObject *sender) {
  auto *box = qobject_cast<QCheckBox *>(sender);
  const bool on = box ? box->isChecked() : false;
  // Both boxes stand for Main/"EnableSavePINNum": the sheet's box is what the user sees of the
  // saved-in-configuration choice too.
  if (mainSwitch("AtuoCheckPinAndIccidSavedInConfigFile"))
    pinNumSavedInConfigChecked_ = on;
  writeSavePinChoice(on);
}

void InitController::enableSavePinNum(QObject *sender) {
  auto *box = qobject_cast<QCheckBox *>(sender);
  pinNumSavedInConfigChecked_ = box ? box->isChecked() : !pinNumSavedInConfigChecked_;
  writeSavePinChoice(pinNumSavedInConfigChecked_);
}

bool InitController::writeSavePinChoice(bool on) {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return false;
  if (!config->getConfigurationByModule(QStringLiteral("Main")).isValid())
    config->setConfigurationByModule(QStringLiteral("Main"), QVariantMap());
  config->setConfigurationByModuleKeyAndValue(QStringLiteral("Main"), QStringLiteral("EnableSavePINNum"), on);
  return config->writeToFile();
}

bool InitController::isSavingPin() const {
  return mainSwitch("EnableSavePINNum");
}

void InitController::setSavingPin(bool on) {
  pinNumSavedInConfigChecked_ = on;
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!on && config) {
    // Saving switched off: nothing of it stays behind.
    config->getConfiguration().remove(kCMSavedPinKey);
    config->getConfiguration().remove(kCMSavedIccidKey);
  }
  writeSavePinChoice(on);
}

void InitController::cardPinChanged(const QString &newPin) {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  QVariantMap &settings = config->getConfiguration();
  // Only a PIN saved for this very card follows it; another card's stays as it is.
  if (!settings.contains(kCMSavedPinKey) || iccid().isEmpty() || settings.value(kCMSavedIccidKey).toString() != iccid())
    return;
  if (newPin.isEmpty()) {
    settings.remove(kCMSavedPinKey);
    settings.remove(kCMSavedIccidKey);
  } else {
    settings.insert(kCMSavedPinKey, newPin);
  }
  pinNum_ = newPin;
  config->writeToFile();
}

void InitController::removeAutoCheckPinByICCID(QObject *) {
  // The saved PIN leaves the computer: the PIN and its ICCID go, the box is unticked, and
  // success is told only when the file really changed.
  ConfigManager *config = ConfigManager::sharedConfigManager();
  bool ok = false;
  if (config) {
    config->getConfiguration().remove(kCMSavedPinKey);
    config->getConfiguration().remove(kCMSavedIccidKey);
    pinNumSavedInConfigChecked_ = false;
    ok = writeSavePinChoice(false);
  }
  NSRunAlertPanelExt(word(QStringLiteral("Warning")),
                     word(ok ? QStringLiteral("Remove saved PIN from computer successfully!")
                             : QStringLiteral("Remove saved PIN from computer failed!")),
                     word(QStringLiteral("OK")));
}

void InitController::controlTextDidChange(QObject *field) {
  auto *edit = qobject_cast<QLineEdit *>(field);
  if (!edit || !ConfigService::readBool(QStringLiteral("Setting"), QStringLiteral("PinLimitFourDigitals")))
    return;
  const bool pinField = (pinSheet_ && edit == pinSheet_->pinCode) ||
                        (pukSheet_ && (edit == pukSheet_->newPinCode || edit == pukSheet_->repNewPinCode));
  if (!pinField)
    return;
  static const QRegularExpression leadingDigits(QStringLiteral("^[0-9]{0,4}"));
  edit->setText(leadingDigits.match(edit->text()).captured(0));
}
