#include "MessageTextFormatter.h"
#include "ConfigManager.h"
#include "SmsCodec.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A formatter bound to recording stand-ins for the text field, the labels and the alert panel.
class FormatterFixture : public ::testing::Test {
protected:
  MessageTextFormatter formatter;
  MessageTextFormatterSettings settings;
  QStringList hostTexts;
  QString countLabel = QStringLiteral("untouched");
  QString sendInfo = QStringLiteral("untouched");
  QStringList alerts;
  int alertAnswer = 1;

  void SetUp() override {
    formatter.setSettingsSource([this] { return settings; });
    formatter.setHost([this](const QString &t) { hostTexts << t; });
    formatter.setTextCount([this](const QString &t) { countLabel = t; });
    formatter.setSendNumInfo([this](const QString &t) { sendInfo = t; });
    formatter.setWording([](const QString &key) { return QStringLiteral("<%1>").arg(key); });
    formatter.setAlertPanel([this](const QString &title, const QString &message, const QString &button) {
      alerts << title + message + button;
      return alertAnswer;
    });
  }

  QString format(const QString &text) { return formatter.stringForObjectValue(text).toString(); }
};

TEST_F(FormatterFixture, EmptyTextClearsTheCount) {
  formatter.setPackNum(3);
  EXPECT_EQ(format(QString()), QString());
  EXPECT_EQ(countLabel, QString());
  EXPECT_EQ(formatter.packNum(), 1);
  EXPECT_FALSE(formatter.concatSms());
  EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(FormatterFixture, CountsAndCutsAtTheMaximum) {
  struct Case {
    int maxPack;
    QString text;
    int kept;
    int parts;
    bool warned;
  };
  const Case cases[] = {
      {5, QString(765, u'a'), 765, 5, false}, {5, QString(766, u'a'), 765, 5, true},
      {1, QString(153, u'a'), 153, 1, false}, {1, QString(154, u'a'), 153, 1, true},
      {1, QString(67, u'中'), 67, 1, false},  {1, QString(68, u'中'), 67, 1, true},
      {2, QString(10, u'a'), 10, 1, false},
  };
  for (const Case &c : cases) {
    settings.smsMaxPack = c.maxPack;
    alerts.clear();
    hostTexts.clear();
    const QString out = format(c.text);
    EXPECT_EQ(out.size(), c.kept) << c.text.size();
    EXPECT_EQ(formatter.packNum(), c.parts) << c.text.size();
    EXPECT_EQ(countLabel, QStringLiteral("<info:> %1/%2").arg(c.kept).arg(c.parts));
    EXPECT_EQ(sendInfo, QString());
    EXPECT_EQ(alerts.size(), c.warned ? 1 : 0) << c.text.size();
    EXPECT_EQ(hostTexts, c.warned ? QStringList{out} : QStringList());
    if (c.warned) {
      EXPECT_EQ(alerts.value(0), QStringLiteral("<Warning><SMS content exceeds the max length!><OK>"));
    }
  }
}

TEST_F(FormatterFixture, WarnsOnceWhileThePanelIsUp) {
  alertAnswer = 0; // the panel has not been dismissed
  format(QString(800, u'a'));
  format(QString(800, u'a'));
  EXPECT_EQ(alerts.size(), 1);
  EXPECT_TRUE(formatter.isPopWarningWindow());
  formatter.setHost([](const QString &) {});
  EXPECT_FALSE(formatter.isPopWarningWindow());
  format(QString(800, u'a'));
  EXPECT_EQ(alerts.size(), 2);
}

TEST_F(FormatterFixture, PairsOnPartBoundariesStillFitTheMaximum) {
  // Within 765 septets, but each euro sign would straddle a boundary: it must not need a sixth part.
  QString text;
  for (int i = 0; i < 5; ++i)
    text += QString(152, u'a') + QString::fromUtf16(u"€");
  ASSERT_EQ(getInputTextNum(reinterpret_cast<const char16_t *>(text.utf16()), unsigned(text.size()), {}), 770);
  text.chop(5 * 153 - 765 + 1);
  const QString out = format(text);
  EXPECT_LE(formatter.packNum(), 5);
  EXPECT_EQ(alerts.size(), 1);
  EXPECT_TRUE(text.startsWith(out));
}

TEST_F(FormatterFixture, ReplacementsShowWithoutCounting) {
  settings.replaceSpecialChar = QHash<char16_t, QString>{{u'é', QStringLiteral("e")}};
  EXPECT_EQ(format(QString::fromUtf16(u"café")), QStringLiteral("cafe"));
  EXPECT_EQ(hostTexts, QStringList{QStringLiteral("cafe")});
  EXPECT_EQ(countLabel, QStringLiteral("untouched"));
  // The next pass counts the replaced text.
  EXPECT_EQ(format(QStringLiteral("cafe")), QStringLiteral("cafe"));
  EXPECT_EQ(countLabel, QStringLiteral("<info:> 4/1"));

  settings.replaceSpecialChar.reset();
  settings.specialChar = true;
  hostTexts.clear();
  EXPECT_EQ(format(QString::fromUtf16(u"a½")), QStringLiteral("a?"));
  EXPECT_EQ(hostTexts, QStringList{QStringLiteral("a?")});
  EXPECT_EQ(format(QString::fromUtf16(u"¿é")), QString::fromUtf16(u"¿é"));
}

TEST_F(FormatterFixture, NonStringComesBackUnchanged) {
  EXPECT_EQ(formatter.stringForObjectValue(QVariant(42)), QVariant(42));
  QVariant out;
  EXPECT_TRUE(formatter.getObjectValue(&out, QStringLiteral("hi"), nullptr));
  EXPECT_EQ(out.toString(), QStringLiteral("hi"));
}

TEST(FormatterSettings, ReadFromTheSettingsDictionary) {
  const QVariantMap dict = {
      {QStringLiteral("SMSNationalIdentifier"), QStringLiteral("PortugueseSingle")},
      {QStringLiteral("isNeedUcs2EncodingForSingleCharacter"), true},
      {QStringLiteral("SMS"), QVariantMap{{QStringLiteral("smsMaxPack"), 3},
                                          {QStringLiteral("SpecialChar"), true},
                                          {QStringLiteral("ReplaceSpecialChar"),
                                           QVariantMap{{QStringLiteral("e9"), QStringLiteral("e")},
                                                       {QStringLiteral("20ac"), QStringLiteral("EUR")},
                                                       {QStringLiteral("E8"), QStringLiteral("x")}, // not the "%x" form
                                                       {QStringLiteral("00e0"), QStringLiteral("x")}}}}},
  };
  const MessageTextFormatterSettings s = messageTextFormatterSettingsFromDictionary(dict);
  EXPECT_EQ(s.smsMaxPack, 3);
  EXPECT_TRUE(s.specialChar);
  ASSERT_TRUE(s.replaceSpecialChar.has_value());
  EXPECT_EQ(s.replaceSpecialChar->size(), 2);
  EXPECT_EQ(s.replaceSpecialChar->value(0x20AC), QStringLiteral("EUR"));
  EXPECT_EQ(s.codec.national, SmsNational::Portuguese);
  EXPECT_TRUE(s.codec.ucs2ForSingleCharacter);

  const MessageTextFormatterSettings empty = messageTextFormatterSettingsFromDictionary({});
  EXPECT_EQ(empty.smsMaxPack, 5);
  EXPECT_FALSE(empty.specialChar);
  EXPECT_FALSE(empty.replaceSpecialChar.has_value());
  EXPECT_EQ(empty.codec.national, SmsNational::None);
}

TEST(FormatterSettings, AdapterReadsTheLiveConfiguration) {
  QTemporaryDir dir;
  QDir().mkpath(dir.filePath("ModemList"));
  ConfigManager::Locations locations;
  locations.candidates = {dir.filePath("ModemList")};
  ConfigManager cm(locations);
  ConfigManager *previous = ConfigManager::sharedConfigManager();
  ConfigManager::setSharedConfigManager(&cm);
  cm.getConfiguration().insert(QStringLiteral("SMSNationalIdentifier"), QStringLiteral("TurkishSingle"));
  cm.getConfiguration().insert(QStringLiteral("SMS"), QVariantMap{{QStringLiteral("AutoDeleteVoicemail"), true}});
  EXPECT_EQ(GlobalGetSMSNational(), QStringLiteral("TurkishSingle"));
  EXPECT_EQ(currentSmsCodecSettings().national, SmsNational::Turkish);
  EXPECT_TRUE(currentSmsPduSettings().autoDeleteVoicemail);
  // Read afresh at every call.
  cm.getConfiguration().remove(QStringLiteral("SMSNationalIdentifier"));
  EXPECT_TRUE(GlobalGetSMSNational().isNull());
  EXPECT_EQ(currentSmsCodecSettings().national, SmsNational::None);
  ConfigManager::setSharedConfigManager(previous);
}

} // namespace
