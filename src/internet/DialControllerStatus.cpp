// The connection's public status, the connect buttons' looks by status, the PS domain as the
// Internet tab sees it, and the figures of a running connection with their broadcasts.
#include "DialController.h"

#include "Bundle.h"
#include "ConfigService.h"
#include "ConnectFigures.h"
#include "DialControllerSupport.h"
#include "DialService.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "QELAlertPanel.h"
#include "QELUIManager.h"
#include "RecordFormats.h"
#include "SettingsNeighbour.h"
#include "StatisticsView.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

using namespace dialsupport;

namespace {
ConfigService *switches() {
  return ConfigService::sharedConfigService();
}

void setTitleAndTip(QPushButton *button, const QString &title, const QString &tipKey, bool tooltips) {
  if (!button)
    return;
  button->setText(title);
  if (tooltips)
    button->setToolTip(word(tipKey));
}

void setSimple(QPushButton *button, const QString &key) {
  if (!button)
    return;
  button->setText(word(key));
  button->setToolTip(word(key));
}
} // namespace

// ---- status ----

void DialController::setConnectStatus(int status) {
  connectStatus_ = status;
  if (status != kDisconnected && status != kConnected)
    return;
  setRuntimeObject(status == kConnected, kRTIsConnectted);
  notificationCenter->postNotificationName(QString::fromLatin1(kConnectStatusDidChange), nullptr,
                                           {{QStringLiteral("ConnectStatus"), status}});
}

void DialController::sendConnectStatusMsg(bool start) {
  notificationCenter->postNotificationName(QString::fromLatin1(kStartConncetion), this,
                                           {{QStringLiteral("StartConnection"), start}});
}

void DialController::sendTheConnectBtnStatus(bool enabled) {
  notificationCenter->postNotificationName(QString::fromLatin1(kIsAbleToConnect), this,
                                           {{QStringLiteral("EnabledFlag"), enabled}});
}

void DialController::setIsHiddenConnectBtn(bool hidden) {
  connectBtnHidden_ = hidden;
  if (m_ConnectButton)
    m_ConnectButton->setHidden(hidden);
}

bool DialController::isConnectBtnEnabled() const {
  return connectBtnEnabled_;
}

QString DialController::startUpHintText() const {
  return stateHint_.isEmpty() ? word(QStringLiteral("Modem is in start-up process.")) : stateHint_;
}

void DialController::setConnectBtnEnable(bool enable) {
  connectBtnEnabled_ = enable;
  for (QPushButton *button : {m_ConnectButton.data(), btnConnectSimple.data(), postConnectBtn_.data()})
    if (button)
      button->setEnabled(enable);
  setDynamicControllersEnabledByKey(QStringLiteral("btnDialConnectExt"), enable);
  setConnectBtnImage();
  // The start-up hint stands until the button is first enabled, and never comes back.
  if (!modemStartUpProcessStateChanged_ && tfdDisplayModemStartUpProcess_) {
    if (enable) {
      tfdDisplayModemStartUpProcess_->clear();
      modemStartUpProcessStateChanged_ = true;
    } else {
      tfdDisplayModemStartUpProcess_->setText(startUpHintText());
    }
  } else if (enable) {
    modemStartUpProcessStateChanged_ = true;
  }
  sendTheConnectBtnStatus(enable);
  setRuntimeObject(enable, QStringLiteral("IsConnectBtnEnable"));
}

