#include "SmsPdu.h"
#include "SmsPacking.h"

#include <QByteArray>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QByteArray textOf(const SmsPduRecord &r) {
  return QByteArray(reinterpret_cast<const char *>(r.text), r.textLength);
}

TEST(PduDecoding, DeliverWithInternationalSender) {
  SmsPduRecord r;
  const char *pdu = "07911326040000F0040B911346610089F60000208062917314080CC8F71D14969741F977FD07";
  EXPECT_EQ(DecodePdu_Delivery(pdu, &r), 12);
  EXPECT_STREQ(r.sca, "31624000000");
  EXPECT_STREQ(r.address, "+31641600986");
  EXPECT_STREQ(r.scts, "02082619374180");
  EXPECT_EQ(r.dcs, 0);
  EXPECT_EQ(r.messageClass, 99u);
  EXPECT_EQ(r.hasUdh, 0);
  EXPECT_EQ(textOf(r), QByteArray("How are you?"));
  EXPECT_EQ(Decode_Class0_PDU(pdu, &r), 12);
}

TEST(PduDecoding, SubmitSkipsTheValidityPeriod) {
  SmsPduRecord r;
  EXPECT_EQ(DecodePdu_Submit("0011000B916407281553F80000AA0AE8329BFD4697D9EC37", &r), 10);
  EXPECT_STREQ(r.address, "+46708251358");
  EXPECT_EQ(textOf(r), QByteArray("hellohello"));
  // An absolute validity period is seven octets.
  EXPECT_EQ(DecodePdu_Submit("0019050B916407281553F80000622101216594000AE8329BFD4697D9EC37", &r), 10);
  EXPECT_EQ(r.pid, 5); // the message reference
  EXPECT_EQ(textOf(r), QByteArray("hellohello"));
}

TEST(PduDecoding, HeaderAndCodings) {
  SmsPduRecord r;
  // 7-bit with a concatenation header: one fill bit after the six header octets, then "a".
  EXPECT_EQ(DecodePdu_Delivery("0044038121F300006211111111110008050003CC0201C2", &r), 1);
  EXPECT_EQ(r.hasUdh, 1);
  EXPECT_EQ(r.concatIei, 0);
  EXPECT_EQ(r.concatRef8, 0xCC);
  EXPECT_EQ(r.concatTotal, 2);
  EXPECT_EQ(r.concatSeq, 1);
  EXPECT_EQ(r.text[0], 'a');
  EXPECT_STREQ(r.address, "123");
  // 7-bit with a 16-bit reference and a Turkish locking shift.
  EXPECT_EQ(DecodePdu_Delivery("0044038121F3000062111111111100"
                               "0D"
                               "090804123403022501011006",
                               &r),
            1);
  EXPECT_EQ(r.concatIei, 8);
  EXPECT_EQ(r.concatRef16, 0x1234);
  EXPECT_EQ(r.concatSeq, 2);
  EXPECT_EQ(r.lockingShiftLanguage, 1);
  // UCS2, class 0 in group 0x10 style (0x18 = class 0, UCS2).
  EXPECT_EQ(DecodePdu_Delivery("0004038121F30018"
                               "62111111111100"
                               "04"
                               "4E2D0041",
                               &r),
            4);
  EXPECT_EQ(r.dcs, 8);
  EXPECT_EQ(r.messageClass, 0u);
  char16_t u[2];
  std::memcpy(u, r.text, 4);
  EXPECT_EQ(u[0], u'中');
  EXPECT_EQ(u[1], u'A');
  // An 8-bit class 2 message carries no text.
  EXPECT_EQ(DecodePdu_Delivery("0004038121F300F6621111111111000201FF", &r), 0);
  EXPECT_EQ(r.messageClass, 2u);
  // Voicemail indications keep the raw coding scheme when asked.
  SmsPduSettings voicemail;
  voicemail.autoDeleteVoicemail = true;
  EXPECT_EQ(DecodePdu_Delivery("0004038121F300C862111111111100"
                               "0141",
                               &r, voicemail),
            1);
  EXPECT_EQ(r.dcs, 0xC8);
  EXPECT_EQ(DecodePdu_Delivery("0004038121F300C862111111111100"
                               "0141",
                               &r),
            1);
  EXPECT_EQ(r.dcs, 0);
}

