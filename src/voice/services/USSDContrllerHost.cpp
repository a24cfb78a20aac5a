// The operations the USSD plug-in calls on its host for the main window and the neighbours.
#include "USSDContrller.h"

#include "Blowfish.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "MainWindowNeighbour.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "PlugInCalls.h"
#include "QELAlertPanel.h"
#include "WordGlobe.h"

#include <QDebug>
#include <QHBoxLayout>
#include <QVBoxLayout>

void USSDContrller::buildWindows() {
  if (!popUpUssdWnd) {
    auto *popup = new QWidget(nullptr, Qt::Tool);
    popup->setObjectName(QStringLiteral("wndPopupUSSD"));
    popup->resize(320, 220);
    popupUssdCode_ = new QComboBox(popup);
    popupUssdCode_->setObjectName(QStringLiteral("popupUssdCode"));
    popupUssdCode_->setEditable(true);
    popupUssdSend_ = new QPushButton(popup);
    popupUssdSend_->setObjectName(QStringLiteral("btnPopupUssdSend"));
    connect(popupUssdSend_, &QPushButton::clicked, this, [this] { sendFromPopup(); });
    popupUssdReply_ = new QPlainTextEdit(popup);
    popupUssdReply_->setObjectName(QStringLiteral("tfdPopupUssdReply"));
    popupUssdReply_->setReadOnly(true);
    popupUssdStatus_ = new QLabel(popup);
    popupUssdStatus_->setObjectName(QStringLiteral("labelPopupUssdStatus"));
    popupUssdStatus_->setWordWrap(true);
    auto *close = new QPushButton(popup);
    close->setObjectName(QStringLiteral("btnPopupUssdClose"));
    connect(close, &QPushButton::clicked, this, [this] { closePopUpUssdWnd(); });
    auto *top = new QHBoxLayout;
    top->addWidget(popupUssdCode_, 1);
    top->addWidget(popupUssdSend_);
    auto *layout = new QVBoxLayout(popup);
    layout->addLayout(top);
    layout->addWidget(popupUssdReply_, 1);
    layout->addWidget(popupUssdStatus_);
    layout->addWidget(close, 0, Qt::AlignRight);
    popUpUssdWnd = popup;
  }
  if (!wndUssdTimeOutPopup_) {
    auto *window = new QWidget(nullptr, Qt::Tool);
    window->setObjectName(QStringLiteral("wndUssdTimeOutPopup"));
    auto *layout = new QVBoxLayout(window);
    tfdUssdTimeOutInfo_ = new QLabel(window);
    tfdUssdTimeOutInfo_->setObjectName(QStringLiteral("tfdUssdTimeOutInfo"));
    tfdUssdTimeOutInfo_->setWordWrap(true);
    layout->addWidget(tfdUssdTimeOutInfo_);
    btnUssdTimeOutOK_ = new QPushButton(window);
    btnUssdTimeOutOK_->setObjectName(QStringLiteral("btnUssdTimeOutOK"));
    connect(btnUssdTimeOutOK_, &QPushButton::clicked, this, [this] { closeUssdTimeOutWndPopup(); });
    layout->addWidget(btnUssdTimeOutOK_, 0, Qt::AlignRight);
    window->resize(300, 120);
    wndUssdTimeOutPopup_ = window;
  }
  wordPopupWindows();
}

void USSDContrller::wordPopupWindows() {
  if (popUpUssdWnd) {
    popUpUssdWnd->setWindowTitle(QStringLiteral("USSD"));
    popupUssdSend_->setText(Map_Name_Item_of_IndexString(QStringLiteral("USSD_Send")));
    popUpUssdWnd->findChild<QPushButton *>(QStringLiteral("btnPopupUssdClose"))
        ->setText(Map_Name_Item_of_IndexString(QStringLiteral("Close")));
  }
  if (btnUssdTimeOutOK_)
    btnUssdTimeOutOK_->setText(Map_Name_Item_of_IndexString(QStringLiteral("OK")));
}

void USSDContrller::sendFromPopup() {
  if (!popupUssdCode_)
    return;
  const QString code = popupUssdCode_->currentText().trimmed();
  if (code.isEmpty())
    return;
  if (m_nNetCardStatus != 12) {
    popupUssdStatus_->setText(Map_Name_Item_of_IndexString(QStringLiteral("USSD_NoDevice")));
    return;
  }
  popupUssdReply_->clear();
  const bool sent = sendUSSDCommand({{QStringLiteral("FIRST_PARAMETER"), 1},
                                     {QStringLiteral("CODE_TYPE"), 15},
                                     {QStringLiteral("CODE_STRING"), code}}) == 0;
  popupUssdStatus_->setText(
      Map_Name_Item_of_IndexString(sent ? QStringLiteral("USSD_Waiting") : QStringLiteral("USSD_TooLong")));
  if (sent && popupUssdCode_->findText(code) < 0)
    popupUssdCode_->insertItem(0, code);
}

int USSDContrller::sendUSSDSMSCommand(const QVariantMap &dict) {
  if (dict.isEmpty())
    return -1;
  const QString number = dict.value(QStringLiteral("SMS_NUM")).toString();
  const QString text = dict.value(QStringLiteral("SMS_CONTENT")).toString();
  if (auto *sms = Neighbourhood::messages())
    sms->sendMessageto(number, text);
  return 0;
}