void DialController::setDialBtnWithStatus(bool connected) {
  if (!isDeviceRemoved_)
    setConnectBtnEnable(true);
  ConfigService *config = switches();
  const bool tooltips = config && config->displayTooltipForConnectBtn();
  const bool iconFollows = switchOn(settingDict(), QString(), QStringLiteral("IconChangeWithConnected"));
  const auto appIcon = [this](const QString &name) {
    QImage icon = qelSkinManager ? qelSkinManager->imageNamed(name + QStringLiteral(".png")) : QImage();
    if (icon.isNull())
      icon.load(Bundle::mainBundle().pathForResource(name, QStringLiteral("png")));
    if (!icon.isNull() && qobject_cast<QApplication *>(QCoreApplication::instance()))
      QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));
  };
  if (!connected) {
    if (iconFollows)
      appIcon(QStringLiteral("unConnectIcons"));
    if (m_ConnectState)
      m_ConnectState->setText(word(QStringLiteral("Idle")));
    setConnectStateForDidoro(false);
    const bool leftValue = config && config->changeLeftValueOfWordingForConnectBtn();
    setTitleAndTip(m_ConnectButton,
                   word(leftValue ? QStringLiteral("Internet_btnConnectTitle_Connect") : QStringLiteral("Connect")),
                   QStringLiteral("Internet_btnConnect"), tooltips);
    setSimple(btnConnectSimple, QStringLiteral("Internet_btnConnectSimple_Connect"));
    ruvozUISetConnectBtnTitle(word(QStringLiteral("Connect")));
    setConnectStatus(kDisconnected);
    if (auto *main = Neighbourhood::mainWindow())
      main->freshStatusViewWhenDialStatusChanged();
    if (imageViewForConnectStatus_)
      imageViewForConnectStatus_->setObjectName(QStringLiteral("StateOfNotConnection"));
    writeDisconetNetWorkReason();
    if (switchOn(settingDict(), QString(), QStringLiteral("DisplayBackgroundWhileDisconnect")))
      displayStaticBackGroundPicAndNotDisplayWebPages();
  } else {
    if (iconFollows)
      appIcon(QStringLiteral("icon"));
    if (m_ConnectState) {
      QString text = word(QStringLiteral("Connected"));
      if (config && config->isAppingApnInfoForConnectStateWhenConnected())
        text += word(QStringLiteral(" %@")).replace(QStringLiteral("%@"), getAPNString());
      m_ConnectState->setText(text);
    }
    setConnectStateForDidoro(true);
    setTitleAndTip(m_ConnectButton, word(QStringLiteral("Disconnect")), QStringLiteral("Internet_btnDisconnect"),
                   tooltips);
    setSimple(btnConnectSimple, QStringLiteral("Internet_btnConnectSimple_Disconnect"));
    if (imageViewForConnectStatus_)
      imageViewForConnectStatus_->setObjectName(QStringLiteral("StateOfConnected"));
    ruvozUISetConnectBtnTitle(word(QStringLiteral("Disconnect")));
    setConnectStatus(kConnected);
    disconnectAfterNoSignal90s_ = false;
    appWillClose_ = false;
    if (auto *main = Neighbourhood::mainWindow())
      main->freshStatusViewWhenDialStatusChanged();
    apnCycleEnd();
    setApnCycleEnable(false);
    reconnectTimes = 0;
    doAfterConnected();
    setDisplayDisConnectingFlag(true);
    if (isRuvozSkin() && config && config->isDisplayPhoneNumberForRuvoz()) {
      setDeviceStatusStringRows(1);
      if (auto *device = Neighbourhood::deviceStatus())
        device->setRuvozUITopFrontSizeFlag(true);
      ruvozUITopFixedImage(QString(), QString(), word(QStringLiteral("Disconnect")), getPhoneNumber());
    }
  }
  setConnectBtnImage();
  openConnectStateWindowForDidoro(false);
  startSpeedTestIfConnected();
}

// ---- PS domain ----

void DialController::setPSDomainStatus(bool ps) {
  const bool skip = switchOn(settingDict(), kInternet, QStringLiteral("noNeedAutoConnectIfHadManualDisconnect")) &&
                    hadDoManualDisconnect();
  const bool dontCheck = switchOn(settingDict(), kInternet, QStringLiteral("DoNotCheckPSDomainWhileAutoConnect"));
  const bool wasAvailable = lastPSDomain_;
  lastPSDomain_ = ps;
  if (ps) {
    if (!isDoingConnect() && (!connectBtnEnabled_ || !wasAvailable) && !willConnectToInternet_) {
      setConnectBtnEnable(true);
      if (!skip && !wasAvailable && checkIsAutoConnectOnline() && Neighbourhood::settings() &&
          Neighbourhood::settings()->allowAutoConnect())
        reconnect(true);
    }
    if (connectStatus_ != kDisconnected)
      return;
    if (m_ConnectState)
      m_ConnectState->setText(word(QStringLiteral("Idle")));
    setConnectStateForDidoro(false);
    return;
  }
  if (connectStatus_ == kDisconnected && m_ConnectState)
    m_ConnectState->clear();
  if (connectBtnEnabled_ && connectStatus_ == kDisconnected) {
    if (!dontCheck)
      setConnectBtnEnable(false);
    setHadConnectAction(false);
    return;
  }
  if (connectBtnEnabled_ || isDoingConnect())
    return;
  if (dontCheck && !isDeviceRemoved_)
    setConnectBtnEnable(true);
}

bool DialController::checkIsAutoConnectOnline() const {
  if (!switchOn(const_cast<DialController *>(this)->settingDict(), kInternet, QStringLiteral("NotAutoConnectOnline")))
    return true;
  return hadConnectAction_;
}

