// Versions of the device and the program, the SIM update notice and the diagnostics report.
#include "DiagnosticsWindow.h"
#include "SignalFixture.h"

#include <QDBusArgument>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {
using namespace signaltest;

QList<QPair<QString, QString>> sentMessages(const testsupport::BackendProcess &backend) {
  QList<QPair<QString, QString>> out;
  const QVariantList reply = backend.control(QStringLiteral("SentMessages"));
  if (reply.isEmpty())
    return out;
  const QDBusArgument arg = reply.first().value<QDBusArgument>();
  arg.beginArray();
  while (!arg.atEnd()) {
    QString number, text;
    arg.beginStructure();
    arg >> number >> text;
    arg.endStructure();
    out.append({number, text});
  }
  arg.endArray();
  return out;
}

void writeText(const QString &path, const QByteArray &text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

class DeviceVersions : public NetworkWindowFixture {
protected:
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("SendReportTo"), QStringLiteral("5550100")}};
  }
  void SetUp() override {
    NetworkWindowFixture::SetUp();
    InitController::setSimUpdateDelaysMs(400, 800, 200);
  }
  void TearDown() override {
    InitController::setSimUpdateDelaysMs(4000, 7000, 2000);
    NetworkWindowFixture::TearDown();
  }
  bool simReady() {
    return testsupport::waitUntil([&] {
      return parts.mainController->getNetCardStatus() == MainController::kNetCardSimReady &&
             !init()->getFWVersionWithCGMR().isEmpty() && !init()->deviceModel().isEmpty();
    });
  }
};

TEST_F(DeviceVersions, TheFirmwareReplyIsKeptOnlyWhenItSucceeded) {
  buildOffline();
  init()->dealWithMsgOfCheckFWVERSION(textPackage(7, 45, QByteArray("BD_V1.0.0B03").leftJustified(68, '\0')));
  EXPECT_EQ(init()->getFWVersionWithCGMR(), QStringLiteral("BD_V1.0.0B03"));
  init()->dealWithMsgOfCheckFWVERSION(textPackage(7, 45, QByteArray("OTHER").leftJustified(68, '\0'), 1));
  EXPECT_EQ(init()->getFWVersionWithCGMR(), QStringLiteral("BD_V1.0.0B03"));
  // A text filling its whole field is read within it.
  init()->dealWithMsgOfCheckFWVERSION(textPackage(7, 45, QByteArray(80, 'A')));
  EXPECT_EQ(init()->getFWVersionWithCGMR(), QString(68, QLatin1Char('A')));
}

TEST_F(DeviceVersions, TheDriverVersionComesFromTheKernelsModuleInformation) {
  struct Case {
    const char *name;
    int platform;
    QList<QPair<QString, QByteArray>> files;
    QString expected;
  };
  const QList<Case> cases = {
      {"icera, text with a build note",
       Platform::kPlatformIcera,
       {{"sys/module/cdc_acm/version", "1.2.3, build 7\n"}},
       "1.2.3"},
      {"other, its own driver",
       Platform::kPlatformOther,
       {{"sys/module/option/version", "2.0\n"}, {"sys/module/cdc_acm/version", "9.9"}},
       "2.0"},
      {"other, the second driver", Platform::kPlatformOther, {{"sys/module/cdc_acm/version", "3.1"}}, "3.1"},
      {"in-tree driver: the kernel's release",
       Platform::kPlatformOther,
       {{"proc/sys/kernel/osrelease", "6.1.0-test\n"}},
       "6.1.0-test"},
      {"nothing readable", Platform::kPlatformIcera, {}, ""},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir root;
    for (const auto &[path, text] : c.files)
      writeText(root.filePath(path), text);
    EXPECT_EQ(InitController::dataCardDriverVersion(c.platform, root.path()), c.expected);
  }
}

TEST_F(DeviceVersions, ReportValuesLoseTheirUnitWhateverItsLength) {
  const QList<QPair<QString, QString>> cases = {{"-75 dBm", "-75"}, {"-7 dB", "-7"}, {"-101dBm", "-101"},
                                                {"12", "12"},       {"", "Null"},    {"dBm", "Null"}};
  for (const auto &[in, out] : cases)
    EXPECT_EQ(InitController::reportValueWithoutUnit(in), out) << qPrintable(in);
}

