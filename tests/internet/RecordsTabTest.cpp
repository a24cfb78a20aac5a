#include "NSTableViewExt.h"
#include "RecordViews.h"
#include "RecordsFixture.h"

#include <QApplication>
#include <QDateEdit>
#include <QFileDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

using RecordsTab = RecordsFixture;

TEST_F(RecordsTab, AMissingFileShowsAnEmptyTableWithZeroTotals) {
  start();
  EXPECT_TRUE(records->recordList().isEmpty());
  EXPECT_EQ(tab->table->model()->rowCount(), 0);
  EXPECT_EQ(tab->table->model()->columnCount(), 6);
  EXPECT_EQ(records->totalDataText(), "0.00 KB");
  EXPECT_EQ(records->totalTimeText(), "00:00:00");
  EXPECT_FALSE(records->isResetEnabled());
  EXPECT_FALSE(tab->btnDelete->isEnabled());
  EXPECT_FALSE(tab->btnSave->isEnabled());
  // The last reset time is set at the first start.
  EXPECT_TRUE(config->getConfigurationByModuleAndKey("Record", "recordLastResetTime").toDateTime().isValid());
  EXPECT_EQ(records->getTotalData(), 0.0f);
  EXPECT_EQ(records->gettotalTime(), 0);
}

TEST_F(RecordsTab, ShowsTheFileWithTotalsAndAppendsFinishedConnections) {
  writeRecords({record("Home, office", "2024-03-15T08:00:00Z", 100000, "1023.99", "0.01"),
                record("Mobile", "2024-03-14T08:00:00Z", 61, "2048", "1024")});
  start();
  ASSERT_EQ(tab->table->model()->rowCount(), 2);
  auto cell = [&](int row, int column) { return tab->table->model()->index(row, column).data().toString(); };
  EXPECT_EQ(cell(0, 0), "Home, office");
  EXPECT_EQ(cell(0, 3), "27:46:40");
  EXPECT_EQ(cell(0, 4), "1023.99 KB");
  EXPECT_EQ(cell(1, 4), "2.00 MB");
  EXPECT_EQ(cell(1, 5), "1.00 MB");
  EXPECT_EQ(records->totalDataText(), "4096.00 KB");
  EXPECT_EQ(records->totalTimeText(), "27:47:41");
  EXPECT_TRUE(records->isResetEnabled());
  EXPECT_FLOAT_EQ(records->getTotalData(), 4096.0f);

  // The connection road appends; the table and the totals follow.
  ASSERT_TRUE(records->appendRecord(record("Third", "2024-03-15T09:00:00Z", 9, "1", "1")));
  EXPECT_EQ(tab->table->model()->rowCount(), 3);
  EXPECT_EQ(records->gettotalTime(), 100000 + 61 + 9);
  EXPECT_EQ(readList(recordPath()).size(), 3);
  EXPECT_EQ(readList(recordPath()).last().toMap().value("localaddr").toString(), "10.0.0.2");

  // Today's, this month's and this year's sums (today is 15 March in Berlin).
  float receive = 0, send = 0;
  quint64 time = 0;
  records->getDayRecordReceive(&receive, &send, &time);
  EXPECT_FLOAT_EQ(receive, 1024.99f);
  EXPECT_EQ(time, 100009u);
  records->getMonthRecordReceive(&receive, &send, &time);
  EXPECT_FLOAT_EQ(send, 1025.01f);
  EXPECT_EQ(time, 100070u);
}

TEST_F(RecordsTab, UnreadableRecordsAreKeptAsideWhenTheFirstRecordArrives) {
  {
    QFile f(recordPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a property list");
  }
  start();
  EXPECT_TRUE(records->recordList().isEmpty());
  EXPECT_EQ(records->totalDataText(), "0.00 KB");
  ASSERT_TRUE(records->appendRecord(record("new", "2024-03-15T08:00:00Z", 5, "1", "1")));
  const QStringList aside = QDir(modemList()).entryList({"dialRecordData.plist.unreadable-*"});
  ASSERT_EQ(aside.size(), 1);
  QFile kept(QDir(modemList()).filePath(aside[0]));
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), QByteArray("not a property list"));
  EXPECT_EQ(readList(recordPath()).size(), 1);
}

