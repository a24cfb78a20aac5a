// The rules of writing and sending without windows: recipients, the recipients field, picked
// numbers, the text count at five parts, the request builders and the draft found again.
#include "SmsDraftRequest.h"
#include "SmsRecipients.h"
#include "SmsSendRequest.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

QString special(const QString &text) {
  return text == QStringLiteral("Hotline") ? QStringLiteral("12345") : QString();
}

TEST(SmsRecipientsRule, SplitsSkipsBlanksAndReplacesEverySpecialText) {
  struct Case {
    const char *text;
    QStringList expected;
  } cases[] = {
      {"111;222;333", {"111", "222", "333"}},
      {"111;222;333;", {"111", "222", "333"}},
      {"111;;222", {"111", "222"}}, // no empty recipient between two separators
      {";", {}},
      {"", {}},
      {"  ;   ", {}},                    // blank items are no recipients
      {"1 1;222", {"1 1", "222"}},       // blanks inside a number stay
      {"Hotline;222", {"12345", "222"}}, // an earlier item is replaced too
      {"222;Hotline", {"222", "12345"}}, // and the last one
      {"Hotline;Hotline", {"12345", "12345"}},
  };
  for (const Case &c : cases)
    EXPECT_EQ(SmsRecipients::split(QString::fromUtf8(c.text), QStringLiteral(";"), special), c.expected) << c.text;
  EXPECT_EQ(SmsRecipients::split(QStringLiteral("a##b"), QStringLiteral("##")), (QStringList{"a", "b"}));
}

TEST(SmsRecipientsRule, NumberOfSendPhoneAndBlankTexts) {
  const QString sep = QStringLiteral(";");
  EXPECT_EQ(SmsRecipients::numberofSendPhone(QString(), sep), 0);
  EXPECT_EQ(SmsRecipients::numberofSendPhone(QStringLiteral("1"), sep), 1);
  EXPECT_EQ(SmsRecipients::numberofSendPhone(QStringLiteral("1;2"), sep), 2);
  EXPECT_EQ(SmsRecipients::numberofSendPhone(QStringLiteral("1;2;"), sep), 2);
  EXPECT_EQ(SmsRecipients::numberofSendPhone(QStringLiteral("1;2;3"), sep), 3);
  EXPECT_TRUE(SmsRecipients::isUnValidCharWithSendNumString(QString()));
  EXPECT_TRUE(SmsRecipients::isUnValidCharWithSendNumString(QStringLiteral("   ")));
  EXPECT_FALSE(SmsRecipients::isUnValidCharWithSendNumString(QStringLiteral(" 1 ")));
  EXPECT_FALSE(SmsRecipients::isUnValidCharWithSendNumString(QStringLiteral("\t")));
}

TEST(SmsRecipientsField, KeepsNumbersAndSingleSeparatorsUpToTheLimits) {
  struct Case {
    QString typed;
    int max;
    QString kept;
    bool tooMany;
  };
  QString twentyOne, twenty;
  for (int i = 1; i <= 21; ++i) {
    twentyOne += QString::number(i) + QLatin1Char(';');
    if (i <= 20)
      twenty += QString::number(i) + QLatin1Char(';');
  }
  const QString forty(40, QLatin1Char('5'));
  const Case cases[] = {
      {"1 2 3", 20, "123", false},
      {"+49 170", 20, "+49170", false},
      {";123", 20, "123", false},      // a leading separator goes
      {"12;;34", 20, "12;34", false},  // the second of two separators goes
      {"12a;b34", 20, "12;34", false}, // letters go silently
      {forty + "6", 20, forty, false}, // a 41st digit is dropped
      {forty + "6;7", 20, forty + ";7", false},
      {twenty + "21", 20, twenty, false}, // the 21st number's digits do not appear
      {twentyOne, 20, twenty, true},      // the 21st separator warns and is cut
      {"1;2;3;4;5;6;", 5, "1;2;3;4;5;", true},
  };
  for (const Case &c : cases) {
    const SmsRecipients::Filtered f = SmsRecipients::filter(c.typed, QLatin1Char(';'), c.max);
    EXPECT_EQ(f.text, c.kept) << c.typed.toStdString();
    EXPECT_EQ(f.tooMany, c.tooMany) << c.typed.toStdString();
  }
}

