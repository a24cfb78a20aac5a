// Versions of InitController: the firmware reply, the driver version, the notice shown while the
// network updates the SIM, and the diagnostics report sent as a short message.
#include "AEMessage.h"
#include "Bundle.h"
#include "ConfigService.h"
#include "DiagnosticsWindow.h"
#include "InitController.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "PhonebookNeighbour.h"
#include "Platform.h"
#include "SafeFile.h"
#include "WordGlobe.h"

#include <QRegularExpression>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

int g_simUpdateTextMs = 4000, g_simUpdateCloseMs = 7000, g_simUpdatePhonebookMs = 2000;
QString g_driverInfoRoot;

QString textField(const UIMsg &msg, int width) {
  const int available = std::clamp(int(msg.dataLength), 0, width);
  const char *begin = reinterpret_cast<const char *>(msg.data.data());
  const char *end = std::find(begin, begin + available, '\0');
  return QString::fromLatin1(begin, int(end - begin));
}

QString readSmallText(const QString &path) {
  QByteArray bytes;
  if (!SafeFile::readRegularFile(path, &bytes, 4096))
    return {};
  return QString::fromUtf8(bytes).trimmed();
}

// The innermost sheet open on `window`: its visible modal child window, that one's, and so on.
QWidget *innermostSheetOf(QWidget *window) {
  QWidget *current = window;
  for (int depth = 0; current && depth < 64; ++depth) {
    QWidget *sheet = nullptr;
    for (QWidget *child : current->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
      if (child->isWindow() && child->isVisible() && child->windowModality() != Qt::NonModal) {
        sheet = child;
        break;
      }
    if (!sheet)
      break;
    current = sheet;
  }
  return current;
}
} // namespace

void InitController::setSimUpdateDelaysMs(int textMs, int closeMs, int phonebookMs) {
  g_simUpdateTextMs = textMs;
  g_simUpdateCloseMs = closeMs;
  g_simUpdatePhonebookMs = phonebookMs;
}

void InitController::setDriverInfoRoot(const QString &root) {
  g_driverInfoRoot = root;
}

// ---- versions ----

QString InitController::dataCardDriverVersion(int platform, const QString &root) {
  // The modem's serial driver as the kernel reports it; in-tree drivers carry no version of
  // their own, and then the kernel's release is the driver's version.
  const QString modules = root + QStringLiteral("/sys/module/");
  QString version;
  if (platform == Platform::kPlatformIcera) {
    version = readSmallText(modules + QStringLiteral("cdc_acm/version"));
    const int comma = version.indexOf(QLatin1Char(','));
    if (comma >= 0)
      version = version.left(comma).trimmed();
  } else {
    version = readSmallText(modules + QStringLiteral("option/version"));
    if (version.isEmpty())
      version = readSmallText(modules + QStringLiteral("cdc_acm/version"));
  }
  if (version.isEmpty())
    version = readSmallText(root + QStringLiteral("/proc/sys/kernel/osrelease"));
  return version.isNull() ? QString("") : version;
}

QString InitController::getDataCardDriverVersion() const {
  return dataCardDriverVersion(Platform::sharedPlatform()->platform(), g_driverInfoRoot);
}

QString InitController::getDriverVersion() const {
  const QString v = Bundle::mainBundle().objectForInfoDictionaryKey(QStringLiteral("DriverVersion")).toString();
  return v.isNull() ? QString("") : v;
}

void InitController::dealWithMsgOfCheckFWVERSION(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.result != 0)
    return;
  m_FWVersion = textField(msg, 68);
  AEMessage *updater = AEMessage::defaultAEMessage();
  if (updater->isSupportUpdate()) {
    if (!ConfigService::readBool(QString(), QStringLiteral("UpdateByInternalFW")))
      updater->dealWithFirmwareVersion(m_FWVersion);
    if (!ConfigService::readBool(QString(), QStringLiteral("newUpdate")))
      updater->dealWithDeviceReady();
  }
  settingSetCheckForUpdateRizoraEnable(true);
}

// ---- SIM update notice ----