TEST_F(RecordsTab, APeriodIncludesItsFirstAndLastSecond) {
  // Berlin is UTC+1 in January.
  writeRecords({record("before", "2024-01-09T22:59:59Z", 1, "1", "0"),  // 9 Jan 23:59:59
                record("first", "2024-01-09T23:00:00Z", 2, "2", "0"),   // 10 Jan 00:00:00
                record("last", "2024-01-11T22:59:59Z", 4, "4", "0"),    // 11 Jan 23:59:59
                record("after", "2024-01-11T23:00:00Z", 8, "8", "0")}); // 12 Jan 00:00:00
  start();
  records->setPeriodDates(QDate(2024, 1, 10), QDate(2024, 1, 11));
  records->Show();
  EXPECT_TRUE(records->isShowingPeriodRecord());
  EXPECT_EQ(names(records->recordList()), QStringList({"first", "last"}));
  EXPECT_EQ(records->totalDataText(), "6.00 KB");
  EXPECT_EQ(records->periodText(), "Statistics for period from 2024-01-10 00:00:00 to 2024-01-11 23:59:59");
  QStringList inBackFile;
  for (const QVariant &v : readList(backPath()))
    inBackFile << v.toMap().value("connectname").toString();
  EXPECT_EQ(inBackFile, QStringList({"first", "last"}));

  // A one-day period.
  records->setPeriodDates(QDate(2024, 1, 12), QDate(2024, 1, 12));
  records->Show();
  EXPECT_EQ(names(records->recordList()), QStringList({"after"}));

  // A refresh in the period view keeps the period.
  records->updateInterface();
  EXPECT_EQ(names(records->recordList()), QStringList({"after"}));
}

TEST_F(RecordsTab, AnEndBeforeTheStartIsAWrongPeriodAndShowsEverything) {
  writeRecords({record("a", "2024-01-10T10:00:00Z", 1, "1", "0"), record("b", "2024-02-10T10:00:00Z", 1, "1", "0")});
  start();
  ScriptedAnswers answers;
  records->setPeriodDates(QDate(2024, 2, 1), QDate(2024, 1, 31));
  records->Show();
  ASSERT_EQ(answers.asked().size(), 1);
  EXPECT_EQ(answers.asked()[0].title, "Warning");
  EXPECT_EQ(answers.asked()[0].message, "You selected a wrong period");
  EXPECT_EQ(names(records->recordList()), QStringList({"a", "b"}));
  EXPECT_FALSE(QFile::exists(backPath()));
}

TEST_F(RecordsTab, DeletingInThePeriodViewTouchesBothFilesAndNothingElse) {
  writeRecords({record("old", "2024-01-01T10:00:00Z", 1, "1", "0"), record("in1", "2024-02-10T10:00:00Z", 2, "2", "0"),
                record("in2", "2024-02-11T10:00:00Z", 4, "4", "0"),
                record("new", "2024-03-01T10:00:00Z", 8, "8", "0")});
  start();
  records->setPeriodDates(QDate(2024, 2, 1), QDate(2024, 2, 28));
  records->Show();
  ASSERT_EQ(names(records->recordList()), QStringList({"in1", "in2"}));

  // Cancel changes nothing.
  records->selectRows({0});
  EXPECT_TRUE(tab->btnDelete->isEnabled());
  {
    ScriptedAnswers cancel({ModalQuestions::kAlternateAnswer});
    records->deleteRecord();
    EXPECT_EQ(cancel.asked().value(0).message, "Are you sure to delete the selected record(s)?");
  }
  EXPECT_EQ(readList(recordPath()).size(), 4);

  records->selectRows({0});
  ScriptedAnswers ok;
  records->deleteRecord();
  EXPECT_EQ(names(records->recordList()), QStringList({"in2"}));
  QStringList inFile;
  for (const QVariant &v : readList(recordPath()))
    inFile << v.toMap().value("connectname").toString();
  EXPECT_EQ(inFile, QStringList({"old", "in2", "new"}));
  const QVariantList back = readList(backPath());
  ASSERT_EQ(back.size(), 1);
  EXPECT_EQ(back[0].toMap().value("connectname").toString(), "in2");
  EXPECT_EQ(records->gettotalTime(), 1 + 4 + 8);
  EXPECT_FALSE(tab->btnDelete->isEnabled()); // deselected
}

