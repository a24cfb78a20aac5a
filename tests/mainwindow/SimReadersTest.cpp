// The SIM-file readers and decoders on good, short, odd and garbage hexadecimal text.
#include "SimFiles.h"
#include "SimHexCursor.h"
#include "UIMsg.h"

#include <QString>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {

TEST(SimHexCursorTest, NumbersStopAtTheEndAndAtTheFirstNonHexCharacter) {
  struct Case {
    const char *text;
    char op; // c: getchar, w: getword, t: gettriple
    uint32_t value;
    int position;
  };
  const Case cases[] = {
      {"4F70", 'c', 0x4F, 2},
      {"4F70", 'w', 0x4F70, 4},
      {"123456", 't', 0x123456, 6},
      {"4", 'c', 0x4, 1},   // a lone character at the end
      {"", 'c', 0, 0},      // nothing left: nothing read, the cursor stays
      {"4G", 'c', 0x4, 2},  // stops at G, as the C conversion does
      {"zz", 'c', 0, 2},    // no digit at all
      {"12", 'w', 0x12, 2}, // a word cut short
      {"4f", 'c', 0x4F, 2}, // lower case is still hexadecimal
      {"FFFFFFFFFF", 't', 0xFFFFFF, 6},
  };
  for (const Case &c : cases) {
    SimHexCursor cur{QByteArray(c.text)};
    const uint32_t v = c.op == 'c' ? cur.getchar() : c.op == 'w' ? cur.getword() : cur.gettriple();
    EXPECT_EQ(v, c.value) << c.text << ' ' << c.op;
    EXPECT_EQ(cur.position(), c.position) << c.text << ' ' << c.op;
  }
}

TEST(SimHexCursorTest, PeekDoesNotMoveAndSkipNeverPassesTheEnd) {
  SimHexCursor cur{QByteArray("ABC")};
  EXPECT_EQ(cur.peekword(), 0xABCu);
  EXPECT_EQ(cur.position(), 0);
  cur.skipword();
  EXPECT_EQ(cur.position(), 3);
  EXPECT_TRUE(cur.atEnd());
  cur.skiptriple();
  EXPECT_EQ(cur.position(), 3);
  EXPECT_EQ(cur.getchar(), 0u);
}

TEST(SimHexCursorTest, SemiOctetsSwapAndDropTheFiller) {
  struct Case {
    const char *text;
    QString first;
    uint32_t triple;
  };
  const Case cases[] = {
      {"64F000", "46", 0x46000}, // MCC 460, MNC 00
      {"00F110", "00", 0x101},   // MCC 001, MNC 01: the filler drops out
      {"F5", "5", 0x5},          // filler first: the second character alone
      {"2", "2", 0x2},           // an odd last character stands alone
      {"", "", 0},
      {"1X2233", "X1", 0x0},      // not hexadecimal: the number stops at once
      {"ff1122", "ff", 0xFF1122}, // only an upper-case F is a filler
  };
  for (const Case &c : cases) {
    SimHexCursor peek{QByteArray(c.text)};
    EXPECT_EQ(peek.peeksemioctex(), c.first) << c.text;
    SimHexCursor get{QByteArray(c.text)};
    EXPECT_EQ(get.getsemi_triple(), c.triple) << c.text;
    EXPECT_LE(get.position(), int(qstrlen(c.text)));
  }
}

TEST(SimHexCursorTest, FieldTextStopsAtTheTerminatorTheWidthAndTheCarriedData) {
  UIMsg m;
  m.setPayload(QByteArray("0041FF\0junk", 11));
  EXPECT_EQ(SimHexCursor::fieldText(m, 0, 512), "0041FF");
  EXPECT_EQ(SimHexCursor::fieldText(m, 0, 4), "0041");
  EXPECT_EQ(SimHexCursor::fieldText(m, 7, 512), "junk");
  EXPECT_EQ(SimHexCursor::fieldText(m, 11, 512), "");
  EXPECT_EQ(SimHexCursor::fieldText(m, -1, 512), "");
  // Text filling the whole field without a terminator is cut at the field's width.
  UIMsg full;
  full.setPayload(QByteArray(UIMsg::kDataSize, 'A'));
  EXPECT_EQ(SimHexCursor::fieldText(full, 0, 512).size(), 512);
}

