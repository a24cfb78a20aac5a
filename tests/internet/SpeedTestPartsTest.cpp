// The speed test's parts without a modem: the iperf report, the operator list, the result
// address, the log, the steps against a small HTTP server, the upload-rate probe and the worker's
// end with its controller.
#include "../support/HttpStub.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialController.h"
#include "DialService.h"
#include "InitService.h"
#include "OperatorAddress.h"
#include "Plist.h"
#include "SpeedTestController.h"
#include "TestSupport.h"
#include "UrlOperation.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray readAll(const QString &path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeText(const QString &path, const QByteArray &text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(text);
}

// A server that takes connections and never answers.
class SilentServer {
public:
  SilentServer() {
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
      while (QTcpSocket *socket = server_.nextPendingConnection())
        sockets_ << socket;
    });
  }
  QString url(const QString &path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
  }

private:
  QTcpServer server_;
  QList<QTcpSocket *> sockets_;
};

// The log and the settings in folders of the test's own, so parallel tests never share them.
class SpeedTestFixture : public ::testing::Test {
protected:
  QTemporaryDir dir;
  QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
  std::unique_ptr<ConfigManager> config;
  std::unique_ptr<ConfigService> switches;
  SpeedTestTimeouts savedTimeouts = SpeedTestController::timeouts();

  void SetUp() override {
    QDir().mkpath(dir.filePath(QStringLiteral("run")));
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("run")).toUtf8());
    const QString modemList = dir.filePath(QStringLiteral("ModemList"));
    QDir().mkpath(modemList);
    Plist::writeFile(modemList + QStringLiteral("/settings.plist"),
                     QVariantMap{{QStringLiteral("Internet"), QVariantMap()}});
    ConfigManager::Locations loc;
    loc.candidates = {modemList};
    config = std::make_unique<ConfigManager>(loc);
    ConfigManager::setSharedConfigManager(config.get());
    switches = std::make_unique<ConfigService>();
    ConfigService::setSharedConfigService(switches.get());
  }
  void TearDown() override {
    SpeedTestController::timeouts() = savedTimeouts;
    ConfigService::setSharedConfigService(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
  }
  QString log() const { return QString::fromUtf8(readAll(SpeedTestController::logFilePath())); }
  static SpeedTestController *service() { return SpeedTestController::shareSpeedTestController(); }
  // A setup whose every address is on `base` (no trailing slash).
  static SpeedTestSetup setupOn(const QString &base) {
    SpeedTestSetup s;
    s.switchedOn = true;
    s.homeMccMnc = QStringLiteral("23415");
    s.listUrl = base + QStringLiteral("/throughputtest.txt");
    s.latencyUrl = base + QStringLiteral("/latency.txt");
    s.downloadUrl = base + QStringLiteral("/modemdltest.jpg");
    s.iperfHost = QStringLiteral("127.0.0.1");
    s.iperfPort = 7002;
    s.service = service();
    return s;
  }
};

using SpeedTestReport = SpeedTestFixture;

// The rate of an iperf report, read with its decimal point and unit, in KB/s of 1000 bytes.
TEST_F(SpeedTestReport, RateLines) {
  const QByteArray clientAndServer = "------------------------------------------------------------\n"
                                     "Client connecting to 127.0.0.1, UDP port 7002\n"
                                     "[ ID] Interval       Transfer     Bandwidth\n"
                                     "[  1] 0.0000-1.0000 sec   131 KBytes  1.07 Mbits/sec\n"
                                     "[  1] 0.0000-2.0188 sec   261 KBytes  1.05 Mbits/sec\n"
                                     "[  1] Sent 183 datagrams\n"
                                     "[  1] Server Report:\n"
                                     "[  1] 0.0000-2.0188 sec   261 KBytes  0.90 Mbits/sec   0.001 ms 0/182 (0%)\n";
  const struct {
    const char *name;
    QByteArray report;
    float kbPerSecond;
  } cases[] = {
      {"the whole run's line, not the server's", clientAndServer, 1.05e6f / 8 / 1000},
      {"Kbits", "[  3]  0.0- 5.0 sec   320 KBytes   512 Kbits/sec\n", 64.0f},
      {"plain bits, CR LF", "[  3]  0.0- 1.0 sec   1 KBytes   8000 bits/sec\r\n", 1.0f},
      {"Gbits without a space", "[  3] 0.0-1.0 sec 1 GBytes 1.5Gbits/sec", 187500.0f},
      {"no rate line", "read failed: Connection refused\n[  3] WARNING: did not receive ack\n", 0.0f},
      {"empty", "", 0.0f},
      {"digits without a unit", "[  3] 0.0-1.0 sec 105\n", 0.0f},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    writeText(path, c.report);
    EXPECT_FLOAT_EQ(DialController::readUploadSpeedValue(path), c.kbPerSecond);
  }
  EXPECT_EQ(DialController::readUploadSpeedValue(dir.filePath(QStringLiteral("absent.txt"))), 0.0f);
  EXPECT_TRUE(log().contains(QStringLiteral("The iprfValue.txt is not exit")));
}

