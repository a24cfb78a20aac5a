// The main window's frame: toolbar item kinds, pages that do not exist, the close sheet, the
// drawer, the title font, where sheets come out, and the link actions.
#include "CocoaExt.h"
#include "DrawerPanel.h"
#include "InitService.h"
#include "MainController.h"
#include "MainWindowFixture.h"
#include "NSButtonExt.h"
#include "QELUIManager.h"
#include "SMSController.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWidgetAction>

namespace {

QVariantMap item(const QString &identifier, const QString &action = "tabViewChangeItemAction:") {
  return {{"itemIdentifier", identifier}, {"itemLabel", identifier}, {"itemAction", action}};
}

class MainFrame : public MainWindowFixture {
protected:
  QVariantMap extra;
  QList<QUrl> opened;
  QString skinFolder;

  QVariantMap settingsOverrides() const override { return extra; }
  void SetUp() override {
    QELUIController::setUrlOpener([this](const QUrl &u) {
      opened << u;
      return true;
    });
  }
  void TearDown() override {
    if (parts.mainController)
      delete parts.mainController; // it watches the window
    MainWindowFixture::TearDown();
    QELUIController::setUrlOpener({});
  }
  // Builds the window with the system toolbar from "toolBarItems".
  void build(const QVariantMap &settings) {
    extra = settings;
    MainWindowFixture::SetUp();
    QVariantMap ui = config->getConfiguration().value("UIConfig").toMap();
    ui.remove("ToolbarItems");
    config->getConfiguration().insert("UIConfig", ui);
    buildOffline();
    main()->setStartsBackend(false);
  }
  MainController *main() const { return parts.mainController; }
  QStringList toolbarOrder() const {
    QStringList ids;
    for (QAction *a : main()->toolbar->actions())
      ids << (a->objectName().isEmpty() ? QString("<%1>").arg(a->metaObject()->className()) : a->objectName());
    return ids;
  }
};

TEST_F(MainFrame, ToolbarEntriesWithoutIdentifierAreLeftOutAndTheLogoFollowsUseLogoAsButton) {
  QVariantMap noId = item("x");
  noId.remove("itemIdentifier");
  for (const bool logoAsButton : {false, true}) {
    build({{"toolBarItems", QVariantList{item("Internet"), noId, item("Help", "tbiMainHelpAction:")}},
           {"UseLogoAsButton", logoAsButton}});
    QStringList ids;
    for (QAction *a : main()->toolbarItemsArray())
      ids << a->objectName();
    EXPECT_EQ(ids, QStringList({"Internet", "Help"}));
    QStringList expected{"Internet", "Help"};
    if (!logoAsButton)
      expected << "NSToolbarFlexibleSpaceItem"
               << "Custom Logo Toolbar Item Identifier";
    EXPECT_EQ(main()->toolbarDefaultItemIdentifiers(), expected);
    TearDown();
  }
}

TEST_F(MainFrame, ItemsOfPagesThatDoNotExistStayDisabledAndLeaveTheTitle) {
  build({{"toolBarItems", QVariantList{item("Internet"), item("NoSuchPage"), item("Help", "tbiMainHelpAction:")}},
         {"MAINFORM", QVariantMap{{"TooBarEnableBySimStatus", false}}}});
  EXPECT_TRUE(main()->toolbarItem("Internet")->isEnabled());
  EXPECT_FALSE(main()->toolbarItem("NoSuchPage")->isEnabled());
  EXPECT_TRUE(main()->toolbarItem("Help")->isEnabled()) << "not a page: enabled as before";
  // The Operation menu follows the pages the window has (more arrive with each subsystem).
  const QList<std::pair<const char *, const char *>> menuPages = {
      {"Internet", "Internet"},     {"SMS", "SMS"},   {"Phonebook", "Phonebook"},
      {"Statistics", "Statistics"}, {"Call", "Call"}, {"Options", "Setting"}};
  for (const auto &[title, page] : menuPages)
    EXPECT_EQ(main()->menuItem(QLatin1String(title))->isEnabled(), main()->hasPage(QLatin1String(page))) << title;
  main()->notifyChangeTabViewItem("Internet");
  EXPECT_EQ(main()->lableTabviewTitle_->text(), "Internet");
  main()->notifyChangeTabViewItem("NoSuchPage");
  EXPECT_EQ(main()->lableTabviewTitle_->text(), "Internet") << "never a wording key";
  // A page without a "_TITLE" wording shows its worded name.
  auto *page = new QWidget;
  page->setProperty("itemIdentifier", "Extra");
  parts.tabs->addTab(page, "Extra");
  main()->notifyChangeTabViewItem("Extra");
  EXPECT_EQ(main()->lableTabviewTitle_->text(), "Extra");
}

TEST_F(MainFrame, ToolbarItemsAsButtonsAndPullDownButtons) {
  QVariantMap button = item("Portal", "tbiMainURLAction:");
  button.insert("itemImageName", "tbInternet.png");
  button.insert("UseAsButton", true);
  button.insert("urlLabel", "http://portal.example/");
  QVariantMap popup = item("Tools", "");
  popup.insert("itemImageName", "tbInternet.png");
  popup.insert("UseAsPopupButton",
               QVariantList{QVariantMap{{"itemTitle", "Help"}, {"itemAction", "tbiMainHomewebAction:"}}});
  QVariantMap noImage = item("Plain", "tbiMainURLAction:");
  noImage.insert("UseAsButton", true);
  // The toolbar images come from the skin.
  build({{"toolBarItems", QVariantList{button, popup, noImage}}});
  QELUIManager skin(config.get());
  ASSERT_TRUE(skin.loadUIResource(testsupport::buildBundlePath() + "/Resources/defaultSkin"));
  main()->qelSkinManager = &skin;
  const QImage picture = skin.imageNamed("tbInternet.png");
  ASSERT_FALSE(picture.isNull());
  QToolBar bar;
  QAction *asButton = main()->makeToolbarItem(button, &bar);
  QAction *asPopup = main()->makeToolbarItem(popup, &bar);
  QAction *plain = main()->makeToolbarItem(noImage, &bar);
  main()->qelSkinManager = nullptr;
  auto *b = qobject_cast<NSButtonExt *>(qobject_cast<QWidgetAction *>(asButton)->defaultWidget());
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->size(), NSImageExt::logicalSize(picture).toSize());
  EXPECT_EQ(b->urlLabel(), "http://portal.example/");
  EXPECT_EQ(b->itemIdentifier(), "Portal");
  int triggered = 0;
  QObject::connect(asButton, &QAction::triggered, [&] { ++triggered; });
  b->click();
  EXPECT_EQ(triggered, 1);
  auto *p = qobject_cast<QToolButton *>(qobject_cast<QWidgetAction *>(asPopup)->defaultWidget());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->width(), NSImageExt::logicalSize(picture).toSize().width() + 10);
  ASSERT_EQ(p->menu()->actions().size(), 1);
  p->menu()->actions().first()->trigger();
  EXPECT_EQ(opened, QList<QUrl>{QUrl("about:blank")});
  EXPECT_EQ(qobject_cast<QWidgetAction *>(plain), nullptr) << "without an image: a plain item";
}