void DialController::connectWarningWinOKClicked(QObject *sender) {
  connectWarningsDisplayFlag_ = false;
  // The sheet runs through the question layer: its OK ends it and the checks go on from there.
  if (wndConnectWarning_ && wndConnectWarning_->isVisible()) {
    wndConnectWarning_->done(QDialog::Accepted);
    return;
  }
  schedulePerformDialOption(sender, true);
}

// ---- wording and looks of the tab ----

void DialController::Init_internet_nib() {
  const auto set = [](QLabel *label, const char *key) {
    if (label)
      label->setText(word(QLatin1String(key)));
  };
  set(labelInternetPrompt_, "Welcome to the connection interface for the Internet Mobile 3G");
  set(labelProfileInputPrompt_,
      "To connect, please choose from the list below the formula which corresponds to your subscription");
  set(Net_DefaultConfiguration, "Default Configuration:");
  set(Net_ProfileName, "Profile Name:");
  set(Net_TelNumber, "Telephone Number:");
  set(Net_UserName, "UserName:");
  set(Net_Password, "Password:");
  set(Net_Status, "Status:");
  set(Net_Send, "Send:");
  set(Net_Receive, "Receive:");
  set(Net_ConnectTime, "ConnectTime:");
  set(Net_IPAddress, "IPAddress:");
  set(Net_SendSpeed, "SendRate:");
  set(Net_ReceiveSpeed, "ReceiveRate:");
  set(tfdTotalData_, "Exchanged Data:");
  initConnectStatusWording();
}

void DialController::initConnectStatusWording() {
  if (tfdDisplayModemStartUpProcess_)
    tfdDisplayModemStartUpProcess_->setText(modemStartUpProcessStateChanged_ ? QString() : startUpHintText());
  ConfigService *config = switches();
  const bool tooltips = config && config->displayTooltipForConnectBtn();
  switch (connectStatus_) {
  case kDisconnected: {
    const bool leftValue = config && config->changeLeftValueOfWordingForConnectBtn();
    setTitleAndTip(m_ConnectButton,
                   word(leftValue ? QStringLiteral("Internet_btnConnectTitle_Connect") : QStringLiteral("Connect")),
                   QStringLiteral("Internet_btnConnect"), tooltips);
    setSimple(btnConnectSimple, QStringLiteral("Internet_btnConnectSimple_Connect"));
    if (!connectBtnEnabled_) {
      setModemAndSimStateString(QStringLiteral("Dial_tfdDeviceNotDetected"));
      if (m_ConnectState)
        m_ConnectState->clear();
    } else if (m_ConnectState) {
      m_ConnectState->setText(word(QStringLiteral("Idle")));
    }
    if (labelForConnectStatus_)
      labelForConnectStatus_->setText(word(QStringLiteral("Internet_Connection:")));
    break;
  }
  case kConnected:
    setTitleAndTip(m_ConnectButton, word(QStringLiteral("Disconnect")), QStringLiteral("Internet_btnDisconnect"),
                   tooltips);
    setSimple(btnConnectSimple, QStringLiteral("Internet_btnConnectSimple_Disconnect"));
    if (m_ConnectState)
      m_ConnectState->setText(word(QStringLiteral("Connected")));
    break;
  case kConnecting:
    setTitleAndTip(m_ConnectButton, word(QStringLiteral("Internet_btnConnect_Cancel")),
                   QStringLiteral("Internet_btnCancel"), tooltips);
    setSimple(btnConnectSimple, QStringLiteral("Internet_btnConnectSimple_Cancel"));
    break;
  case kDisconnecting:
    setTitleAndTip(m_ConnectButton, word(QStringLiteral("Disconnect")), QStringLiteral("Internet_btnDisconnect"),
                   tooltips);
    setSimple(btnConnectSimple, QStringLiteral("Internet_btnConnectSimple_Disconnect"));
    break;
  default:
    break;
  }
  setConnectBtnImage();
}

void DialController::setConnectBtnImage() {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("ConnectBtnDisplayWithImage")))
    return;
  ConfigService *config = switches();
  if (config && config->isDisplayWordingForConnectBtn() && m_ConnectButton)
    m_ConnectButton->setText(QString());
  QString key;
  switch (connectStatus_) {
  case kDisconnected:
    key = connectBtnEnabled_ ? QStringLiteral("ConnectButton_imageName")
                             : QStringLiteral("ConnectDisabledButton_imageName");
    break;
  case kConnected:
    key = QStringLiteral("DisconnectButton_imageName");
    break;
  case kConnecting:
    key = QStringLiteral("CancelButton_imageName");
    break;
  case kDisconnecting:
    key = QStringLiteral("ConnectDisabledButton_imageName");
    break;
  default:
    return;
  }
  connectButtonImageName(key);
}