TEST(PduDecoding, AlphanumericSender) {
  // "Info" packed: 4 septets = 28 bits = 7 semi-octets.
  SmsPduRecord r;
  EXPECT_EQ(DecodePdu_Delivery("000407D049B7F90D0000"
                               "62111111111100"
                               "0141",
                               &r),
            1);
  EXPECT_STREQ(r.address, "Info");
  SmsPduSettings raw;
  raw.decodePduDoNotUseSms7toUcs2 = true;
  EXPECT_EQ(DecodePdu_Delivery("000407D049B7F90D0000"
                               "62111111111100"
                               "0141",
                               &r, raw),
            1);
  EXPECT_STREQ(r.address, "Info");
}

TEST(PduDecoding, StatusReportAndBroadcast) {
  SmsPduRecord r;
  EXPECT_EQ(STATUS_REPORT_PDU("0006D60B911326880736F4111011719551401110117195714000", &r), 0);
  EXPECT_EQ(r.reportFlag, 0x04);
  EXPECT_EQ(r.pid, 0xD6);
  EXPECT_STREQ(r.address, "+31628870634");
  EXPECT_STREQ(r.scts, "11011117591504");
  EXPECT_STREQ(r.dischargeTime, "11011117591704");
  EXPECT_EQ(r.status, 0);

  EXPECT_EQ(Decode_BroadCast_PDU("001A0032010AE8329BFD4697D9EC37", &r), 10);
  EXPECT_STREQ(r.address, "50");
  EXPECT_EQ(QByteArray(reinterpret_cast<char *>(r.text), 10), QByteArray("hellohello"));
}

TEST(PduDecoding, BadInputIsRefused) {
  SmsPduRecord r;
  EXPECT_EQ(DecodePdu_Delivery(nullptr, &r), -1);
  EXPECT_EQ(DecodePdu_Delivery("00", nullptr), -1);
  EXPECT_EQ(DecodePdu_Delivery("07911326", &r), -1);                             // ends in the centre address
  EXPECT_EQ(DecodePdu_Delivery("0004038121F3000062111111111100", &r), 0);        // no user-data length
  EXPECT_EQ(DecodePdu_Delivery("0004038121G30000", &r), -1);                     // not hexadecimal
  EXPECT_EQ(DecodePdu_Delivery("0004038121F300086211111111110010004E", &r), -1); // UCS2 data ends early
  EXPECT_EQ(STATUS_REPORT_PDU("0006D6", &r), -1);
  EXPECT_EQ(Decode_BroadCast_PDU("001A", &r), -1);
  uint8_t out[161];
  EXPECT_EQ(dc7BitHexStr2Str("A1", out, &r, 0), 0);   // more than 160 septets
  EXPECT_EQ(dc7BitHexStr2Str("0A41", out, &r, 0), 0); // data ends early
}

TEST(PduEncoding, SubmitKnownBytes) {
  SmsPduRecord r{};
  std::strcpy(r.address, "+46708251358");
  std::memcpy(r.text, "hellohello", 10);
  r.textLength = 10;
  char out[kSmsPduHexSize];
  EXPECT_EQ(EncodePdu_Submit(&r, out), 46);
  EXPECT_STREQ(out, "0001000B916407281553F800000AE8329BFD4697D9EC37");

  struct Centre {
    const char *sca;
    bool unknown;
    const char *prefix;
  };
  for (const Centre &c :
       {Centre{"+31624000000", false, "07911326040000F0"}, Centre{"0031624000000", false, "07911326040000F0"},
        Centre{"0031624000000", true, "07811326040000F0"}, Centre{"31624000000", false, "07811326040000F0"}}) {
    std::strcpy(r.sca, c.sca);
    SmsPduSettings s;
    s.setMsgCenterWithUnknownNum = c.unknown;
    ASSERT_GT(EncodePdu_Submit(&r, out, s), 0);
    EXPECT_EQ(QByteArray(out).left(16), QByteArray(c.prefix)) << c.sca;
  }
  EXPECT_EQ(EncodePdu_Submit(nullptr, out), -1);
  r.textLength = 161;
  EXPECT_EQ(EncodePdu_Submit(&r, out), -1);
}