TEST(SimFilesTest, ServiceProviderName) {
  struct Case {
    const char *hex;
    bool hasCondition;
    int condition;
    QString name;
  };
  const Case cases[] = {
      {"034F7065726174FFFF", true, 3, "Operat"},
      {"03", true, 3, ""},
      {"", false, 0, ""},
      {"018000410042FFFF", true, 1, "AB"},
      {"01800041FFFF0042", true, 1, "A"}, // UCS-2 ends at FFFF
      {"0181020C8182", true, 1, QString(QChar(0x0601)) + QChar(0x0602)},
      {"0181030C8141", true, 1, QString(QChar(0x0601)) + QChar(u'A')}, // count beyond the text
      {"01820206008182", true, 1, QString(QChar(0x0601)) + QChar(0x0602)},
      {"0183414243", true, 1, ""},                                             // a form no SIM uses
      {"01800041004", true, 1, "A"},                                           // half a character at the end is dropped
      {"0181", true, 1, ""},                                                   // a header without its count
      {"01810A", true, 1, ""},                                                 // a header without its base
      {"00401B24", true, 0, QString(QChar(0xA1)) + QChar(u' ') + QChar(0xA4)}, // escape reads as a space
      {"034F7", true, 3, "O"},                                                 // odd length
      {"XYZ", true, 0, ""},                                                    // garbage
  };
  for (const Case &c : cases) {
    const SimFiles::ServiceProviderName spn = SimFiles::parseEF_SPN(QByteArray(c.hex));
    EXPECT_EQ(spn.hasCondition, c.hasCondition) << c.hex;
    EXPECT_EQ(spn.displayCondition, c.condition) << c.hex;
    EXPECT_EQ(spn.name, c.name) << c.hex;
    EXPECT_FALSE(spn.name.isNull()) << c.hex;
  }
}

TEST(SimFilesTest, DisplayListOfFriendlyNetworks) {
  struct Case {
    const char *hex;
    bool hasList;
    QStringList list;
  };
  const Case cases[] = {
      {"A308800664F00064F010", true, {"46000", "46001"}},
      {"A30B800964F00064F010FFFFFF64F020", true, {"46000", "46001"}}, // an empty entry ends the list
      {"A3058003130062", true, {"310260"}},                           // three-digit MNC
      {"A30B800913006213F01464F010", true, {"310260", "31041", "46001"}},
      {"A30B800964F0001X006264F010", true, {"46000", "46001"}}, // a garbage entry is skipped
      {"A30880FF64F000", true, {"46000"}},                      // a length beyond the text reads what is there
      {"A30880", false, {}},                                    // the tag with nothing after it
      {"A3080164F000", false, {}},                              // no tag at all
      {"", false, {}},
      {"800", true, {}},      // too short for a length
      {"8002", true, {}},     // a length, no entries
      {"80FF64F0", true, {}}, // half an entry
  };
  for (const Case &c : cases) {
    QStringList list{"kept"};
    EXPECT_EQ(SimFiles::parseEF_SPDI(QByteArray(c.hex), &list), c.hasList) << c.hex;
    EXPECT_EQ(list, c.hasList ? c.list : QStringList{"kept"}) << c.hex;
  }
}

TEST(SimFilesTest, PlmnEntriesMustBeDigits) {
  EXPECT_EQ(SimFiles::decodePlmnEntry("64F000"), "46000");
  EXPECT_EQ(SimFiles::decodePlmnEntry("130062"), "310260");
  EXPECT_EQ(SimFiles::decodePlmnEntry("1X0062"), "");
  EXPECT_EQ(SimFiles::decodePlmnEntry("13F0F2"), ""); // a filler where a digit must be
  EXPECT_EQ(SimFiles::decodePlmnEntry("13F0"), "");
}

TEST(SimFilesTest, CardSerialNumber) {
  struct Case {
    const char *hex;
    QString iccid;
  };
  const Case cases[] = {
      {"98440100000000000011", "89441000000000000011"},
      {"9844010000000000001132", "89441000000000000011"}, // only the first 10 pairs
      {"984", "894"},
      {"98G4", "89"},
      {"", ""},
      {"98440100000000000F11", "8944100000000000F011"}, // a filler stays where it lands
  };
  for (const Case &c : cases)
    EXPECT_EQ(SimFiles::decodeICCID(QByteArray(c.hex)), c.iccid) << c.hex;
}

TEST(SimFilesTest, MccMncTextKeepsEveryMncDigit) {
  struct Case {
    QString mcc, mnc, text;
  };
  const Case cases[] = {
      {"460", "01", "46001"}, {"310", "260", "310260"}, {"1", "1", "00101"}, {"46a", "01", ""},
      {"", "01", ""},         {"4600", "01", ""},       {"460", "", ""},     {"460", "0001", ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SimFiles::composeMccmnc(c.mcc, c.mnc), c.text) << c.mcc.toStdString() << '/' << c.mnc.toStdString();
}

} // namespace
