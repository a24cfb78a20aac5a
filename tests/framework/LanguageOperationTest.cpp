#include "LanguageOperation.h"
#include "ConfigManager.h"
#include "NotificationCenter.h"
#include "Plist.h"
#include "QELDatacardConfig.h"
#include "QELLanguage.h"
#include "WordGlobe.h"
#include "WordingOperation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class UpdateWatcher : public QObject {
  Q_OBJECT
public:
  int calls = 0;
  QObject *lastObject = nullptr;
  Q_INVOKABLE void updateLanguages(const Notification &n) {
    ++calls;
    lastObject = n.object;
  }
};

// A bundle whose Resources hold token lists that name their own language, and a settings file.
class LanguageFixture : public ::testing::Test {
protected:
  QTemporaryDir root;
  std::unique_ptr<ConfigManager> config;

  QString bundle() const { return root.filePath("Bundle"); }
  QString resources() const { return bundle() + "/Resources"; }
  QString settingsPath() const { return resources() + "/ModemList/settings.plist"; }

  void SetUp() override {
    for (const char *lang : {"English", "German", "Estonian", "French"}) {
      QDir().mkpath(resources() + "/" + lang + ".lproj");
      QFile f(resources() + "/" + lang + ".lproj/LanguageTokenList.txt");
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(QByteArray("\"Main_Language\" = \"") + lang + "\";\n\"SMS_Send\" = \"Send-" + lang + "\";\n");
    }
    QDir().mkpath(resources() + "/ModemList");
  }
  void TearDown() override {
    LanguageOperation::setSharedLanguageOperation(nullptr);
    ConfigManager::setSharedConfigManager(nullptr);
    QELDatacardConfig::freeGlobal();
    QELDatacardConfig::setSettingDictWorkPath({});
    WordGlobe::reset();
  }

  void install(const QVariantMap &settings) {
    Plist::writeFile(settingsPath(), settings);
    config = std::make_unique<ConfigManager>(ConfigManager::locationsForBundle(bundle()));
    ConfigManager::setSharedConfigManager(config.get());
  }
  std::unique_ptr<LanguageOperation> operation(const QStringList &system) {
    auto op = std::make_unique<LanguageOperation>(resources());
    op->setSystemLanguages([system] { return system; });
    return op;
  }
  QVariantMap onDisk() const {
    QVariantMap m;
    Plist::readDictionary(settingsPath(), &m);
    return m;
  }
  static QString loaded() { return Map_Name_Item_of_IndexString("Main_Language"); }
};

QVariantList list(const QStringList &names) {
  QVariantList l;
  for (const QString &n : names)
    l << n;
  return l;
}

