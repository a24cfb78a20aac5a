#include "USSDContrller.h"

#include "CallNeighbours.h"
#include "CocoaExt.h"
#include "ConfigService.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "PlugInBesidePage.h"
#include "PlugInCalls.h"
#include "SmsCodecSettings.h"
#include "UIMsg.h"
#include "WordGlobe.h"

#include <QDebug>

USSDContrller *g_USSDController = nullptr;

namespace {

USSDContrller::RequestObserver &requestObserver() {
  static USSDContrller::RequestObserver observer;
  return observer;
}

} // namespace

USSDContrller::USSDContrller(QObject *parent) : QELUIController(parent) {
  setObjectName(QStringLiteral("USSDContrller"));
  g_USSDController = this;
}

USSDContrller::~USSDContrller() {
  if (g_USSDController == this)
    g_USSDController = nullptr;
  delete popUpUssdWnd;
  delete wndUssdTimeOutPopup_;
}

void USSDContrller::setRequestObserver(RequestObserver observer) {
  requestObserver() = std::move(observer);
}

bool USSDContrller::gsm7() const {
  return ConfigService::sharedConfigService()->checkIfUSSDEncodeAndDecodeTypeIsGSM7();
}

// ---- hooks ----

void USSDContrller::initializeSkin() {
  buildWindows();
  if (qelSkinManager && popUpUssdWnd)
    registerController(popUpUssdWnd, QStringLiteral("wndPopupUSSD"), nullptr);
}

void USSDContrller::initializeNibResources() {
  loadBundle();
}

void USSDContrller::registerMessages() {
  if (qelMsgCenter) {
    qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfRequest:"), UssdRecord::kMajor,
                                   UssdRecord::kRequestMinor);
    qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfFeedBack:"), UssdRecord::kMajor,
                                   UssdRecord::kReplyMinor);
  }
  registerNotification(deviceFunctionNotficationTable);
  registerNotification(USSDObServerTable);
}

void USSDContrller::initializeController() {
  if (ConfigService::readBool(QStringLiteral("USSD"), QStringLiteral("hasCombox")))
    callPlugIn(m_bundleDelegate.data(), "selectComboxInit");
  registerUIControllerMessages();
}

void USSDContrller::registerUIControllerMessages() {
  notificationCenter->addObserver(this, QByteArray("ussdModelClicked:"),
                                  QString::fromLatin1(kNotifyPopupSheetUssdWndPlugin));
  notificationCenter->addObserver(this, QByteArray("openPopUpUssdWnd:"), QString::fromLatin1(kOpenPopUpUssdWnd));
  notificationCenter->addObserver(this, QByteArray("resetDefaultUssdWithImsi:"), QString::fromLatin1(kImsiMatchUssd));
  notificationCenter->addObserver(this, QByteArray("readSMS:"), QString::fromLatin1(kPassRechargeSMS));
}

// The plug-in's views go into the three USSD tabs; the first through the common plug-in step, so
// that the tab keeps its place, label and selection.
void USSDContrller::loadBundle() {
  if (!tabviewMain)
    return;
  for (auto [page, id] : {std::pair{&hostView, "USSD1"}, {&hostViewTwo, "USSD2"}, {&viewHostThree_, "USSD3"}}) {
    if (*page)
      continue;
    const int index = NSTabViewExt::tabViewItemOfIdentifier(tabviewMain, QLatin1String(id));
    *page = index >= 0 ? qobject_cast<ServiceHostPage *>(tabviewMain->widget(index)) : nullptr;
  }
  if (!hostView ||
      !loadPlugInBesidePage(*this, QStringLiteral("USSDBundle.bundle"), QStringLiteral("USSD1"), hostView.data()))
    return;
  m_bundleDelegate = bundleInstance();
  callPlugIn(m_bundleDelegate.data(), "setHostController", static_cast<QObject *>(this));
  if (hostViewTwo)
    if (auto view = askPlugIn<QWidget *>(m_bundleDelegate, "bundleViewTwo"); view && *view)
      hostViewTwo->setBundleView(*view);
  if (viewHostThree_)
    if (auto view = askPlugIn<QWidget *>(m_bundleDelegate, "bundleViewThree"); view && *view)
      viewHostThree_->setBundleView(*view);
  initUSSDModuleNib();
  notificationCenter->addObserver(this, QByteArray("performUSSDNotification:"),
                                  QString::fromLatin1(kUSSDBundleMessage));
}

