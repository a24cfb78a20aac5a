// The diagnostics window: what it shows in each device state, its export, the logs and the
// signal-detail window.
#include "DiagnosticsWindow.h"
#include "InitController.h"
#include "KLog.h"
#include "MainWindowFixture.h"
#include "QELUIController.h"

#include <QFile>
#include <QTabBar>
#include <QTest>
#include <QUrl>

namespace {

class DiagnosticsWindowTest : public ModemWindowFixture {
protected:
  QList<QUrl> opened;

  void SetUp() override {
    ModemWindowFixture::SetUp();
    QELUIController::setUrlOpener([this](const QUrl &url) {
      opened << url;
      return true;
    });
  }
  void TearDown() override {
    QELUIController::setUrlOpener({});
    ModemWindowFixture::TearDown();
  }

  // The rows that show a value, by label.
  QStringList filledRows() const {
    QStringList rows;
    for (const auto &[label, value] : init()->diagWindow()->labelValuePairs())
      if (!value.isEmpty())
        rows << label;
    return rows;
  }
  QString value(const char *row) const { return init()->diagValue(QLatin1String(row)); }
  int imsiRequests() const {
    int n = 0;
    for (const QByteArray &bytes : backend->received()) {
      UIMsg msg;
      if (UIMsg::decode(bytes, &msg) && msg.majorId == 7 && msg.minorId == 43)
        ++n;
    }
    return n;
  }
  bool simReady() {
    return testsupport::waitUntil([&] {
      return main() && main()->getNetCardStatus() == MainController::kNetCardSimReady &&
             !init()->imsiOfSim().isEmpty() && !init()->getFWVersionWithCGMR().isEmpty() && init()->hasCSDomain();
    });
  }
  MainController *main() const { return parts.mainController; }
};

TEST_F(DiagnosticsWindowTest, WithoutADeviceOnlyTheComputerRowsAreFilled) {
  buildOffline();
  init()->showDiagnosticInfo();
  const QStringList expected = {
      "Software version number:", "Driver version number:", "Computer model:", "OS version:", "OS language:",
      "Manufacturer name:",       "Manufacturer homepage:"};
  for (const QString &row : filledRows())
    EXPECT_TRUE(expected.contains(row)) << qPrintable(row);
  EXPECT_TRUE(filledRows().contains(QStringLiteral("OS version:")));
  EXPECT_TRUE(filledRows().contains(QStringLiteral("Manufacturer name:")));
  // Every key is recorded for the plug-ins, filled or not.
  const QVariantMap dict = init()->diagWindowInfo();
  for (const char *key : {"IMEI", "DIDOROIMEI", "FirmwareVersion", "ApnName", "MessageCenterNumber", "CellID"})
    EXPECT_TRUE(dict.contains(QLatin1String(key))) << key;
}

TEST_F(DiagnosticsWindowTest, AReadySimFillsTheDeviceSimAndNetworkRows) {
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(simReady());
  init()->showDiagInfo();
  struct Row {
    const char *label;
    const char *expected;
  };
  const Row rows[] = {
      {"IMEI number:", "350000000000001"},
      {"IMSI number:", "001010123456789"},
      {"Firmware version:", "11.001.01.00.00"},
      {"Hardware version:", "CH1SIMA"},
      {"Device name:", "QEL-E100"},
      {"Device serial number:", "SN0000000000001"},
      {"CS network registration:", "Registration"},
      {"PS network attachment:", "Detached"},
  };
  for (const Row &r : rows)
    EXPECT_EQ(value(r.label), QLatin1String(r.expected)) << r.label;
  EXPECT_TRUE(value("Messages in (U)SIM:").contains(QLatin1Char('/')));
  EXPECT_TRUE(value("Contacts in (U)SIM:").contains(QLatin1Char('/')));
  EXPECT_FALSE(value("PIN code status:").isEmpty());
  EXPECT_FALSE(value("Network name:").isEmpty());
  EXPECT_EQ(init()->diagWindowInfo().value(QStringLiteral("DIDOROIMEI")).toString(), QStringLiteral("350000000000001"));
  EXPECT_EQ(init()->diagWindowInfo().value(QStringLiteral("FirmwareVersion")).toString(),
            QStringLiteral("11.001.01.00.00"));

  // A plug-in asking gets the same values.
  QVariantMap got;
  NotificationCenter::defaultCenter().addObserver(&owner, QStringLiteral("diagInfo"), nullptr,
                                                  [&](const Notification &n) { got = n.userInfo; });
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("prepareDiagInfo"));
  EXPECT_EQ(got.value(QStringLiteral("IMEI")).toString(), QStringLiteral("350000000000001"));
}

TEST_F(DiagnosticsWindowTest, TheImsiRowAsksTheDeviceOnlyWithTheSwitchAndNeverLoops) {
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(simReady());
  // Switch off: the fill shows the IMSI known and asks nothing.
  const int before = imsiRequests();
  init()->showDiagnosticInfo();
  EXPECT_EQ(value("IMSI number:"), QStringLiteral("001010123456789"));
  init()->diagWindow()->valueField(QStringLiteral("IMSI number:"))->clear();

  // Switch on: the fill asks once, and the reply fills the row without asking again.
  setSwitch(QStringLiteral("Setting"), QStringLiteral("CheckIMSIForDiag"), true);
  init()->showDiagnosticInfo();
  EXPECT_TRUE(value("IMSI number:").isEmpty());
  ASSERT_TRUE(testsupport::waitUntil([&] { return value("IMSI number:") == QLatin1String("001010123456789"); }));
  QTest::qWait(200);
  EXPECT_EQ(imsiRequests(), before + 1);
}

