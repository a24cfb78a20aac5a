// The phonebook plug-in contract: each request a plug-in posts and the controller's answer, the
// plug-in library itself, and a SIM request while the device memory is active, end to end.
#include "MainWindowFixture.h"
#include "NotificationBridge.h"
#include "PBFixture.h"
#include "PlugInInterface.h"
#include "WordGlobe.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPluginLoader>
#include <QPushButton>

namespace {
using namespace pbtest;

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

void request(const char *name, const QVariant &value) {
  NotificationCenter::defaultCenter().postNotificationName(QLatin1String(name), nullptr,
                                                           {{QLatin1String(name), value}});
}

class PhonebookPlugInTest : public PBFixture {
protected:
  QObject observer;
  QMap<QString, QList<QVariantMap>> answers_;

  PBController &startObserved(const QVariantList &groups = {}, const QVariantMap &top = {}) {
    PBController &c = start(groups, {}, top);
    for (const char *name : {"addContactResult", "searchUserInUSIM", "formatUserName", "formatMobilePhone",
                             "selectUsrInfo", "phonebookReadFinshed"}) {
      const QString key = QLatin1String(name);
      NotificationCenter::defaultCenter().addObserver(
          &observer, key, nullptr, [this, key](const Notification &n) { answers_[key] << n.userInfo; });
    }
    return c;
  }
  QVariant answer(const char *name) const {
    const QList<QVariantMap> all = answers_.value(QLatin1String(name));
    return all.isEmpty() ? QVariant() : all.last().value(QLatin1String(name));
  }
  int answerCount(const char *name) const { return int(answers_.value(QLatin1String(name)).size()); }
  QStringList alerts() const {
    QStringList messages;
    for (const ModalQuestion &q : answers->asked())
      messages << q.message;
    return messages;
  }
  void TearDown() override {
    NotificationCenter::defaultCenter().removeObserver(&observer);
    PBFixture::TearDown();
  }
};

TEST_F(PhonebookPlugInTest, PlugInAddBeforeAnySimReadDoesNothing) {
  startObserved({group(QStringLiteral("G"))});
  request("AddNewUserItem", contact(QStringLiteral("Ann"), QStringLiteral("123")));
  EXPECT_TRUE(pb->addUserList().isEmpty());
  EXPECT_EQ(pb->sumOfContactInPC(), 0);
  EXPECT_EQ(answerCount("addContactResult"), 0);
  // A request without its key, and one failing the field check, post nothing either.
  NotificationCenter::defaultCenter().postNotificationName(QStringLiteral("AddNewUserItem"), nullptr, {});
  request("AddNewUserItem", contact(QString(), QStringLiteral("1")));
  EXPECT_EQ(alerts(), QStringList{word("The name should not be null!")});
  EXPECT_EQ(answerCount("addContactResult"), 0);
}

TEST_F(PhonebookPlugInTest, PlugInAddWithAFullSimGoesToTheFirstPcGroupAtOnce) {
  startObserved({group(QStringLiteral("A")), group(QStringLiteral("B"))});
  read(kStorageSIM, {item(1, QStringLiteral("Old"), QStringLiteral("9"))}, 1);
  request("AddNewUserItem", contact(QStringLiteral("Ann"), QStringLiteral("123")));
  EXPECT_TRUE(pb->addUserList().isEmpty());
  ASSERT_EQ(pb->sumOfContactInGroup(0), 1);
  EXPECT_EQ(pb->getPCUserByIndex(0, 0).value(PBKey::kUserName).toString(), "Ann");
  ASSERT_EQ(answerCount("addContactResult"), 1);
  bool listed = false;
  for (const QVariant &v : answer("addContactResult").toList())
    listed |= v.toMap().value(PBKey::kUserName) == "Ann" && v.toMap().value(PBKey::kSavePos) == PBTag::kPC;
  EXPECT_TRUE(listed);
  // And on disk.
  QVariant file;
  ASSERT_TRUE(Plist::readFile(phoneBookPath(), &file));
  EXPECT_EQ(file.toList().value(0).toList().size(), 2);
}

TEST_F(PhonebookPlugInTest, PlugInSimAddWritesAtTheNextFreeRecord) {
  startObserved({group(QStringLiteral("G"))});
  read(kStorageSIM, {item(1, QStringLiteral("Old"), QStringLiteral("9"))}, 5);
  request("AddNewUserItem", contact(QStringLiteral("Ann"), QStringLiteral("123")));
  ASSERT_EQ(pb->addUserList().size(), 1);
  EXPECT_EQ(pb->addUserList().first().toMap().value(PBKey::kIndex).toInt(), 2);
  EXPECT_EQ(pb->phonebookOperate(), kPBOperationAdd);
}

TEST_F(PhonebookPlugInTest, PlugInNumberFilterAnswersDigitsAndPlusAfterTheAlert) {
  startObserved();
  read(kStorageSIM, {}, 10, 14, 6);
  struct Case {
    const char *typed;
    const char *answer;
    const char *alert;
  };
  const Case cases[] = {
      {"+49 (30) 1", "+49301", "The item contains invalid charactor(s)!"},
      {"*#+0123456", "*#+012", "This item exceeds the max length!"},
      {"12", "12", nullptr},
  };
  for (const Case &c : cases) {
    answers.reset();
    answers = std::make_unique<ScriptedAnswers>();
    request("checkInputMobilePhone", QLatin1String(c.typed));
    EXPECT_EQ(answer("formatMobilePhone").toString(), QLatin1String(c.answer)) << c.typed;
    EXPECT_EQ(alerts(), c.alert ? QStringList{word(c.alert)} : QStringList()) << c.typed;
  }
  // Names are cut to the SIM's name length.
  request("checkInputUserName", QStringLiteral("A very long name indeed"));
  EXPECT_EQ(answer("formatUserName").toString(), "A very long na");
}

TEST_F(PhonebookPlugInTest, PlugInPcDeleteRemovesThatContactNotTheFirstOne) {
  startObserved({group(QStringLiteral("G"), {contact(QStringLiteral("Ann"), QStringLiteral("1")),
                                             contact(QStringLiteral("Bob"), QStringLiteral("2"))})});
  read(kStorageSIM, {}, 10);
  PBContactRecord bob;
  for (const QVariant &v : pb->allPhoneList())
    if (v.toMap().value(PBKey::kUserName) == "Bob")
      bob = v.toMap();
  ASSERT_FALSE(bob.isEmpty());
  ASSERT_NE(bob.value(PBKey::kIndex).toInt(), 1);
  request("deleteUserItem", bob);
  ASSERT_EQ(pb->sumOfContactInGroup(0), 1);
  EXPECT_EQ(pb->getPCUserByIndex(0, 0).value(PBKey::kUserName).toString(), "Ann");
  for (const QVariant &v : pb->allPhoneList())
    EXPECT_NE(v.toMap().value(PBKey::kUserName), "Bob");
  EXPECT_EQ(answerCount("addContactResult"), 1);
  // A PC edit changes the record where it stands.
  PBContactRecord ann;
  for (const QVariant &v : pb->allPhoneList())
    if (v.toMap().value(PBKey::kUserName) == "Ann")
      ann = v.toMap();
  ann.insert(PBKey::kMobilePhone, QStringLiteral("777"));
  request("editUserItem", ann);
  ASSERT_EQ(pb->sumOfContactInGroup(0), 1);
  EXPECT_EQ(pb->getPCUserByIndex(0, 0).value(PBKey::kMobilePhone).toString(), "777");
  EXPECT_EQ(answerCount("addContactResult"), 2);
}

TEST_F(PhonebookPlugInTest, PlugInSearchAndSelectionAnswerFromTheSim) {
  startObserved();
  read(kStorageSIM, {item(1, QStringLiteral("Anna"), QStringLiteral("+4930")), item(2, QStringLiteral("Ben"), "2")});
  request("SearchItemInUSIMList", QStringLiteral("+49"));
  ASSERT_EQ(answer("searchUserInUSIM").toList().size(), 1);
  EXPECT_EQ(answer("searchUserInUSIM").toList().first().toMap().value(PBKey::kUserName).toString(), "Anna");
  request("SearchItemInUSIMList", QString());
  request("selectContact", 1);
  EXPECT_EQ(answer("selectUsrInfo").toMap().value(PBKey::kUserName).toString(), "Ben");
  // A row outside the SIM list answers nothing.
  request("selectContact", 7);
  EXPECT_EQ(answerCount("selectUsrInfo"), 1);
}

TEST_F(PhonebookPlugInTest, ThePlugInListsTheMergedListAndPostsItsRequests) {
  NotificationBridge::shared();
  startObserved({group(QStringLiteral("G"), {contact(QStringLiteral("Ann"), QStringLiteral("1"))})});
  QString error;
  std::optional<LoadedPlugIn> plugin =
      PlugInLoader::load(QStringLiteral(QEL_TEST_PLUGINS_DIR), QStringLiteral("PhoneBookBundle.bundle"), &error);
  ASSERT_TRUE(plugin.has_value()) << error.toStdString();
  ASSERT_TRUE(plugin->principal->initWithParam({}));
  std::unique_ptr<QWidget> view(plugin->principal->bundleView());
  auto *list = view->findChild<QListWidget *>(QStringLiteral("PhoneBookBundleList"));
  ASSERT_NE(list, nullptr);
  // The SIM read reports the merged list.
  read(kStorageSIM, {item(1, QStringLiteral("Old"), QStringLiteral("9"))}, 1);
  EXPECT_EQ(list->count(), 2);
  // Its add reaches the controller: the SIM is full, so the contact goes to the PC at once.
  view->findChild<QLineEdit *>(QStringLiteral("PhoneBookBundleName"))->setText(QStringLiteral("New"));
  view->findChild<QLineEdit *>(QStringLiteral("PhoneBookBundleNumber"))->setText(QStringLiteral("55"));
  view->findChild<QPushButton *>(QStringLiteral("PhoneBookBundleAdd"))->click();
  EXPECT_EQ(pb->sumOfContactInGroup(0), 2);
  EXPECT_EQ(list->count(), 3);
  view.reset();
}

class PhonebookPlugInRoadTest : public MainWindowFixture {
protected:
  QVariantMap settingsOverrides() const override {
    return {{QStringLiteral("HasMePosition"), true}, {QStringLiteral("CurrentLanguage"), QStringLiteral("English")}};
  }
};

TEST_F(PhonebookPlugInRoadTest, APlugInSimAddWhileTheDeviceMemoryIsActiveSwitchesFirst) {
  if (!launch())
    GTEST_SKIP() << "no session bus";
  PBController *pb = g_PBController;
  ASSERT_TRUE(testsupport::waitUntil([pb] { return pb->simInitFinished(); }, 10000));
  const QVariantMap me{{QStringLiteral("Capacity"), 10},
                       {QStringLiteral("Contacts"), QVariantList{item(1, QStringLiteral("Me One"), "111")}}};
  backend->control(QStringLiteral("SetContacts"), {QStringLiteral("ME"), QString::fromUtf8(Plist::toXml(me))});
  ASSERT_TRUE(testsupport::waitUntil([pb] { return pb->meInitFinished(); }));
  pb->setModemStorage(kStorageME);
  ASSERT_TRUE(testsupport::waitUntil([pb] { return pb->currentStorage() == kStorageME && !pb->batchRunning(); }));
  request("AddNewUserItem", contact(QStringLiteral("Plug"), QStringLiteral("4242")));
  ASSERT_TRUE(testsupport::waitUntil([&] {
    return backend->control(QStringLiteral("Contacts"), {QStringLiteral("SIM")}).value(0).toString().contains("Plug");
  }));
  ASSERT_TRUE(testsupport::waitUntil([pb] { return !pb->batchRunning(); }));
  EXPECT_EQ(backend->control(QStringLiteral("ActiveMemory")).value(0).toInt(), kStorageSIM);
  EXPECT_EQ(pb->currentStorage(), kStorageSIM);
  EXPECT_FALSE(
      backend->control(QStringLiteral("Contacts"), {QStringLiteral("ME")}).value(0).toString().contains("Plug"));
  bool inSimList = false;
  for (const QVariant &v : pb->getSimUserList())
    inSimList |= v.toMap().value(PBKey::kUserName) == "Plug";
  EXPECT_TRUE(inSimList);
}

} // namespace