void DialController::connectButtonImageName(const QString &key) {
  const QString name = moduleValue(settingDict(), kInternet, key).toString();
  if (name.isEmpty())
    return;
  // A name is a file of the resources, never a way out of them.
  if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QStringLiteral("..")))
    return;
  const Bundle &bundle = Bundle::mainBundle();
  const QString resources = bundle.resourcePath();
  const QString tokens = bundle.pathForResource(QStringLiteral("LanguageTokenList"), QStringLiteral("txt"));
  const QString language = tokens.isEmpty() ? QString() : QFileInfo(QFileInfo(tokens).path()).completeBaseName();
  QString path = QDir(resources).filePath(language + name);
  if (language.isEmpty() || !QFileInfo::exists(path))
    path = QDir(resources).filePath(name);
  const QPixmap image(path);
  if (btnConnectSimple && !image.isNull())
    btnConnectSimple->setIcon(QIcon(image));
  if (image.isNull())
    return;
  connectButtonImagePath_ = path;
  if (m_ConnectButton)
    m_ConnectButton->setIcon(QIcon(image));
}

void DialController::setConnectStateHidden(bool hidden) {
  if (!switchOn(settingDict(), QString(), QStringLiteral("AutoHideConnectState")))
    return;
  for (QWidget *w :
       {static_cast<QWidget *>(Net_Status.data()), static_cast<QWidget *>(Net_ConnectTime.data()),
        static_cast<QWidget *>(Net_Send.data()), static_cast<QWidget *>(Net_Receive.data()),
        static_cast<QWidget *>(Net_IPAddress.data()), static_cast<QWidget *>(m_ConnectState.data()),
        static_cast<QWidget *>(m_ConnectTime.data()), static_cast<QWidget *>(labelConnectTimeSimple.data()),
        static_cast<QWidget *>(m_FluxForSend.data()), static_cast<QWidget *>(m_FluxForReceive.data()),
        static_cast<QWidget *>(m_IPAddress.data()), static_cast<QWidget *>(imageViewOfUpDataImage_.data()),
        static_cast<QWidget *>(imageViewOfDownDataImage_.data())})
    if (w)
      w->setHidden(hidden);
  setConnectStateHiddenForDidoro(hidden);
  if (tfdModemAndSimState_)
    tfdModemAndSimState_->setHidden(!hidden);
}

void DialController::setConnectStateHiddenForDidoro(bool hidden) {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("AutoHideConnectStateForDidoro")))
    return;
  for (QLabel *label : {m_SpeedForSend.data(), labelSpeedForSendSimple.data(), m_SpeedForReceive.data(),
                        labelSpeedForReceiveSimple.data()})
    if (label)
      label->setHidden(hidden);
}

// ---- figures ----

void DialController::calculateTransferSpeed() {
  if (!speedMeter_.report(m_sendData, m_receiveData))
    return;
  m_sendSpeed = float(speedMeter_.sendSpeed());
  m_receiveSpeed = float(speedMeter_.receiveSpeed());
  setSpeedInfo();
  sendSpeedData(m_sendSpeed, m_receiveSpeed);
}

void DialController::setConnectTimeInfo() {
  if (connectStatus_ != kConnected)
    return;
  const ConnectFigures::Units units = ConnectFigures::Units::fromSettings();
  const qint64 t = ConnectFigures::countedConnectTime(m_connecttime, units.quarterHours);
  if (units.quarterHours)
    connectTime15 = t;
  statusDict_.insert(QStringLiteral("connecttime"), t);
  const QString text = durationText(t);
  for (QLabel *label : {m_ConnectTime.data(), labelConnectTimeSimple.data(), InterUiTotalTime_.data()})
    if (label)
      label->setText(text);
  statisticsInfo_.insert(QStringLiteral("ConnectTime"), text);
}

