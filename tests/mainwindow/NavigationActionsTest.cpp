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
#include "Plist.h"
#include "QELUIManager.h"
#include "WordGlobe.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
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
    skin.reset();
    QELUIController::setUrlOpener({});
  }
  void build(const QVariantMap &settings = {}) {
    extra = settings;
    MainWindowFixture::SetUp();
    buildOffline();
    main()->setStartsBackend(false);
  }
  // Builds the window with a skin of the test's own: `items` is its SkinInfo, as the program reads it.
  void buildWithSkin(const QVariantMap &settings, const QVariantMap &items) {
    extra = settings;
    MainWindowFixture::SetUp();
    const QString folder = dir.filePath("testskin");
    QDir().mkpath(folder);
    Plist::writeFile(folder + "/SkinInfo", items);
    skin = std::make_unique<QELUIManager>(config.get());
    ASSERT_TRUE(skin->loadUIResource(folder));
    parts = MainWindowBuilder::build(nullptr, skin.get(), &owner);
    main()->setStartsBackend(false);
  }
  // A skin item that places a control in the window.
  static QVariant placed(int left, int bottom) {
    return QVariantMap{{"Left", left}, {"Bottom", bottom}, {"Width", 80}, {"Height", 20}};
  }
  std::unique_ptr<QELUIManager> skin;
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
  // The builder hands the settings window's own tab view over: the matrix chooses real pages.
  QTabWidget *settings = main()->tabviewSetting;
  ASSERT_NE(settings, nullptr);
  const int resting = NSTabViewExt::tabViewItemOfIdentifier(settings, "SMS");
  ASSERT_GE(resting, 0);
  auto pageNow = [settings] {
    return settings->currentWidget() ? settings->currentWidget()->property("itemIdentifier").toString() : QString();
  };
  // Each row's subject and the page of this settings window that holds it.
  const QStringList subjects = {"Connection", "Selection", "Preference",     "Sounds",
                                "Security",   "System",    "Update settings"};
  const QStringList pages = {"Connect", "Network", "System", "Alert", "Security", "System", "OnlineUpdate"};
  QLabel title;
  main()->labelSettingTitle_ = &title;
  ButtonMatrix matrix;
  matrix.renewRows(9, 1);
  int chosen = 0;
  for (int row = 0; row < 9; ++row) {
    settings->setCurrentIndex(resting);
    title.clear();
    matrix.cellAtRow(row, 0)->setChecked(true);
    main()->selectModule(&matrix);
    if (row < 7 && NSTabViewExt::tabViewItemOfIdentifier(settings, pages[row]) >= 0) {
      EXPECT_EQ(pageNow(), pages[row]) << row;
      EXPECT_EQ(title.text(), Map_Name_Item_of_IndexString(subjects[row])) << row;
      ++chosen;
    } else {
      EXPECT_EQ(settings->currentIndex(), resting) << row;
      EXPECT_TRUE(title.text().isEmpty()) << row;
    }
  }
  EXPECT_GE(chosen, 5); // every subject but the updater's has its page
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
  build({{"UIConfig", QVariantMap{{"DrawerInfoDict", QVariantMap{{"OriginWidth", 120}, {"OriginHeight", 200}}}}}});
  ASSERT_NE(main()->drawerMain, nullptr) << "the configuration describes the drawer";
  DrawerPanel &drawer = *main()->drawerMain;
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
}

TEST_F(NavigationActions, WithTheBarSkinTheTabsButtonShowsInAndTheOthersOut) {
  for (bool bar : {true, false}) {
    SCOPED_TRACE(bar);
    QVariantMap info;
    for (const char *key : {"btnInternet", "btnSMS", "btnPhonebook", "btnSetting"})
      info.insert(key, QVariantMap{{"ImageName", "start.png"},
                                   {"ImageDict", QVariantMap{{"In", "in.png"}, {"Out", "out.png"}}}});
    buildWithSkin({{"UIConfig", QVariantMap{{"BraVavavUI", bar}}}}, info);
    main()->gotoSMS();
    const auto image = [&](const char *key) { return skin->itemInfoDictForKey(key).value("ImageName").toString(); };
    EXPECT_EQ(image("btnSMS"), bar ? "in.png" : "start.png");
    for (const char *other : {"btnInternet", "btnPhonebook", "btnSetting"})
      EXPECT_EQ(image(other), bar ? "out.png" : "start.png") << other;
    main()->gotoInternet();
    EXPECT_EQ(image("btnInternet"), bar ? "in.png" : "start.png");
    EXPECT_EQ(image("btnSMS"), bar ? "out.png" : "start.png");
    delete parts.mainController;
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
    skin.reset();
  }
}

