// The device lock code of InitController: the lock state the device reports when it starts, the
// sheet that asks for the code (for the start-up and for every guarded page), and the answer.
#include "DeviceCodes.h"
#include "InitController.h"
#include "MainController.h"
#include "Neighbourhood.h"
#include "NotificationTables.h"
#include "QELAlertPanel.h"
#include "SettingsNeighbour.h"
#include "UnlockDeviceSheet.h"
#include "WordGlobe.h"

#include <QTimer>
#include <QtEndian>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

void warn(const QString &messageKey, std::function<void()> then = {}) {
  NSBeginAlertPanelExt(word(QStringLiteral("Warning")), word(messageKey), word(QStringLiteral("OK")), QString(),
                       [then](int, bool closedByRemoval) {
                         if (then && !closedByRemoval)
                           then();
                       });
}
} // namespace

bool InitController::isValidDeviceUnlockCode(const QString &code) {
  return DeviceCodes::isValidDeviceUnlockCode(code);
}

UnlockDeviceSheet *InitController::unlockDeviceSheet() {
  if (!wndUnlockDevice_) {
    wndUnlockDevice_ = new UnlockDeviceSheet(wndMain);
    connect(wndUnlockDevice_->ok, &QPushButton::clicked, this, [this] { unlockDeviceOK(wndUnlockDevice_->ok); });
    connect(wndUnlockDevice_->cancel, &QPushButton::clicked, this,
            [this] { unlockDeviceCancel(wndUnlockDevice_->cancel); });
    // Escape or the window's close button count as Cancel, but not the sheet's own ending.
    connect(wndUnlockDevice_, &QDialog::rejected, this, [this] {
      if (!wndUnlockDevice_->property("closing").toBool())
        unlockDeviceCancel(wndUnlockDevice_->cancel);
    });
    wordUnlockDeviceSheet();
  }
  return wndUnlockDevice_;
}

void InitController::wordUnlockDeviceSheet() {
  if (!wndUnlockDevice_)
    return;
  wndUnlockDevice_->setWindowTitle(word(QStringLiteral("Unlock Device")));
  wndUnlockDevice_->prompt->setText(word(QStringLiteral("Please input the unlock device code:")));
  wndUnlockDevice_->codeLabel->setText(word(QStringLiteral("Unlock Code:")));
  wndUnlockDevice_->ok->setText(word(QStringLiteral("OK")));
  wndUnlockDevice_->cancel->setText(word(QStringLiteral("Cancel")));
}

void InitController::endUnlockDeviceSheet() {
  if (!wndUnlockDevice_ || !wndUnlockDevice_->isVisible())
    return;
  wndUnlockDevice_->setProperty("closing", true);
  wndUnlockDevice_->hide();
  wndUnlockDevice_->setProperty("closing", false);
}

void InitController::dealWithMsgOfCheckDeviceLockStatus(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.result != 0)
    return;
  const quint32 status = msg.dataLength >= 4 ? qFromLittleEndian<quint32>(msg.data.data()) : 0;
  if (status == 1) {
    if (auto *settings = Neighbourhood::settings())
      settings->setDeviceUnlockCodeState(true);
    // No feature asked: the outcome of the start-up code moves no page and starts no connect.
    deviceLockFunctionModule_ = kDeviceLockAskedAtStartUp;
    openUnlockDeviceWindow(wndMain);
  } else {
    firstUnlockedDevice_ = true;
    if (auto *settings = Neighbourhood::settings())
      settings->setDeviceUnlockCodeState(false);
  }
}

void InitController::deviceUnlockJustAccepted() {
  unlockJustAccepted_ = true;
  QTimer::singleShot(0, this, [this] { unlockJustAccepted_ = false; });
}

void InitController::openUnlockDeviceWindow(QWidget *window) {
  if (unlockJustAccepted_)
    return;
  UnlockDeviceSheet *sheet = unlockDeviceSheet();
  QWidget *host = window ? window : wndMain.data();
  if (host && sheet->parentWidget() != host) {
    // The sheet follows the window it is asked on (the main window may be switched).
    const bool visible = sheet->isVisible();
    if (visible)
      endUnlockDeviceSheet();
    sheet->setParent(host, sheet->windowFlags());
  }
  sheet->code->clear();
  sheet->open();
  sheet->code->setFocus();
}

void InitController::unlockDeviceOK(QObject *) {
  UnlockDeviceSheet *sheet = unlockDeviceSheet();
  const QString code = sheet->code->text();
  if (!isValidDeviceUnlockCode(code)) {
    // The sheet stays for another try.
    warn(QStringLiteral("The unlock device code must be 4 digitals"));
    return;
  }
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(firstUnlockedDevice_ ? kModuleSetting : kModuleInit, 5, 28, 1, 0,
                                      code.toLatin1());
  endUnlockDeviceSheet();
}

void InitController::dealWithMsgOfCheckDeviceUnLockResult(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg))
    return;
  if (msg.result == 0) {
    firstUnlockedDevice_ = true;
    // The feature that asked (a guarded page, when the code is asked before the device was
    // unlocked once) goes on as it does for an answer under the settings module.
    deviceUnlockJustAccepted();
    NotificationCenter::defaultCenter().postNotificationName(QLatin1String(kDeviceUnlockSuccess), this);
  } else if (msg.result == UIMsg::kResultFailure) {
    QPointer<InitController> self(this);
    warn(QStringLiteral("Invalid password!"), [self] {
      if (self)
        self->openUnlockDeviceWindow(self->wndMain);
    });
  }
}

void InitController::unlockDeviceCancel(QObject *) {
  endUnlockDeviceSheet();
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("DeviceUnlockFailed"), this);
  if (!g_MainController || g_MainController->getNetCardStatus() != 12)
    setModemStatus(false);
}

void InitController::deviceLockDeviceRemoved() {
  firstUnlockedDevice_ = false;
  // A code asked for a device that has gone can only be declined, quietly.
  endUnlockDeviceSheet();
}
