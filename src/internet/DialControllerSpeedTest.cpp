// The speed test of a fresh connection and the reason of the last disconnect.
//
// A test starts when the connect button turns to connected, on a worker thread of its own: the
// worker gets a copy of everything it needs (SpeedTestSetup), makes its requests with its own
// network access manager, runs iperf as a child process, and hands its figures back to the main
// thread, which keeps them and posts the result notification there. One test runs at a time; a
// disconnect, the controller's end and the program's quit stop it and wait for the worker.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialController.h"
#include "DialControllerSupport.h"
#include "SafeFile.h"
#include "SpeedTestController.h"
#include "UrlOperation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

using namespace dialsupport;

namespace {
void speedLog(const QString &text) {
  SpeedTestController::appendToLog(text);
}

constexpr int kLatencyFetches = 5;
constexpr int kDownloadFetches = 2;
constexpr int kProcessPollMs = 50;
// An iperf report is a few lines a second; anything larger is not one.
constexpr qint64 kMaxReportBytes = 4 * 1024 * 1024;

// A positive setting within reach, or 0 when it is not one.
int iperfSetting(const QVariantMap &parms, const char *key, int most) {
  bool ok = false;
  const int value = parms.value(QString::fromLatin1(key)).toInt(&ok);
  return ok && value > 0 && value <= most ? value : 0;
}
} // namespace

struct DialController::SpeedTestRun {
  std::shared_ptr<const SpeedTestSetup> setup;
  std::unique_ptr<QThread> thread;
  QMetaObject::Connection quitConnection;
  ~SpeedTestRun() {
    QObject::disconnect(quitConnection);
    setup->cancel->store(true);
    if (thread)
      thread->wait();
  }
};

// ---- on the main thread ----

bool DialController::isSpeedTestRunning() const {
  return speedTestRun_ && speedTestRun_->thread && !speedTestRun_->thread->isFinished();
}

void DialController::stopSpeedTest() {
  speedTestRun_.reset();
}

void DialController::startSpeedTestIfConnected() {
  if (connectStatus_ != kConnected) {
    // A test of a connection that is gone measures nothing.
    stopSpeedTest();
    return;
  }
  if (isSpeedTestRunning())
    return;
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config || !config->isNeedTestSpeedAtConnected())
    return;
  stopSpeedTest(); // the last, finished worker
  auto run = std::make_shared<SpeedTestRun>();
  auto setup = std::make_shared<SpeedTestSetup>(SpeedTestController::currentSetup());
  run->setup = setup;
  run->thread.reset(QThread::create([this, setup] {
    SpeedTestFigures figures;
    if (!testSpeed(*setup, figures) || setup->cancelled())
      return;
    // The result belongs to the main thread: it is kept and announced there. A controller gone
    // by then drops the call.
    QMetaObject::invokeMethod(
        this, [this, figures] { speedTestFinished(figures); }, Qt::QueuedConnection);
  }));
  run->thread->setObjectName(QStringLiteral("SpeedTest"));
  if (QCoreApplication *app = QCoreApplication::instance())
    run->quitConnection = connect(app, &QCoreApplication::aboutToQuit, this, &DialController::stopSpeedTest);
  speedTestRun_ = run;
  run->thread->start();
}

void DialController::speedTestFinished(const SpeedTestFigures &figures) {
  delayTime_ = figures.delayTime;
  downLoadData_ = figures.downLoadData;
  downloadSpeed_ = figures.downloadSpeed;
  uploadSpeed_ = figures.uploadSpeed;
  disconnectionReason_ = figures.disconnectionReason;
  notificationCenter->postNotificationName(QStringLiteral("ReadDelayTimeDownlaodUploadValusForSpeedTest"), this,
                                           {{QStringLiteral("DisconnectionReason"), disconnectionReason_},
                                            {QStringLiteral("DownloadSpeedValue"), float(downloadSpeed_)},
                                            {QStringLiteral("UploadSpeedValue"), uploadSpeed_},
                                            {QStringLiteral("DelayTimeValue"), float(delayTime_)}});
}

