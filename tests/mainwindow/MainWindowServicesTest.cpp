// What the other subsystems reach of the main window and the device status: the controllers take
// their places among the neighbours, and a call from the settings window lands on the main window.
#include "MainController.h"
#include "MainWindowFixture.h"
#include "MainWindowNeighbour.h"
#include "Neighbourhood.h"
#include "QELUIManager.h"
#include "SettingController.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QMoveEvent>

namespace {

class MainWindowServices : public MainWindowFixture {
protected:
  QVariantMap extra;

  QVariantMap settingsOverrides() const override { return extra; }
  void SetUp() override {}
  void TearDown() override {
    delete parts.mainController; // it watches the window
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
  }
  void build(const QVariantMap &settings = {}) {
    extra = settings;
    MainWindowFixture::SetUp();
    buildOffline();
    main()->setStartsBackend(false);
  }
  MainController *main() const { return parts.mainController; }
};

TEST_F(MainWindowServices, TheControllersTakeTheirPlacesAndLeaveThem) {
  build();
  EXPECT_EQ(Neighbourhood::mainWindow(), static_cast<MainWindowNeighbour *>(main()));
  EXPECT_EQ(Neighbourhood::deviceStatus(), static_cast<DeviceStatusNeighbour *>(parts.initController));
  delete parts.initController;
  parts.initController = nullptr;
  EXPECT_EQ(Neighbourhood::deviceStatus(), nullptr);
  delete parts.mainController;
  parts.mainController = nullptr;
  EXPECT_EQ(Neighbourhood::mainWindow(), nullptr);
}

// Turning automatic connection on from the settings window goes to the Internet tab; with the
// bar skin the main window lays itself out for that tab as its own tab buttons do.
TEST_F(MainWindowServices, AutoConnectFromTheSettingsLaysTheBarSkinOutForTheInternetTab) {
  build({{"UIConfig", QVariantMap{{"BraVavavUI", true}}}});
  const QString folder = dir.filePath("barskin");
  QDir().mkpath(folder);
  QVariantMap info;
  for (const char *key : {"btnInternet", "btnSMS", "btnPhonebook", "btnSetting"})
    info.insert(
        key, QVariantMap{{"ImageName", "start.png"}, {"ImageDict", QVariantMap{{"In", "in.png"}, {"Out", "out.png"}}}});
  Plist::writeFile(folder + "/SkinInfo", info);
  QELUIManager skin(config.get());
  ASSERT_TRUE(skin.loadUIResource(folder));
  ASSERT_NE(g_SettingController, nullptr);
  main()->qelSkinManager = &skin;
  g_SettingController->qelSkinManager = &skin;
  const auto image = [&](const char *key) { return skin.itemInfoDictForKey(key).value("ImageName").toString(); };
  main()->gotoSMS();
  ASSERT_EQ(image("btnInternet"), "out.png");

  QCheckBox box;
  box.setChecked(true);
  g_SettingController->auto_Connect(&box); // the question is answered OK
  ASSERT_TRUE(box.isChecked());
  EXPECT_EQ(image("btnInternet"), "in.png");
  for (const char *other : {"btnSMS", "btnPhonebook", "btnSetting"})
    EXPECT_EQ(image(other), "out.png") << other;

  main()->qelSkinManager = nullptr;
  g_SettingController->qelSkinManager = nullptr;
}

// The windows that sit next to the main window (the MMS preview) follow its moves, and only when
// the toolbar offers MMS at all.
TEST_F(MainWindowServices, AMoveOfTheMainWindowReachesItsFollowersOnlyWithMms) {
  for (bool mms : {true, false}) {
    SCOPED_TRACE(mms);
    QVariantList items{QVariantMap{{"itemIdentifier", "Internet"}}};
    if (mms)
      items << QVariantMap{{"itemIdentifier", "MMS"}};
    build({{"toolBarItems", items}});
    ASSERT_EQ(main()->hasModuleWith("MMS"), mms);
    int moves = 0;
    main()->addWindowMoveFollower([&moves] { ++moves; });
    QMoveEvent move(QPoint(40, 50), QPoint(10, 20));
    QCoreApplication::sendEvent(parts.window, &move);
    EXPECT_EQ(moves, mms ? 1 : 0);
    delete parts.mainController;
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
  }
}

} // namespace
