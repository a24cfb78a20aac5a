// The connection figures: status record layouts, units and their edges, the speed meter.
#include "ConnectFigures.h"
#include "DataSessionLayout.h"

#include <gtest/gtest.h>

namespace {
using namespace ConnectFigures;

Units with(void (*set)(Units &)) {
  Units u;
  set(u);
  return u;
}

TEST(ConnectFiguresFormats, DataUnitsAndTheirEdges) {
  const Units plain;
  const Units mb = with([](Units &u) { u.dataWithMB = true; });
  const Units bits = with([](Units &u) { u.dataInBits = true; });
  const struct {
    const char *name;
    double bytes;
    Units units;
    const char *text;
  } cases[] = {
      {"zero", 0, plain, "0.00 KB"},
      {"k just below 1024", 1048575, plain, "1024.00 KB"},
      {"1 MB", 1048576, plain, "1.00 MB"},
      {"just below 1 GB", 1073741823, plain, "1024.00 MB"},
      {"1 GB switches to the third format", 1073741824, plain, "1.00 GB"},
      {"negative gives nothing", -1, plain, ""},
      {"megabytes without a unit", 1048576, mb, "1.00"},
      {"megabytes of a small count", 5242, mb, "0.00"},
      {"bits", 1024, bits, "8.00 Kb"},
      {"bits reach Mb at 128 KB", 131072, bits, "1.00 Mb"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(formatData(c.bytes, c.units), QString::fromLatin1(c.text)) << c.name;
}

TEST(ConnectFiguresFormats, SpeedUnits) {
  const Units plain;
  const Units kbit = with([](Units &u) { u.speedKBit = true; });
  const Units rate = with([](Units &u) { u.rateKbps = true; });
  const Units onlyKbit = with([](Units &u) { u.speedOnlyKBit = true; });
  const Units both = with([](Units &u) {
    u.speedKBit = true;
    u.speedOnlyKBit = true;
  });
  const struct {
    const char *name;
    double rate;
    Units units;
    const char *text;
  } cases[] = {
      {"bytes", 2048, plain, "2.00 KB/s"},
      {"bytes reach MB/s", 1048576, plain, "1.00 MB/s"},
      {"bits by the Internet key", 128, kbit, "1.00 Kb/s"},
      {"bits by the record key", 131072, rate, "1.00 Mb/s"},
      {"only kilobits stay kilobits", 1048576, onlyKbit, "8192.00 Kbit/s"},
      {"the Kb/s unit wins over Kbit/s", 128, both, "1.00 Kb/s"},
      {"negative gives nothing", -5, plain, ""},
  };
  for (const auto &c : cases)
    EXPECT_EQ(formatSpeed(c.rate, c.units), QString::fromLatin1(c.text)) << c.name;
  EXPECT_EQ(kbpsText(1024), "8.00 Kbps");
  EXPECT_DOUBLE_EQ(graphPoint(1024, plain), 1.0);
  EXPECT_DOUBLE_EQ(graphPoint(1024, onlyKbit), 8.0);
  EXPECT_DOUBLE_EQ(graphPoint(1024, rate), 1.0); // the record's unit leaves the graph in KB
}

TEST(ConnectFiguresFormats, ConnectTimeByQuarterHours) {
  const struct {
    qint64 seconds;
    bool quarters;
    qint64 counted;
  } cases[] = {{0, true, 900}, {899, true, 900},  {900, true, 1800}, {3599, true, 3600},
               {0, false, 0},  {900, false, 900}, {-5, false, 0},    {100000, false, 100000}};
  for (const auto &c : cases)
    EXPECT_EQ(countedConnectTime(c.seconds, c.quarters), c.counted) << c.seconds << " " << c.quarters;
}

TEST(ConnectFiguresFormats, StatisticsAndIdleTexts) {
  const QVariantMap s = statistics(3661, 2048, 1048576, 1024, 0, Units{});
  EXPECT_EQ(s.value("ConnectTime").toString(), "01:01:01");
  EXPECT_EQ(s.value("UploadData").toString(), "2.00 KB");
  EXPECT_EQ(s.value("DowloadData").toString(), "1.00 MB");
  EXPECT_EQ(s.value("UploadDataUnitWithKB").toString(), "2.000000");
  EXPECT_EQ(s.value("UploadSpeed").toString(), "1.00 KB/s");
  EXPECT_EQ(s.value("DowloadSpeed").toString(), "0.00 KB/s");
  EXPECT_EQ(recordKB(1536), "1.50");
  EXPECT_EQ(idleDataText(Units{}), "_____");
  EXPECT_EQ(idleSpeedText(with([](Units &u) { u.initDataWithKB = true; })), "0.00 KBPS");
}

TEST(ConnectFiguresSpeed, EveryTenthReportAndNeverNegative) {
  SpeedMeter meter;
  for (int i = 1; i <= 9; ++i)
    EXPECT_FALSE(meter.report(i * 100, i * 400)) << i;
  ASSERT_TRUE(meter.report(1000, 4000));
  EXPECT_DOUBLE_EQ(meter.sendSpeed(), 1000);
  EXPECT_DOUBLE_EQ(meter.receiveSpeed(), 4000);
  for (int i = 1; i <= 9; ++i)
    meter.report(0, 0);
  ASSERT_TRUE(meter.report(500, 5000)); // the send count went down
  EXPECT_DOUBLE_EQ(meter.sendSpeed(), 0);
  EXPECT_DOUBLE_EQ(meter.receiveSpeed(), 1000);
}

TEST(ConnectFiguresRecords, TheThreeLayoutsReadFieldByField) {
  using namespace DataSessionLayout;
  Status s;
  s.address = QStringLiteral("10.1.2.3");
  s.sent = 1500;
  s.received = 70000;
  s.connectTime = 61;
  s.pppState = kPppConnected;
  s.upSpeed = 12;
  s.downSpeed = 34;

  Status r;
  ASSERT_TRUE(readPppStatus(pppStatus(s), &r));
  EXPECT_EQ(r.address, "10.1.2.3");
  EXPECT_EQ(r.sent, 1500);
  EXPECT_EQ(r.received, 70000);
  EXPECT_EQ(r.connectTime, 61);
  EXPECT_EQ(r.pppState, 8);

  Status old;
  ASSERT_TRUE(readOldPppStatus(oldPppStatus(s), &old));
  EXPECT_EQ(old.address, ""); // the old layout has no address
  EXPECT_EQ(old.sent, 1500);
  EXPECT_EQ(old.received, 70000);
  EXPECT_EQ(old.connectTime, 61);
  EXPECT_EQ(old.pppState, 8);
  // Counts beyond the signed range stay unsigned.
  QByteArray big = oldPppStatus(s);
  qToLittleEndian<quint32>(0xFFFFFFF0u, big.data() + 24);
  ASSERT_TRUE(readOldPppStatus(big, &old));
  EXPECT_GT(old.sent, 4.0e9f);

  Status n;
  ASSERT_TRUE(readNdisTransfer(ndisTransfer(s), &n));
  EXPECT_EQ(n.upSpeed, 12);
  EXPECT_EQ(n.downSpeed, 34);
  EXPECT_EQ(n.address, "10.1.2.3");

  // Short records, and an NDIS record of another length, read nothing.
  Status untouched;
  EXPECT_FALSE(readPppStatus(pppStatus(s).left(163), &untouched));
  EXPECT_FALSE(readOldPppStatus(oldPppStatus(s).left(35), &untouched));
  EXPECT_FALSE(readNdisTransfer(ndisTransfer(s) + QByteArray(1, '\0'), &untouched));
  EXPECT_EQ(untouched.pppState, 0);
  // An address text that fills its field without a terminator stops at the field.
  QByteArray full = pppStatus(s);
  full.replace(0, 128, QByteArray(128, '9'));
  ASSERT_TRUE(readPppStatus(full, &r));
  EXPECT_EQ(r.address.size(), 128);
  EXPECT_EQ(addressFromU32(0x0A400117), "10.64.1.23");
  EXPECT_EQ(addressToU32("10.64.1.23"), 0x0A400117u);
}

} // namespace