TEST_F(MainFrame, StkTitleEmptyLeavesTheToolTipAndUssdVariantsOutsideZeroToTwoDoNothing) {
  build({{"toolBarItems", QVariantList{item("STK", "tbiMainHelpAction:")}}});
  main()->toolbarItem("STK")->setToolTip("before");
  main()->updateStkTooltip(Notification{"UpdateStkToolTip", nullptr, {{"StkMainTitle", ""}}});
  EXPECT_EQ(main()->toolbarItem("STK")->toolTip(), "before");
  main()->updateStkTooltip(Notification{"UpdateStkToolTip", nullptr, {{"StkMainTitle", "SIM services"}}});
  EXPECT_EQ(main()->toolbarItem("STK")->toolTip(), "SIM services");
  const int items = int(main()->toolbarItemsArray().size());
  for (int n : {3, -1, 100})
    main()->insertUSSDToobarItem(n);
  EXPECT_EQ(main()->toolbarItemsArray().size(), items);
}

TEST_F(MainFrame, TheOperatorsCloseSheetOffersToStayOrQuit) {
  build({{"Main", QVariantMap{{"CloseUIForDidoro", true}}}});
  int willClose = 0;
  NotificationCenter::defaultCenter().addObserver(&owner, "AppWillClose", nullptr,
                                                  [&](const Notification &) { ++willClose; });
  main()->closeMainWindow();
  QDialog *sheet = main()->closeAppSheetForDidoro();
  ASSERT_TRUE(sheet->isVisible());
  EXPECT_TRUE(sheet->findChild<QLabel *>("labelOfCloseAppForDidoro")->text().startsWith("Do you want to shut down"));
  main()->cancelCloseWindowForDidoro();
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_EQ(willClose, 0);
  main()->closeMainWindow();
  ASSERT_TRUE(sheet->isVisible());
  sheet->findChild<QPushButton *>("btnQuitAppCloseMainWindow")->click();
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_EQ(willClose, 1);
}