TEST(PduEncoding, DeliverRoundTrips) {
  struct Case {
    uint8_t dcs;
    bool header;
    QByteArray body;
  };
  const QByteArray ucs2("\x2D\x4E\x41\x00", 4); // 中A in little-endian host order
  for (const Case &c : {Case{0x00, false, QByteArray("How are you?")}, Case{0x00, true, QByteArray("abcdefg")},
                        Case{0x08, true, ucs2}, Case{0x04, false, QByteArray("\x01\x02\xFF", 3)}}) {
    SmsPduRecord r{};
    std::strcpy(r.sca, "+31624000000");
    std::strcpy(r.address, "+31641600986");
    std::strcpy(r.scts, "02082619374180");
    r.dcs = c.dcs;
    int offset = 0;
    if (c.header) {
      r.hasUdh = 1;
      const uint8_t udh[] = {0x05, 0x00, 0x03, 0x2A, 0x02, 0x01};
      std::memcpy(r.text, udh, sizeof udh);
      offset = sizeof udh;
    }
    std::memcpy(r.text + offset, c.body.constData(), size_t(c.body.size()));
    r.textLength = int(c.body.size());
    char out[kSmsPduHexSize];
    ASSERT_GT(EncodePdu_Delivery(&r, out), 0);
    SmsPduRecord back;
    EXPECT_EQ(DecodePdu_Delivery(out, &back), c.body.size()) << out;
    EXPECT_EQ(textOf(back), c.body) << out;
    EXPECT_STREQ(back.address, "+31641600986");
    EXPECT_STREQ(back.scts, "02082619374180");
    EXPECT_EQ(back.hasUdh, c.header ? 1 : 0);
    if (c.header) {
      EXPECT_EQ(back.concatRef8, 0x2A);
      EXPECT_EQ(back.concatSeq, 1);
    }
  }
  // The example message of the decoder test comes out byte for byte.
  SmsPduRecord r{};
  std::strcpy(r.sca, "+31624000000");
  std::strcpy(r.address, "+31641600986");
  std::strcpy(r.scts, "02082619374180");
  std::memcpy(r.text, "How are you?", 12);
  r.textLength = 12;
  char out[kSmsPduHexSize];
  EncodePdu_Delivery(&r, out);
  EXPECT_STREQ(out, "07911326040000F0040B911346610089F60000208062917314080CC8F71D14969741F977FD07");
}

