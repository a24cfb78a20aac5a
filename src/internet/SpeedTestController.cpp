#include "SpeedTestController.h"

#include "Bundle.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "KLog.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "OperatorAddress.h"
#include "SafeFile.h"
#include "UrlOperation.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <QUrl>

namespace {
const QString kInternet = QStringLiteral("Internet");
const QString kResultName = QStringLiteral("ReadDelayTimeDownlaodUploadValusForSpeedTest");

// All writes of the log, from the worker and the main thread, go one at a time.
QMutex &logLock() {
  static QMutex lock;
  return lock;
}

SpeedTestController *g_sharedSpeedTest = nullptr;

// A figure as the result address carries it: plain decimals, no exponent, no trailing zeros.
QString figureText(const QVariant &value) {
  if (!value.isValid() || value.isNull())
    return QStringLiteral("(null)");
  if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::UInt)
    return QString::number(value.toLongLong());
  bool ok = false;
  const double number = value.toDouble(&ok);
  if (!ok)
    return value.toString();
  QString text = QString::number(number, 'f', 3);
  while (text.endsWith(QLatin1Char('0')))
    text.chop(1);
  if (text.endsWith(QLatin1Char('.')))
    text.chop(1);
  return text;
}

QString textOrNull(const QVariant &value) {
  return value.isValid() && !value.isNull() ? value.toString() : QStringLiteral("(null)");
}

QString encoded(const QString &value) {
  return QString::fromLatin1(QUrl::toPercentEncoding(value));
}
} // namespace

SpeedTestController::SpeedTestController(QObject *parent) : QELUIController(parent) {}

SpeedTestController::~SpeedTestController() {
  if (g_sharedSpeedTest == this)
    g_sharedSpeedTest = nullptr;
}

SpeedTestController *SpeedTestController::shareSpeedTestController() {
  if (!g_sharedSpeedTest) {
    g_sharedSpeedTest = new SpeedTestController;
    // Nothing loads this one from a window description, so it registers its observers itself:
    // it is the instance that keeps the radio details and uploads the results.
    g_sharedSpeedTest->registerMessages();
  }
  return g_sharedSpeedTest;
}

void SpeedTestController::registerMessages() {
  notificationCenter->addObserver(this, QByteArrayLiteral("uploadSpeedTestResult"), kResultName);
  notificationCenter->addObserver(this, QByteArrayLiteral("setRscpRssiEcnoInfo"),
                                  QStringLiteral("ReadRscpRssiEcnoInfo"));
  notificationCenter->addObserver(this, QByteArrayLiteral("setCellIdInfo"), QStringLiteral("ReadCellIDInfo"));
}

SpeedTestTimeouts &SpeedTestController::timeouts() {
  static SpeedTestTimeouts values;
  return values;
}

SpeedTestSetup SpeedTestController::currentSetup() {
  SpeedTestSetup setup;
  ConfigService *config = ConfigService::sharedConfigService();
  setup.switchedOn = config && config->isNeedTestSpeedAtConnected();
  setup.iperfParms = config ? config->getParmsForUploadTestTool() : QVariant();
  if (ConfigManager *manager = ConfigManager::sharedConfigManager()) {
    const QVariant reason = manager->getConfigurationByModuleAndKey(kInternet, QStringLiteral("DisconnectReason"));
    bool ok = false;
    const int value = reason.toInt(&ok);
    setup.disconnectReason = ok ? value : 1;
  }
  if (DeviceStatusNeighbour *device = Neighbourhood::deviceStatus())
    setup.homeMccMnc = device->currentHmccmnc();
  setup.listUrl = OperatorAddress::url(QStringLiteral("/throughputtest.txt"));
  setup.latencyUrl = OperatorAddress::url(QStringLiteral("/latency.txt"));
  setup.downloadUrl = OperatorAddress::url(QStringLiteral("/modemdltest.jpg"));
  const QUrl base = OperatorAddress::base();
  setup.iperfHost = base.host();
  setup.iperfPort = base.port(80);
  // The bundle's own tool first, then the system's.
  const QString bundled = Bundle::mainBundle().resourcePath() + QStringLiteral("/iperf");
  const QFileInfo info(bundled);
  setup.iperfProgram =
      info.isFile() && info.isExecutable() ? bundled : QStandardPaths::findExecutable(QStringLiteral("iperf"));
  setup.timeouts = timeouts();
  setup.service = shareSpeedTestController();
  return setup;
}