// The card's and the network's codes have rows of their own, and an open window shows an IMSI
// reply at once instead of an empty row until Refresh.
TEST_F(DiagnosticsWindowTest, TheCodesShowAndAnOpenWindowTakesTheImsiReply) {
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(simReady());
  ASSERT_TRUE(testsupport::waitUntil([&] { return !init()->mccmnc().isEmpty(); }));
  init()->showDiagInfo();
  EXPECT_EQ(value("MCC:"), QStringLiteral("001"));
  EXPECT_EQ(value("MNC:"), QStringLiteral("01"));
  EXPECT_EQ(value("ICCID:"), QStringLiteral("89860012345678901234"));
  // The device goes and comes back while the window stays open: its first IMSI reply fills the
  // row without a Refresh.
  backend->control(QStringLiteral("Unplug"));
  ASSERT_TRUE(testsupport::waitUntil([&] { return main()->getNetCardStatus() != MainController::kNetCardSimReady; }));
  init()->diagWindow()->valueField(QStringLiteral("IMSI number:"))->clear();
  backend->control(QStringLiteral("Plug"));
  ASSERT_TRUE(simReady());
  EXPECT_TRUE(testsupport::waitUntil([&] { return value("IMSI number:") == QLatin1String("001010123456789"); }));
  init()->closeDiagWindow(nullptr);
}

TEST_F(DiagnosticsWindowTest, ACdmaDeviceKeepsOnlyItsRows) {
  buildOffline();
  init()->initWithCDMA();
  DiagnosticsWindow *w = init()->diagWindow();
  EXPECT_TRUE(w->isCdmaLayout());
  EXPECT_TRUE(w->diagSegmentedTable_->isHidden());
  QStringList labels;
  for (const auto &pair : w->labelValuePairs())
    labels << pair.first;
  EXPECT_EQ(labels, QStringList({"Hardware version:", "Device name:", "Software version number:", "Network name:",
                                 "Signal strength:", "RSSI:"}));
}

TEST_F(DiagnosticsWindowTest, TheExportKeepsTheWindowOrderHeadingsAndEmptyValues) {
  const QList<QPair<QString, QString>> pairs = {{QStringLiteral("Hardware Information:"), QString()},
                                                {QStringLiteral("IMEI number:"), QStringLiteral("350000000000001")},
                                                {QStringLiteral("Phone number:"), QStringLiteral("")},
                                                {QString(), QStringLiteral("skipped")},
                                                {QStringLiteral("Phone number:"), QStringLiteral("twice")},
                                                {QStringLiteral("Network Settings:"), QString()},
                                                {QStringLiteral("APN:"), QStringLiteral("internet")}};
  const QByteArray expected = "Hardware Information:     \n"
                              "        IMEI number:     350000000000001\n"
                              "        Phone number:     \n"
                              "        Phone number:     twice\n"
                              "Network Settings:     \n"
                              "        APN:     internet\n";
  EXPECT_EQ(InitController::diagnosticsExportText(
                pairs, {QStringLiteral("Hardware Information:"), QStringLiteral("Network Settings:")}),
            expected);
}

TEST_F(DiagnosticsWindowTest, OpenWritesTheFileAndHandsItToTheEditor) {
  buildOffline();
  init()->showDiagnosticInfo();
  init()->diagWindow()->open->click();
  const QString path = config->configFilePathOfKey(kCMDiagInfoFile);
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened.first(), QUrl::fromLocalFile(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  EXPECT_EQ(lines.value(0), QByteArray("Hardware Information:     "));
  EXPECT_EQ(lines.value(1), QByteArray("        IMEI number:     "));
  EXPECT_TRUE(lines.value(11).startsWith("Mac OS Information:")) << lines.value(11).constData();
}

TEST_F(DiagnosticsWindowTest, LogsOpenFromTheLogsOwnFolderAndAboutOpensItsPage) {
  buildOffline();
  QTemporaryDir logs;
  KLog *previous = KLog::sharedLog();
  auto *log = new KLog(logs.path()); // creates at_write.log and at_read.log
  KLog::setSharedLog(log);
  init()->showLogs(nullptr);
  KLog::setSharedLog(previous);
  delete log;
  // The modem's own logs do not exist here and are skipped.
  EXPECT_EQ(opened, QList<QUrl>({QUrl::fromLocalFile(logs.filePath(QStringLiteral("at_read.log"))),
                                 QUrl::fromLocalFile(logs.filePath(QStringLiteral("at_write.log")))}));
  opened.clear();
  init()->openAboutURL(nullptr);
  // Without a wording the key itself is no address, so nothing opens.
  EXPECT_TRUE(opened.isEmpty());
}

TEST_F(DiagnosticsWindowTest, TheSignalDetailWindowShowsTheCellOfTheLastReport) {
  if (!launch(QStringLiteral("sim-ready")))
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(simReady());
  backend->control(QStringLiteral("SetCell"), {QStringLiteral("1A2B"), QStringLiteral("00C3")});
  ASSERT_TRUE(testsupport::waitUntil([&] { return init()->servingCellText() == QLatin1String("195"); }));
  init()->openRssiLacCiWindow(nullptr);
  SignalDetailWindow *w = init()->rssiLacCiWindow();
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->cellValue->text(), QStringLiteral("195"));
  EXPECT_EQ(w->lacValue->text(), QString::number(0x1A2B));
  w->ok->click();
  EXPECT_FALSE(w->isVisible());
}

} // namespace
