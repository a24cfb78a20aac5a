// The speed test end to end: the window and its controllers connect through the simulated modem,
// whose operator server answers the list, latency and download requests, runs the iperf server
// when iperf is installed and takes the result.
#include "../mainwindow/MainWindowFixture.h"
#include "DialController.h"
#include "SpeedTestController.h"

#include <QFile>
#include <QPushButton>
#include <QStandardPaths>

namespace {

class SpeedTestRoad : public NetworkWindowFixture {
protected:
  QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
  SpeedTestTimeouts savedTimeouts = SpeedTestController::timeouts();
  QList<QVariantMap> results;

  QVariantMap settingsOverrides() const override {
    const QVariantMap iperf{{QStringLiteral("Internet_TimeUnitforIperf"), 1},
                            {QStringLiteral("Internet_SendDataforIperf"), 1},
                            {QStringLiteral("Internet_TheorySpeedforIperf"), 1},
                            {QStringLiteral("Internet_TotalSendTimeforIperf"), 1}};
    return {{QStringLiteral("Internet"), QVariantMap{{QStringLiteral("Internet_IsNeedTestSpeedAtConnected"), true},
                                                     {QStringLiteral("Internet_ParmsForUploadTestTool"), iperf}}}};
  }
  void SetUp() override {
    // The speed-test log of this test alone.
    QDir().mkpath(dir.filePath(QStringLiteral("run")));
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("run")).toUtf8());
    NetworkWindowFixture::SetUp();
  }
  void TearDown() override {
    DialController::setTimeScale(1.0);
    if (g_DialController)
      g_DialController->stopSpeedTest();
    if (parts.window)
      NetworkWindowFixture::TearDown();
    SpeedTestController::timeouts() = savedTimeouts;
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
  }

  bool start() {
    Plist::writeFile(dir.filePath(QStringLiteral("ModemList/dialConfig.plist")),
                     QVariantList{QVariantMap{{QStringLiteral("provider"), QStringLiteral("Internet")},
                                              {QStringLiteral("apnName"), QStringLiteral("internet")},
                                              {QStringLiteral("telNumber"), QStringLiteral("*99#")},
                                              {QStringLiteral("pppFlag"), 1}}});
    QVariantMap scenario;
    Plist::readDictionary(testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"),
                          &scenario);
    scenario.insert(QStringLiteral("Data"), QVariantMap{{QStringLiteral("StepMs"), 30}});
    scenario.insert(QStringLiteral("Operator"), QVariantMap{{QStringLiteral("DownloadSize"), 20000}});
    const QString path = testsupport::writePlist(dir.filePath(QStringLiteral("scenario.plist")), scenario);
    DialController::setTimeScale(0.02);
    if (!launch(path))
      return false;
    NotificationCenter::defaultCenter().addObserver(&owner,
                                                    QStringLiteral("ReadDelayTimeDownlaodUploadValusForSpeedTest"),
                                                    nullptr, [this](const Notification &n) { results << n.userInfo; });
    return testsupport::waitUntil([this] {
      return g_DialController && g_DialController->isConnectBtnEnabled() && !service.currentHmccmnc().isEmpty();
    });
  }
  // Whether the backend serves the operator address (a path's answer can be steered only then).
  bool operatorServed() const {
    const QVariantList r =
        backend->control(QStringLiteral("SetOperatorAnswer"), {QStringLiteral("/unused"), -1, QString(), uint(0)});
    return r.value(0).toBool();
  }
  DialController *dial() const { return g_DialController; }
  QStringList requests() const { return backend->control(QStringLiteral("OperatorRequests")).value(0).toStringList(); }
  int count(const QString &prefix) const {
    int n = 0;
    for (const QString &r : requests())
      if (r.startsWith(prefix))
        ++n;
    return n;
  }
  QString resultRequest() const {
    for (const QString &r : requests())
      if (r.startsWith(QStringLiteral("POST /check/checkspeed.php/")))
        return r;
    return {};
  }
  bool connectAndWaitForResult(int expectedResults) {
    dial()->m_ConnectButton->click();
    if (!testsupport::waitUntil([this] { return dial()->connectStatus() == DialController::kConnected; }))
      return false;
    return testsupport::waitUntil([&] { return results.size() == expectedResults; }, 60000);
  }
  QString log() const {
    QFile f(SpeedTestController::logFilePath());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
  }
  static bool haveIperf() { return !QStandardPaths::findExecutable(QStringLiteral("iperf")).isEmpty(); }
};