SimCardUpdateSheet *InitController::simCardUpdateSheet() {
  if (!wndSimCardUpdate_) {
    wndSimCardUpdate_ = new SimCardUpdateSheet(wndMain);
    simUpdateTextTimer_.setSingleShot(true);
    simUpdateCloseTimer_.setSingleShot(true);
    simUpdatePhonebookTimer_.setSingleShot(true);
    connect(&simUpdateTextTimer_, &QTimer::timeout, this, &InitController::setSimcardUpdateEndWording);
    connect(&simUpdateCloseTimer_, &QTimer::timeout, this, &InitController::closeSimcardUpdateWnd);
    connect(&simUpdatePhonebookTimer_, &QTimer::timeout, this, &InitController::selectPCPhonebook);
  }
  return wndSimCardUpdate_;
}

void InitController::dealWithMsgOfCheckSmsPPDownload(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.type != 1 || msg.result != 0 || !wndMain)
    return;
  if (!simCardUpdateSheet()->isVisible())
    popUpSimcardUpdateWnd();
  // Every reply counts the three steps again from now.
  simUpdateTextTimer_.start(g_simUpdateTextMs);
  simUpdateCloseTimer_.start(g_simUpdateCloseMs);
  simUpdatePhonebookTimer_.start(g_simUpdatePhonebookMs);
}

void InitController::popUpSimcardUpdateWnd() {
  SimCardUpdateSheet *sheet = simCardUpdateSheet();
  QWidget *host = innermostSheetOf(wndMain);
  if (host && sheet->parentWidget() != host)
    sheet->setParent(host, sheet->windowFlags());
  sheet->labelSimCardUpdate_->setText(word(QStringLiteral("Init_labelSimCardUpdate_CheckSmsPPDownloadBegin")));
  sheet->setWindowModality(Qt::WindowModal);
  sheet->adjustSize();
  sheet->show();
  sheet->raise();
}

void InitController::setSimcardUpdateEndWording() {
  if (wndSimCardUpdate_)
    wndSimCardUpdate_->labelSimCardUpdate_->setText(
        word(QStringLiteral("Init_labelSimCardUpdate_CheckSmsPPDownloadEnd")));
}

void InitController::closeSimcardUpdateWnd() {
  if (wndSimCardUpdate_)
    wndSimCardUpdate_->hide();
}

void InitController::selectPCPhonebook() {
  if (PhonebookNeighbour *phonebook = Neighbourhood::phonebook())
    phonebook->selectAtPCSide();
}

bool InitController::isSimUpdateNoticeVisible() const {
  return wndSimCardUpdate_ && wndSimCardUpdate_->isVisible();
}

QString InitController::simUpdateNoticeText() const {
  return wndSimCardUpdate_ ? wndSimCardUpdate_->labelSimCardUpdate_->text() : QString();
}

// ---- the report ----

QString InitController::reportValueWithoutUnit(const QString &text) {
  // The unit goes, whatever its length ("dBm", "dB", none); the number stays whole.
  static const QRegularExpression unit(QStringLiteral("\\s*[A-Za-z/%]+\\s*$"));
  QString value = text.trimmed();
  value.remove(unit);
  return value.isEmpty() ? QStringLiteral("Null") : value;
}

QString InitController::reportText() {
  showDiagnosticInfo();
  const QStringList values = {servingCellText_,
                              locationAreaText_,
                              reportValueWithoutUnit(diagValue(QStringLiteral("RSSI:"))),
                              reportValueWithoutUnit(diagValue(QStringLiteral("RSCP:"))),
                              reportValueWithoutUnit(diagValue(QStringLiteral("Ec/Io:"))),
                              diagValue(QStringLiteral("PS network attachment:")),
                              diagValue(QStringLiteral("APN:")),
                              QStringLiteral("QEL ") + diagValue(QStringLiteral("Device name:"))};
  return values.join(QStringLiteral(", "));
}

void InitController::sendReport(QObject *) {
  const QString to = settingDict().value(QStringLiteral("SendReportTo")).toString();
  if (to.isEmpty())
    return;
  const QString text = reportText();
  setReportSendFlag(true);
  // A request the message road did not take has no result to clear the flag.
  auto *sms = Neighbourhood::messages();
  if (!sms || !sms->sendSmsTo(to, text, false, true, false))
    setReportSendFlag(false);
}
