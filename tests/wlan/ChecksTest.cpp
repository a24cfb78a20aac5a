#include "WLANChecks.h"

#include <gtest/gtest.h>

using namespace WLANChecks;

namespace {
struct FilterCase {
  const char *what;
  QString in;
  QString out;
  QString alert;
};

void runCases(const char *filter, const std::function<Filtered(const QString &)> &f, const QList<FilterCase> &cases) {
  for (const FilterCase &c : cases) {
    const Filtered r = f(c.in);
    EXPECT_EQ(r.text, c.out) << filter << ": " << c.what;
    EXPECT_EQ(r.alert, c.alert) << filter << ": " << c.what;
  }
}
const QString kAscii = QStringLiteral("The item contains invalid ASCII characters!");
const QString kHex = QStringLiteral("The item contains invalid HEX characters!");
const QString kLease = QStringLiteral("DHCP Lease Time should be 1 - 65535 hours!");
const QString kPort = QStringLiteral("Port number should be 1 - 65535!");
const QString kMac = QStringLiteral("Mac Address contains invalid characters!");
} // namespace

TEST(RouterFilters, Ascii) {
  runCases("ascii", [](const QString &t) { return asciiFilter(t, true); },
           {{"empty", "", "", ""},
            {"allowed punctuation", "a-b_c.d@e!#%()+/;=?[]^{|}~ 1", "a-b_c.d@e!#%()+/;=?[]^{|}~ 1", ""},
            {"a quote typed", "ab\"", "ab", kAscii},
            {"pasted with several", "a$b&c*d", "abcd", kAscii},
            {"not ASCII", QStringLiteral("caf\u00e9"), "caf", kAscii},
            {"longer than 32", QString(33, 'x'), QString(32, 'x'), ""}});
  // The pass phrase field is not cut.
  EXPECT_EQ(asciiFilter(QString(50, 'p'), false).text.size(), 50);
}

TEST(RouterFilters, HexLooksAtTheWholeText) {
  runCases("hex", [](const QString &t) { return hexFilter(t, 26); },
           {{"empty", "", "", ""},
            {"digits of both cases", "0aF9", "0aF9", ""},
            {"last character wrong", "0aG", "0a", kHex},
            {"pasted with a wrong character inside", "12x4z6", "1246", kHex},
            {"cut to 26", QString(30, 'a'), QString(26, 'a'), ""}});
  EXPECT_EQ(hexFilter(QString(65, 'b'), 64).text, QString(64, 'b'));
}

TEST(RouterFilters, NumbersAndMacOctets) {
  runCases("lease", leaseFilter,
           {{"empty", "", "", ""},
            {"letter typed", "12a", "12", ""},
            {"only a letter", "a", "", ""},
            {"above", "70000", "65535", kLease},
            {"zero", "0", "1", kLease},
            {"in range", "24", "24", ""}});
  runCases("port", portFilter,
           {{"zero", "0", "1", kPort}, {"above", "99999", "65535", kPort}, {"letter", "8x", "8", ""}});
  runCases("mac", macFilter,
           {{"third character", "0a1", "0a", ""},
            {"a G typed", "G", "", kMac},
            {"after a digit", "1g", "1", kMac},
            {"both cases", "aB", "aB", ""}});
}

TEST(RouterChecks, AddressesAndRanges) {
  EXPECT_TRUE(isIPAddressValid("192.168.0.1"));
  for (const char *bad : {"0.0.0.0", "255.255.255.255", "192.168.0.0", "0.168.0.1", ""})
    EXPECT_FALSE(isIPAddressValid(bad)) << bad;

  const QString start = "192.168.0.2", end = "192.168.0.100";
  EXPECT_TRUE(isSameIPRange("192.168.0.50", start, end));
  EXPECT_FALSE(isSameIPRange("192.168.0.1", start, end));
  EXPECT_FALSE(isSameIPRange("10.0.0.50", start, end));
  EXPECT_FALSE(isCorrectRange("192.168.0.200", "10.0.0.100"));
  EXPECT_TRUE(isCorrectRange("192.168.0.2", "192.168.0.2"));

  struct Mask {
    const char *mask;
    bool valid;
  };
  for (const Mask &m : {Mask{"255.255.255.0", true}, Mask{"255.255.0.0", true}, Mask{"255.255.255.252", true},
                        Mask{"128.0.0.0", true}, Mask{"0.0.0.0", false}, Mask{"255.255.255.255", false},
                        Mask{"255.0.255.0", false}, Mask{"255.255.255.1", false}, Mask{"0.255.255.255", false}})
    EXPECT_EQ(isSubMaskValid(m.mask, "", ""), m.valid) << m.mask;
  // A "mask" that lies inside the pool itself is refused.
  EXPECT_FALSE(isSubMaskValid("255.255.255.128", "255.255.255.100", "255.255.255.200"));
}

TEST(RouterChecks, MacState) {
  struct Case {
    QStringList six;
    int state;
  };
  const Case cases[] = {
      {{"", "", "", "", "", ""}, 0},
      {{"00", "00", "00", "00", "00", "00"}, 1},
      {{"FF", "ff", "FF", "FF", "FF", "FF"}, 1},
      {{"01", "22", "33", "44", "55", "66"}, 1}, // group address
      {{"02", "22", "33", "44", "55", ""}, 1},
      {{"02", "2", "33", "44", "55", "66"}, 1},
      {{"0g", "22", "33", "44", "55", "66"}, 1},
      {{"0a", "22", "33", "44", "55", "66"}, 2},
      {{"0A", "22", "33", "44", "55", "66"}, 2},
  };
  for (const Case &c : cases)
    EXPECT_EQ(getStateforMacAddress(c.six), c.state) << c.six.join(':').toStdString();
}

TEST(RouterChecks, TablesShowOutOfRangeCodesEmpty) {
  EXPECT_EQ(getComboxDisplay(3, modeTable()), QString());
  EXPECT_EQ(getComboxDisplay(-1, protocolTable()), QString());
  EXPECT_EQ(getComboxDisplay(4294967295LL, channelTable()), QString());
  EXPECT_EQ(getComboxDisplay(2, modeTable()), QStringLiteral("802.11G"));
  EXPECT_EQ(getIndexofString("5.5", rateTableBG()), 3);
  EXPECT_EQ(getIndexofString("7", rateTableBG()), -1);
  EXPECT_EQ(rateTableForModeText("802.11G"), &rateTableG());
  EXPECT_EQ(rateTableForModeText("bogus"), nullptr);
}