TEST_F(RecordsTab, DeleteAllAsksThenEmptiesBothFilesAndStoresTheResetTime) {
  writeRecords({record("a", "2024-01-10T10:00:00Z", 1, "1", "0")});
  config->getConfiguration().insert("Record", QVariantMap{{"recordLastResetTime", utc("2020-01-01T00:00:00Z")}});
  start();
  {
    ScriptedAnswers cancel({ModalQuestions::kAlternateAnswer});
    records->resetRecord();
    EXPECT_EQ(cancel.asked().value(0).title, "Warning!");
  }
  EXPECT_EQ(readList(recordPath()).size(), 1);
  ScriptedAnswers ok;
  records->resetRecord();
  EXPECT_TRUE(records->recordList().isEmpty());
  EXPECT_TRUE(readList(recordPath()).isEmpty());
  EXPECT_TRUE(QFile::exists(backPath()));
  EXPECT_FALSE(records->isResetEnabled());
  EXPECT_GT(config->getConfigurationByModuleAndKey("Record", "recordLastResetTime").toDateTime(),
            utc("2024-01-01T00:00:00Z"));

  // The data-usage reset clears without asking.
  records->appendRecord(record("b", "2024-01-11T10:00:00Z", 1, "1", "0"));
  NotificationCenter::defaultCenter().postNotificationName("btnDatausageRestCliked");
  EXPECT_TRUE(readList(recordPath()).isEmpty());
  EXPECT_EQ(ok.asked().size(), 1);
}

TEST_F(RecordsTab, SwitchingTheCountingModeAsksAndClearsOnlyOnOK) {
  writeRecords({record("a", "2024-01-10T10:00:00Z", 1, "1", "0")});
  start();
  EXPECT_TRUE(tab->radioContinuous->isChecked());
  {
    ScriptedAnswers cancel({ModalQuestions::kAlternateAnswer});
    records->selectIncrease15MinBtn();
    EXPECT_EQ(cancel.asked().value(0).message, "The Connection History will be cancelled, do you want to continue?");
  }
  EXPECT_TRUE(tab->radioContinuous->isChecked());
  EXPECT_FALSE(tab->radio15Min->isChecked());
  EXPECT_EQ(readList(recordPath()).size(), 1);
  EXPECT_FALSE(config->getConfigurationByModuleAndKey("Record", "connectTimeincreaseState").toBool());

  ScriptedAnswers ok;
  records->selectContinuousBtn(); // the mode already stored: no question
  EXPECT_TRUE(ok.asked().isEmpty());
  records->selectIncrease15MinBtn();
  EXPECT_EQ(ok.asked().size(), 1);
  EXPECT_TRUE(tab->radio15Min->isChecked());
  EXPECT_TRUE(readList(recordPath()).isEmpty());
  EXPECT_TRUE(config->getConfigurationByModuleAndKey("Record", "connectTimeincreaseState").toBool());
  // And it is in the file.
  ConfigManager::Locations loc;
  loc.candidates = {modemList()};
  ConfigManager reread(loc);
  EXPECT_TRUE(reread.getConfigurationByModuleAndKey("Record", "connectTimeincreaseState").toBool());
}

TEST_F(RecordsTab, SavesTheShownRecordsThroughTheSavePanel) {
  writeRecords({record("Home, \"office\"", "2024-01-10T10:00:00Z", 100000, "1.00", "2048.00")});
  config->getConfiguration().insert("Internet", QVariantMap{{"SaveRecordFileType", "csv"}});
  start();
  records->selectRows({0});
  const QString target = root.filePath("export");
  ScriptedAnswers answers([&](const ModalQuestion &q) {
    if (q.kind != "saveRecordPanel")
      return 0;
    for (QWidget *w : QApplication::allWidgets())
      if (auto *panel = qobject_cast<QFileDialog *>(w); panel && panel->objectName() == "saveRecordPanel")
        panel->selectFile(target); // the panel adds the required type
    return int(QDialog::Accepted);
  });
  records->saveRecord();
  ASSERT_EQ(answers.asked().size(), 1);
  QFile csv(target + ".csv");
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n');
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "Connect Name,Start Time,Disconnect Time,Duration,Data Receive,Data Transport,");
  EXPECT_TRUE(lines[1].startsWith("\"Home, \"\"office\"\"\",")) << lines[1].toStdString();
  EXPECT_TRUE(lines[1].endsWith(",27:46:40,1.00 KB,2.00 MB,")) << lines[1].toStdString();
  EXPECT_EQ(lines[2], "");

  // A declined panel writes nothing.
  ScriptedAnswers decline(QList<int>{0});
  QFile::remove(target + ".csv");
  records->saveRecord();
  EXPECT_FALSE(QFile::exists(target + ".csv"));
}