// iperf runs as a child with an argument list (a host text is one argument, never shell input),
// writes a fresh report each run, and a run without a rate line gives 0, not the last figure.
TEST_F(SpeedTestReport, ToolRunsWithArgumentsAndFreshReport) {
  const QString argsFile = dir.filePath(QStringLiteral("args.txt"));
  const QString rateFile = dir.filePath(QStringLiteral("rate.txt"));
  const QString tool = dir.filePath(QStringLiteral("iperf"));
  writeText(tool, QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1'\n"
                                 "cat '%2' 2>/dev/null\nexit 0\n")
                      .arg(argsFile, rateFile)
                      .toUtf8());
  QFile::setPermissions(tool, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

  SpeedTestSetup setup = setupOn(QStringLiteral("http://127.0.0.1:1"));
  setup.iperfProgram = tool;
  setup.iperfHost = QStringLiteral("127.0.0.1;touch ") + dir.filePath(QStringLiteral("planted"));
  setup.iperfPort = 7123;
  setup.disconnectReason = 2;
  setup.iperfParms = QVariantMap{{QStringLiteral("Internet_TimeUnitforIperf"), 1},
                                 {QStringLiteral("Internet_SendDataforIperf"), 2},
                                 {QStringLiteral("Internet_TheorySpeedforIperf"), 3},
                                 {QStringLiteral("Internet_TotalSendTimeforIperf"), 1}};

  writeText(rateFile, "[  1] 0.0000-1.0 sec   131 KBytes  1.05 Mbits/sec\n");
  SpeedTestFigures first;
  ASSERT_TRUE(DialController::uploadTest(setup, first));
  EXPECT_FLOAT_EQ(first.uploadSpeed, 131.25f);
  EXPECT_EQ(first.disconnectionReason, 2);
  EXPECT_EQ(QString::fromUtf8(readAll(argsFile)).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
            (QStringList{"-u", "-c", setup.iperfHost, "-p", "7123", "-i", "1", "-n", "2M", "-b", "3M", "-t", "1"}));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("planted"))));

  // The next run reports no rate: its figure is 0.
  QFile::remove(rateFile);
  SpeedTestFigures second;
  ASSERT_TRUE(DialController::uploadTest(setup, second));
  EXPECT_EQ(second.uploadSpeed, 0.0f);

  // No tool: 0, and the result still goes out.
  setup.iperfProgram.clear();
  SpeedTestFigures third;
  third.uploadSpeed = 9;
  EXPECT_TRUE(DialController::uploadTest(setup, third));
  EXPECT_EQ(third.uploadSpeed, 0.0f);

  // No parameters, or unusable ones: no result at all.
  for (const QVariant &parms : {QVariant(), QVariant(QVariantMap{{QStringLiteral("Internet_TimeUnitforIperf"), 1}}),
                                QVariant(QStringLiteral("1 2 3 4"))}) {
    setup.iperfParms = parms;
    SpeedTestFigures none;
    EXPECT_FALSE(DialController::uploadTest(setup, none));
  }
  EXPECT_TRUE(log().contains(QStringLiteral("Read config item Internet_ParmsForUploadTestTool failed")));
}

using SpeedTestList = SpeedTestFixture;

