// How the main window follows the device, the SIM and the connection that other controllers
// publish: the network-card status and the toolbar rules built on it, the removal clean-up, the
// URL that waits for a connection, the call menu items, the broadcast window and the USSD button.
#include "MainController.h"

#include "CallsNeighbour.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "ModalQuestions.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

bool mainFormBool(const char *key) {
  return ConfigService::readBool(QStringLiteral("MAINFORM"), QLatin1String(key));
}

// Whether the configured toolbar has an item with this identifier: the settings' "toolBarItems"
// without a skin (or with "UIConfig"/"NoToolbar"), else the skin's "UIConfig"/"ToolbarItems".
bool toolbarHasModule(const QELUIController *controller, const QString &identifier) {
  const bool noToolbar = ConfigService::readBool(QStringLiteral("UIConfig"), QStringLiteral("NoToolbar"));
  const QVariantList items =
      (!controller->qelSkinManager || noToolbar)
          ? ConfigService::readValue(QString(), QStringLiteral("toolBarItems")).toList()
          : ConfigService::readValue(QStringLiteral("UIConfig"), QStringLiteral("ToolbarItems")).toList();
  for (const QVariant &item : items)
    if (item.toMap().value(QStringLiteral("itemIdentifier")).toString() == identifier)
      return true;
  return false;
}

// The method name of a selector written as text ("hangClicked:" -> "hangClicked").
QByteArray methodName(const QByteArray &selector) {
  const int colon = selector.indexOf(':');
  return colon < 0 ? selector : selector.left(colon);
}
} // namespace

// ---- device and SIM ----

void MainController::devicePlugin(const Notification &) {
  netcardChanged(kNetCardPlugged);
}

void MainController::simReady(const Notification &) {
  netcardChanged(kNetCardSimReady);
}

void MainController::netcardChanged(int status) {
  netCardStatus_ = status;
  deviceRemoveSign_ = false;
  // With "TooBarEnableBySimStatus" the toolbar starts disabled and waits for the SIM; it must
  // follow the SIM from then on, or it would stay disabled for good.
  const bool followsSim = mainFormBool("TooBarEnableBySimStatus");
  switch (status) {
  case kNetCardPlugged:
    if (followsSim)
      toolbarSetEnable(false);
    setToolbarEnableWhenSimDetected(false);
    break;
  case kNetCardSimReady:
    if (followsSim)
      toolbarSetEnable(true);
    setToolbarEnableWhenSimDetected(true);
    deviceRemovedForDidoro(false);
    sendUserInfoIfNeededAndSendFailedBefore();
    toolbarSetItemEnable(true, QStringLiteral("RECHARGE"));
    break;
  case kNetCardRemoved:
    if (followsSim)
      toolbarSetEnable(false);
    setToolbarEnableWhenSimDetected(false);
    toolbarSetItemEnable(false, QStringLiteral("RECHARGE"));
    break;
  default:
    break;
  }
}

void MainController::deviceRemoved(const Notification &) {
  deviceRemovedForDidoro(true);
  netcardChanged(kNetCardRemoved);

  ConfigService *config = ConfigService::sharedConfigService();
  if (config && config->isCloseUIIfDeviceRemoved()) {
    closeAllSheetsOfMainWnd();
    // The program ends and its backend is gone: nothing below could still reach anyone.
    if (requestTerminate())
      return;
  }

  // Only the innermost sheet goes; the connection profile sheet stays for the next device.
  QWidget *last = nullptr;
  for (QWidget *current = wndMain; current;) {
    QWidget *sheet = nullptr;
    for (QWidget *child : current->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
      if (child->isWindow() && child->isVisible() && child->windowModality() != Qt::NonModal) {
        sheet = child;
        break;
      }
    if (!sheet || sheet == last)
      break;
    last = sheet;
    current = sheet;
  }
  if (last && last->isVisible() && last != wndMain && last->windowTitle() != QLatin1String("DialConfig") &&
      last->objectName() != QLatin1String("DialConfig")) {
    last->hide();
    if (auto *dialog = qobject_cast<QDialog *>(last))
      dialog->done(QDialog::Rejected);
  }

  // A question about a device that has gone can only be declined.
  ModalQuestions::closeAllQuestions();
  if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
      modal && modal->isVisible() && modal->windowModality() == Qt::ApplicationModal)
    modal->reject();

  if (config && config->isSkinVersionForRAdirer())
    setIsHiddenForUSSDActive(false);

  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(kModuleMain, 8, 59, 2, 0xFF);
}

