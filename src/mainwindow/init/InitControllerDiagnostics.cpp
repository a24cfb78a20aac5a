// The diagnostics window of InitController: what support staff ask for (hardware, computer, SIM
// and network facts), its export as a text file, the signal-detail window and the AT logs.
#include "Bundle.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "ConnectionNeighbour.h"
#include "DiagnosticsWindow.h"
#include "GetSystemInfo.h"
#include "InitController.h"
#include "InitService.h"
#include "InitStatusView.h"
#include "KLog.h"
#include "MainController.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "PhonebookNeighbour.h"
#include "SafeFile.h"
#include "SettingValue.h"
#include "SettingsNeighbour.h"
#include "WordGlobe.h"

#include <QFileInfo>
#include <QStackedWidget>
#include <QTabBar>
#include <QUrl>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

QString nonNull(const QString &text) {
  return text.isNull() ? QString("") : text;
}
} // namespace

DiagnosticsWindow *InitController::diagWindow() {
  if (!m_DiagWindow) {
    m_DiagWindow = new DiagnosticsWindow(wndMain);
    connect(m_DiagWindow->ok, &QPushButton::clicked, this, [this] { closeDiagWindow(m_DiagWindow->ok); });
    connect(m_DiagWindow->refresh, &QPushButton::clicked, this, [this] { refreshDiagWindow(m_DiagWindow->refresh); });
    connect(m_DiagWindow->open, &QPushButton::clicked, this, [this] { OpenDiagInfoInTextEdit(m_DiagWindow->open); });
    connect(m_DiagWindow->sendReport, &QPushButton::clicked, this, [this] { sendReport(m_DiagWindow->sendReport); });
    connect(m_DiagWindow->diagSegmentedTable_, &QTabBar::currentChanged, this,
            [this] { clickDiagSegmentedTable(m_DiagWindow->diagSegmentedTable_); });
    if (diagCdmaLayoutWanted_)
      m_DiagWindow->useCdmaLayout();
    initDiagWindow();
    clearDiagWindow();
  }
  return m_DiagWindow;
}

SignalDetailWindow *InitController::rssiLacCiWindow() {
  if (!windowRssiLacCi_) {
    windowRssiLacCi_ = new SignalDetailWindow(wndMain);
    connect(windowRssiLacCi_->ok, &QPushButton::clicked, this, [this] { closeRssiLacCiWindow(windowRssiLacCi_->ok); });
    initRssiLacCiWindow();
  }
  return windowRssiLacCi_;
}

void InitController::diagUseCdmaLayout() {
  diagCdmaLayoutWanted_ = true;
  if (m_DiagWindow)
    m_DiagWindow->useCdmaLayout();
}

void InitController::initDiagWindow() {
  if (!m_DiagWindow)
    return;
  DiagnosticsWindow *w = m_DiagWindow;
  w->setWindowTitle(word(QStringLiteral("Diagnostics")));
  for (const DiagnosticsRow &row : DiagnosticsWindow::rows())
    if (QLabel *label = w->labelField(QLatin1String(row.labelKey)))
      label->setText(word(QLatin1String(row.labelKey)));
  for (int i = 0; i < DiagnosticsWindow::pageIdentifiers().size(); ++i)
    w->diagSegmentedTable_->setTabText(i, word(DiagnosticsWindow::pageIdentifiers().at(i)));
  w->ok->setText(word(QStringLiteral("OK")));
  w->refresh->setText(word(QStringLiteral("Refresh")));
  w->open->setText(word(QStringLiteral("Open")));
  w->sendReport->setText(word(QStringLiteral("Send Report")));
}

void InitController::clearDiagWindow() {
  if (!m_DiagWindow)
    return;
  for (const DiagnosticsRow &row : DiagnosticsWindow::rows())
    if (QLabel *value = m_DiagWindow->valueField(QLatin1String(row.labelKey)))
      value->clear();
}