TEST_F(SpeedTestList, ParsingAndHomeNetworkRule) {
  const struct {
    const char *name;
    QString list;
    QString home;
    bool accepted;
  } cases[] = {
      {"listed MNC", "MCC=234\nMNC=15,180\nTEST=ON\n", "23415", true},
      {"longer entry beginning with the MNC", "MCC=234\nMNC=10,180\nTEST=ON", "23418", true},
      {"entry of only the first digit", "MCC=234\nMNC=1,20\nTEST=ON", "23415", false},
      {"TEST OFF", "MCC=234\nMNC=15\nTEST=OFF", "23415", false},
      {"other MCC", "MCC=262\nMNC=15\nTEST=ON", "23415", false},
      {"the last '=' part wins", "MCC=234\nMNC=99=15\nTEST=ON", "23415", true},
      {"CR LF lines and blanks", "\r\nMCC=234\r\nMNC=15\r\n\r\nTEST=ON\r\n", "23415", true},
      {"three-digit home MNC", "MCC=310\nMNC=410\nTEST=ON", "310410", true},
      {"no SIM", "MCC=\nMNC=15\nTEST=ON", "", false},
      {"other names ignored", "MCC=234\nFOO=1\nMNC=15\nTEST=ON\nnoise", "23415", true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    const QVariantMap parsed = service()->readSupportTestSpeedMccMnc(c.list);
    EXPECT_EQ(SpeedTestController::listAcceptsHomeNetwork(parsed, c.home), c.accepted);
  }
  EXPECT_EQ(service()->readSupportTestSpeedMccMnc(QStringLiteral("MNC=a=b")).value(QStringLiteral("MNC")),
            QVariant(QStringLiteral("b")));
  EXPECT_TRUE(service()->readSupportTestSpeedMccMnc(QString()).isEmpty());
  EXPECT_TRUE(log().contains(QStringLiteral("Mncs is null")));
}

// The decision fetches the list once, logs what it read, and a missing list or the switch off
// answers NO.
TEST_F(SpeedTestList, DecisionFetchesTheList) {
  HttpStub stub;
  stub.routes.insert(QStringLiteral("/throughputtest.txt"), {{200, {}, "MCC=234\nMNC=15\nTEST=ON\n", false}});
  SpeedTestSetup setup = setupOn(stub.url(QString()));
  EXPECT_TRUE(service()->isNeedTestSpeed(setup));
  EXPECT_EQ(stub.hits.value(QStringLiteral("/throughputtest.txt")), 1);
  EXPECT_TRUE(log().contains(QStringLiteral("    TEST: ON")));

  setup.homeMccMnc = QStringLiteral("23416");
  EXPECT_FALSE(service()->isNeedTestSpeed(setup));
  EXPECT_TRUE(log().contains(QStringLiteral("The Sim Card Info is not exit in Service")));
  // The log begins afresh with each decision.
  EXPECT_EQ(log().count(QStringLiteral("TEST: ON")), 1);

  setup.switchedOn = false;
  EXPECT_FALSE(service()->isNeedTestSpeed(setup));
  EXPECT_EQ(stub.hits.value(QStringLiteral("/throughputtest.txt")), 2);

  setup.switchedOn = true;
  setup.listUrl = stub.url(QStringLiteral("/missing.txt"));
  EXPECT_FALSE(service()->isNeedTestSpeed(setup));
  EXPECT_TRUE(log().contains(QStringLiteral("Download File throughputtest.txt: ")));
}

using SpeedTestAddress = SpeedTestFixture;

// Every value is percent-encoded; the script's path ends in "/" and the parameters follow it in
// their fixed order.
TEST_F(SpeedTestAddress, ValuesAreEncodedInTheirLayout) {
  qputenv(OperatorAddress::kVariable, "http://127.0.0.1:7444");
  service()->clearRadioInfo();
  const QVariantMap result{{QStringLiteral("DisconnectionReason"), 0},
                           {QStringLiteral("DownloadSpeedValue"), 2048000.0f},
                           {QStringLiteral("UploadSpeedValue"), 131.25f},
                           {QStringLiteral("DelayTimeValue"), 12.5f}};
  const QString before = service()->speedTestResultAddress(result, QStringLiteral("+49 170&x=1"), "23415");
  EXPECT_EQ(before, QStringLiteral("http://127.0.0.1:7444/check/checkspeed.php/msisdn=%2B49%20170%26x%3D1"
                                   "&user=kox&password=r7ka2wp&cellid=%28null%29&mnc=15&mcc=234&download=2048000"
                                   "&upload=131.25&lateny=12.5&rssi=%28null%29&ecno=%28null%29&rscp=%28null%29"
                                   "&conntype=EDGE%2CGPRS%2CHSDPA%2CHSPA%2B%2CDC-HSPA%2B%2Cetc"
                                   "&disconnectionreason=0"));

  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("ReadRscpRssiEcnoInfo"), nullptr,
                                                           {{QStringLiteral("RSSI"), QStringLiteral("-71")},
                                                            {QStringLiteral("ECNO"), QStringLiteral("a&b")},
                                                            {QStringLiteral("RSCP"), QStringLiteral("1+1")}});
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("ReadCellIDInfo"), nullptr,
                                                           {{QStringLiteral("CellIDInfo"), QStringLiteral("4660")}});
  const QString after = service()->speedTestResultAddress(result, QString(), "310410");
  EXPECT_TRUE(after.startsWith(QStringLiteral("http://127.0.0.1:7444/check/checkspeed.php/msisdn=%28null%29&user=")));
  EXPECT_TRUE(after.contains(QStringLiteral("&cellid=4660&mnc=410&mcc=310&")));
  EXPECT_TRUE(after.contains(QStringLiteral("&rssi=-71&ecno=a%26b&rscp=1%2B1&")));
  EXPECT_FALSE(after.contains(QLatin1Char('?')));
  service()->clearRadioInfo();
  qunsetenv(OperatorAddress::kVariable);
}