TEST(SmsRecipientsField, PickedNumbersNeverTouchTheFieldsLastNumber) {
  const QChar sep = QLatin1Char(';');
  EXPECT_EQ(SmsRecipients::appendPicked(QString(), {"111", "222"}, sep), QStringLiteral("111;222;"));
  EXPECT_EQ(SmsRecipients::appendPicked(QStringLiteral("123"), {"444"}, sep), QStringLiteral("123;444;"));
  // A single typed digit is a number too: it gets its separator.
  EXPECT_EQ(SmsRecipients::appendPicked(QStringLiteral("5"), {"444"}, sep), QStringLiteral("5;444;"));
  EXPECT_EQ(SmsRecipients::appendPicked(QStringLiteral("123;"), {"444"}, sep), QStringLiteral("123;444;"));
  EXPECT_EQ(SmsRecipients::appendPicked(QStringLiteral("1;"), {}, sep), QStringLiteral("1;"));
}

TEST(SmsTextCounting, CutsAtFivePartsInEachAlphabet) {
  const SmsCodecSettings plain;
  struct Case {
    const char *name;
    QString unit; // one character of the alphabet
    int cost;     // what it costs
    int perPart;  // characters in one part of a long message
  };
  const Case cases[] = {
      {"GSM", QStringLiteral("a"), 1, 153},
      // An escape pair is never split between parts: 76 to a part, and the 381st needs a sixth.
      {"GSM with escapes", QStringLiteral("{"), 2, 76},
      {"UCS2", QString(QChar(0x4E2D)), 1, 67},
  };
  for (const Case &c : cases) {
    const int fits = 5 * c.perPart;
    const SmsTextCount whole = SmsTextCount::of(c.unit.repeated(fits), plain);
    EXPECT_FALSE(whole.cut) << c.name;
    EXPECT_EQ(whole.parts, 5) << c.name;
    EXPECT_EQ(whole.characters, fits * c.cost) << c.name;
    const SmsTextCount over = SmsTextCount::of(c.unit.repeated(fits + 1), plain);
    EXPECT_TRUE(over.cut) << c.name;
    EXPECT_EQ(over.text, c.unit.repeated(fits)) << c.name;
    EXPECT_EQ(over.parts, 5) << c.name;
  }
  // One UCS2 character makes the whole text UCS2: its limit applies to the GSM letters too.
  const SmsTextCount mixed = SmsTextCount::of(QString(QChar(0x4E2D)) + QString(400, QLatin1Char('a')), plain);
  EXPECT_TRUE(mixed.cut);
  EXPECT_EQ(mixed.text.size(), 5 * 67);
  const SmsTextCount empty = SmsTextCount::of(QString(), plain);
  EXPECT_EQ(empty.parts, 1);
  EXPECT_EQ(empty.characters, 0);
  const SmsTextCount one = SmsTextCount::of(QString(160, QLatin1Char('a')), plain);
  EXPECT_EQ(one.parts, 1);
  EXPECT_EQ(SmsTextCount::of(QString(161, QLatin1Char('a')), plain).parts, 2);
}

