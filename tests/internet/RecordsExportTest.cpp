#include "RecordFormats.h"
#include "RecordsFixture.h"

namespace {

RecordFieldFormats plainFormats(const QString &dateText) {
  RecordFieldFormats formats;
  formats.date = [dateText](const QDateTime &) { return dateText; };
  formats.word = [](const QString &key) { return key; };
  return formats;
}

DialRecordList sample() {
  DialRecord a = DialRecord::fromMap(RecordsFixture::record("Plain", "2024-01-10T10:00:00Z", 100000, "1.00", "2048"));
  DialRecord b = DialRecord::fromMap(RecordsFixture::record("Home, office", "2024-01-10T10:00:00Z", 5, "0", "0"));
  DialRecord c = DialRecord::fromMap(RecordsFixture::record("Say \"hi\"", "2024-01-10T10:00:00Z", 3661, "0", "0"));
  DialRecord empty; // every field absent
  return {a, b, c, empty};
}

TEST(RecordsExport, TextHasTwoTabsAfterEveryField) {
  const QStringList lines = recordsAsText(sample(), plainFormats("10 Jan"), false).split('\n');
  ASSERT_EQ(lines.size(), 6);
  EXPECT_EQ(lines[0],
            "Connect Name\t\tStart Time\t\tDisconnect Time\t\tDuration\t\tData Receive\t\tData Transport\t\t");
  EXPECT_EQ(lines[1], "Plain\t\t10 Jan\t\t10 Jan\t\t27:46:40\t\t1.00\t\t2048\t\t");
  EXPECT_EQ(lines[4], "\t\t\t\t\t\t\t\t\t\t\t\t");
  EXPECT_EQ(lines[5], "");
  // With amounts shown as the table shows them.
  EXPECT_EQ(recordsAsText(sample(), plainFormats("d"), true).split('\n')[1],
            "Plain\t\td\t\td\t\t27:46:40\t\t1.00 KB\t\t2.00 MB\t\t");
}

TEST(RecordsExport, CsvQuotesNamesAndDatesThatHoldCommasOrQuotes) {
  struct Case {
    QString dateText;
    int row;
    QString line;
  };
  const Case cases[] = {
      {"10/01/24", 1, "Plain,10/01/24,10/01/24,27:46:40,1.00 KB,2.00 MB,"},
      {"10/01/24", 2, "\"Home, office\",10/01/24,10/01/24,00:00:05,0.00 KB,0.00 KB,"},
      {"10/01/24", 3, "\"Say \"\"hi\"\"\",10/01/24,10/01/24,01:01:01,0.00 KB,0.00 KB,"},
      {"Jan 10, 2024", 1, "Plain,\"Jan 10, 2024\",\"Jan 10, 2024\",27:46:40,1.00 KB,2.00 MB,"},
      {"10/01/24", 4, ",,,,,,"},
  };
  for (const Case &c : cases) {
    const QStringList lines = recordsAsCsv(sample(), plainFormats(c.dateText)).split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], "Connect Name,Start Time,Disconnect Time,Duration,Data Receive,Data Transport,");
    EXPECT_EQ(lines[c.row], c.line);
  }
  EXPECT_EQ(formatWordsForCSV(""), "");
  EXPECT_TRUE(formatWordsForCSV(QString()).isNull());
}

TEST(RecordsExport, NumberFormatsAreFilledNeverInterpreted) {
  struct Case {
    QString pattern;
    QList<double> values;
    QString text;
  };
  const Case cases[] = {
      {"%0.2f KB", {1023.994}, "1023.99 KB"},
      {"%02d:%02d:%02d", {27, 46, 40}, "27:46:40"},
      {"%d%% of %s %n %@", {5}, "5% of %s %n %@"},
      {"%0.2f %0.2f", {1}, "1.00 "},
      {"%5.1f|%-4d|%+d", {2.26, 7, 3}, "  2.3|7   |+3"},
      {"%ld", {-42}, "-42"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(fillNumberPattern(c.pattern, c.values), c.text) << c.pattern.toStdString();
  EXPECT_EQ(durationText(100000), "27:46:40");
  EXPECT_EQ(autoChangeKBDataToMBGBUnit(1023.99), "1023.99 KB");
  EXPECT_EQ(autoChangeKBDataToMBGBUnit(1024), "1.00 MB");
  EXPECT_EQ(autoChangeKBDataToMBGBUnit(1048576), "1.00 GB");
  EXPECT_EQ(formatTransferData(1048575.0), "1024.00 KB");
  EXPECT_EQ(formatTransferData(1048576.0), "1.00 MB");
  EXPECT_EQ(formatTransferData(-1.0), "");
}

} // namespace