TEST_F(MainFrame, TheCloseButtonRestsWhileTheQuitSoundPlays) {
  build({{"MAINFORM", QVariantMap{{"closeUISoundEnable", true}}}});
  QELUIController::setCloseSoundWaitMs(0);
  EXPECT_TRUE(main()->closeButtonEnabled());
  EXPECT_EQ(main()->applicationShouldTerminate(), MainController::NSTerminateNow);
  EXPECT_FALSE(main()->closeButtonEnabled());
}

TEST_F(MainFrame, TheDrawersComeFromTheConfigurationAndTheLaunchOpensTheMainOne) {
  build({{"MAINFORM", QVariantMap{{"LinkButton", true}}},
         {"UIConfig", QVariantMap{{"DrawerInfoDict", QVariantMap{{"OriginWidth", 200}, {"OriginHeight", 300}}}}}});
  DrawerPanel *link = main()->drawerLink();
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->edge(), DrawerPanel::RightEdge);
  EXPECT_EQ(link->minContentSize(), QSize(328, 413));
  EXPECT_EQ(link->maxContentSize(), QSize(400, 413));
  EXPECT_EQ(link->leadingOffset(), 60);
  EXPECT_EQ(link->trailingOffset(), 30);
  ASSERT_NE(main()->drawerMain, nullptr);
  EXPECT_FALSE(main()->drawerMain->isOpen());
  main()->runDatacard();
  EXPECT_TRUE(main()->drawerMain->isOpen());
}

TEST_F(MainFrame, TheTitleFontPutsTheTitleIntoAFieldOfItsOwn) {
  build(
      {{"Main", QVariantMap{{"ChangeMainWinTitleFont", QVariantMap{{"FontName", "DejaVu Serif"}, {"FontSize", 17}}}}}});
  QLabel *field = main()->titleFontField();
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->text(), "Title");
  EXPECT_EQ(field->font().family(), "DejaVu Serif");
  EXPECT_EQ(field->font().pointSizeF(), 17);
  EXPECT_TRUE(parts.window->windowTitle().isEmpty());
  parts.window->show();
  parts.window->resize(800, 500);
  QCoreApplication::processEvents();
  EXPECT_EQ(field->geometry().left(), 200);
  EXPECT_EQ(field->geometry().width(), 400);
}

TEST_F(MainFrame, SheetsComeOutBelowTheSkinsTitleBar) {
  build({});
  const QRect proposed(10, 0, 300, 200);
  EXPECT_EQ(main()->windowWillPositionSheet(parts.window, nullptr, proposed), proposed);
  const QString folder = dir.filePath("skin");
  QDir().mkpath(folder);
  Plist::writeFile(folder + "/SkinInfo", QVariantMap{{"wndMainTitlebar", QVariantMap{{"Height", 22}, {"Width", 500}}}});
  QELUIManager skin(config.get());
  ASSERT_TRUE(skin.loadUIResource(folder));
  main()->qelSkinManager = &skin;
  EXPECT_EQ(main()->windowWillPositionSheet(parts.window, nullptr, proposed), proposed.translated(0, 22));
  main()->qelSkinManager = nullptr;
}

TEST_F(MainFrame, EncipheredLinksNeedTheIdentityAndNeverOpenAHalfLink) {
  build({});
  InitService service;
  InitService::setSharedInitService(&service);
  QObject sender;
  sender.setProperty("urlLabel", "http://operator.example/acct?id=");
  service.setImsi(QString());
  main()->tbimainURLEncipherAction(&sender);
  EXPECT_TRUE(opened.isEmpty());
  service.setImsi("001010123456789");
  main()->tbimainURLEncipherAction(&sender);
  ASSERT_EQ(opened.size(), 1);
  const QString url = opened.first().toString();
  EXPECT_TRUE(url.startsWith("http://operator.example/acct?id="));
  EXPECT_EQ(url.size(), QString("http://operator.example/acct?id=").size() + 16);
  service.setImsi("0010101234"); // not a full IMSI: nothing is opened
  main()->tbimainURLEncipherAction(&sender);
  EXPECT_EQ(opened.size(), 1);
  service.setImsi(QString());
  InitService::setSharedInitService(nullptr);
}