TEST_F(DeviceVersions, TheSimUpdateNoticeShowsChangesAndCloses) {
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(simReady());
  parts.window->show();
  EXPECT_FALSE(init()->isSimUpdateNoticeVisible());
  ASSERT_EQ(backend->control(QStringLiteral("SimUpdate")).value(0).toBool(), true);
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->isSimUpdateNoticeVisible(); }));
  EXPECT_EQ(init()->simUpdateNoticeText(), QStringLiteral("Init_labelSimCardUpdate_CheckSmsPPDownloadBegin"));
  EXPECT_EQ(init()->simCardUpdateSheet()->windowModality(), Qt::WindowModal);
  ASSERT_TRUE(testsupport::waitUntil(
      [&] { return init()->simUpdateNoticeText() == QLatin1String("Init_labelSimCardUpdate_CheckSmsPPDownloadEnd"); }));
  // A second update while the notice is up: the text is not set back, the closing waits again.
  backend->control(QStringLiteral("SimUpdate"));
  QTest::qWait(500);
  EXPECT_TRUE(init()->isSimUpdateNoticeVisible());
  EXPECT_EQ(init()->simUpdateNoticeText(), QStringLiteral("Init_labelSimCardUpdate_CheckSmsPPDownloadEnd"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return !init()->isSimUpdateNoticeVisible(); }));
}

TEST_F(DeviceVersions, TheNoticeOpensOnTheInnermostSheet) {
  buildOffline();
  parts.window->show();
  QDialog outer(parts.window);
  outer.setWindowModality(Qt::WindowModal);
  outer.show();
  init()->dealWithMsgOfCheckSmsPPDownload(textPackage(7, 35, {}));
  EXPECT_TRUE(init()->isSimUpdateNoticeVisible());
  EXPECT_EQ(init()->simCardUpdateSheet()->parentWidget(), &outer);
  init()->closeSimcardUpdateWnd();
  // A reply of another type does not count.
  init()->dealWithMsgOfCheckSmsPPDownload(textPackage(7, 35, {}, 0, false, 0));
  EXPECT_FALSE(init()->isSimUpdateNoticeVisible());
}

TEST_F(DeviceVersions, TheReportGoesOutWithItsEightValuesAndItsFlagClears) {
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(simReady());
  init()->sendReport(nullptr);
  ASSERT_TRUE(testsupport::waitUntil([&] { return !sentMessages(*backend).isEmpty(); }));
  const auto sent = sentMessages(*backend);
  ASSERT_EQ(sent.size(), 1);
  EXPECT_EQ(sent.first().first, QStringLiteral("5550100"));
  const QStringList values = sent.first().second.split(QStringLiteral(", "));
  ASSERT_EQ(values.size(), 8) << qPrintable(sent.first().second);
  EXPECT_EQ(values.at(5), QStringLiteral("Detached"));
  EXPECT_EQ(values.at(7), QStringLiteral("QEL QEL-E100"));
  for (int i : {2, 3, 4})
    EXPECT_FALSE(values.at(i).contains(QStringLiteral("dB"))) << qPrintable(values.at(i));
  // The result clears the flag.
  ASSERT_TRUE(testsupport::waitUntil([&] { return !init()->reportSendFlag(); }));

  // So does the device's removal while a report is on its way.
  init()->setReportSendFlag(true);
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return !init()->reportSendFlag(); }));
}

TEST_F(DeviceVersions, AReportTheMessageRoadDoesNotTakeLeavesNoFlag) {
  buildOffline(); // no message centre: the request cannot go
  init()->sendReport(nullptr);
  EXPECT_FALSE(init()->reportSendFlag());
  // Without a recipient nothing is tried.
  init()->settingDict().remove(QStringLiteral("SendReportTo"));
  init()->sendReport(nullptr);
  EXPECT_FALSE(init()->reportSendFlag());
}

} // namespace