TEST_F(NavigationActions, LinkLabelsShowTheirTextAsTextAndOpenThroughTheOneOpener) {
  buildWithSkin({{"Main", QVariantMap{{"initWindowForDidoro", true}}}},
                {{"labelHomeLinkForDidoro", placed(10, 10)},
                 {"labelPostPaidLinkForDidoro", placed(10, 40)},
                 {"labelPrePaidLinkForDidoro", placed(10, 70)},
                 {"btnDialSpecialNumberForDidoro", placed(100, 10)}});
  QLabel field;
  MainController::textField(&field, "<b>Shop</b> & more", "http://shop.example/?a=1&b=\"2\"");
  EXPECT_TRUE(field.text().contains("&lt;b&gt;Shop&lt;/b&gt; &amp; more")) << field.text().toStdString();
  EXPECT_FALSE(field.text().contains("\"2\"")) << "the address is quoted";
  EXPECT_TRUE(field.textInteractionFlags() & Qt::LinksAccessibleByMouse);
  MainController::textField(&field, "plain", QString());
  EXPECT_FALSE(field.text().contains("href"));

  // The window built the labels and the dial button the skin places, and filled them.
  auto *home = parts.window->findChild<QLabel *>("labelHomeLinkForDidoro");
  auto *post = parts.window->findChild<QLabel *>("labelPostPaidLinkForDidoro");
  auto *pre = parts.window->findChild<QLabel *>("labelPrePaidLinkForDidoro");
  auto *dial = parts.window->findChild<QAbstractButton *>("btnDialSpecialNumberForDidoro");
  ASSERT_TRUE(home && post && pre && dial);
  EXPECT_EQ(dial->text(), "121");
  EXPECT_TRUE(home->text().contains("HomeLinkForDidoro"));
  EXPECT_TRUE(post->text().contains("PostPaidLinkForDidoro"));
  EXPECT_TRUE(pre->text().contains("PrePaidLinkForDidoro"));
  emit home->linkActivated("http://home.example/");
  EXPECT_EQ(opened, QList<QUrl>{QUrl("http://home.example/")});
}

TEST_F(NavigationActions, OperatorLabelsAndButtonsExistOnlyWhereTheSkinAndTheSwitchAskForThem) {
  // The skin places the labels, but the operator's switch is off.
  buildWithSkin({}, {{"labelHomeLinkForDidoro", placed(10, 10)},
                     {"btnDialSpecialNumberForDidoro", placed(100, 10)},
                     {"btnMusicForZuzuvidi", placed(10, 100)}});
  EXPECT_EQ(parts.window->findChild<QLabel *>("labelHomeLinkForDidoro"), nullptr);
  EXPECT_EQ(parts.window->findChild<QWidget *>("btnDialSpecialNumberForDidoro"), nullptr);
  // Of the operator buttons only the one the skin places is there, with the tool tip of its place.
  auto *music = parts.window->findChild<QWidget *>("btnMusicForZuzuvidi");
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(music->toolTip(), "MusicForZuzuvidi");
  EXPECT_EQ(parts.window->findChild<QWidget *>("btnDjuiceForZuzuvidi"), nullptr);
  // Without the skin's windows the records and settings pages stay tabs only.
  EXPECT_EQ(main()->auxiliaryWindow("DialRecord"), nullptr);
  EXPECT_EQ(main()->auxiliaryWindow("Settings"), nullptr);
}