// The result notification uploads once, as a POST to that address, without holding the caller.
TEST_F(SpeedTestAddress, ResultNotificationPostsTheAddress) {
  HttpStub stub;
  stub.routes.insert(QStringLiteral("/check/checkspeed.php/"), {{200, {}, "ok", false}});
  qputenv(OperatorAddress::kVariable, stub.url(QString()).toUtf8());
  const int before = service()->finishedUploads();
  QElapsedTimer clock;
  clock.start();
  NotificationCenter::defaultCenter().postNotificationName(
      QStringLiteral("ReadDelayTimeDownlaodUploadValusForSpeedTest"), nullptr,
      {{QStringLiteral("DisconnectionReason"), 1},
       {QStringLiteral("DownloadSpeedValue"), 1.5f},
       {QStringLiteral("UploadSpeedValue"), 0.0f},
       {QStringLiteral("DelayTimeValue"), 3.0f}});
  EXPECT_LT(clock.elapsed(), 1000);
  ASSERT_TRUE(testsupport::waitUntil([&] { return service()->finishedUploads() == before + 1; }));
  // The stub counts by the whole request target; the one upload went to the script.
  int uploads = 0;
  for (auto it = stub.hits.cbegin(); it != stub.hits.cend(); ++it)
    if (it.key().startsWith(QStringLiteral("/check/checkspeed.php/msisdn=")))
      uploads += it.value();
  EXPECT_EQ(uploads, 1);
  EXPECT_TRUE(log().contains(QStringLiteral("/check/checkspeed.php/msisdn=")));
  qunsetenv(OperatorAddress::kVariable);
}

using SpeedTestLog = SpeedTestFixture;

TEST_F(SpeedTestLog, EntriesFileAndLinks) {
  const QDateTime stamp(QDate(2026, 12, 1), QTime(3, 4, 5));
  const QByteArray one = SpeedTestController::appendedLogEntry({}, QStringLiteral("first"), stamp);
  EXPECT_EQ(one, "01/12/26 03:04:05    first");
  EXPECT_EQ(SpeedTestController::appendedLogEntry(one, QStringLiteral("second"), stamp),
            "01/12/26 03:04:05    first\n01/12/26 03:04:05    second");

  const QString path = SpeedTestController::logFilePath();
  EXPECT_TRUE(path.startsWith(dir.filePath(QStringLiteral("run"))));
  EXPECT_TRUE(path.endsWith(QStringLiteral("/LogTest.txt")));
  SpeedTestController::deleteLogFile();
  service()->writeToLogFile(QStringLiteral("a"));
  service()->writeToLogFile(QStringLiteral("b"));
  const QStringList lines = log().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].endsWith(QStringLiteral("    a")));
  EXPECT_TRUE(lines[1].endsWith(QStringLiteral("    b")));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  // A link planted at the log's place is replaced, its target never written.
  const QString target = dir.filePath(QStringLiteral("target.txt"));
  writeText(target, "keep");
  QFile::remove(path);
  ASSERT_TRUE(QFile::link(target, path));
  service()->writeToLogFile(QStringLiteral("c"));
  EXPECT_EQ(readAll(target), "keep");
  EXPECT_FALSE(QFileInfo(path).isSymLink());
  EXPECT_TRUE(log().endsWith(QStringLiteral("    c")));
  EXPECT_FALSE(log().contains(QLatin1Char('\n')));
}

using SpeedTestSteps = SpeedTestFixture;