TEST_F(RecordsTab, APerSimFileAndBackOnDeviceRemoval) {
  writeRecords({record("shared", "2024-01-10T10:00:00Z", 1, "1", "0")});
  writeRecords({record("sim", "2024-01-10T10:00:00Z", 1, "1", "0")},
               QDir(modemList()).filePath("262011234567890_dialRecordData.plist"));
  config->getConfiguration().insert("PCDataWithIMSI", true);
  start();
  records->loadRecordList("262011234567890_dialRecordData.plist");
  EXPECT_EQ(names(records->recordList()), QStringList({"sim"}));
  EXPECT_TRUE(records->getDialRecordFilePathWithFileName().endsWith("262011234567890_dialRecordData.plist"));
  records->loadRecordList(QString()); // ignored
  EXPECT_EQ(names(records->recordList()), QStringList({"sim"}));
  NotificationCenter::defaultCenter().postNotificationName("DeviceRemoved");
  EXPECT_EQ(names(records->recordList()), QStringList({"shared"}));
  // A name never leads out of the folder.
  EXPECT_TRUE(records->getDialRecordFilePathWithFileName("../x.plist").isEmpty());
}

} // namespace

namespace {

// The limit checks refresh ten times a second: a refresh that changes nothing keeps the view.
TEST_F(RecordsTab, ARefreshWithoutChangesKeepsTheSelection) {
  writeRecords({record("a", "2024-01-10T10:00:00Z", 1, "1", "0"), record("b", "2024-01-11T10:00:00Z", 1, "1", "0")});
  start();
  records->selectRows({1});
  for (int i = 0; i < 3; ++i)
    records->updateInterface();
  EXPECT_TRUE(tab->btnDelete->isEnabled());
  records->setPeriodDates(QDate(2024, 1, 1), QDate(2024, 1, 31));
  records->Show();
  records->selectRows({0});
  records->updateInterface();
  EXPECT_TRUE(tab->btnDelete->isEnabled());
  // A new record changes the view.
  records->appendRecord(record("c", "2024-01-12T10:00:00Z", 1, "1", "0"));
  EXPECT_EQ(names(records->recordList()), QStringList({"a", "b", "c"}));
}

} // namespace

namespace {

// The pages as the main window builds them: the way to the statistics and back.
TEST_F(RecordsTab, GoesToTheStatisticsPageAndBack) {
  writeRecords({record("a", "2024-01-10T10:00:00Z", 1, "1", "0")});
  QTabWidget tabs;
  QObject owner;
  RecordViews views = RecordViews::build(&tabs, &owner);
  for (QELUIController *c : views.controllers()) {
    c->tabviewMain = &tabs;
    c->awakeFromNib();
  }
  ASSERT_EQ(tabs.count(), 2);
  EXPECT_EQ(g_DialRecordController, views.records);
  EXPECT_EQ(statisticForm, views.statistics);
  EXPECT_EQ(transferForm, views.transfer);
  EXPECT_EQ(views.records->recordList().size(), 1);

  config->getConfiguration().insert("Provider", QVariantMap{{"MRDW_Statistics", true}});
  ScriptedAnswers answers;
  views.records->goToStatistics();
  EXPECT_EQ(tabs.currentWidget(), views.statisticsPage);
  ASSERT_EQ(answers.asked().size(), 1);
  EXPECT_EQ(answers.asked()[0].message,
            "Data usage is approximate only, please contact your operator for actual usage.");
  views.statisticsPage->btnGoBack->click();
  EXPECT_EQ(tabs.currentWidget(), views.recordsPage);
}

} // namespace