QString InitController::diagValue(const QString &labelKey) const {
  if (!m_DiagWindow)
    return {};
  const QLabel *value = m_DiagWindow->valueField(labelKey);
  return value ? value->text() : QString();
}

void InitController::setDiagValue(const QString &labelKey, const QString &text) {
  if (QLabel *value = diagWindow()->valueField(labelKey))
    value->setText(text);
}

void InitController::prepareForDicDiagWindowInfo(QLabel *field, const QString &key) {
  if (key.isEmpty())
    return;
  dicDiagWindowInfo_.insert(key, field ? field->text() : QString(""));
}

QVariant InitController::checkNilWithObject(QLabel *field) {
  return field ? QVariant(field->text()) : QVariant();
}

// ---- actions ----

void InitController::showDiagInfo(QObject *) {
  DiagnosticsWindow *w = diagWindow();
  // The report button only where the report has somewhere to go.
  w->sendReport->setVisible(!settingDict().value(QStringLiteral("SendReportTo")).toString().isEmpty());
  w->show();
  w->raise();
  w->activateWindow();
  showDiagnosticInfo();
}

void InitController::refreshDiagWindow(QObject *) {
  showDiagnosticInfo();
}

void InitController::closeDiagWindow(QObject *) {
  if (m_DiagWindow)
    m_DiagWindow->hide();
}

void InitController::clickDiagSegmentedTable(QObject *) {
  if (m_DiagWindow && !m_DiagWindow->isCdmaLayout())
    m_DiagWindow->diagTableItemView_->setCurrentIndex(m_DiagWindow->selectedSegment());
}

void InitController::prepareToShowDiagWindow(const Notification &) {
  showDiagnosticInfo();
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("diagInfo"), this, dicDiagWindowInfo_);
}

// ---- the fill ----

void InitController::setIMEINumInDiagWindow() {
  const QVariant imei = runtimeObjectForKey(kRTIMEI);
  if (!imei.isValid() || imei.toString().isNull())
    return;
  setDiagValue(QStringLiteral("IMEI number:"), imei.toString());
}

void InitController::refreshDiagIMSI(bool query) {
  const bool checkForDiag = SettingValue::toBool(
      settingDict().value(QStringLiteral("Setting")).toMap().value(QStringLiteral("CheckIMSIForDiag")));
  if (checkForDiag && query) {
    checkIMSI();
    return;
  }
  // A reply also fills an open window's row, which would otherwise stay empty until Refresh.
  const bool windowOpen = m_DiagWindow && m_DiagWindow->isVisible();
  if (checkForDiag == query && !windowOpen)
    return; // switch off, asked by the reply, no window to show it in: nothing
  if (!m_IMSI.isEmpty())
    setDiagValue(QStringLiteral("IMSI number:"), m_IMSI);
}

void InitController::showNetworkNameInDiagnostic() {
  const QString row = QStringLiteral("Network name:");
  if (!ConfigService::readBool(QStringLiteral("Init"), QStringLiteral("DisPlayBelonetoSPNAtDiagWin"))) {
    const QString serving = statusView ? statusView->localSPNLabel->text() : QString();
    if (!serving.isEmpty()) {
      setDiagValue(row, serving);
    } else {
      setDiagValue(row, word(QStringLiteral("unknown")));
      displaySPNNameAtDiagWindow();
    }
    return;
  }
  const QString home = identity_.spn();
  setDiagValue(row, home.isEmpty() ? word(QStringLiteral("unknown")) : home);
}

void InitController::displaySPNNameAtDiagWindow() {
  if (!ConfigService::readBool(QStringLiteral("Internet"), QStringLiteral("DisPlaySPNAtDiagWin")))
    return;
  const QString home = identity_.spn();
  if (!home.isEmpty())
    setDiagValue(QStringLiteral("Network name:"), home);
}

int InitController::diagNetCardStatus() const {
  if (auto *sms = Neighbourhood::messages())
    return sms->getNetCardStatus();
  return g_MainController ? g_MainController->getNetCardStatus() : 1;
}