// Addresses, classes and time zones as the standard writes them. Each deliver PDU (no centre,
// PID 0, the text "A") is decoded, encoded again and decoded once more; where the encoder writes
// the same fields, the bytes come back too.
TEST(PduRoundTrip, StandardFieldsSurviveDecodingAndEncoding) {
  struct Case {
    const char *name;
    const char *addressField; // digit count, type, digits
    const char *dcs;
    const char *stamp; // as the PDU carries it
    const char *address;
    const char *scts;
    uint32_t messageClass;
    const char *writtenAddressField; // nullptr: addressField
  };
  const Case cases[] = {
      // Type of number 001 is international with the numbering plan unknown (0x90) or private (0x99).
      {"international, unknown plan", "0B901346610089F6", "00", "20806291731408", "+31641600986", "02082619374180", 99,
       "0B911346610089F6"},
      {"international, private plan", "0B991346610089F6", "00", "20806291731408", "+31641600986", "02082619374180", 99,
       "0B911346610089F6"},
      {"national number stays bare", "0AA13146610089", "00", "20806291731408", "1364160098", "02082619374180", 99,
       "0A813146610089"},
      // Semi-octets 1010 and 1011 are "*" and "#".
      {"service code", "05811A00FB", "00", "20806291731408", "*100#", "02082619374180", 99, nullptr},
      // The automatic-deletion groups carry a class in bits 1-0 as the general group does.
      {"class 1, group 0x50", "038121F3", "51", "20806291731408", "123", "02082619374180", 1, nullptr},
      {"class 0, group 0x70", "038121F3", "70", "20806291731408", "123", "02082619374180", 0, nullptr},
      {"no class, group 0x40", "038121F3", "41", "20806291731408", "123", "02082619374180", 99, nullptr},
      // Zones west of UTC: the sign is the high bit of the first digit (UTC-4, UTC-8), then UTC+13.
      {"zone UTC-4", "038121F3", "00", "20806291731469", "123", "02082619374196", 99, nullptr},
      {"zone UTC-8", "038121F3", "00", "2080629173142B", "123", "020826193741B2", 99, nullptr},
      {"zone UTC+13", "038121F3", "00", "20806291731425", "123", "02082619374152", 99, nullptr},
      // A sender name: packed septets with type 0xD0.
      {"sender name", "07D049B7F90D", "00", "20806291731408", "Info", "02082619374180", 99, nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const auto pduOf = [&](const char *addressField, const char *dcs) {
      return QByteArray("0004") + addressField + "00" + dcs + c.stamp + "0141";
    };
    SmsPduRecord r;
    ASSERT_EQ(DecodePdu_Delivery(pduOf(c.addressField, c.dcs).constData(), &r), 1);
    EXPECT_STREQ(r.address, c.address);
    EXPECT_STREQ(r.scts, c.scts);
    EXPECT_EQ(r.messageClass, c.messageClass);
    EXPECT_EQ(r.text[0], 'A');
    char out[kSmsPduHexSize];
    ASSERT_GT(EncodePdu_Delivery(&r, out), 0);
    // The decoded record keeps the coding, not the class, in its dcs.
    EXPECT_EQ(QByteArray(out), pduOf(c.writtenAddressField ? c.writtenAddressField : c.addressField, "00"));
    SmsPduRecord back;
    ASSERT_EQ(DecodePdu_Delivery(out, &back), 1);
    EXPECT_STREQ(back.address, r.address);
    EXPECT_STREQ(back.scts, r.scts);
  }
  // A sender name longer than the field's eleven septets is cut there.
  SmsPduRecord r{};
  std::strcpy(r.address, "Test Message");
  std::strcpy(r.scts, "02082619374180");
  r.text[0] = 'A';
  r.textLength = 1;
  char out[kSmsPduHexSize];
  ASSERT_GT(EncodePdu_Delivery(&r, out), 0);
  EXPECT_EQ(QByteArray(out).mid(4, 4), QByteArray("14D0")) << out;
  SmsPduRecord back;
  ASSERT_EQ(DecodePdu_Delivery(out, &back), 1);
  EXPECT_STREQ(back.address, "Test Messag");
  // The submit coder keeps service codes too.
  r = SmsPduRecord{};
  std::strcpy(r.address, "*100#");
  r.text[0] = 'A';
  r.textLength = 1;
  ASSERT_GT(EncodePdu_Submit(&r, out), 0);
  EXPECT_STREQ(out, "000100"
                    "05811A00FB"
                    "0000"
                    "0141");
  ASSERT_EQ(DecodePdu_Submit(out, &back), 1);
  EXPECT_STREQ(back.address, "*100#");
}

TEST(PduEncoding, TimeStampAndEndCursor) {
  char out[15];
  EXPECT_EQ(EncodeTimeStrToPDUFormat("2026-12-10 12:56:49", out), 14);
  EXPECT_STREQ(out, "62210121659400");
  EXPECT_EQ(EncodeTimeStrToPDUFormat("2026-12-10", out), -1);
  EXPECT_EQ(EncodeTimeStrToPDUFormat(nullptr, out), -1);

  uint8_t buffer[180];
  std::memset(buffer, 1, sizeof buffer);
  EXPECT_EQ(findEndCusor(buffer), -1);
  std::memset(buffer + 40, 0, 8);
  buffer[30] = 0;
  EXPECT_EQ(findEndCusor(buffer), 40);
}

} // namespace