TEST(SmsSendRequestBytes, KnownTextNumberAndFlags) {
  SmsSendRequest r;
  r.centre = QStringLiteral("+4917000");
  r.report = true;
  r.validity = 167;
  r.text = QStringLiteral("Hi\u00e9");
  r.number = QStringLiteral("+15551234");
  r.ref = 255;
  r.saveInBox = true;
  r.returnResult = false;
  const std::optional<QByteArray> bytes = r.encode();
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), 6488);
  EXPECT_EQ(bytes->left(9), QByteArray("+4917000\0", 9));
  EXPECT_EQ(bytes->at(32), 1);
  EXPECT_EQ(bytes->mid(36, 4), QByteArray("\xA7\0\0\0", 4));
  EXPECT_EQ(bytes->mid(40, 6), QByteArray("H\0i\0\xE9\0", 6));
  EXPECT_EQ(bytes->mid(6440, 4), QByteArray("\3\0\0\0", 4));
  EXPECT_EQ(bytes->mid(6444, 10), QByteArray("+15551234\0", 10));
  EXPECT_EQ(quint8(bytes->at(6485)), 255);
  EXPECT_EQ(bytes->at(6486), 1);
  EXPECT_EQ(bytes->at(6487), 1);
  const std::optional<SmsSendRequest> back = SmsSendRequest::decode(*bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->text, r.text);
  EXPECT_EQ(back->number, r.number);
  EXPECT_EQ(back->centre, r.centre);
  EXPECT_FALSE(back->returnResult);

  // A text of 3200 units fills its field exactly; what does not fit is refused, never cut.
  r.text = QString(3200, QLatin1Char('x'));
  const std::optional<QByteArray> full = r.encode();
  ASSERT_TRUE(full);
  EXPECT_EQ(full->mid(6438, 2), QByteArray("x\0", 2));
  EXPECT_EQ(full->mid(6440, 4), QByteArray("\x80\x0C\0\0", 4));
  r.text = QString(3201, QLatin1Char('x'));
  EXPECT_FALSE(r.encode());
  r.text = QStringLiteral("x");
  r.number = QString(41, QLatin1Char('1'));
  EXPECT_FALSE(r.encode());
  r.number = QString(40, QLatin1Char('1'));
  EXPECT_TRUE(r.encode());
  r.centre = QString(32, QLatin1Char('2'));
  EXPECT_FALSE(r.encode());
}

TEST(SmsDraftRequestBytes, FieldsRefusalsAndProgress) {
  SmsDraftRequest d;
  d.text = QStringLiteral("draft");
  d.recipients = QStringLiteral("1;2;");
  d.centre = QStringLiteral("+49");
  d.report = true;
  d.validity = 3;
  const std::optional<QByteArray> bytes = d.encode();
  ASSERT_TRUE(bytes);
  ASSERT_EQ(bytes->size(), 7744);
  EXPECT_EQ(bytes->mid(6400, 4), QByteArray("\5\0\0\0", 4));
  EXPECT_EQ(bytes->mid(6404, 5), QByteArray("1;2;\0", 5));
  EXPECT_EQ(bytes->mid(7704, 4), QByteArray("+49\0", 4));
  EXPECT_EQ(bytes->at(7736), 1);
  EXPECT_EQ(bytes->mid(7740, 4), QByteArray("\3\0\0\0", 4));
  const std::optional<SmsDraftRequest> back = SmsDraftRequest::decode(*bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->recipients, d.recipients);
  EXPECT_EQ(back->text, d.text);
  d.recipients = QString(1300, QLatin1Char('1'));
  EXPECT_FALSE(d.encode());
  EXPECT_FALSE(SmsDraftRequest::decode(QByteArray(100, '\0')));

  const SmsSendProgress p = SmsSendProgress::decode(SmsSendProgress{2, 3, QStringLiteral("+1555")}.encode());
  EXPECT_EQ(p.current, 2);
  EXPECT_EQ(p.total, 3);
  EXPECT_EQ(p.number, QStringLiteral("+1555"));
  // A short package reads as zeros; a number without its end stops at the field.
  EXPECT_EQ(SmsSendProgress::decode(QByteArray("\1", 1)).total, 0);
  EXPECT_EQ(SmsSendProgress::decode(QByteArray(200, '7')).number.size(), SmsSendProgress::kNumberWidth);
}

TEST(SmsDraftKeyTest, FindsTheOpenedDraftWhereverItMoved) {
  auto draft = [](const char *text, const char *number, int minute) {
    return QVariantMap{{"messagetext", text},
                       {"mobilephone", number},
                       {"date", QDateTime(QDate(2026, 12, 1), QTime(9, minute), QTimeZone::utc())},
                       {"stat", ""}};
  };
  QVariantList box = {draft("a", "1", 0), draft("b", "2", 1), draft("c", "3", 2)};
  QVariantMap opened = box.at(1).toMap();
  opened.insert("index", 1);
  const SmsDraftKey key = SmsDraftKey::of(opened, 0);
  EXPECT_EQ(key.findIn(box), 1);
  box.prepend(draft("new", "9", 5)); // the list changed under the editor
  EXPECT_EQ(key.findIn(box), 2);
  box.removeAt(2);
  EXPECT_EQ(key.findIn(box), -1); // gone: nothing is deleted in its place
  EXPECT_EQ(SmsDraftKey().findIn(box), -1);
}

} // namespace
