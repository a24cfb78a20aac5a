#include "ButtonMatrix.h"
#include "ControllerFixture.h"
#include "DrawerPanel.h"
#include "NSButtonExt.h"
#include "NSViewExt.h"
#include "QELUIController.h"
#include "ViewPlacement.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>

namespace {

class ToolbarController : public QELUIController {
  Q_OBJECT
public:
  QList<QObject *> senders;
  QStringList called;
  Q_INVOKABLE void tbiConnect(QObject *sender) {
    called << "tbiConnect";
    senders << sender;
  }
  Q_INVOKABLE void menuAbout() { called << "menuAbout"; }
};

QVariantMap item(std::initializer_list<std::pair<QString, QVariant>> values) {
  QVariantMap m;
  for (const auto &[k, v] : values)
    m.insert(k, v);
  return m;
}

const QVariantMap kFrame = item({{"Left", 0}, {"Bottom", 0}, {"Width", 40}, {"Height", 20}});

class UIConfigFixture : public ControllerFixture {
protected:
  std::unique_ptr<QELUIManager> skin;
  QWidget host;

  void SetUp() override {
    ControllerFixture::SetUp();
    skin = makeSkin({{"btnConnect", kFrame},
                     {"labelSpeed", kFrame},
                     {"imgLogo", kFrame},
                     {"tabInternet", QVariantMap()},
                     {"matrixMode", kFrame},
                     {"boxStats", kFrame},
                     {"drawContentView", QVariantMap()},
                     {"btnDrawerHelp", kFrame},
                     {"menuItemAbout", QVariantMap()},
                     {"viewMiddleChangeable", kFrame},
                     {"viewTopFixed", kFrame}});
    host.resize(400, 300);
  }
  void setUIConfig(const QVariantMap &ui) { settings()["UIConfig"] = ui; }
  template <typename T> T *registered(const QString &key) { return qobject_cast<T *>(skin->controllerByKey(key)); }
};

TEST_F(UIConfigFixture, ButtonsNeedIdentifierNameAndAction) {
  loadWording({{"Main_Connect", "Connect now"}, {"Main_About", "About"}});
  const QVariantList menu = {
      item({{"separatorItem", true}, {"menuItemTitle", "ignored"}, {"menuItemAction", "menuAbout:"}}),
      item({{"menuItemTitle", "Main_About"},
            {"menuItemName", "menuItemAbout"},
            {"menuItemAction", "menuAbout:"},
            {"menuItemTag", 7}}),
      item({{"menuItemTitle", "More"}, {"popupMenu", QVariantList{item({{"menuItemTitle", "Deeper"}})}}}),
  };
  setUIConfig({{"ToolbarItems", QVariantList{item({{"itemIdentifier", "tbiConnect"},
                                                   {"itemName", "btnConnect"},
                                                   {"itemAction", "tbiConnect:"},
                                                   {"itemToolTip", "Connect"},
                                                   {"itemBtnTitle", "Main_Connect"},
                                                   {"urlLabel", "help"},
                                                   {"popupMenu", menu}}),
                                             item({{"itemIdentifier", "tbiNoAction"}, {"itemName", "btnConnect"}}),
                                             QStringLiteral("not a dictionary")}}});
  ToolbarController c;
  c.qelSkinManager = skin.get();
  EXPECT_FALSE(c.initializeBtnsOfView(nullptr, "ToolbarItems"));
  EXPECT_FALSE(c.initializeBtnsOfView(&host, "Absent"));
  ASSERT_TRUE(c.initializeBtnsOfView(&host, "ToolbarItems"));

  const auto buttons = host.findChildren<NSFlickerButton *>();
  ASSERT_EQ(buttons.size(), 1); // the entry without an action makes no button
  NSFlickerButton *b = buttons.first();
  EXPECT_EQ(registered<NSFlickerButton>("btnConnect"), b);
  EXPECT_EQ(b->itemIdentifier(), "tbiConnect");
  EXPECT_EQ(b->title(), "Connect now");
  EXPECT_EQ(b->itemLabel(), "Main_Connect");
  EXPECT_EQ(b->toolTip(), "Connect");
  EXPECT_EQ(b->urlLabel(), "help");
  EXPECT_EQ(b->target(), &c);
  b->sendAction();
  EXPECT_EQ(c.senders, QList<QObject *>({b}));

  ASSERT_NE(b->menu(), nullptr);
  const QList<QAction *> actions = b->menu()->actions();
  ASSERT_EQ(actions.size(), 3);
  EXPECT_TRUE(actions[0]->isSeparator()); // whatever its other keys
  EXPECT_EQ(actions[1]->data().toInt(), 7);
  EXPECT_EQ(registered<QAction>("menuItemAbout"), actions[1]);
  actions[1]->trigger();
  EXPECT_EQ(c.called.last(), "menuAbout");
  ASSERT_NE(actions[2]->menu(), nullptr);
  EXPECT_EQ(actions[2]->menu()->actions().first()->text(), "Deeper");

  // Language change: titles and menu texts are worded again.
  loadWording({{"Main_Connect", "Verbinden"}, {"Main_About", "Info"}});
  c.updateLanguagesOfDynamicItem("ToolbarItems");
  EXPECT_EQ(b->title(), "Verbinden");
  EXPECT_EQ(actions[1]->text(), "Info");

  c.setDynamicControllersEnabledByKey("ToolbarItems", false);
  EXPECT_FALSE(b->isEnabled());
  c.setDynamicControllersEnabledByKey("ToolbarItems", true);
  EXPECT_TRUE(b->isEnabled());
}

TEST_F(UIConfigFixture, LabelsMatricesBoxesAndTabs) {
  setUIConfig({{"Labels", QVariantList{item({{"itemName", "labelSpeed"},
                                             {"width", 120},
                                             {"height", 18},
                                             {"isEditable", false},
                                             {"textAlignmentStyle", 2},
                                             {"itemStringValue", "0 kB/s"}}),
                                       item({{"width", 5}})}},
               {"Matrices", QVariantList{item({{"Name", "matrixMode"}})}},
               {"Boxes", QVariantList{item({{"Name", "boxStats"}, {"Title", "Statistics"}}), item({{"Name", "x"}})}},
               {"Tabs", QVariantList{item({{"itemName", "tabInternet"}, {"itemIdentifier", "Internet"}})}}});
  ToolbarController c;
  c.qelSkinManager = skin.get();
  ASSERT_TRUE(c.initializeLabelsOfView(&host, "Labels"));
  auto *label = registered<QLineEdit>("labelSpeed");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "0 kB/s");
  EXPECT_TRUE(label->isReadOnly());
  EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