void MainController::deviceRemovedForDidoro(bool removed) {
  if (deviceRemoveSign_ && windowOfDevStateChangeForDidoro_)
    windowOfDevStateChangeForDidoro_->hide();
  if (!ConfigService::readBool(QStringLiteral("Main"), QStringLiteral("DeviceRemovedForDidoro")) ||
      netCardStatus_ != kNetCardSimReady || deviceRemoveSign_)
    return;
  if (labelOfDevStateChageForDidoro_)
    labelOfDevStateChageForDidoro_->setText(
        word(removed ? QStringLiteral("The device has been disconnected or is unavailable.")
                     : QStringLiteral("Detecting device...")));
  if (windowOfDevStateChangeForDidoro_) {
    windowOfDevStateChangeForDidoro_->adjustSize();
    if (wndMain) {
      QRect frame = windowOfDevStateChangeForDidoro_->frameGeometry();
      frame.moveCenter(wndMain->frameGeometry().center());
      windowOfDevStateChangeForDidoro_->move(frame.topLeft());
    }
    windowOfDevStateChangeForDidoro_->show();
    windowOfDevStateChangeForDidoro_->raise();
  }
  endSheetTimer_.setSingleShot(true);
  endSheetTimer_.start(2000);
}

void MainController::performEndSheet() {
  endSheetTimer_.stop();
  if (windowOfDevStateChangeForDidoro_)
    windowOfDevStateChangeForDidoro_->hide();
}

// ---- connection ----

void MainController::dialConnectStart(const Notification &n) {
  if (!toolbarHasModule(this, QStringLiteral("ChangeAPN")))
    return;
  toolbarSetItemEnable(!n.userInfo.value(QStringLiteral("StartConnection")).toBool(), QStringLiteral("ChangeAPN"));
}

void MainController::connectStatusDidChange(const Notification &) {
  freshStatusViewWhenDialStatusChanged();
  if (!runtimeObjectForKey(kRTIsConnectted).toBool()) {
    openURLWithAlertClicked_ = false;
    return;
  }
  if (openURLWithAlertClicked_) {
    openURLWithAlertClicked_ = false;
    const QString key =
        urlWithAlertToolBarItem_ ? urlWithAlertToolBarItem_->property("urlLabel").toString() : QString();
    if (!key.isEmpty())
      openSafari(word(key));
  }
  if (ConfigService::readBool(QStringLiteral("ZididEdizodTK312"), QStringLiteral("OpenMainPage"))) {
    const QString mainPage = webURLForKey(QStringLiteral("MainPage"));
    if (!mainPage.isEmpty())
      openSafari(mainPage);
  }
  miniaturizeMainWindowWhenConnectSucced();
}

void MainController::isAbleToConnect(const Notification &n) {
  toolbarSetItemEnable(n.userInfo.value(QStringLiteral("EnabledFlag")).toBool(), QStringLiteral("URLWithAlert"));
}