class RecordingSms : public SMSController {
  Q_OBJECT
public:
  QStringList sent;
  Q_INVOKABLE void sendMessageto(const QString &to, const QString &text) { sent << to + ":" + text; }
};

TEST_F(MainFrame, TheUsageRequestGoesToTheMessageControllerWhenConfigured) {
  build({});
  RecordingSms sms;
  main()->tbiMainSendSMS();
  EXPECT_TRUE(sms.sent.isEmpty());
  config->getConfiguration().insert(
      "SMS", QVariantMap{{"SpecialSMS", QVariantMap{{"TO_NUMBER", "1234"}, {"SMS_CONTENT", "USAGE"}}}});
  main()->tbiMainSendSMS();
  EXPECT_EQ(sms.sent, QStringList{"1234:USAGE"});
}

TEST_F(MainFrame, TheNewMenusAreThereAndEmptyOnesAreDisabled) {
  build({});
  for (const char *title : {"Tools", "Language"}) {
    QMenu *menu = main()->menuBar->findChild<QMenu *>(QLatin1String(title));
    ASSERT_NE(menu, nullptr) << title;
    EXPECT_FALSE(menu->menuAction()->isEnabled());
  }
  ASSERT_NE(main()->menuItem("Prepaid guide"), nullptr);
  EXPECT_FALSE(main()->menuItem("Prepaid guide")->isEnabled());
}

TEST_F(MainFrame, AUssdToolbarVariantRebuildsTheSkinsToolbarFromItsSkin) {
  // Two skins that place the same toolbar button differently.
  const auto writeSkin = [this](const QString &name, int buttonWidth) {
    const QString folder = dir.filePath(name);
    QDir().mkpath(folder);
    Plist::writeFile(
        folder + "/SkinInfo",
        QVariantMap{{"wndMain", QVariantMap{{"Width", 400}, {"Height", 300}}},
                    {"wndMainToolbar", QVariantMap{{"Left", 0}, {"Bottom", 240}, {"Width", 400}, {"Height", 60}}},
                    {"btnInternet", QVariantMap{{"Left", 4}, {"Bottom", 4}, {"Width", buttonWidth}, {"Height", 40}}}});
    return folder;
  };
  const QString first = writeSkin("first", 40);
  const QString second = writeSkin("second", 64);
  extra = {
      {"UIConfig", QVariantMap{{"ToolbarItems", QVariantList{QVariantMap{{"itemName", "btnInternet"},
                                                                         {"itemIdentifier", "Internet"},
                                                                         {"itemAction", "tabViewChangeItemAction:"}}}},
                               {"CurrentSkinName2", second}}}};
  MainWindowFixture::SetUp();
  QELUIManager skin(config.get());
  ASSERT_TRUE(skin.loadUIResource(first));
  parts = MainWindowBuilder::build(nullptr, &skin, &owner);
  ASSERT_TRUE(main()->usesSkinnedWindow());
  ASSERT_EQ(main()->toolbarButtonCount(), 1);
  QPointer<QWidget> before = main()->toolbarView()->findChild<QWidget *>("btnInternet");
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(before->width(), 40);
  main()->insertUSSDToobarItem(3); // not a variant: nothing changes
  EXPECT_EQ(main()->toolbarView()->findChild<QWidget *>("btnInternet"), before.data());
  main()->insertUSSDToobarItem(0);
  EXPECT_TRUE(before.isNull()) << "the old button is gone";
  QWidget *after = main()->toolbarView()->findChild<QWidget *>("btnInternet");
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after->width(), 64);
  EXPECT_EQ(main()->toolbarButtonCount(), 1);
  delete parts.mainController;
  parts.mainController = nullptr;
  delete parts.window;
  parts = {};
}

} // namespace

#include "MainFrameTest.moc"