void DialController::setTransferDataInfo() {
  if (connectStatus_ != kConnected)
    return;
  const ConnectFigures::Units units = ConnectFigures::Units::fromSettings();
  if (m_FluxForReceive)
    m_FluxForReceive->setText(ConnectFigures::formatData(m_receiveData, units));
  if (m_FluxForSend)
    m_FluxForSend->setText(ConnectFigures::formatData(m_sendData, units));
  if (m_TotalData)
    m_TotalData->setText(ConnectFigures::formatData(double(m_sendData) + double(m_receiveData), units));
  statusDict_.insert(QStringLiteral("sendbyte"), ConnectFigures::recordKB(m_sendData));
  statusDict_.insert(QStringLiteral("receivebyte"), ConnectFigures::recordKB(m_receiveData));
  const QVariantMap figures = ConnectFigures::statistics(0, m_sendData, m_receiveData, 0, 0, units);
  for (const char *key : {"UploadData", "DowloadData", "UploadDataUnitWithKB", "DowloadDataUnitWithKB"})
    statisticsInfo_.insert(QLatin1String(key), figures.value(QLatin1String(key)));
  notificationCenter->postNotificationName(
      QStringLiteral("currentReceiveDataAndSendData"), this,
      {{QStringLiteral("currentSendData"), m_sendData}, {QStringLiteral("currentReceiveData"), m_receiveData}});
}

void DialController::setSpeedInfo() {
  if (connectStatus_ != kConnected)
    return;
  const ConnectFigures::Units units = ConnectFigures::Units::fromSettings();
  const QString send = ConnectFigures::formatSpeed(m_sendSpeed, units);
  const QString receive = ConnectFigures::formatSpeed(m_receiveSpeed, units);
  for (QLabel *label : {m_SpeedForSend.data(), labelSpeedForSendSimple.data()})
    if (label)
      label->setText(send);
  for (QLabel *label : {m_SpeedForReceive.data(), labelSpeedForReceiveSimple.data()})
    if (label)
      label->setText(receive);
  feedSpeedGraphs(float(ConnectFigures::graphPoint(m_sendSpeed, units)),
                  float(ConnectFigures::graphPoint(m_receiveSpeed, units)));
  DialService::sharedDialService()->setSendSpeed(m_sendSpeed);
  statisticsInfo_.insert(QStringLiteral("UploadSpeed"), send);
  statisticsInfo_.insert(QStringLiteral("DowloadSpeed"), receive);
}

void DialController::feedSpeedGraphs(float upload, float download) {
  SpeedSamples::shared()->add(upload, download);
  if (speedView && !speedView->followsSharedSamples())
    speedView->setSpeedPointSend(upload, download);
}

void DialController::clearSpeedGraphs() {
  SpeedSamples::shared()->clear();
  if (speedView && !speedView->followsSharedSamples())
    speedView->setUndisplay();
}

void DialController::sendStatisticsNotification() {
  if (connectStatus_ != kConnected || statisticsInfo_.isEmpty())
    return;
  notificationCenter->postNotificationName(QStringLiteral("ConnectStatistics"), this, statisticsInfo_);
}

void DialController::sendResetStatisticsNotification() {
  notificationCenter->postNotificationName(
      QStringLiteral("ConnectStatistics"), this,
      ConnectFigures::statistics(0, 0, 0, 0, 0, ConnectFigures::Units::fromSettings()));
}

void DialController::sendSpeedData(float sendRate, float receiveRate) {
  notificationCenter->postNotificationName(QString::fromLatin1(kSendSpeedData), this,
                                           {{QStringLiteral("UpSpeed"), ConnectFigures::kbpsText(sendRate)},
                                            {QStringLiteral("DownSpeed"), ConnectFigures::kbpsText(receiveRate)}});
}

void DialController::displayStatisticsForDisconnect() {
  const qint64 seconds = statusDict_.value(QStringLiteral("connecttime")).toLongLong();
  const double receivedKB = statusDict_.value(QStringLiteral("receivebyte")).toString().toDouble();
  const double sentKB = statusDict_.value(QStringLiteral("sendbyte")).toString().toDouble();
  if (tfdDisplayDownData_)
    tfdDisplayDownData_->setText(autoChangeKBDataToMBGBUnit(receivedKB));
  if (tfdDisplayUpData_)
    tfdDisplayUpData_->setText(autoChangeKBDataToMBGBUnit(sentKB));
  if (tfdDisplayTotalData_)
    tfdDisplayTotalData_->setText(autoChangeKBDataToMBGBUnit(receivedKB + sentKB));
  if (tfdDisplayDuration_)
    tfdDisplayDuration_->setText(durationText(seconds));
  if (wndStatisticsWin_) {
    wndStatisticsWin_->show();
    wndStatisticsWin_->raise();
  }
}

void DialController::closeStatisticsWin(QObject *) {
  if (wndStatisticsWin_)
    wndStatisticsWin_->hide();
}

void DialController::setDiagMSISDNValue(const QString &text) {
  diagMSISDN_ = text;
  if (tfdDiagMSISDN_)
    tfdDiagMSISDN_->setText(text);
}