void USSDContrller::initUSSDModuleNib() {
  callPlugIn(m_bundleDelegate.data(), "languageChanged", QVariant());
}

void USSDContrller::updateLanguages(const Notification &) {
  initUSSDModuleNib();
  wordPopupWindows();
}

// ---- requests ----

int USSDContrller::sendUSSDCommand(const QVariantMap &dict) {
  qInfo().noquote() << QStringLiteral("sendUSSDCommand");
  if (dict.isEmpty())
    return -1;
  const int n = dict.value(QStringLiteral("FIRST_PARAMETER")).toInt();
  const int codeType = dict.value(QStringLiteral("CODE_TYPE")).toInt();
  const QString text = dict.value(QStringLiteral("CODE_STRING")).toString();
  // The record is built afresh for every request, so nothing of an earlier one travels along;
  // a text that does not fit is refused whole rather than cut.
  const QByteArray record = UssdRecord::requestData(n, codeType, text, gsm7(), currentSmsCodecSettings());
  if (record.isEmpty()) {
    qWarning() << "USSD: request text does not fit the record, not sent";
    return -1;
  }
  m_StrSendString = text;
  setSendType(n);
  sendMessage(record);
  return 0;
}

void USSDContrller::setSendType(int n) {
  if (n == 1 || n == 2)
    m_nSendType = n;
}

void USSDContrller::sendMessage(const QByteArray &record) {
  if (requestObserver())
    requestObserver()(record);
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(UssdRecord::kModule, UssdRecord::kMajor, UssdRecord::kRequestMinor, 0, 0, record);
}

// ---- answers and replies ----

void USSDContrller::dealWithMsgOfRequest(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  requestAnswered(msg.result == 0);
}

void USSDContrller::requestAnswered(bool success) {
  QVariantMap info{{QStringLiteral("USSD_RES_CONTENTS"), false}, {QStringLiteral("BOARD_RES"), success ? 1 : 0}};
  if (m_nSendType == 1 || m_nSendType == 2)
    info.insert(QStringLiteral("CMD_TYPE"), m_nSendType == 1 ? 0 : 1);
  callPlugIn(m_bundleDelegate.data(), "receiveUSSDResponse", info);
  if (!success && popupUssdStatus_ && popUpUssdWnd && popUpUssdWnd->isVisible())
    popupUssdStatus_->setText(Map_Name_Item_of_IndexString(QStringLiteral("USSD_Failed")));
}

void USSDContrller::dealWithMsgOfFeedBack(const Notification &n) {
  UIMsg msg;
  if (!QELMsgCenter::getMsgPackage(&msg, n))
    return;
  feedbackReceived(msg.payload());
}

void USSDContrller::feedbackReceived(const QByteArray &data) {
  m_Feedback = UssdRecord::decodeReply(data, gsm7(), currentSmsCodecSettings());
  if (m_Feedback.dcs <= 0)
    qInfo().noquote() << QStringLiteral("Function:ControlFeedbackFunctions      The feedback is increct!");
  // A reply that cannot be read shows as an empty text: the previous reply's text would answer
  // a question the network never asked.
  m_StrFeedbackString = m_Feedback.decoded ? m_Feedback.text : QString();
  qInfo().noquote() << QStringLiteral("m_Feedback.n=%1,codetype=%2").arg(m_Feedback.interaction).arg(m_Feedback.dcs);
  // The network answered after all: its earlier silence is no longer news.
  closeUssdTimeOutWndPopup();
  callPlugIn(m_bundleDelegate.data(), "receiveUSSDResponse",
             QVariantMap{{QStringLiteral("USSD_RES_CONTENTS"), true},
                         {QStringLiteral("CODE_STRING"), m_StrFeedbackString},
                         {QStringLiteral("INTERACT_TYPE"), m_Feedback.interaction}});
  if (popupUssdReply_) {
    popupUssdReply_->setPlainText(m_StrFeedbackString);
    popupUssdStatus_->clear();
  }
}

// ---- device ----

void USSDContrller::devicePlugin(const Notification &) {
  netcardChanged(2);
}

void USSDContrller::simReady(const Notification &) {
  netcardChanged(12);
}

void USSDContrller::deviceRemoved(const Notification &) {
  netcardChanged(1);
}