// Latency is the mean of the fetches that came back; none gives 0. The download counts the
// bytes of both fetches.
TEST_F(SpeedTestSteps, LatencyAndDownload) {
  HttpStub stub;
  stub.routes.insert(QStringLiteral("/latency.txt"), {{200, {}, "x", false}});
  stub.routes.insert(QStringLiteral("/modemdltest.jpg"), {{200, {}, QByteArray(5000, 'j'), false}});
  SpeedTestSetup setup = setupOn(stub.url(QString()));
  SpeedTestFigures figures;
  DialController::delayTest(setup, figures);
  EXPECT_EQ(stub.hits.value(QStringLiteral("/latency.txt")), 5);
  EXPECT_GT(figures.delayTime, 0.0);
  EXPECT_LT(figures.delayTime, 5000.0);
  DialController::downloadTest(setup, figures);
  EXPECT_EQ(stub.hits.value(QStringLiteral("/modemdltest.jpg")), 2);
  EXPECT_EQ(figures.downLoadData, 10000.0);
  EXPECT_GT(figures.downloadSpeed, 0.0);

  // Failing fetches: latency 0, download 0.
  setup.latencyUrl = stub.url(QStringLiteral("/gone.txt"));
  setup.downloadUrl = stub.url(QStringLiteral("/gone.jpg"));
  DialController::delayTest(setup, figures);
  EXPECT_EQ(figures.delayTime, 0.0);
  DialController::downloadTest(setup, figures);
  EXPECT_EQ(figures.downLoadData, 0.0);
  EXPECT_EQ(figures.downloadSpeed, 0.0);
  EXPECT_EQ(log().count(QStringLiteral("Delay Test: ")), 5);
  EXPECT_EQ(log().count(QStringLiteral("Download Test: ")), 2);
}

// A server that never answers is given up after the time limit: latency 0.
TEST_F(SpeedTestSteps, SilentServerTimesOut) {
  SilentServer silent;
  SpeedTestSetup setup = setupOn(silent.url(QString()));
  setup.timeouts.latencyMs = 100;
  SpeedTestFigures figures;
  figures.delayTime = 7;
  QElapsedTimer clock;
  clock.start();
  DialController::delayTest(setup, figures);
  EXPECT_EQ(figures.delayTime, 0.0);
  EXPECT_LT(clock.elapsed(), 4000);
  EXPECT_EQ(log().count(QStringLiteral("Delay Test: ")), 5);

  // A cancel ends a wait at once.
  setup.timeouts.latencyMs = 60000;
  setup.cancel->store(true);
  clock.restart();
  const auto body =
      UrlOperation::synchronousOperation({}, setup.latencyUrl, {}, QStringLiteral("GET"), 60000, setup.cancel.get());
  EXPECT_FALSE(body.has_value());
  EXPECT_LT(clock.elapsed(), 2000);
}

// The synchronous request builds its query from the dictionary and sends a POST's body with its
// length.
TEST_F(SpeedTestSteps, SynchronousRequest) {
  HttpStub stub;
  stub.routes.insert(QStringLiteral("/echo?a=1&b=two"), {{200, {}, "answer", false}});
  const auto got = UrlOperation::synchronousOperation(
      {}, stub.url(QStringLiteral("/echo")), {{QStringLiteral("a"), 1}, {QStringLiteral("b"), QStringLiteral("two")}},
      QStringLiteral("GET"), 5000);
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(*got, "answer");
  QString error;
  EXPECT_FALSE(UrlOperation::synchronousOperation({}, QStringLiteral("not an address"), {}, QStringLiteral("GET"), 100,
                                                  nullptr, &error));
  EXPECT_FALSE(error.isEmpty());
}

using SpeedTestProbe = SpeedTestFixture;

// The probe samples the upload speed while it runs, its workers send to the upload script, and
// a second run starts from the current speed and samples again (its flag is set afresh).
TEST_F(SpeedTestProbe, SamplesOnATimerEachRun) {
  HttpStub stub;
  stub.routes.insert(QStringLiteral("/upload.php"), {{200, {}, "ok", false}});
  qputenv(OperatorAddress::kVariable, stub.url(QString()).toUtf8());
  DialService dial;
  DialService::setSharedDialService(&dial);
  UrlOperation::setProbeDurationMs(400);
  for (const float peak : {5.0f, 7.0f}) {
    dial.setSendSpeed(1.0f);
    QTimer::singleShot(60, &dial, [&dial, peak] { dial.setSendSpeed(peak); });
    UrlOperation::testUploadRateFromRadirer();
    EXPECT_FLOAT_EQ(UrlOperation::getMaxSendSpeed(), peak);
    EXPECT_FALSE(UrlOperation::threadUpLoadRunFlag());
  }
  int uploads = 0;
  for (auto it = stub.hits.cbegin(); it != stub.hits.cend(); ++it)
    if (it.key().startsWith(QStringLiteral("/upload.php?x=SAFDSAFD")))
      uploads += it.value();
  EXPECT_GE(uploads, 8);
  EXPECT_EQ(UrlOperation::probeFiller().size(), 1033);
  UrlOperation::setProbeDurationMs(20000);
  DialService::setSharedDialService(nullptr);
  qunsetenv(OperatorAddress::kVariable);
}

