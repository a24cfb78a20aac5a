// Where the main window's navigation actions lead: tabs, settings pages, USSD windows, the
// operator's links, the drawer, and the toolbar's pressed button following the page.
#include "ButtonMatrix.h"
#include "CocoaExt.h"
#include "DialController.h"
#include "DrawerPanel.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "NSButtonExt.h"
#include "NotificationTables.h"
#include "QELUIManager.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

namespace {

class NavigationActions : public MainWindowFixture {
protected:
  QVariantMap extra;
  QList<QUrl> opened;
  QList<Notification> posted;
  QObject observer;

  QVariantMap settingsOverrides() const override { return extra; }
  void SetUp() override {
    QELUIController::setUrlOpener([this](const QUrl &u) {
      opened << u;
      return true;
    });
  }
  void TearDown() override {
    delete parts.mainController; // it watches the window
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
    QELUIController::setUrlOpener({});
  }
  void build(const QVariantMap &settings = {}) {
    extra = settings;
    MainWindowFixture::SetUp();
    buildOffline();
    main()->setStartsBackend(false);
  }
  void watch(const char *name) {
    NotificationCenter::defaultCenter().addObserver(&observer, QLatin1String(name), nullptr,
                                                    [this](const Notification &n) { posted << n; });
  }
  MainController *main() const { return parts.mainController; }
};

TEST_F(NavigationActions, TabActionsSelectTheirPages) {
  build();
  watch(kTabViewItemWillChange);
  struct Case {
    void (MainController::*action)(QObject *);
    const char *identifier;
  };
  const Case cases[] = {{&MainController::gotoSetting, "Setting"},
                        {&MainController::gotoPhonebook, "Phonebook"},
                        {&MainController::gotoInternet, "Internet"},
                        {&MainController::gotoSMS, "SMS"},
                        {&MainController::gotoDialRecord, "DialRecord"},
                        {&MainController::gotoCall, "Call"},
                        {&MainController::gotoUSSD, "USSD1"}};
  for (const Case &c : cases) {
    posted.clear();
    (main()->*c.action)(nullptr);
    ASSERT_EQ(posted.size(), 1) << c.identifier;
    EXPECT_EQ(posted[0].userInfo.value(kTabViewItemWillChange).toString(), QLatin1String(c.identifier));
    // A page that exists is brought forward.
    const int index = NSTabViewExt::tabViewItemOfIdentifier(parts.tabs, QLatin1String(c.identifier));
    if (index >= 0) {
      EXPECT_EQ(parts.tabs->currentIndex(), index) << c.identifier;
    }
  }
}

TEST_F(NavigationActions, SettingsMatrixRowsChooseTheirPagesAndRowSevenNothing) {
  build();
  QTabWidget settings;
  const QStringList pages = {"Connection", "Selection", "Preference",     "Sounds",
                             "Security",   "System",    "Update settings"};
  for (const QString &page : pages) {
    auto *view = new QWidget;
    view->setProperty("itemIdentifier", page);
    settings.addTab(view, page);
  }
  QLabel title;
  main()->tabviewSetting = &settings;
  main()->labelSettingTitle_ = &title;
  ButtonMatrix matrix;
  matrix.renewRows(9, 1);
  for (int row = 0; row < 9; ++row) {
    settings.setCurrentIndex(0);
    title.clear();
    matrix.cellAtRow(row, 0)->setChecked(true);
    main()->selectModule(&matrix);
    if (row < 7) {
      EXPECT_EQ(settings.currentIndex(), row) << row;
      EXPECT_EQ(title.text(), pages[row]);
    } else {
      EXPECT_EQ(settings.currentIndex(), 0) << row;
      EXPECT_TRUE(title.text().isEmpty()) << row;
    }
  }
}

TEST_F(NavigationActions, UssdActionsPostTheirUserInfo) {
  build();
  watch("notifyPopupSheetUssdWndPlugin");
  watch("USSDBundleMessage");
  struct ItemCase {
    const char *identifier;
    QVariant tag;
  };
  for (const ItemCase &c : {ItemCase{"USSD3", 1}, ItemCase{"USSD4", 2}, ItemCase{"USSD1", QString("USSD1")}}) {
    posted.clear();
    QAction item;
    item.setObjectName(QLatin1String(c.identifier));
    main()->toolbarCallUssdSheetWnd(&item);
    ASSERT_EQ(posted.size(), 1);
    EXPECT_EQ(posted[0].userInfo.value("ussdPopWndTag"), c.tag) << c.identifier;
    EXPECT_EQ(posted[0].userInfo.value("hostMainWnd").value<QObject *>(), parts.window);
  }
  posted.clear();
  main()->popUpRefillSheet();
  main()->popUpCheckBalanceSheet();
  main()->popUpUssdSeetWithTag(7);
  ASSERT_EQ(posted.size(), 3);
  EXPECT_EQ(posted[0].userInfo.value("ussdPopWndTag").toInt(), 1);
  EXPECT_EQ(posted[1].userInfo.value("ussdPopWndTag").toInt(), 2);
  EXPECT_EQ(posted[2].userInfo.value("ussdPopWndTag").toInt(), 7);
  posted.clear();
  main()->openUSSDWndVovudiTopup();
  main()->openUSSDWndVovudiCheckbalance();
  main()->openUSSDWndVovudiBuybundles();
  ASSERT_EQ(posted.size(), 3);
  EXPECT_EQ(posted[0].userInfo.value("Action").toString(), "TopUp");
  EXPECT_EQ(posted[1].userInfo.value("Action").toString(), "CheckBalance");
  EXPECT_EQ(posted[2].userInfo.value("Action").toString(), "BuyBundle");
}

TEST_F(NavigationActions, OperatorLinksOpenTheirConfiguredAddressesAndTagsPastTheTablesNothing) {
  build({{"Main", QVariantMap{{"OperatorLinks",
                               QVariantMap{{"LinkPage",
                                            QVariantMap{{"11", "http://op.example/a"}, {"88", "http://op.example/h"}}},
                                           {"VozavWebsites", QVariantMap{{"93", "http://vozav.example/3"}}},
                                           {"DORIMenuLinks", QVariantMap{{"Mail", "http://dori.example/mail"}}},
                                           {"Dashboard", "http://dash.example/"}}}}},
         {"VietnamZudovidTK310S", QVariantMap{{"HelpFileArray", QVariantList{"http://help.example/0"}}}}});
  Plist::writeFile(config->getFilePathWithFileName("SpecialNeedForURL.plist"),
                   QVariantList{"http://vivived.example/0", "http://vivived.example/1"});
  QPushButton button;
  struct Case {
    void (MainController::*action)(QObject *);
    int tag;
    const char *url; // empty: nothing opens
  };
  const Case cases[] = {{&MainController::openLinkPage, 11, "http://op.example/a"},
                        {&MainController::openLinkPage, 88, "http://op.example/h"},
                        {&MainController::openLinkPage, 22, ""}, // not configured
                        {&MainController::openLinkPage, 12, ""},
                        {&MainController::openVozavWebsites, 93, "http://vozav.example/3"},
                        {&MainController::openVozavWebsites, 94, ""},
                        {&MainController::openVivivedURL, 1, "http://vivived.example/1"},
                        {&MainController::openVivivedURL, 2, ""}, // the array's length
                        {&MainController::openVivivedURL, 9, ""},
                        {&MainController::openVivivedURL, -1, ""},
                        {&MainController::performOpenHelpActionForZudovid, 0, "http://help.example/0"},
                        {&MainController::performOpenHelpActionForZudovid, 1, ""}};
  for (const Case &c : cases) {
    opened.clear();
    button.setProperty("tag", c.tag);
    (main()->*c.action)(&button);
    if (*c.url)
      EXPECT_EQ(opened, QList<QUrl>{QUrl(QLatin1String(c.url))}) << c.tag;
    else
      EXPECT_TRUE(opened.isEmpty()) << c.tag;
  }
  opened.clear();
  main()->open1und1URL();
  EXPECT_EQ(opened, QList<QUrl>{QUrl("http://dash.example/")});
}

TEST_F(NavigationActions, DoriLinksNeedAConnectionElseOnlyWarn) {
  build({{"Main", QVariantMap{{"OperatorLinks",
                               QVariantMap{{"DORIMenuLinks", QVariantMap{{"Mail", "http://dori.example/mail"}}}}}}}});
  QAction item("Mail");
  ASSERT_NE(g_DialController, nullptr);
  g_DialController->setConnectStatus(0);
  main()->openDORIMenuLinks(&item);
  EXPECT_TRUE(opened.isEmpty());
  ASSERT_EQ(answers->asked().size(), 1);
  EXPECT_EQ(answers->asked()[0].message, "Please confirm that you have connected to internet!");
  g_DialController->setConnectStatus(3);
  main()->openDORIMenuLinks(&item);
  EXPECT_EQ(opened, QList<QUrl>{QUrl("http://dori.example/mail")});
  QAction unknown("Nothing");
  main()->openDORIMenuLinks(&unknown);
  EXPECT_EQ(opened.size(), 1);
  g_DialController->setConnectStatus(0);
}

TEST_F(NavigationActions, TheDrawerButtonOpensAClosedDrawerClosesAnOpenOneAndWaitsForASlide) {
  build();
  DrawerPanel drawer(QSize(120, 200), DrawerPanel::RightEdge, parts.window);
  main()->drawerMain = &drawer;
  parts.window->resize(600, 400);
  ASSERT_EQ(drawer.state(), DrawerPanel::ClosedState);
  main()->changeDrawerState();
  EXPECT_EQ(drawer.state(), DrawerPanel::OpeningState);
  main()->changeDrawerState(); // opening: left alone
  EXPECT_EQ(drawer.state(), DrawerPanel::OpeningState);
  EXPECT_TRUE(QTest::qWaitFor([&] { return drawer.state() == DrawerPanel::OpenState; }, 5000));
  main()->changeDrawerState();
  EXPECT_EQ(drawer.state(), DrawerPanel::ClosingState);
  main()->changeDrawerState(); // closing: left alone
  EXPECT_EQ(drawer.state(), DrawerPanel::ClosingState);
  EXPECT_TRUE(QTest::qWaitFor([&] { return drawer.state() == DrawerPanel::ClosedState; }, 5000));
  main()->drawerMain = nullptr;
}

TEST_F(NavigationActions, WithTheBarSkinTheTabsButtonShowsInAndTheOthersOut) {
  for (bool bar : {true, false}) {
    SCOPED_TRACE(bar);
    build({{"UIConfig", QVariantMap{{"BraVavavUI", bar}}}});
    const QString folder = dir.filePath("barskin");
    QDir().mkpath(folder);
    QVariantMap info;
    for (const char *key : {"btnInternet", "btnSMS", "btnPhonebook", "btnSetting"})
      info.insert(key, QVariantMap{{"ImageName", "start.png"},
                                   {"ImageDict", QVariantMap{{"In", "in.png"}, {"Out", "out.png"}}}});
    Plist::writeFile(folder + "/SkinInfo", info);
    QELUIManager skin(config.get());
    ASSERT_TRUE(skin.loadUIResource(folder));
    main()->qelSkinManager = &skin;
    main()->gotoSMS();
    const auto image = [&](const char *key) { return skin.itemInfoDictForKey(key).value("ImageName").toString(); };
    EXPECT_EQ(image("btnSMS"), bar ? "in.png" : "start.png");
    for (const char *other : {"btnInternet", "btnPhonebook", "btnSetting"})
      EXPECT_EQ(image(other), bar ? "out.png" : "start.png") << other;
    main()->gotoInternet();
    EXPECT_EQ(image("btnInternet"), bar ? "in.png" : "start.png");
    EXPECT_EQ(image("btnSMS"), bar ? "out.png" : "start.png");
    main()->qelSkinManager = nullptr;
    delete parts.mainController;
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
  }
}

TEST_F(NavigationActions, LinkLabelsShowTheirTextAsTextAndOpenThroughTheOneOpener) {
  build({{"Main", QVariantMap{{"initWindowForDidoro", true}}}});
  QLabel field;
  MainController::textField(&field, "<b>Shop</b> & more", "http://shop.example/?a=1&b=\"2\"");
  EXPECT_TRUE(field.text().contains("&lt;b&gt;Shop&lt;/b&gt; &amp; more")) << field.text().toStdString();
  EXPECT_FALSE(field.text().contains("\"2\"")) << "the address is quoted";
  EXPECT_TRUE(field.textInteractionFlags() & Qt::LinksAccessibleByMouse);
  MainController::textField(&field, "plain", QString());
  EXPECT_FALSE(field.text().contains("href"));

  QLabel home, post, pre;
  QPushButton dial;
  main()->labelHomeLinkForDidoro_ = &home;
  main()->labelPostPaidLinkForDidoro_ = &post;
  main()->labelPrePaidLinkForDidoro_ = &pre;
  main()->btnDialForDidoro_ = &dial;
  main()->initMainWindowForDidoro();
  EXPECT_EQ(dial.text(), "121");
  EXPECT_TRUE(home.text().contains("HomeLinkForDidoro"));
  emit home.linkActivated("http://home.example/");
  EXPECT_EQ(opened, QList<QUrl>{QUrl("http://home.example/")});
}

TEST_F(NavigationActions, ARecordsWindowClosedByTheWindowManagerBringsTheMainWindowBack) {
  build();
  QWidget records;
  main()->setAuxiliaryWindow("DialRecord", &records);
  parts.window->show();
  QAction other;
  other.setObjectName("Other");
  main()->showDialRecordAndSettingWindow(&other); // other identifiers do nothing
  EXPECT_FALSE(records.isVisible());
  QAction item;
  item.setObjectName("DialRecord");
  main()->showDialRecordAndSettingWindow(&item);
  EXPECT_TRUE(records.isVisible());
  EXPECT_FALSE(parts.window->isVisible());
  records.close();
  EXPECT_TRUE(parts.window->isVisible());
}

TEST_F(NavigationActions, TheSkinsToolbarButtonFollowsAPageChosenFromCode) {
  MainWindowFixture::SetUp();
  QELUIManager skin(config.get());
  ASSERT_TRUE(skin.loadUIResource(testsupport::buildBundlePath() + "/Resources/defaultSkin"));
  parts = MainWindowBuilder::build(nullptr, &skin, &owner);
  ASSERT_TRUE(main()->usesSkinnedWindow());
  auto *internet = main()->toolbarView()->findChild<NSFlickerButton *>("btnInternet");
  auto *sms = main()->toolbarView()->findChild<NSFlickerButton *>("btnSMS");
  ASSERT_TRUE(internet && sms);
  ASSERT_NE(sms->imageDn(), sms->imageUp());
  main()->notifyChangeTabViewItem("SMS"); // as QEL_START_PAGE=SMS does
  EXPECT_EQ(sms->groupImage(), sms->imageDn());
  EXPECT_EQ(internet->groupImage(), internet->imageUp());
  main()->notifyChangeTabViewItem("Internet");
  EXPECT_EQ(internet->groupImage(), internet->imageDn());
  EXPECT_EQ(sms->groupImage(), sms->imageUp());
  delete parts.mainController;
  parts.mainController = nullptr;
  delete parts.window;
  parts = {};
}

} // namespace
