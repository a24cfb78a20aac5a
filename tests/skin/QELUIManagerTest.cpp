#include "QELUIManager.h"
#include "Bundle.h"
#include "ConfigManager.h"
#include "Plist.h"
#include "WordGlobe.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A bundle of our own with two skins, and a configuration store in its ModemList folder.
class QELUIManagerTest : public ::testing::Test {
protected:
  QTemporaryDir root;
  QString savedBundle;
  std::unique_ptr<ConfigManager> config;

  QString resources() const { return root.filePath("Resources"); }
  QString skinPath(const QString &name) const { return resources() + "/" + name; }

  void SetUp() override {
    savedBundle = Bundle::mainBundle().bundlePath();
    Bundle::setMainBundlePath(root.path());
    writeSkin("defaultSkin", {{"wndMain", QVariantMap{{"Width", 10}, {"Height", 10}}}});
    writeSkin("blueSkin", {{"wndBlue", QVariantMap{}}});
    QDir().mkpath(resources() + "/ModemList");
  }
  void TearDown() override { Bundle::setMainBundlePath(savedBundle); }

  void writeSkin(const QString &name, const QVariantMap &info, const QString &file = "SkinInfo") {
    QDir().mkpath(skinPath(name));
    Plist::writeFile(skinPath(name) + "/" + file, info);
  }
  void makeConfig(const QVariantMap &settings = {}) {
    if (!settings.isEmpty())
      Plist::writeFile(resources() + "/ModemList/settings.plist", settings);
    config = std::make_unique<ConfigManager>(ConfigManager::locationsForBundle(root.path()));
  }
  QVariantMap uiConfig() const { return config->getConfigurationByModule("UIConfig").toMap(); }
};

TEST_F(QELUIManagerTest, StartsWithTheDefaultSkinAndRemembersIt) {
  makeConfig();
  QELUIManager m(config.get());
  EXPECT_TRUE(m.isLoaded());
  EXPECT_TRUE(m.hasKey("wndMain"));
  EXPECT_EQ(m.currentSkinName(), "defaultSkin");
  EXPECT_EQ(uiConfig().value("CurrentSkinName").toString(), skinPath("defaultSkin"));
  EXPECT_EQ(m.skinCount(), 1);
}

TEST_F(QELUIManagerTest, RememberedSkinThatNoLongerLoadsFallsBackToTheDefault) {
  makeConfig({{"UIConfig", QVariantMap{{"CurrentSkinName", skinPath("goneSkin")},
                                       {"SupportSkinArray", QVariantList{skinPath("goneSkin")}}}}});
  QELUIManager m(config.get());
  EXPECT_TRUE(m.isLoaded());
  EXPECT_TRUE(m.hasKey("wndMain"));
  EXPECT_EQ(m.currentSkinName(), "defaultSkin");
  // A broken file counts as gone too.
  QFile::remove(skinPath("blueSkin") + "/SkinInfo");
  QFile bad(skinPath("blueSkin") + "/SkinInfo");
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("not a plist");
  bad.close();
  config->setConfigurationByModule("UIConfig", QVariantMap{{"CurrentSkinName", skinPath("blueSkin")}});
  QELUIManager again(config.get());
  EXPECT_TRUE(again.hasKey("wndMain"));
}

TEST_F(QELUIManagerTest, LoadingAnotherSkinAddsItOnce) {
  makeConfig();
  QELUIManager m(config.get());
  ASSERT_TRUE(m.loadUIResource(skinPath("blueSkin")));
  ASSERT_TRUE(m.loadUIResource(skinPath("blueSkin")));
  EXPECT_EQ(m.currentSkinName(), "blueSkin");
  EXPECT_EQ(m.skinCount(), 2);
  EXPECT_EQ(m.skinNameByIndex(0), "defaultSkin");
  EXPECT_EQ(m.skinNameByIndex(1), "blueSkin");
  EXPECT_EQ(m.skinNameByIndex(2), QString());
  EXPECT_EQ(m.skinNameByIndex(-1), QString());
  EXPECT_FALSE(m.loadUIResource(skinPath("nothing")));
  EXPECT_TRUE(m.hasKey("wndBlue")) << "a failed load keeps the skin that was loaded";
  ConfigManager reread(ConfigManager::locationsForBundle(root.path()));
  EXPECT_EQ(reread.getConfigurationByModule("UIConfig").toMap().value("CurrentSkinName").toString(),
            skinPath("blueSkin"))
      << "the choice reaches the settings file";
}

TEST_F(QELUIManagerTest, OperatorVariantDoesNotRememberTheSkin) {
  makeConfig({{"DifferentWorkingMothodForRadirer", true}});
  QELUIManager m(config.get());
  ASSERT_TRUE(m.loadUIResource(skinPath("blueSkin")));
  EXPECT_EQ(m.skinCount(), 0);
  EXPECT_EQ(m.currentSkinName(), "defaultSkin");
}

TEST_F(QELUIManagerTest, LanguageSkinIsPreferredWhenLanguagesAreNotListed) {
  writeSkin("defaultSkin", {{"onlyFrench", QVariantMap{}}}, "SkinInfo_French");
  makeConfig();
  QELUIManager m(config.get());
  m.setLanguageFolderName("French");
  ASSERT_TRUE(m.loadUIResourceBySkinName("defaultSkin"));
  EXPECT_TRUE(m.hasKey("onlyFrench"));
  config->setConfigurationByModule("SupportLanguages", QVariantList{"English", "French"});
  ASSERT_TRUE(m.loadUIResourceBySkinName("defaultSkin"));
  EXPECT_FALSE(m.hasKey("onlyFrench"));
  EXPECT_TRUE(m.hasKey("wndMain"));
}

TEST_F(QELUIManagerTest, LanguageSkinFollowsTheLoadedTokenList) {
  writeSkin("defaultSkin", {{"onlyGerman", QVariantMap{}}}, "SkinInfo_German");
  QDir().mkpath(resources() + "/German.lproj");
  QFile tokens(resources() + "/German.lproj/LanguageTokenList.txt");
  ASSERT_TRUE(tokens.open(QIODevice::WriteOnly));
  tokens.write("\"OK\" = \"OK\";\n");
  tokens.close();
  makeConfig();
  ASSERT_TRUE(Word_Globe_Init(tokens.fileName()));
  QELUIManager m(config.get());
  ASSERT_TRUE(m.loadUIResourceBySkinName("defaultSkin"));
  EXPECT_TRUE(m.hasKey("onlyGerman"));
  // A language without a skin file of its own keeps the common one.
  WordGlobe::reset();
  ASSERT_TRUE(m.loadUIResourceBySkinName("defaultSkin"));
  EXPECT_TRUE(m.hasKey("wndMain"));
}

TEST_F(QELUIManagerTest, ConfiguredFontServesWhenTheSkinHasNone) {
  makeConfig({{"Main", QVariantMap{{"TextFont", QVariantMap{{"FontName", "DejaVu Serif"}, {"FontSize", 15}}}}}});
  QELUIManager m(config.get());
  QLabel label;
  m.registerController(&label, "wndMain", false);
  EXPECT_EQ(label.font().family(), "DejaVu Serif");
  EXPECT_EQ(label.font().pixelSize(), 15);
}

} // namespace