TEST_F(NavigationActions, TheLinkSwitchPutsNineWordedLinkButtonsIntoTheLinkDrawer) {
  build({{"MAINFORM", QVariantMap{{"LinkButton", true}}},
         {"Main",
          QVariantMap{{"OperatorLinks", QVariantMap{{"LinkPage", QVariantMap{{"22", "http://op.example/b"}}}}}}}});
  ASSERT_NE(main()->drawerLink(), nullptr);
  QList<QAbstractButton *> buttons;
  for (int i = 1; i <= 9; ++i)
    if (auto *b = main()->drawerLink()->findChild<QAbstractButton *>(QStringLiteral("btnLink%1").arg(i)))
      buttons << b;
  ASSERT_EQ(buttons.size(), 9);
  EXPECT_EQ(buttons[0]->text(), "CUSTOM_SERVICE_STR");
  EXPECT_EQ(buttons[8]->text(), "CUSTOM_MULTIFON_STR");
  buttons[1]->click();
  EXPECT_EQ(opened, QList<QUrl>{QUrl("http://op.example/b")});
}

TEST_F(NavigationActions, TheSupportGuideAndQuickTipsWindowsComeForwardWhenAskedFor) {
  build();
  struct Case {
    void (MainController::*action)(QObject *);
    const char *window;
  };
  for (const Case &c : {Case{&MainController::openWndVovudiQuickTips, "wndVovudiQuickTips"},
                        Case{&MainController::showSupportWindowForZudovid, "wndSupportForZudovid"},
                        Case{&MainController::showUSSDGuideWindowForZudovid, "wndUSSDGuideForZudovid"}}) {
    auto *window = parts.window->findChild<QWidget *>(c.window);
    ASSERT_NE(window, nullptr) << c.window;
    EXPECT_FALSE(window->isVisible()) << c.window;
    (main()->*c.action)(nullptr);
    EXPECT_TRUE(window->isVisible()) << c.window;
    window->hide();
  }
}

TEST_F(NavigationActions, TheRecordsAndSettingsWindowsShowTheirPageAndClosedGiveItAndTheMainWindowBack) {
  buildWithSkin({}, {{"wndOfdialRecord", QVariantMap{{"ImageName", "wndDialRecord.png"}}},
                     {"wndOfSetting", QVariantMap{{"ImageName", "wndSetting.png"}}}});
  parts.window->show();
  struct Case {
    const char *item; // the toolbar item's identifier
    const char *window;
    const char *page;
  };
  for (const Case &c :
       {Case{"DialRecord", "wndOfdialRecord", "DialRecord"}, Case{"Settings", "wndOfSetting", "Setting"}}) {
    SCOPED_TRACE(c.item);
    QWidget *window = main()->auxiliaryWindow(c.item);
    ASSERT_NE(window, nullptr) << "the skin describes the window";
    EXPECT_EQ(window->objectName(), c.window);
    const int tab = NSTabViewExt::tabViewItemOfIdentifier(parts.tabs, c.page);
    ASSERT_GE(tab, 0);
    QWidget *page = parts.tabs->widget(tab);
    QAction other;
    other.setObjectName("Other");
    main()->showDialRecordAndSettingWindow(&other); // other identifiers do nothing
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(parts.window->isVisible());
    QAction item;
    item.setObjectName(c.item);
    main()->showDialRecordAndSettingWindow(&item);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(parts.window->isVisible());
    EXPECT_TRUE(window->isAncestorOf(page)) << "the window shows the page";
    window->close(); // as the window manager closes it
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(parts.window->isVisible());
    // The page is back at its place among the tabs.
    EXPECT_EQ(NSTabViewExt::tabViewItemOfIdentifier(parts.tabs, c.page), tab);
    EXPECT_EQ(parts.tabs->widget(tab), page);
  }
}

TEST_F(NavigationActions, TheMainPagesLinkLabelShowsTheConfiguredAddressAndOpensIt) {
  buildWithSkin({{"Main", QVariantMap{{"Main_TextLinkAddress", "http://main.example/"}}}},
                {{"labelMainPageLink", placed(10, 10)}});
  auto *label = parts.window->findChild<QLabel *>("labelMainPageLink");
  ASSERT_NE(label, nullptr) << "the skin places the label";
  EXPECT_TRUE(label->text().contains("http://main.example/")) << label->text().toStdString();
  emit label->linkActivated("http://main.example/");
  EXPECT_EQ(opened, QList<QUrl>{QUrl("http://main.example/")});
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