using SpeedTestWorker = SpeedTestFixture;

// A test that waits on a silent server ends with its controller: the controller's end stops the
// worker and waits for it, and no result arrives afterwards.
TEST_F(SpeedTestWorker, StopsWithItsController) {
  SilentServer silent;
  qputenv(OperatorAddress::kVariable, silent.url(QString()).toUtf8());
  config->setConfigurationByModule(QStringLiteral("Internet"),
                                   QVariantMap{{QStringLiteral("Internet_IsNeedTestSpeedAtConnected"), true}});
  int results = 0;
  QObject owner;
  NotificationCenter::defaultCenter().addObserver(&owner,
                                                  QStringLiteral("ReadDelayTimeDownlaodUploadValusForSpeedTest"),
                                                  nullptr, [&](const Notification &) { ++results; });
  auto *dial = new DialController;
  dial->setConnectStatus(DialController::kConnected);
  dial->startSpeedTestIfConnected();
  ASSERT_TRUE(dial->isSpeedTestRunning());
  dial->startSpeedTestIfConnected(); // one at a time
  QElapsedTimer clock;
  clock.start();
  delete dial;
  EXPECT_LT(clock.elapsed(), 3000);

  // So does the application's quit, the controller staying.
  dial = new DialController;
  dial->setConnectStatus(DialController::kConnected);
  dial->startSpeedTestIfConnected();
  ASSERT_TRUE(dial->isSpeedTestRunning());
  clock.restart();
  ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
  EXPECT_FALSE(dial->isSpeedTestRunning());
  EXPECT_LT(clock.elapsed(), 3000);
  delete dial;

  // Leaving the connected state stops a test too.
  dial = new DialController;
  dial->setConnectStatus(DialController::kConnected);
  dial->startSpeedTestIfConnected();
  ASSERT_TRUE(dial->isSpeedTestRunning());
  dial->setConnectStatus(DialController::kDisconnected);
  dial->startSpeedTestIfConnected();
  EXPECT_FALSE(dial->isSpeedTestRunning());
  delete dial;
  QCoreApplication::processEvents();
  EXPECT_EQ(results, 0);

  // Switched off: no worker.
  config->setConfigurationByModule(QStringLiteral("Internet"), QVariantMap());
  DialController quiet;
  quiet.setConnectStatus(DialController::kConnected);
  quiet.startSpeedTestIfConnected();
  EXPECT_FALSE(quiet.isSpeedTestRunning());
  qunsetenv(OperatorAddress::kVariable);
}

// The disconnect reason: manual, device removed, or neither; written only with the test on.
TEST_F(SpeedTestWorker, DisconnectReason) {
  const auto reason = [&] {
    return config->getConfigurationByModuleAndKey(QStringLiteral("Internet"), QStringLiteral("DisconnectReason"));
  };
  DialController dial;
  dial.setManualDisconnect(true);
  dial.writeDisconetNetWorkReason();
  EXPECT_FALSE(reason().isValid());

  config->setConfigurationByModule(QStringLiteral("Internet"),
                                   QVariantMap{{QStringLiteral("Internet_IsNeedTestSpeedAtConnected"), false}});
  const struct {
    bool manual, removed;
    int reason;
    const char *line;
  } cases[] = {{true, true, 0, "Disconnect Reason: Manual Disconnect"},
               {false, true, 2, "Disconnect Reason: Device Remove"},
               {false, false, 1, "Disconnect Reason: Unreason disconnect"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.line);
    dial.setManualDisconnect(c.manual);
    dial.setDeviceStatus(c.removed);
    dial.writeDisconetNetWorkReason();
    EXPECT_EQ(reason(), QVariant(c.reason));
    EXPECT_TRUE(log().endsWith(QLatin1String(c.line)));
    QVariantMap saved;
    Plist::readDictionary(dir.filePath(QStringLiteral("ModemList/settings.plist")), &saved);
    EXPECT_EQ(saved.value(QStringLiteral("Internet")).toMap().value(QStringLiteral("DisconnectReason")),
              QVariant(c.reason));
  }
}

} // namespace