void MainController::tbiMainURLWithAlertAction(QObject *sender) {
  const int answer = NSRunAlertPanelExt(word(QStringLiteral("Warning")), word(QStringLiteral("STRING_URL_ALERT")),
                                        word(QStringLiteral("OK")), word(QStringLiteral("Cancel")));
  if (answer != 1)
    return;
  urlWithAlertToolBarItem_ = sender;
  if (runtimeObjectForKey(kRTIsConnectted).toBool()) {
    // Opened now; a waiting flag left behind would open it again on the next status change.
    openURLWithAlertClicked_ = false;
    tbiMainURLAction(sender);
    return;
  }
  openURLWithAlertClicked_ = true;
  notificationCenter->postNotificationName(QStringLiteral("dialOption"));
}

void MainController::tbiMainOpenURLWithAlertAndAutoConnectAction(QObject *sender) {
  urlWithAlertToolBarItem_ = sender;
  if (runtimeObjectForKey(kRTIsConnectted).toBool()) {
    tbiMainURLAction(sender);
    return;
  }
  const int answer = NSRunAlertPanelExt(word(QStringLiteral("Warning")), word(QStringLiteral("STRING_URL_ALERT")),
                                        word(QStringLiteral("OK")), word(QStringLiteral("Cancel")));
  if (answer != 1)
    return;
  notificationCenter->postNotificationName(QStringLiteral("dialOption"));
  openURLWithAlertClicked_ = true;
}

// ---- call menu items ----

void MainController::initCallMenuItemSel() {
  selOfAcceptMenuItem = QByteArrayLiteral("selectDialCallStyle:");
  selOfRejectMenuItem = QByteArrayLiteral("hangClicked:");
}

void MainController::setCallMenuItemEnable(bool acceptState, bool setAccept, bool rejectState, bool setReject) {
  // A menu item without an action is disabled, as the menu would do it on its own.
  const auto bind = [](QAction *item, QMetaObject::Connection &connection, bool on, const QByteArray &selector) {
    QObject::disconnect(connection);
    connection = {};
    if (!item)
      return;
    item->setEnabled(on);
    if (!on)
      return;
    const QByteArray name = methodName(selector);
    connection = QObject::connect(item, &QAction::triggered, item, [item, name] {
      // The selectors name one of the call controller's two menu actions.
      CallsNeighbour *calls = Neighbourhood::calls();
      if (!calls)
        return;
      if (name == "selectDialCallStyle")
        calls->selectDialCallStyle(item);
      else if (name == "hangClicked")
        calls->hangClicked(item);
    });
  };
  if (setAccept)
    bind(acceptMenuItem, acceptConnection_, acceptState, selOfAcceptMenuItem);
  if (setReject)
    bind(rejectMenuItem, rejectConnection_, rejectState, selOfRejectMenuItem);
}

// ---- SIM activation, broadcast, USSD ----

void MainController::simCardActivity(QObject *) {
  notifyChangeTabViewItem(QStringLiteral("Call"));
  const QString number =
      ConfigService::readValue(QStringLiteral("Call"), QStringLiteral("ActivatingForSIM")).toString();
  notificationCenter->postNotificationName(QStringLiteral("makeCallWithPhoneNumber"), nullptr,
                                           {{QStringLiteral("makeCallWithPhoneNumber"), number}});
}

void MainController::receiveSMSBroadCast(const Notification &n) {
  setBroadcastMsg(n.userInfo.value(QStringLiteral("ReceiveBroadCastNotification")).toString());
}

void MainController::setBroadcastMsg(const QString &text) {
  if (!wndBroadcastReport_)
    return;
  if (tfdBroadCast_)
    tfdBroadCast_->setText(text);
  wndBroadcastReport_->show();
  wndBroadcastReport_->raise();
}

void MainController::broadcastReportOK(QObject *) {
  if (wndBroadcastReport_)
    wndBroadcastReport_->hide();
}

void MainController::setIsHiddenForUSSDActive(bool hidden) {
  if (btnUSSDActive_) {
    btnUSSDActive_->setVisible(hidden);
    btnUSSDActive_->setEnabled(hidden);
  }
  if (auto *dial = Neighbourhood::connection())
    dial->setIsHiddenConnectBtn(hidden);
}