// ---- deciding ----

QVariantMap SpeedTestController::readSupportTestSpeedMccMnc(const QString &text) {
  if (text.isNull()) {
    writeToLogFile(QStringLiteral("Mncs is null"));
    return {};
  }
  QVariantMap list;
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (const QString &line : lines) {
    // A list written with CR LF line ends reads the same.
    const QStringList parts = line.trimmed().split(QLatin1Char('='));
    if (parts.size() < 2)
      continue;
    const QString name = parts.first().trimmed();
    if (name != QLatin1String("MCC") && name != QLatin1String("MNC") && name != QLatin1String("TEST"))
      continue;
    list.insert(name, parts.last().trimmed());
  }
  return list;
}

bool SpeedTestController::listAcceptsHomeNetwork(const QVariantMap &list, const QString &homeMccMnc) {
  const QString mcc = homeMccMnc.left(3);
  const QString mnc = homeMccMnc.mid(3);
  // Without a SIM's home network nothing matches (an empty MNC would begin every entry).
  if (mcc.size() != 3 || mnc.isEmpty())
    return false;
  if (list.value(QStringLiteral("MCC")).toString() != mcc ||
      list.value(QStringLiteral("TEST")).toString() != QLatin1String("ON"))
    return false;
  const QStringList entries = list.value(QStringLiteral("MNC")).toString().split(QLatin1Char(','));
  for (const QString &entry : entries)
    if (entry.trimmed().startsWith(mnc))
      return true;
  return false;
}

bool SpeedTestController::isNeedTestSpeed(const SpeedTestSetup &setup) {
  deleteLogFile();
  if (!setup.switchedOn)
    return false;
  QString error;
  // The list is a few lines of network codes: a longer answer is refused, never held.
  const std::optional<QByteArray> body = UrlOperation::synchronousOperation(
      {}, setup.listUrl, {}, QStringLiteral("GET"), setup.timeouts.listMs, setup.cancel.get(), &error, kMaxListBytes);
  if (!body) {
    writeToLogFile(QStringLiteral("Download File throughputtest.txt: %1").arg(error));
    return false;
  }
  const QVariantMap list = readSupportTestSpeedMccMnc(QString::fromUtf8(*body));
  for (const char *key : {"MCC", "MNC", "TEST"}) {
    const QString name = QString::fromLatin1(key);
    writeToLogFile(QStringLiteral("%1: %2").arg(name, list.value(name).toString()));
  }
  if (listAcceptsHomeNetwork(list, setup.homeMccMnc))
    return true;
  writeToLogFile(QStringLiteral("The Sim Card Info is not exit in Service"));
  return false;
}

// ---- the result ----