void USSDContrller::netcardChanged(int status) {
  m_nNetCardStatus = status;
  // A notice about a request to a device that has gone answers nothing.
  if (status == 1)
    closeUssdTimeOutWndPopup();
  callPlugIn(m_bundleDelegate.data(), "OnReceiveNetCardStatusChange", status);
}

// ---- tabs ----

void USSDContrller::tabViewItemWillChange(const Notification &n) {
  const QString id = n.userInfo.value(QString::fromLatin1(kTabViewItemWillChange)).toString();
  const auto postSendCmd = [this] {
    notificationCenter->postNotificationName(QStringLiteral("SendCmdWhenEnterUssd"), nullptr, {});
  };
  if (id == QStringLiteral("USSD1") || id == QStringLiteral("USSD2")) {
    if (ConfigService::sharedConfigService()->isSendUnreadRechargeSMSToUSSD()) {
      QStringList recharge;
      if (auto *sms = Neighbourhood::messages())
        recharge = sms->getUnreadRechargeSMS();
      notificationCenter->postNotificationName(QString::fromLatin1(kPassRechargeSMS), this,
                                               {{QStringLiteral("rechargeSMS"), recharge}});
    }
    updateBundleNib();
    selectAppointTabView();
    CallNeighbours &neighbours = CallNeighbours::shared();
    if (ConfigService::readBool(QStringLiteral("USSD"), QStringLiteral("BuyBundleAction"))) {
      notificationCenter->postNotificationName(QString::fromLatin1(kUSSDBundleMessage), nullptr,
                                               {{QStringLiteral("Action"), QStringLiteral("BuyBundle")}});
    } else if (settingDict().value(QStringLiteral("DeviceLockUSSDFunction")).toBool() &&
               neighbours.getDeviceUnlockCodeState()) {
      neighbours.openUnlockDeviceWindow(wndMain);
      neighbours.setDeviceLockFunctionModule(3);
    }
    if (ConfigService::readBool(QStringLiteral("USSD"), QStringLiteral("SendCmdWhenEnterUssd")))
      postSendCmd();
  } else if (id == QStringLiteral("USSD3")) {
    if (ConfigService::readBool(QStringLiteral("USSD"), QStringLiteral("SendActiveCmdWhenEnterUssd")))
      postSendCmd();
  }
}

void USSDContrller::updateBundleNib() {
  callPlugIn(m_bundleDelegate.data(), "initBundleNib");
}

void USSDContrller::selectAppointTabView() {
  if (ConfigService::sharedConfigService()->selectAppointUssdTabView())
    callPlugIn(m_bundleDelegate.data(), "ussdModelSelected");
}

void USSDContrller::notifyDeviceUnlockSuccess(const Notification &) {
  if (CallNeighbours::shared().getDeviceLockFunctionModule() == 3)
    notifyChangeTabViewItem(QStringLiteral("USSD1"));
}

void USSDContrller::notifyDeviceUnlockFailed(const Notification &) {
  if (CallNeighbours::shared().getDeviceLockFunctionModule() == 3)
    notifyChangeTabViewItem(QStringLiteral("Internet"));
}

// ---- notifications for the plug-in ----

void USSDContrller::ussdModelClicked(const Notification &n) {
  callPlugIn(m_bundleDelegate.data(), "ussdModelProc",
             QVariantMap{{QStringLiteral("USSD_CHOICE"), n.userInfo.value(QString::fromLatin1(kUssdPopWndTag))},
                         {QStringLiteral("MAIN_WINDOW"), n.userInfo.value(QString::fromLatin1(kHostMainWnd))}});
}

void USSDContrller::openPopUpUssdWnd(const Notification &) {
  openPopUpUssdWnd(static_cast<QObject *>(nullptr));
}

void USSDContrller::resetDefaultUssdWithImsi(const Notification &n) {
  callPlugIn(m_bundleDelegate.data(), "resetDefaultUssdWithImsi", n.userInfo.value(QStringLiteral("IMSI")).toString());
}

void USSDContrller::readSMS(const Notification &n) {
  QString joined;
  for (const QVariant &sms : n.userInfo.value(QStringLiteral("rechargeSMS")).toList())
    if (sms.isValid() && !sms.isNull())
      joined += sms.toString() + QLatin1Char('\n');
  callPlugIn(m_bundleDelegate.data(), "readSMS", joined);
}

void USSDContrller::performUSSDNotification(const Notification &n) {
  callPlugIn(m_bundleDelegate.data(), "performUSSDAction", n.userInfo);
}