// A connect runs the test once: the list, five latency and two download fetches, iperf, and one
// result upload carrying the figures and the reason of the last disconnect; a manual disconnect
// is the reason the next result carries.
TEST_F(SpeedTestRoad, ConnectMeasuresAndUploadsOnce) {
  if (!start())
    GTEST_SKIP() << "no session bus";
  if (!operatorServed())
    GTEST_SKIP() << "the backend serves no operator address";
  ASSERT_TRUE(connectAndWaitForResult(1));
  ASSERT_TRUE(testsupport::waitUntil([this] { return !resultRequest().isEmpty(); }));
  EXPECT_EQ(count(QStringLiteral("GET /throughputtest.txt")), 1);
  EXPECT_EQ(count(QStringLiteral("GET /latency.txt")), 5);
  EXPECT_EQ(count(QStringLiteral("GET /modemdltest.jpg")), 2);
  EXPECT_EQ(count(QStringLiteral("POST /check/checkspeed.php/")), 1);

  const QVariantMap &result = results.first();
  EXPECT_EQ(result.value(QStringLiteral("DisconnectionReason")).toInt(), 1);
  EXPECT_GT(result.value(QStringLiteral("DelayTimeValue")).toFloat(), 0.0f);
  EXPECT_GT(result.value(QStringLiteral("DownloadSpeedValue")).toFloat(), 0.0f);
  EXPECT_EQ(dial()->downLoadData_, 40000.0);
  if (haveIperf())
    EXPECT_GT(dial()->uploadSpeed_, 0.0f);
  else
    EXPECT_EQ(dial()->uploadSpeed_, 0.0f);

  const QString home = service.currentHmccmnc();
  const QString upload = resultRequest();
  EXPECT_TRUE(upload.contains(QStringLiteral("&mnc=%1&mcc=%2&").arg(home.mid(3), home.left(3))))
      << upload.toStdString();
  EXPECT_TRUE(upload.endsWith(QStringLiteral("&disconnectionreason=1"))) << upload.toStdString();
  EXPECT_FALSE(upload.contains(QLatin1Char('?')));
  EXPECT_TRUE(log().contains(QStringLiteral("------------Start Speed Test-------------")));
  EXPECT_TRUE(log().contains(QStringLiteral("Upload Speed: "))) << log().toStdString();

  // A manual disconnect is recorded; the next connect's result carries it.
  dial()->m_ConnectButton->click();
  ASSERT_TRUE(testsupport::waitUntil([this] { return dial()->connectStatus() == DialController::kDisconnected; }));
  EXPECT_EQ(config->getConfigurationByModuleAndKey(QStringLiteral("Internet"), QStringLiteral("DisconnectReason")),
            QVariant(0));
  ASSERT_TRUE(testsupport::waitUntil([this] { return dial()->isConnectBtnEnabled(); }));
  ASSERT_TRUE(connectAndWaitForResult(2));
  EXPECT_EQ(results.last().value(QStringLiteral("DisconnectionReason")).toInt(), 0);
  ASSERT_TRUE(testsupport::waitUntil([this] { return count(QStringLiteral("POST /check/checkspeed.php/")) == 2; }));
  EXPECT_EQ(count(QStringLiteral("GET /throughputtest.txt")), 2);
}

// A latency server that never answers is given up after the time limit: the latency is 0 and the
// result still goes out.
TEST_F(SpeedTestRoad, SilentLatencyServerGivesZero) {
  SpeedTestController::timeouts().latencyMs = 300;
  if (!start())
    GTEST_SKIP() << "no session bus";
  if (!operatorServed())
    GTEST_SKIP() << "the backend serves no operator address";
  backend->control(QStringLiteral("SetOperatorAnswer"),
                   {QStringLiteral("/latency.txt"), 200, QStringLiteral("late"), uint(0x7fffffff)});
  ASSERT_TRUE(connectAndWaitForResult(1));
  EXPECT_EQ(results.first().value(QStringLiteral("DelayTimeValue")).toFloat(), 0.0f);
  EXPECT_EQ(dial()->delayTime_, 0.0);
  EXPECT_GT(dial()->downloadSpeed_, 0.0);
  EXPECT_EQ(log().count(QStringLiteral("Delay Test: ")), 5);
  ASSERT_TRUE(testsupport::waitUntil([this] { return !resultRequest().isEmpty(); }));
  EXPECT_TRUE(resultRequest().contains(QStringLiteral("&lateny=0&")));
}

} // namespace