  ASSERT_TRUE(c.initializeNSMatrixOfView(&host, "Matrices"));
  EXPECT_EQ(registered<ButtonMatrix>("matrixMode")->mode(), ButtonMatrix::RadioMode);
  ASSERT_TRUE(c.initializeNSBoxOfView(&host, "Boxes"));
  EXPECT_EQ(registered<QGroupBox>("boxStats")->title(), "Statistics");
  EXPECT_EQ(host.findChildren<QGroupBox *>().size(), 1);

  QTabWidget tabs;
  ASSERT_TRUE(c.initializeTabViewItemOfView(&tabs, "Tabs"));
  ASSERT_EQ(tabs.count(), 1);
  auto *page = qobject_cast<TabViewItem *>(tabs.widget(0));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->identifier(), "Internet");
  EXPECT_TRUE(skin->controllersByKey("tabInternet").contains(page));
  EXPECT_EQ(page->findChildren<NSViewExt *>().size(), 1);
}

TEST_F(UIConfigFixture, ImageViewsAreRegisteredUnderTheirItemName) {
  setUIConfig({{"Images", QVariantList{item({{"itemName", "imgLogo"}}), item({{"itemName", "imgNotInSkin"}}),
                                       item({{"Name", "noItemName"}})}}});
  ToolbarController c;
  c.qelSkinManager = skin.get();
  EXPECT_TRUE(c.initializeImageViewOfView(&host, "Images"));
  auto *logo = registered<ImageView>("imgLogo");
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(logo->parentWidget(), &host);
  // Only the view the skin describes is kept.
  EXPECT_EQ(host.findChildren<ImageView *>().size(), 1);
  EXPECT_EQ(c.createNSImageViewByKey("imgNotInSkin", &host), nullptr);
  EXPECT_EQ(c.createNSViewExtByKey(QString(), &host), nullptr);
  EXPECT_FALSE(c.registerController(nullptr, "imgLogo", &host));
}