void DialController::writeDisconetNetWorkReason() {
  ConfigService *config = ConfigService::sharedConfigService();
  if (!config || !config->isNeedTestSpeedAtConnected())
    return;
  int reason = 1;
  if (manualDisconnectFlag_) {
    reason = 0;
    speedLog(QStringLiteral("Disconnect Reason: Manual Disconnect"));
  } else if (isDeviceRemoved_) {
    reason = 2;
    speedLog(QStringLiteral("Disconnect Reason: Device Remove"));
  } else {
    speedLog(QStringLiteral("Disconnect Reason: Unreason disconnect"));
  }
  if (ConfigManager *manager = ConfigManager::sharedConfigManager()) {
    manager->setConfigurationByModuleKeyAndValue(kInternet, QStringLiteral("DisconnectReason"), reason);
    manager->writeToFile();
  }
}

// ---- on the worker ----

bool DialController::testSpeed(const SpeedTestSetup &setup, SpeedTestFigures &figures) {
  if (setup.cancelled())
    return false;
  SpeedTestController *service = setup.service;
  if (!service || !service->isNeedTestSpeed(setup) || setup.cancelled())
    return false;
  speedLog(QStringLiteral("------------Start Speed Test-------------"));
  delayTest(setup, figures);
  if (setup.cancelled())
    return false;
  downloadTest(setup, figures);
  if (setup.cancelled())
    return false;
  return uploadTest(setup, figures);
}

void DialController::delayTest(const SpeedTestSetup &setup, SpeedTestFigures &figures) {
  // Only the fetches that came back count: a failed one measures the time limit, not the
  // connection.
  qint64 answeredUs = 0;
  int answered = 0;
  for (int i = 0; i < kLatencyFetches && !setup.cancelled(); ++i) {
    QString error;
    QElapsedTimer clock;
    clock.start();
    // Only the time counts: the answer is read and dropped as it comes.
    const auto bytes =
        UrlOperation::synchronousDownload(setup.latencyUrl, setup.timeouts.latencyMs, setup.cancel.get(), &error);
    const qint64 elapsedNs = clock.nsecsElapsed();
    if (!bytes) {
      speedLog(QStringLiteral("Delay Test: %1").arg(error));
      continue;
    }
    answeredUs += elapsedNs / 1000;
    ++answered;
  }
  figures.delayTime = answered ? double(answeredUs) / 1000.0 / answered : 0.0;
  speedLog(QString::asprintf("Delay Time: %fms", figures.delayTime));
}

void DialController::downloadTest(const SpeedTestSetup &setup, SpeedTestFigures &figures) {
  figures.downLoadData = 0;
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < kDownloadFetches && !setup.cancelled(); ++i) {
    QString error;
    // Counted as it streams, none of it kept: an endless answer costs time, not memory.
    const auto bytes =
        UrlOperation::synchronousDownload(setup.downloadUrl, setup.timeouts.downloadMs, setup.cancel.get(), &error);
    if (bytes)
      figures.downLoadData += double(*bytes);
    else
      speedLog(QStringLiteral("Download Test: %1").arg(error));
  }
  const double seconds = double(clock.nsecsElapsed()) / 1e9;
  figures.downloadSpeed = seconds > 0 ? 8.0 * figures.downLoadData / seconds : 0.0;
  speedLog(QString::asprintf("Download Speed: %fbit/S", figures.downloadSpeed));
}