QString SpeedTestController::speedTestResultAddress(const QVariantMap &result, const QString &msisdn,
                                                    const QString &homeMccMnc) const {
  const auto radio = [this](const char *key) -> QString {
    if (!haveRadioInfo_)
      return QStringLiteral("(null)");
    return dictForRscpRssiEcno_.value(QString::fromLatin1(key)).toString();
  };
  const QList<QPair<const char *, QString>> parameters{
      {"msisdn=", msisdn.isNull() ? QStringLiteral("(null)") : msisdn},
      {"&user=", QStringLiteral("kox")},
      {"&password=", QStringLiteral("r7ka2wp")},
      {"&cellid=", haveCellId_ ? cellIDForSpeedTest_ : QStringLiteral("(null)")},
      {"&mnc=", homeMccMnc.mid(3)},
      {"&mcc=", homeMccMnc.left(3)},
      {"&download=", figureText(result.value(QStringLiteral("DownloadSpeedValue")))},
      {"&upload=", figureText(result.value(QStringLiteral("UploadSpeedValue")))},
      {"&lateny=", figureText(result.value(QStringLiteral("DelayTimeValue")))},
      {"&rssi=", radio("RSSI")},
      {"&ecno=", radio("ECNO")},
      {"&rscp=", radio("RSCP")},
      {"&conntype=", QStringLiteral("EDGE,GPRS,HSDPA,HSPA+,DC-HSPA+,etc")},
      {"&disconnectionreason=", textOrNull(result.value(QStringLiteral("DisconnectionReason")))},
  };
  // The script's address ends in "/" and the parameters follow it directly.
  QString address = OperatorAddress::url(QStringLiteral("/check/checkspeed.php/"));
  for (const auto &parameter : parameters)
    address += QString::fromLatin1(parameter.first) + encoded(parameter.second);
  return address;
}

void SpeedTestController::uploadSpeedTestResult(const Notification &notification) {
  QString msisdn;
  if (ConfigManager *manager = ConfigManager::sharedConfigManager()) {
    const QVariant number = manager->getConfiguration().value(kCMRuntimeDataKey).toMap().value(kRTPhoneNumber);
    if (number.isValid() && !number.isNull())
      msisdn = number.toString();
  }
  DeviceStatusNeighbour *device = Neighbourhood::deviceStatus();
  const QString address =
      speedTestResultAddress(notification.userInfo, msisdn, device ? device->currentHmccmnc() : QString());
  writeToLogFile(address);
  // Posted and left: the answer is not needed, and the main thread never waits for it.
  if (!uploader_)
    uploader_ = new QNetworkAccessManager(this);
  QNetworkRequest request{QUrl(address, QUrl::StrictMode)};
  request.setHeader(QNetworkRequest::ContentLengthHeader, 0);
  request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("text/xml;charset=utf-8"));
  request.setTransferTimeout(timeouts().uploadResultMs);
  QNetworkReply *reply = uploader_->post(request, QByteArray());
  connect(reply, &QNetworkReply::finished, this, [this, reply] {
    ++finishedUploads_;
    reply->deleteLater();
  });
}

// ---- radio details ----

void SpeedTestController::setRscpRssiEcnoInfo(const Notification &notification) {
  dictForRscpRssiEcno_ = notification.userInfo;
  haveRadioInfo_ = true;
}

void SpeedTestController::setCellIdInfo(const Notification &notification) {
  cellIDForSpeedTest_ = notification.userInfo.value(QStringLiteral("CellIDInfo")).toString();
  haveCellId_ = true;
}

void SpeedTestController::clearRadioInfo() {
  dictForRscpRssiEcno_.clear();
  cellIDForSpeedTest_.clear();
  haveRadioInfo_ = haveCellId_ = false;
}

// ---- the log ----

QString SpeedTestController::logFilePath() {
  return KLog::defaultLogFolder() + QStringLiteral("/LogTest.txt");
}

QByteArray SpeedTestController::appendedLogEntry(const QByteArray &previous, const QString &text,
                                                 const QDateTime &stamp) {
  const QString entry = stamp.toString(QStringLiteral("dd/MM/yy")) + QLatin1Char(' ') +
                        stamp.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("    ") + text;
  if (previous.isEmpty())
    return entry.toUtf8();
  return previous + '\n' + entry.toUtf8();
}

void SpeedTestController::appendToLog(const QString &text) {
  QMutexLocker locker(&logLock());
  const QString path = logFilePath();
  QByteArray previous;
  // A link at the log's place is never followed: it counts as no log and is replaced.
  if (!QFileInfo(path).isSymLink())
    SafeFile::readRegularFile(path, &previous);
  SafeFile::writeAtomically(path, appendedLogEntry(previous, text, QDateTime::currentDateTime()),
                            QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void SpeedTestController::deleteLogFile() {
  QMutexLocker locker(&logLock());
  QFile::remove(logFilePath());
}