TEST_F(LanguageFixture, FirstStartChoosesFromTheSystemLanguages) {
  struct Case {
    const char *name;
    QStringList system;
    QVariant support; // invalid: no "SupportLanguages"
    QString chosen;
    QString tokens;
  };
  const QList<Case> cases = {
      {"an unsupported first code gives way to the next",
       {"fi", "de"},
       list({"German", "English"}),
       "German",
       "German"},
      {"Estonian reaches its folder", {"et"}, list({"Estonian", "English"}), "Estonian", "Estonian"},
      {"regional variants fall back to their language",
       {"de-AT", "en-US"},
       list({"German", "English"}),
       "German",
       "German"},
      {"POSIX spelling", {"fr_FR"}, list({"French"}), "French", "French"},
      {"nothing fits: English when offered", {"ja"}, list({"French", "English"}), "English", "English"},
      {"nothing fits and no English: the first offered", {"ja"}, list({"French", "German"}), "French", "French"},
      {"no system languages", {}, list({"German", "English"}), "English", "English"},
      {"no offered list at all stores English", {"de"}, QVariant(), "English", "English"},
      {"an offered name that is no folder name", {"ja"}, list({"../../etc"}), "English", "English"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    QVariantMap settings{{"FirstInstallFlag", true}, {"Main", QVariantMap{{"Other", 1}}}};
    if (c.support.isValid())
      settings.insert("SupportLanguages", c.support);
    install(settings);
    auto op = operation(c.system);
    op->initLanguage();
    EXPECT_EQ(loaded(), c.tokens);
    const QVariantMap disk = onDisk();
    EXPECT_EQ(disk.value("CurrentLanguage").toString(), c.chosen);
    EXPECT_EQ(disk.value("FirstInstallFlag"), QVariant(false));
    EXPECT_EQ(disk.value("Main"), settings.value("Main"));
    WordGlobe::reset();
  }
}

TEST_F(LanguageFixture, LaterStartsLoadTheStoredLanguage) {
  struct Case {
    const char *name;
    QVariantMap settings;
    QString tokens;
  };
  const QList<Case> cases = {
      {"a known folder", {{"SupportLanguages", list({"German"})}, {"CurrentLanguage", "German"}}, "German"},
      {"a language without a folder name gets the default list",
       {{"SupportLanguages", list({"Finnish"})}, {"CurrentLanguage", "Finnish"}},
       "English"},
      {"a known folder name not shipped in this bundle gets the default list",
       {{"SupportLanguages", list({"Japanese"})}, {"CurrentLanguage", "Japanese"}},
       "English"},
      {"no offered list: the default list", {{"CurrentLanguage", "German"}}, "English"},
      {"the flag written as text counts",
       {{"FirstInstallFlag", "NO"}, {"SupportLanguages", list({"French"})}, {"CurrentLanguage", "French"}},
       "French"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    install(c.settings);
    operation({"de"})->initLanguage();
    EXPECT_EQ(loaded(), c.tokens);
    EXPECT_EQ(onDisk(), c.settings) << "a later start writes nothing";
    WordGlobe::reset();
  }
}

TEST_F(LanguageFixture, LanguageChangeReloadsTheWording) {
  install({{"SupportLanguages", list({"German", "French"})}, {"CurrentLanguage", "German"}});
  auto op = operation({});
  op->initLanguage();
  EXPECT_EQ(loaded(), "German");
  config->setConfigurationByModule("CurrentLanguage", "French");
  EXPECT_TRUE(op->loadTokenList());
  EXPECT_EQ(loaded(), "French");
  EXPECT_EQ(op->loadedTokenListPath(), resources() + "/French.lproj/LanguageTokenList.txt");
  EXPECT_EQ(op->getSupportLanguageArray(), QStringList({"German", "French"}));
  EXPECT_TRUE(op->languageIsSupported("French"));
  EXPECT_FALSE(op->languageIsSupported("English"));
  EXPECT_EQ(op->getSystemLanguageFullName("de-CH"), "German");
  EXPECT_EQ(op->getSystemLanguageFullName("nl"), "") << "Dutch is not offered";
}

TEST_F(LanguageFixture, FindInSupportLanguagesFallsBackToEnglish) {
  install({{"SupportLanguages", list({"German"})}, {"FirstInstallFlag", true}});
  auto op = operation({});
  EXPECT_TRUE(op->findInSupportLanguages("French"));
  EXPECT_EQ(loaded(), "English");
  EXPECT_EQ(onDisk().value("CurrentLanguage"), "English");
  EXPECT_EQ(onDisk().value("FirstInstallFlag"), QVariant(false));
}

TEST_F(LanguageFixture, SharedInstanceIsTheInstalledOne) {
  install({});
  auto op = operation({});
  LanguageOperation::setSharedLanguageOperation(op.get());
  EXPECT_EQ(LanguageOperation::sharedLanguageOperation(), op.get());
  op.reset();
  EXPECT_NE(LanguageOperation::sharedLanguageOperation(), nullptr) << "never null for callers";
}

TEST_F(LanguageFixture, QELLanguageFirstStartWritesThroughTheSettingsOwner) {
  install({{"FirstInstallFlag", true}, {"SupportLanguages", list({"German", "English"})}});
  // A controller's edit that is still only in memory must survive the language object's write,
  // and the language object's entries must survive the next write of the settings owner.
  config->setConfigurationByModule("ProfileID", 4);
  QELLanguage language(resources(), [] { return QStringList{"de-DE"}; });
  EXPECT_EQ(language.mapStringByName("Main_Language"), "German");
  EXPECT_EQ(language.currentLanguage(), "German");
  EXPECT_FALSE(language.isFirstLoadLanguage());
  EXPECT_TRUE(config->writeToFile());
  const QVariantMap disk = onDisk();
  EXPECT_EQ(disk.value("ProfileID").toInt(), 4);
  EXPECT_EQ(disk.value("FirstInstallLanguage"), "German");
  EXPECT_EQ(disk.value("CurrentLanguage"), "German");
  EXPECT_EQ(disk.value("FirstInstallFlag"), QVariant(false));
}

TEST_F(LanguageFixture, QELLanguageWithoutOfferedListOffersTheCurrentOne) {
  struct Case {
    QVariantMap settings;
    QString expected;
  };
  for (const Case &c : QList<Case>{{{}, "English"}, {{{"CurrentLanguage", "French"}}, "French"}}) {
    install(c.settings);
    QELLanguage language(resources(), [] { return QStringList{"de"}; });
    EXPECT_EQ(language.supportLanguageCount(), 1);
    EXPECT_EQ(language.supportLanguageByIndex(0), c.expected);
    EXPECT_EQ(language.supportLanguageByIndex(1), "");
    EXPECT_EQ(language.mapStringByName("Main_Language"), c.expected);
    EXPECT_EQ(onDisk().value("SupportLanguages"), list({c.expected}));
    QELDatacardConfig::freeGlobal();
  }
}

TEST_F(LanguageFixture, LanguageTableAndUpdateNotification) {
  install({});
  Language language;
  EXPECT_EQ(language.mapStringByName("x"), "x") << "no table: the key itself";
  EXPECT_FALSE(language.LoadTokenListResource(resources() + "/none.txt"));
  ASSERT_TRUE(language.LoadTokenListResource(resources() + "/German.lproj/LanguageTokenList.txt"));
  EXPECT_FALSE(language.LoadTokenListResource(resources() + "/none.txt"));
  EXPECT_EQ(language.mapStringByName("SMS_Send"), "Send-German") << "a failed load keeps the table";
  EXPECT_EQ(language.mapStringByName(QString()), "");
  EXPECT_EQ(language.languageCount(), 27);
  EXPECT_EQ(Language::nativeToEnglish(QString::fromUtf8("Français")), "French");
  EXPECT_EQ(Language::englishToNative("zh_TW"), QString::fromUtf8("繁體中文"));
  EXPECT_EQ(Language::systemLanguageToEnglish("zh-Hans-CN"), "zh_CN");
  EXPECT_EQ(Language::systemLanguageToEnglish("zh-TW"), "zh_TW");
  EXPECT_EQ(Language::systemLanguageToEnglish("xx"), "");

  QObject plain;
  UpdateWatcher watcher;
  EXPECT_FALSE(language.registerObserver(nullptr, "updateLanguages", true));
  EXPECT_FALSE(language.registerObserver(&plain, "updateLanguages", true));
  ASSERT_TRUE(language.registerObserver(&watcher, "updateLanguages", true));
  EXPECT_EQ(watcher.calls, 1) << "needUpdate calls once at once";
  language.update();
  EXPECT_EQ(watcher.calls, 2);
  EXPECT_EQ(watcher.lastObject, &language);
  Language other;
  other.update();
  EXPECT_EQ(watcher.calls, 2) << "only this language object's updates";
}

TEST(WordingOperation, OnlyKnownModulesAreLookedUp) {
  QTemporaryDir dir;
  QFile f(dir.filePath("t.txt"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("\"SMS_Send\" = \"Send it\";\n\"Call_Dial\" = \"Dial\";\n\"Send\" = \"Plain\";\n");
  f.close();
  ASSERT_TRUE(Word_Globe_Init(f.fileName()));
  struct Case {
    const char *key;
    const char *expected;
  };
  const QList<Case> cases = {
      {"SMS_Send", "Send it"},
      {"PhoneBook_PbUSerOKBtn", "PhoneBook_PbUSerOKBtn"}, // known module, no entry yet: the key shows
      {"Call_Dial", ""},                                  // not a wording module
      {"Send", ""},                                       // no underscore
      {"_Send", ""},
      {"SMSX_Send", ""},
      {"sms_Send", ""},
  };
  for (const Case &c : cases)
    EXPECT_EQ(WordingOperation::getDisplayWordingValueByWordingKey(c.key), c.expected) << c.key;
  WordGlobe::reset();
}

} // namespace

#include "LanguageOperationTest.moc"