void InitController::showDiagnosticInfo() {
  DiagnosticsWindow *w = diagWindow();
  const auto set = [this](const char *row, const QString &text) { setDiagValue(QLatin1String(row), text); };
  set("Software version number:",
      nonNull(
          Bundle::mainBundle().objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString")).toString()));
  const QString driver = getDataCardDriverVersion();
  set("Driver version number:", driver.isEmpty() ? getDriverVersion() : driver);
  GetSystemInfo *system = GetSystemInfo::sharedGetSystemInfo();
  set("Computer model:", nonNull(system->getPCModel()));
  set("OS version:", nonNull(system->getOSVersion()));
  set("OS language:", nonNull(system->getOSLanguage()));
  set("Manufacturer name:", word(QStringLiteral("the name of Manufacturer")));
  set("Manufacturer homepage:", word(QStringLiteral("the web site of Manufacturer")));

  if (diagNetCardStatus() != 1) {
    setIMEINumInDiagWindow();
    set("Firmware version:", nonNull(m_FWVersion));
    set("Hardware version:", nonNull(m_HWVersion));
    set("Phone number:", nonNull(getPhoneNum()));
    refreshDiagIMSI(true);
    set("Device serial number:", nonNull(m_SerialNumber));
    set("Device name:", nonNull(m_Devicemodel));

    set("Messages in (U)SIM:",
        Neighbourhood::messages() ? Neighbourhood::messages()->getDiagnosticsSMS() : QString(""));
    const PhonebookNeighbour *phonebook = Neighbourhood::phonebook();
    set("Contacts in (U)SIM:", phonebook ? phonebook->getDiagnosticsContact() : QString(""));
    showNetworkNameInDiagnostic();
    set("MCC:", diagMcc_);
    set("MNC:", diagMnc_);
    set("ICCID:", iccid());
    if (auto *settings = Neighbourhood::settings()) {
      set("PIN code status:", settings->getPinStatus());
      set("Network selection mode:", settings->getNetworkSelectionMode());
      set("Preferred Mode:", settings->getNetworkFindModeSelection());
    }
    if (m_SignalStrength != 0)
      set("Signal strength:", QString::number(m_SignalStrength));
    const QString strength = InitService::sharedInitService()->signalStrength();
    if (!strength.isEmpty())
      set("Signal strength:", strength);

    set("CS network registration:",
        word(hasCSDomain() ? QStringLiteral("Registration") : QStringLiteral("Not Registration")));
    set("PS network registration:",
        word(hasPSDomain() ? QStringLiteral("Registration") : QStringLiteral("Not Registration")));
    ConnectionNeighbour *dial = Neighbourhood::connection();
    set("PS network attachment:",
        word(dial && dial->GetisDialNow() ? QStringLiteral("Attached") : QStringLiteral("Detached")));
    set("APN:", dial ? dial->getDefaultProfileAPN() : QString(""));

    set("RSCP:", diagSignalFields_.value(QStringLiteral("RSCP")));
    set("RSSI:", diagSignalFields_.value(QStringLiteral("RSSI")));
    set("Ec/Io:", diagSignalFields_.value(QStringLiteral("ECNO")));
    set("Message center number:",
        Neighbourhood::settings() ? Neighbourhood::settings()->readMessageCenter() : QString(""));
    set("Technology:", word(networkName_));
    showDiagAirInfo();
    set("Serving cell:", servingCellText_);
  }

  // The values are recorded under their keys whatever was filled, so a plug-in always finds
  // every key.
  for (const DiagnosticsRow &row : DiagnosticsWindow::rows()) {
    const QString key = QLatin1String(row.dictKey);
    if (key.isEmpty())
      continue;
    QLabel *field = w->valueField(QLatin1String(row.labelKey));
    prepareForDicDiagWindowInfo(field, key);
    if (key == QLatin1String("IMEI"))
      prepareForDicDiagWindowInfo(field, QStringLiteral("DIDOROIMEI"));
  }
}

void InitController::showDiagAirInfo() {
  if (!m_DiagWindow)
    return;
  setDiagValue(QStringLiteral("RAC:"), diagRAC_);
  setDiagValue(QStringLiteral("RXqual-sub:"), diagRXqual_);
  setDiagValue(QStringLiteral("RXlev-sub:"), diagRXlev_);
  setDiagValue(QStringLiteral("Frequency:"), diagFrequency_);
  setDiagValue(QStringLiteral("Channel:"), diagChannel_);
}

// ---- export ----

QByteArray InitController::diagnosticsExportText(const QList<QPair<QString, QString>> &pairs,
                                                 const QStringList &headings) {
  QString text;
  for (const auto &[label, value] : pairs) {
    if (label.isNull())
      continue;
    if (!headings.contains(label))
      text += QStringLiteral("        ");
    text += label + QStringLiteral("     ");
    if (!value.isNull())
      text += value;
    text += QLatin1Char('\n');
  }
  return text.toUtf8();
}

QString InitController::exportDiagInfo() {
  DiagnosticsWindow *w = diagWindow();
  QStringList headings;
  for (const DiagnosticsRow &row : DiagnosticsWindow::rows())
    if (row.heading)
      if (QLabel *label = w->labelField(QLatin1String(row.labelKey)))
        headings << label->text();
  ConfigManager *config = ConfigManager::sharedConfigManager();
  const QString path = config ? config->configFilePathOfKey(kCMDiagInfoFile) : QString();
  if (path.isEmpty() || !SafeFile::writeAtomically(path, diagnosticsExportText(w->labelValuePairs(), headings)))
    return {};
  return path;
}

void InitController::OpenDiagInfoInTextEdit(QObject *) {
  const QString path = exportDiagInfo();
  if (!path.isEmpty())
    openSafari(QUrl::fromLocalFile(path).toString());
}

// ---- signal detail, logs, about ----

void InitController::initRssiLacCiWindow() {
  if (!windowRssiLacCi_)
    return;
  windowRssiLacCi_->setWindowTitle(word(QStringLiteral("Signal")));
  windowRssiLacCi_->rssiLabel->setText(word(QStringLiteral("RSSI:")));
  windowRssiLacCi_->lacLabel->setText(word(QStringLiteral("LAC:")));
  windowRssiLacCi_->cellLabel->setText(word(QStringLiteral("Cell ID:")));
  windowRssiLacCi_->ok->setText(word(QStringLiteral("OK")));
}

void InitController::openRssiLacCiWindow(QObject *) {
  SignalDetailWindow *w = rssiLacCiWindow();
  w->rssiValue->setText(signalDetailRssi_);
  w->lacValue->setText(locationAreaText_);
  w->cellValue->setText(servingCellText_);
  w->show();
  w->raise();
  w->activateWindow();
}

void InitController::closeRssiLacCiWindow(QObject *) {
  if (windowRssiLacCi_)
    windowRssiLacCi_->hide();
}

QStringList InitController::atLogFiles() {
  // The folder the log really writes to: "LogFileDir" when set, else the per-user folder.
  const QString folder = KLog::sharedLog() ? KLog::sharedLog()->logDir() : KLog::logFolderFromSettings();
  QStringList files;
  if (folder.isEmpty())
    return files;
  for (const char *name : {"at_read.log", "at_write.log", "at_Modem_read.log", "at_Modem_write.log"}) {
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    if (QFileInfo(path).isFile())
      files << path;
  }
  return files;
}

void InitController::showLogs(QObject *) {
  for (const QString &path : atLogFiles())
    openSafari(QUrl::fromLocalFile(path).toString());
}

void InitController::openAboutURL(QObject *) {
  openSafari(word(QStringLiteral("STRING_ABOUT_URL")));
}
