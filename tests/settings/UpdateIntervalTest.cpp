// The update interval of the System page: its choices, and a choice stored in the settings and
// passed to the updater.
#include "AEMessage.h"
#include "Plist.h"
#include "SettingFixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

namespace {

class UpdateInterval : public SettingFixture {
protected:
  std::unique_ptr<AEMessage> updater;
  QString updateFolder() const { return dir.filePath(QStringLiteral("ModemList/Update")); }

  void SetUp() override {
    SettingFixture::SetUp();
    // The files that make updates supported.
    QDir().mkpath(updateFolder());
    for (const char *name : {"IMEIInfo.plist", "LocalInfo.plist", "UpdateCfg.plist"})
      Plist::writeFile(updateFolder() + QLatin1Char('/') + QLatin1String(name), QVariantMap());
    QFile ini(updateFolder() + QStringLiteral("/UpdateCfg.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("ENABLE_UPDATE=0\nUPDATE_FREQUENCE=14\n");
    ini.close();
    updater = std::make_unique<AEMessage>();
    updater->setSender([](const QByteArray &) { return 0; });
    AEMessage::setDefaultAEMessage(updater.get());
  }
  void TearDown() override {
    SettingFixture::TearDown();
    AEMessage::setDefaultAEMessage(nullptr);
    updater.reset();
  }
  QByteArray ini() const {
    QFile f(updateFolder() + QStringLiteral("/UpdateCfg.ini"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

TEST_F(UpdateInterval, AChosenIntervalIsStoredAndPassedToTheUpdater) {
  ASSERT_TRUE(updater->isSupportUpdate());
  buildOffline();
  QComboBox *box = settings()->cboxUpdateDuration;
  ASSERT_NE(box, nullptr);
  QStringList items;
  for (int i = 0; i < box->count(); ++i)
    items << box->itemText(i);
  EXPECT_EQ(items, (QStringList{"1", "7", "14", "30"}));
  const int seven = box->findText(QStringLiteral("7"));
  box->setCurrentIndex(seven);
  emit box->activated(seven);
  QVariantMap onDisk;
  ASSERT_TRUE(Plist::readDictionary(config->configFilePathOfKey(kCMSettingFile), &onDisk));
  EXPECT_EQ(onDisk.value(QStringLiteral("UPDATE_DURATION")).toInt(), 7);
  EXPECT_TRUE(ini().contains("UPDATE_FREQUENCE=7\n")) << ini().constData();
  // The page shows the stored interval when it is built again.
  box->setCurrentIndex(0);
  settings()->initUpdateNibState();
  EXPECT_EQ(box->currentText(), QStringLiteral("7"));
}

} // namespace