int USSDContrller::getInternetConnectFlag() {
  ConnectionNeighbour *dial = Neighbourhood::connection();
  return dial ? dial->connectStatus() : 0;
}

int USSDContrller::get_flag_isconnect() {
  return askPlugIn<int>(m_bundleDelegate, "ussdRequestStates").value_or(0);
}

int USSDContrller::get_flag_status() {
  return askPlugIn<int>(m_bundleDelegate, "ussdConnectStates").value_or(0) + 1;
}

QString USSDContrller::getLanguageString(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

int USSDContrller::USSDNSRunAlertPanelExt(const QVariantMap &dict) {
  return NSRunAlertPanelExt(
      dict.value(QStringLiteral("Title")).toString(), dict.value(QStringLiteral("Info")).toString(),
      dict.value(QStringLiteral("DefaultBtn")).toString(), dict.value(QStringLiteral("SendBtn")).toString());
}

void USSDContrller::toolbarEnable() {
  if (auto *main = Neighbourhood::mainWindow())
    main->toolbarSetEnable(true);
}

void USSDContrller::toolbarDisable() {
  if (auto *main = Neighbourhood::mainWindow())
    main->toolbarSetEnable(false);
}

namespace {
// A flag the plug-in hands over: a boolean number; anything else is the plug-in's mistake.
bool flagValue(const QVariant &flag, bool *ok) {
  *ok = flag.isValid() && !flag.isNull() && flag.canConvert<bool>();
  if (!*ok)
    qWarning() << "USSD: a toolbar flag that is not a boolean was refused";
  return *ok && flag.toBool();
}
} // namespace

void USSDContrller::setToolbarItem(const QVariant &flag, const QString &identifier, int insertWhich) {
  bool ok = false;
  const bool on = flagValue(flag, &ok);
  MainWindowNeighbour *main = Neighbourhood::mainWindow();
  if (!ok || !main)
    return;
  main->toolbarSetItemEnable(on, identifier);
  if (!ConfigService::sharedConfigService()->isSkinVersionForRAdirer())
    return;
  if (insertWhich >= 0)
    main->insertUSSDToobarItem(insertWhich);
  else
    main->setIsHiddenForUSSDActive(on);
}

void USSDContrller::setPrepaidBundleUSSDToolbarItemStatus(const QVariant &flag) {
  setToolbarItem(flag, QStringLiteral("USSD1"), 0);
}

void USSDContrller::setPostpaidBundleUSSDToolbarItemStatus(const QVariant &flag) {
  setToolbarItem(flag, QStringLiteral("USSD2"), 2);
}

void USSDContrller::setActivateBundleUSSDToolbarItemStatus(const QVariant &flag) {
  setToolbarItem(flag, QStringLiteral("USSD3"), -1);
}

void USSDContrller::setEnabledToolbar(const QVariant &flag) {
  if (!ConfigService::sharedConfigService()->isEnableToolbarForZOzava())
    return;
  bool ok = false;
  const bool on = flagValue(flag, &ok);
  if (!ok)
    return;
  if (auto *main = Neighbourhood::mainWindow())
    main->toolbarSetEnable(on);
  setConnectBtnEnableRadirer(on);
  ConnectionNeighbour *dial = Neighbourhood::connection();
  if (auto *device = Neighbourhood::deviceStatus(); dial && device && (device->networkMode() & 2))
    dial->setConnectBtnEnable(on);
}

void USSDContrller::setDiagMSISDN(const QString &number) {
  if (auto *dial = Neighbourhood::connection())
    dial->setDiagMSISDNValue(number);
}

void USSDContrller::openRechargeWeb(const QString &prefix) {
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  const QString imsi = device ? device->imsi() : QString();
  if (imsi.isEmpty())
    return;
  char cipher[kEncryptServicesOutputSize] = {};
  const QByteArray digits = (imsi + QLatin1Char('0')).toLatin1();
  EncryptServicesMain(digits.constData(), cipher, sizeof cipher);
  cipher[sizeof cipher - 1] = '\0';
  openSafari(prefix + QString::fromLatin1(cipher));
}

void USSDContrller::selectMainUSSDTab() {
  notifyChangeTabViewItem(QStringLiteral("USSD1"));
}

void USSDContrller::openPopUpUssdWnd(QObject *) {
  if (!popUpUssdWnd)
    return;
  wordPopupWindows();
  popupUssdStatus_->clear();
  popUpUssdWnd->show();
  popUpUssdWnd->raise();
  if (ConfigService::readBool(QStringLiteral("USSD"), QStringLiteral("sendCmdWhenOpenUSSDWnd")))
    callPlugIn(m_bundleDelegate.data(), "sendUSSDCommandWhenOpenUSSDWnd");
}

void USSDContrller::closePopUpUssdWnd(QObject *) {
  if (popUpUssdWnd)
    popUpUssdWnd->hide();
}

void USSDContrller::openUssdTimeOutWndPopup() {
  if (!wndUssdTimeOutPopup_)
    return;
  if (tfdUssdTimeOutInfo_)
    tfdUssdTimeOutInfo_->setText(
        Map_Name_Item_of_IndexString(QStringLiteral("USSD_tfdUssdTimeOutInfo_WarningContent")));
  wndUssdTimeOutPopup_->show();
  wndUssdTimeOutPopup_->raise();
}

void USSDContrller::closeUssdTimeOutWndPopup(QObject *) {
  if (wndUssdTimeOutPopup_)
    wndUssdTimeOutPopup_->hide();
}
