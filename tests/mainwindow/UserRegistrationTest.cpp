// The user registration by SMS: the checks of the sheet, the three messages 5 s apart (shortened
// here), the result that marks the registration done, and the resend at SIM ready after a failure.
#include "MainWindowFixture.h"
#include "PBController.h"
#include "SMSController.h"
#include "UserRegistrationChecks.h"
#include "UserRegistrationSheet.h"
#include "WordGlobe.h"

#include <QCalendarWidget>
#include <QDBusArgument>
#include <QTest>

namespace {

TEST(UserRegistrationChecks, InputsAsATable) {
  struct Case {
    char field; // 'e' e-mail, 'c' contact, 'd' date of birth
    const char *text;
    const char *failure; // null: accepted
  };
  const Case cases[] = {
      {'e', "", "Email address information is not input!"},
      {'e', "user@example.com", nullptr},
      {'e', "  first.last+tag@mail.example.co  ", nullptr},
      {'e', "user@example", "Mail address incorrect format!"},
      {'e', "user@example.c", "Mail address incorrect format!"},
      {'e', "user@mail.example.c", "Mail address incorrect format!"}, // one letter behind two labels
      {'e', "user@example.comabcd", "Mail address incorrect format!"},
      {'e', "user@example.com x", "Mail address incorrect format!"},
      {'e', "a@b@example.com", "Mail address incorrect format!"},
      {'c', "", "Contact information is not input!"},
      {'c', "0123456789", nullptr},
      {'c', "012345678", "Contact incorrect format!"},
      {'c', "01234x6789", "Contact incorrect format!"},
      {'d', "", "Dob information is not input!"},
      {'d', "31/12/1990", nullptr},
      {'d', "01/01/0001", nullptr},
      {'d', "12/13/1990", "Dob incorrect format!"},
      {'d', "00/01/2000", "Dob incorrect format!"},
      {'d', "01/01/0000", "Dob incorrect format!"},
      {'d', "32/01/2000", "Dob incorrect format!"},
      {'d', "dd/mm/yyyy", "Dob incorrect format!"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    const QString text = QString::fromLatin1(c.text);
    const QString failure = c.field == 'e'   ? UserRegistrationChecks::checkEmailValidity(text)
                            : c.field == 'c' ? UserRegistrationChecks::checkContactValidity(text)
                                             : UserRegistrationChecks::checkDobValidity(text);
    if (c.failure)
      EXPECT_EQ(failure, QString::fromLatin1(c.failure));
    else
      EXPECT_TRUE(failure.isNull()) << failure.toStdString();
  }
}

TEST(UserRegistrationChecks, FieldsAreCutToTenByWidth) {
  EXPECT_EQ(PBController::deleteExtraContent("01234567891", 10), "0123456789");
  EXPECT_EQ(PBController::deleteExtraContent("0123456789", 10), "0123456789");
  // A character beyond ASCII counts two: five of them fill the width.
  EXPECT_EQ(PBController::deleteExtraContent(QString::fromUtf8("ééééééé"), 10), QString::fromUtf8("ééééé"));
  EXPECT_EQ(PBController::deleteExtraContent(QString::fromUtf8("12345678é9"), 10), "12345678é");
  EXPECT_EQ(PBController::deleteExtraContent(QString(), 10), QString());
}

class UserRegistration : public NetworkWindowFixture {
protected:
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("Main"),
             QVariantMap{{QStringLiteral("Main_RegisteUserInfo_IfNeeded"), true},
                         {QStringLiteral("Main_sendUserInfoToNumber_IfNeeded"), QStringLiteral("+15550123")},
                         {QStringLiteral("Main_FirstTimeSendUserInfo"), true}}}};
  }
  void SetUp() override {
    NetworkWindowFixture::SetUp();
    MainController::setUserInfoSendDelayMs(60);
  }
  void TearDown() override {
    MainController::setUserInfoSendDelayMs(5000);
    NetworkWindowFixture::TearDown();
  }

  MainController *main() const { return parts.mainController; }
  UserRegistrationSheet *sheet() const { return main()->userRegisteWnd(); }
  QVariant mainKey(const char *key) const {
    QVariantMap saved;
    Plist::readDictionary(dir.filePath(QStringLiteral("ModemList/settings.plist")), &saved);
    return saved.value(QStringLiteral("Main")).toMap().value(QLatin1String(key));
  }
  QList<QPair<QString, QString>> sent() const {
    QList<QPair<QString, QString>> out;
    const QVariantList reply = backend->control(QStringLiteral("SentMessages"));
    if (reply.isEmpty())
      return out;
    const QDBusArgument arg = reply.first().value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
      QString number, text;
      arg.beginStructure();
      arg >> number >> text;
      arg.endStructure();
      out.append({number, text});
    }
    arg.endArray();
    return out;
  }
  void fill(const QString &email, const QString &contact, const QString &dob) {
    sheet()->tfdEmail_->setText(email);
    sheet()->tfdContact_->setText(contact);
    sheet()->tfdDob_->setText(dob);
  }
  bool waitSimReady() {
    return testsupport::waitUntil([&] { return main()->getNetCardStatus() == MainController::kNetCardSimReady; });
  }
};