bool DialController::uploadTest(const SpeedTestSetup &setup, SpeedTestFigures &figures) {
  const QVariantMap parms = setup.iperfParms.toMap();
  const int interval = iperfSetting(parms, "Internet_TimeUnitforIperf", 3600);
  const int megabytes = iperfSetting(parms, "Internet_SendDataforIperf", 100000);
  const int rate = iperfSetting(parms, "Internet_TheorySpeedforIperf", 100000);
  const int seconds = iperfSetting(parms, "Internet_TotalSendTimeforIperf", 3600);
  if (setup.iperfParms.typeId() != QMetaType::QVariantMap || !interval || !megabytes || !rate || !seconds) {
    speedLog(QStringLiteral("Read config item Internet_ParmsForUploadTestTool failed"));
    return false;
  }

  // A fresh report in a private folder of this run: no earlier run's figure can be read back,
  // and no other user can plant or read it.
  QTemporaryDir folder;
  const QString report = folder.isValid() ? folder.filePath(QStringLiteral("iprfValue.txt")) : QString();
  if (setup.iperfProgram.isEmpty()) {
    speedLog(QStringLiteral("iperf is not installed"));
  } else if (!report.isEmpty()) {
    QProcess iperf;
    iperf.setProgram(setup.iperfProgram);
    iperf.setArguments({QStringLiteral("-u"), QStringLiteral("-c"), setup.iperfHost, QStringLiteral("-p"),
                        QString::number(setup.iperfPort), QStringLiteral("-i"), QString::number(interval),
                        QStringLiteral("-n"), QString::number(megabytes) + QLatin1Char('M'), QStringLiteral("-b"),
                        QString::number(rate) + QLatin1Char('M'), QStringLiteral("-t"), QString::number(seconds)});
    iperf.setStandardOutputFile(report, QIODevice::Truncate);
    iperf.setStandardErrorFile(QProcess::nullDevice());
    iperf.start();
    if (!iperf.waitForStarted()) {
      speedLog(QStringLiteral("iperf did not start: %1").arg(iperf.errorString()));
    } else {
      QElapsedTimer clock;
      clock.start();
      const qint64 limitMs = qint64(seconds) * 1000 + setup.timeouts.iperfSlackMs;
      while (!iperf.waitForFinished(kProcessPollMs)) {
        if (setup.cancelled() || clock.elapsed() > limitMs) {
          if (!setup.cancelled())
            speedLog(QStringLiteral("iperf did not end within %1 ms").arg(limitMs));
          iperf.kill();
          iperf.waitForFinished();
          break;
        }
      }
    }
  }
  if (setup.cancelled())
    return false;
  figures.uploadSpeed = readUploadSpeedValue(report);
  speedLog(QString::asprintf("Upload Speed: %fKB/S", double(figures.uploadSpeed)));
  figures.disconnectionReason = setup.disconnectReason;
  return true;
}

float DialController::readUploadSpeedValue(const QString &reportPath) {
  const QFileInfo info(reportPath);
  QByteArray bytes;
  if (reportPath.isEmpty() || !info.exists() || !SafeFile::readRegularFile(reportPath, &bytes, kMaxReportBytes)) {
    speedLog(QStringLiteral("The iprfValue.txt is not exit"));
    return 0;
  }
  // The last line that ends in a rate is the whole run's figure ("… 1.05 Mbits/sec"); the
  // server's report after it ends in its loss count instead.
  static const QRegularExpression rateLine(QStringLiteral("(\\d+(?:\\.\\d+)?)\\s*([KMGT]?)bits/sec$"));
  const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
  for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
    const QRegularExpressionMatch match = rateLine.match(it->trimmed());
    if (!match.hasMatch())
      continue;
    double bitsPerSecond = match.captured(1).toDouble();
    switch (match.captured(2).isEmpty() ? ' ' : match.captured(2).at(0).toLatin1()) {
    case 'K':
      bitsPerSecond *= 1e3;
      break;
    case 'M':
      bitsPerSecond *= 1e6;
      break;
    case 'G':
      bitsPerSecond *= 1e9;
      break;
    case 'T':
      bitsPerSecond *= 1e12;
      break;
    default:
      break;
    }
    // iperf's units are decimal (1 Kbit = 1000 bits); the log's KB is 1000 bytes likewise.
    return float(bitsPerSecond / 8.0 / 1000.0);
  }
  return 0;
}
