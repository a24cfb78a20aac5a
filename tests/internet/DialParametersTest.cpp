#include "DialParameters.h"
#include "DialParamsLayout.h"
#include "DialParamsRecord.h"
#include "ProfileFixture.h"

#include <QtEndian>

namespace {
using namespace DialParamsLayout;

QByteArray textAt(const QByteArray &record, TextField f) {
  const QByteArray field = record.mid(f.offset, f.width);
  return field.left(field.indexOf('\0'));
}
qint32 intAt(const QByteArray &record, int offset) {
  if (offset < 0 || offset + 4 > record.size())
    return -1; // no such field: never a value the record holds
  uchar bytes[4];
  for (int i = 0; i < 4; ++i)
    bytes[i] = uchar(record.at(offset + i));
  return qFromLittleEndian<qint32>(bytes);
}

struct Case {
  const char *name;
  QVariantMap profile;
  DialParamsRecord::Settings settings;
  // Expected texts by field and numbers by offset.
  QList<std::pair<TextField, QByteArray>> texts;
  QList<std::pair<int, qint32>> numbers;
};
} // namespace

TEST(DialParametersRecord, FieldsAtTheirOffsets) {
  const QString apn127(127, QLatin1Char('a'));
  const QString apn128(128, QLatin1Char('b'));
  // "é" is two bytes in UTF-8: 126 'x' then "é" needs 128 bytes, one too many.
  const QString multibyte = QString(126, QLatin1Char('x')) + QString::fromUtf8("é");
  const QVariantMap full{{"apnName", "internet"},
                         {"telNumber", "*99#"},
                         {"accountName", "user"},
                         {"password", "secret"},
                         {"pdpAddress", "10.1.2.3"},
                         {"preDns", "8.8.8.8"},
                         {"altDns", "8.8.4.4"},
                         {"pppFlag", 1},
                         {"pdpType", 2},
                         {"pdpFlag", 1},
                         {"IPv6ApnName", "v6.apn"},
                         {"IPv6PrefDNS", "2001:db8::1"},
                         {"IPv6AltDNS", "2001:db8::2"}};
  const Case cases[] = {
      {"every field",
       full,
       {1, 0, 1400, false},
       {{kApnName, "internet"},
        {kTelNumber, "*99#"},
        {kAccountName, "user"},
        {kPassword, "secret"},
        {kPdpAddress, "10.1.2.3"},
        {kPreDns, "8.8.8.8"},
        {kAltDns, "8.8.4.4"},
        {kIPv6ApnName, ""},
        {kIPv6PrefDns, ""},
        {kIPv6AltDns, ""}},
       {{kConnectType, 1}, {kPppFlag, 1}, {kPdpType, 2}, {kPdpFlag, 1}, {kDisableAlert, 0}, {kMtu, 1400}}},
      {"IPv6 texts only in double-PDP mode",
       full,
       {0, 1, 0, true},
       {{kIPv6ApnName, "v6.apn"}, {kIPv6PrefDns, "2001:db8::1"}, {kIPv6AltDns, "2001:db8::2"}},
       {{kConnectType, 0}, {kDisableAlert, 1}, {kMtu, 0}}},
      {"missing keys give zero and empty",
       {},
       {},
       {{kApnName, ""}, {kTelNumber, ""}, {kPassword, ""}},
       {{kPppFlag, 0}, {kPdpType, 0}, {kPdpFlag, 0}, {kMtu, 0}}},
      {"ill-typed entries give zero and empty",
       {{"apnName", QVariantList{1, 2}}, {"pppFlag", QVariantMap{}}, {"pdpType", "2"}},
       {},
       {{kApnName, ""}},
       {{kPppFlag, 0}, {kPdpType, 2}}},
      {"a 127-byte APN fits whole", {{"apnName", apn127}}, {}, {{kApnName, apn127.toLatin1()}}, {}},
      {"a 128-byte APN loses its last byte", {{"apnName", apn128}}, {}, {{kApnName, apn128.left(127).toLatin1()}}, {}},
      {"a character is never cut in half", {{"apnName", multibyte}}, {}, {{kApnName, QByteArray(126, 'x')}}, {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QByteArray record = DialParamsRecord::encode(c.profile, c.settings);
    ASSERT_EQ(record.size(), kRecordSize);
    for (const auto &[field, text] : c.texts) {
      EXPECT_EQ(textAt(record, field), text) << "at " << field.offset;
      EXPECT_EQ(record.at(field.offset + field.width - 1), '\0') << "terminator at " << field.offset;
    }
    for (const auto &[offset, value] : c.numbers)
      EXPECT_EQ(intAt(record, offset), value) << "at " << offset;
  }
}

TEST(DialParametersRecord, FieldBytesCutsAtCharacterBoundaries) {
  EXPECT_EQ(DialParamsRecord::fieldBytes(QString::fromUtf8("ab€"), 5), QByteArray("ab")); // € is 3 bytes
  EXPECT_EQ(DialParamsRecord::fieldBytes(QString::fromUtf8("ab€"), 6), QString::fromUtf8("ab€").toUtf8());
  EXPECT_EQ(DialParamsRecord::fieldBytes(QStringLiteral("abc"), 1), QByteArray());
  EXPECT_EQ(DialParamsRecord::fieldBytes(QStringLiteral("abc"), 0), QByteArray());
}

class DialParametersSend : public ProfileFixture {
protected:
  QVariantList initialProfiles() const override {
    return {profile("Internet", "internet"), profile("Work", "work.apn"), profile("Home", "home.apn")};
  }
  QByteArray apnSent() const { return textAt(dial->lastDialParams(), kApnName); }
  int disableAlertSent() const { return intAt(dial->lastDialParams(), kDisableAlert); }
};

TEST_F(DialParametersSend, CurrentProfileSettingsAndNoProfile) {
  set({}, QStringLiteral("ConnectType"), 1);
  set(QStringLiteral("Internet"), QStringLiteral("MTUSize"), QStringLiteral("1380"));
  dial->loadDialConfig();
  dial->dialConfigListSelectItemAtIndex(2);
  dial->setDialParams();
  EXPECT_EQ(apnSent(), "work.apn");
  EXPECT_EQ(intAt(dial->lastDialParams(), kConnectType), 1);
  EXPECT_EQ(intAt(dial->lastDialParams(), kMtu), 1380);

  // The heading row and an empty list have no profile: nothing goes out.
  const int sent = dial->dialParamsSent();
  dial->dialConfigListSelectItemAtIndex(0);
  dial->setDialParams();
  dial->dialConfigArray.clear();
  dial->dialConfigListSelectItemAtIndex(1);
  dial->setDialParams();
  EXPECT_EQ(dial->dialParamsSent(), sent);
}

TEST_F(DialParametersSend, DisableAlertFlagForRetriesAndTheCycle) {
  set(QStringLiteral("Internet"), QStringLiteral("apnCycle"), true);
  set(QStringLiteral("Internet"), QStringLiteral("apnCycleTotal"), 2);
  dial->loadDialConfig();
  dial->setDialParams();
  EXPECT_EQ(disableAlertSent(), 0) << "no cycle runs";

  dial->setApnCycleEnable(true);
  dial->apnCycleStart(); // sends the first profile of the cycle
  EXPECT_EQ(disableAlertSent(), 1) << "a further profile follows";
  ASSERT_TRUE(dial->apnCycleTryNext());
  EXPECT_EQ(disableAlertSent(), 0) << "the cycle's last profile";

  set(QStringLiteral("Internet"), QStringLiteral("DisableAlertWindowWhileAutoConnectFailed"), true);
  dial->reconnectTimes = 1;
  dial->setDialParams();
  EXPECT_EQ(disableAlertSent(), 1) << "an automatic retry, even on the last profile";
  EXPECT_FALSE(dial->apnCycleTryNext());
}

TEST_F(DialParametersSend, ConnectTypeChangeResends) {
  dial->loadDialConfig();
  const int sent = dial->dialParamsSent();
  set({}, QStringLiteral("ConnectType"), 1);
  dial->connectTypeDidChanged();
  EXPECT_EQ(dial->dialParamsSent(), sent + 1);
  EXPECT_EQ(intAt(dial->lastDialParams(), kConnectType), 1);
}

// The simulated modem reads what the program encodes, and no more than the package holds.
TEST(DialParametersBackend, ReadsTheRecordWithinThePackage) {
  const QVariantMap p{{"apnName", QString::fromUtf8("äpn")},
                      {"telNumber", "*99#"},
                      {"accountName", "u"},
                      {"password", "p"},
                      {"pppFlag", 1},
                      {"IPv6ApnName", "v6"}};
  UIMsg msg;
  ASSERT_TRUE(msg.setPayload(DialParamsRecord::encode(p, {1, 1, 1500, true})));
  DialParameters::Record r = DialParameters::parse(msg);
  EXPECT_EQ(r.apn, QString::fromUtf8("äpn"));
  EXPECT_EQ(r.number, QStringLiteral("*99#"));
  EXPECT_EQ(r.authMode, 1);
  EXPECT_EQ(r.connectType, 1);
  EXPECT_EQ(r.disableAlert, 1);
  EXPECT_EQ(r.mtu, 1500);
  EXPECT_EQ(r.ipv6Apn, QStringLiteral("v6"));

  msg.dataLength = kConnectType + 2; // cut inside the connect type
  r = DialParameters::parse(msg);
  EXPECT_EQ(r.apn, QString::fromUtf8("äpn"));
  EXPECT_EQ(r.connectType, 0);
  EXPECT_EQ(r.mtu, 0);
  EXPECT_TRUE(r.ipv6Apn.isEmpty());

  msg.dataLength = 2; // the APN's first two bytes, no terminator
  EXPECT_EQ(DialParameters::parse(msg).apn.toUtf8(), QByteArray("\xC3\xA4"));
}