TEST_F(UserRegistration, AFilledSheetSendsThreeMessagesAndIsDoneOnce) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitSimReady());
  main()->applicationDidFinishLaunching();
  ASSERT_TRUE(sheet()->isVisible());

  // A wrong date is refused, named and replaced by its pattern; the sheet stays.
  fill(" user@example.com ", "0123456789", "12/13/1990");
  sheet()->btnSendUserInfo_->click();
  ASSERT_FALSE(answers->asked().isEmpty());
  EXPECT_EQ(answers->asked().last().message, Map_Name_Item_of_IndexString("Dob incorrect format!"));
  EXPECT_EQ(answers->asked().last().title, Map_Name_Item_of_IndexString("Warning!"));
  EXPECT_EQ(sheet()->tfdDob_->text(), "dd/mm/yyyy");
  EXPECT_TRUE(sheet()->isVisible());

  // Typing an eleventh digit is cut back to ten.
  sheet()->tfdContact_->setText(QString());
  sheet()->tfdContact_->setFocus();
  QTest::keyClicks(sheet()->tfdContact_, "01234567891");
  EXPECT_EQ(sheet()->tfdContact_->text(), "0123456789");

  // The calendar button shows the picker; a picked date fills the field.
  sheet()->btnCalendarUserInfo_->click();
  EXPECT_TRUE(sheet()->DateCalendar_->isVisible());
  sheet()->DateCalendar_->setSelectedDate(QDate(1990, 12, 31));
  main()->setCalendarDateTime();
  EXPECT_EQ(sheet()->tfdDob_->text(), "31/12/1990");
  sheet()->btnCalendarUserInfo_->click();
  EXPECT_FALSE(sheet()->DateCalendar_->isVisible());

  sheet()->btnSendUserInfo_->click();
  EXPECT_FALSE(sheet()->isVisible());
  EXPECT_TRUE(main()->isSendingUserInfo());
  EXPECT_FALSE(g_SMSController->menuItemEnabled(SMSController::SendItem));
  EXPECT_EQ(mainKey("Main_UserMailInfo").toString(), "Email user@example.com");
  EXPECT_EQ(mainKey("Main_UserContactInfo").toString(), "Contact 0123456789");
  EXPECT_EQ(mainKey("Main_UserDOBInfo").toString(), "DOB 31/12/1990");
  EXPECT_EQ(mainKey("Main_FirstTimeSendUserInfo"), QVariant(false));
  // The first goes at once, the others one pause apart.
  ASSERT_TRUE(testsupport::waitUntil([&] { return sent().size() == 1; }));
  ASSERT_TRUE(testsupport::waitUntil([&] { return !main()->isSendingUserInfo(); }));
  const QList<QPair<QString, QString>> expected{
      {"+15550123", "Email user@example.com"}, {"+15550123", "Contact 0123456789"}, {"+15550123", "DOB 31/12/1990"}};
  EXPECT_EQ(sent(), expected);
  EXPECT_EQ(mainKey("Main_SendUserInfoOK"), QVariant(true));
  EXPECT_EQ(g_SMSController->sendState().resultOfSendUsrInfo_.size(), 3);
  EXPECT_TRUE(g_SMSController->menuItemEnabled(SMSController::SendItem));

  // Registered: neither the launch nor a SIM ready brings anything back.
  main()->applicationDidFinishLaunching();
  main()->netcardChanged(MainController::kNetCardSimReady);
  QTest::qWait(200);
  EXPECT_FALSE(sheet()->isVisible());
  EXPECT_EQ(sent().size(), 3);
}