TEST_F(UIConfigFixture, WindowSizeByTab) {
  ToolbarController c;
  c.qelSkinManager = skin.get();
  QWidget wnd;
  wnd.setGeometry(100, 300, 500, 400);
  auto *middle = new NSViewExt(&wnd);
  middle->setGeometry(0, 50, 500, 300);
  auto *top = new NSViewExt(&wnd);
  skin->registerController(middle, "viewMiddleChangeable", false);
  skin->registerController(top, "viewTopFixed", false);
  c.wndMain = &wnd;
  setUIConfig({{"changeWndInfo", QVariantMap{{"SMS", item({{"wndWidth", 600},
                                                           {"wndHeight", 500},
                                                           {"viewTopFixedLeft", 10},
                                                           {"viewTopFixedBottom", 20},
                                                           {"viewMiddleChangeableHeight", 350}})}}}});
  const QRect before = wnd.geometry();
  c.changeMainTabViewItemSize("Internet"); // absent: nothing changes
  c.changeMainTabViewItemSize(QString());
  EXPECT_EQ(wnd.geometry(), before);
  EXPECT_EQ(middle->height(), 300);

  c.changeMainTabViewItemSize("SMS");
  EXPECT_EQ(wnd.size(), QSize(600, 500));
  EXPECT_EQ(wnd.geometry().bottom(), before.bottom()); // grows upward
  EXPECT_EQ(middle->height(), 350);
  EXPECT_EQ(middle->width(), 500);
  EXPECT_EQ(CocoaFrame::frame(top).topLeft().toPoint(), QPoint(10, 20)); // from the bottom-left
  EXPECT_EQ(top->geometry().bottom() + 1, 500 - 20);
}

TEST_F(UIConfigFixture, ToolbarModulesComeFromTheSkinOrTheSettings) {
  setUIConfig({{"ToolbarItems", QVariantList{item({{"itemIdentifier", "tbiSMS"}})}}});
  settings()["toolBarItems"] = QVariantList{item({{"itemIdentifier", "tbiPhonebook"}})};
  ToolbarController c;
  EXPECT_TRUE(c.hasModuleWith("tbiPhonebook")); // no skin manager
  EXPECT_FALSE(c.hasModuleWith("tbiSMS"));
  c.qelSkinManager = skin.get();
  EXPECT_TRUE(c.hasModuleWith("tbiSMS"));
  EXPECT_FALSE(c.hasModuleWith("tbiPhonebook"));
  setUIConfig({{"NoToolbar", true}, {"ToolbarItems", QVariantList{item({{"itemIdentifier", "tbiSMS"}})}}});
  EXPECT_TRUE(c.hasModuleWith("tbiPhonebook"));
}

TEST_F(UIConfigFixture, DrawerFromConfiguration) {
  ToolbarController c;
  c.qelSkinManager = skin.get();
  QWidget wnd;
  wnd.resize(500, 400);
  c.wndMain = &wnd;
  c.initializeDrawer(); // no "DrawerInfoDict": no drawer
  EXPECT_EQ(c.drawerMain, nullptr);
  setUIConfig({{"DrawerInfoDict",
                item({{"OriginWidth", 150},
                      {"OriginHeight", 300},
                      {"MinWidth", 100},
                      {"MinHeight", 100},
                      {"MaxWidth", 200},
                      {"MaxHeight", 600},
                      {"LeadingOffset", 30},
                      {"TrailingOffset", 10},
                      {"OffsetInfoArray",
                       QVariantList{item({{"ItemName", "wndMini"}, {"LeadingOffset", 5}, {"TrailingOffset", 6}})}}})},
               {"DrawerItems",
                QVariantList{item(
                    {{"itemIdentifier", "tbiHelp"}, {"itemName", "btnDrawerHelp"}, {"itemAction", "tbiConnect:"}})}}});
  c.initializeDrawer();
  ASSERT_NE(c.drawerMain, nullptr);
  DrawerPanel *drawer = c.drawerMain;
  EXPECT_EQ(drawer->parentWindow(), &wnd);
  EXPECT_EQ(drawer->edge(), DrawerPanel::RightEdge);
  EXPECT_EQ(registered<NSViewExt>("drawContentView"), drawer->contentView());
  EXPECT_NE(registered<NSFlickerButton>("btnDrawerHelp"), nullptr);
  EXPECT_EQ(drawer->openGeometry(), QRect(350, 30, 150, 360));
  c.updateDrawerOffsetByWindow("wndOther");
  EXPECT_EQ(drawer->leadingOffset(), 30);
  c.updateDrawerOffsetByWindow("wndMini");
  EXPECT_EQ(drawer->leadingOffset(), 5);
  EXPECT_EQ(drawer->trailingOffset(), 6);
  drawer->open();
  EXPECT_TRUE(drawer->isOpen());
  drawer->toggle();
  EXPECT_FALSE(drawer->isOpen());
}

} // namespace

#include "UIConfigTest.moc"