TEST_F(UserRegistration, AFailureIsSentAgainWholeAtTheNextSimReadyNeverDuringAChain) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitSimReady());
  backend->control(QStringLiteral("SetSmsSendResult"), {false});
  main()->openUserRegisteWndIfNeedRegiste();
  fill("user@example.com", "0123456789", "01/02/2003");
  sheet()->btnSendUserInfo_->click();
  // A SIM ready while the chain runs changes nothing.
  main()->netcardChanged(MainController::kNetCardSimReady);
  ASSERT_TRUE(testsupport::waitUntil([&] { return !main()->isSendingUserInfo(); }));
  EXPECT_EQ(sent().size(), 3);
  EXPECT_FALSE(mainKey("Main_SendUserInfoOK").toBool());

  backend->control(QStringLiteral("SetSmsSendResult"), {true});
  main()->netcardChanged(MainController::kNetCardSimReady);
  EXPECT_TRUE(main()->isSendingUserInfo());
  main()->netcardChanged(MainController::kNetCardSimReady);
  ASSERT_TRUE(testsupport::waitUntil([&] { return !main()->isSendingUserInfo(); }));
  const QList<QPair<QString, QString>> all = sent();
  ASSERT_EQ(all.size(), 6);
  EXPECT_EQ(all.mid(3), all.mid(0, 3));
  EXPECT_EQ(main()->userRegisteInfo().size(), 3);
  EXPECT_EQ(g_SMSController->sendState().resultOfSendUsrInfo_.size(), 3);
  EXPECT_EQ(mainKey("Main_SendUserInfoOK"), QVariant(true));
}

TEST_F(UserRegistration, ExitStoresNothingAndTheSheetComesBack) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  main()->openUserRegisteWndIfNeedRegiste();
  ASSERT_TRUE(sheet()->isVisible());
  fill("user@example.com", "0123456789", "01/02/2003");
  sheet()->btnExitUserInfo_->click();
  EXPECT_FALSE(sheet()->isVisible());
  EXPECT_FALSE(mainKey("Main_UserMailInfo").isValid());
  EXPECT_EQ(mainKey("Main_FirstTimeSendUserInfo"), QVariant(true));
  main()->openUserRegisteWndIfNeedRegiste();
  EXPECT_TRUE(sheet()->isVisible());
}

class UserRegistrationWithoutNumber : public UserRegistration {
protected:
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("Main"), QVariantMap{{QStringLiteral("Main_RegisteUserInfo_IfNeeded"), true},
                                                 {QStringLiteral("Main_sendUserInfoToNumber_IfNeeded"), QString()},
                                                 {QStringLiteral("Main_FirstTimeSendUserInfo"), true},
                                                 {QStringLiteral("Main_UserMailInfo"), QStringLiteral("Email a@b.cd")},
                                                 {QStringLiteral("Main_UserContactInfo"), QStringLiteral("Contact 1")},
                                                 {QStringLiteral("Main_UserDOBInfo"), QStringLiteral("DOB 1")}}}};
  }
};

TEST_F(UserRegistrationWithoutNumber, NoSheetAndNothingSent) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  ASSERT_TRUE(waitSimReady());
  main()->applicationDidFinishLaunching();
  main()->netcardChanged(MainController::kNetCardSimReady);
  QTest::qWait(150);
  EXPECT_FALSE(main()->userRegisteWnd()->isVisible());
  EXPECT_TRUE(sent().isEmpty());
  EXPECT_FALSE(main()->isSendingUserInfo());
}

} // namespace
