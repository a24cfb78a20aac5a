// The Browser and FavoriteLinks pages: the start-page list and its sheets, the address rule, the
// favourite links' order, saving and launching, without a modem.
#include "ButtonMatrix.h"
#include "ConfigService.h"
#include "DialController.h"
#include "Plist.h"
#include "SettingFixture.h"
#include "SettingPages.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>

namespace {

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

class LinkPages : public SettingFixture {
protected:
  void TearDown() override {
    SettingController::setLinkLauncher({});
    QELUIController::setUrlOpener({});
    SettingFixture::TearDown();
  }
  SettingController *fresh(const std::function<void(QVariantMap &)> &edit = {}) {
    if (edit)
      edit(config->getConfiguration());
    tabs = std::make_unique<QTabWidget>();
    auto *c = new SettingController(&owner);
    SettingPages::build(c, tabs.get());
    c->awakeFromNib();
    return c;
  }
  QString modemList() const { return dir.filePath(QStringLiteral("ModemList")); }
  void writeBrowserList(const QStringList &pages) {
    QVariantList list;
    for (const QString &p : pages)
      list << QVariantMap{{QStringLiteral("browserdiscription"), p}, {QStringLiteral("DonotOpenTheBrowser"), "0"}};
    Plist::writeFile(modemList() + QStringLiteral("/browserList.plist"), list);
  }
  QStringList storedBrowserList() const {
    QVariant root;
    Plist::readFile(modemList() + QStringLiteral("/browserList.plist"), &root);
    QStringList out;
    for (const QVariant &v : root.toList())
      out << v.toMap().value(QStringLiteral("browserdiscription")).toString();
    return out;
  }
  static QVariantMap link(int index, const QString &name, int type, const QString &path, int atStart = 0,
                          int whenConnected = 0, const QString &para = {}) {
    return {{QStringLiteral("Index"), index},
            {QStringLiteral("Name"), name},
            {QStringLiteral("Type"), type},
            {QStringLiteral("Path"), path},
            {QStringLiteral("Para"), para},
            {QStringLiteral("Image"), QString()},
            {QStringLiteral("LaunchAtStartup"), atStart},
            {QStringLiteral("LaunchaWhenConnected"), whenConnected}};
  }
  void writeLinks(const QVariantList &links) {
    Plist::writeFile(modemList() + QStringLiteral("/FavoriteLinks.plist"), links);
  }
  QVariantList storedLinks() const {
    QVariant root;
    Plist::readFile(modemList() + QStringLiteral("/FavoriteLinks.plist"), &root);
    return root.toList();
  }
  std::unique_ptr<QTabWidget> tabs;
};

TEST_F(LinkPages, TheStartPageAddressRule) {
  const QList<QPair<QString, QString>> cases = {
      {"www.example.com", "http://www.example.com"},
      {"http://a.example", "http://a.example"},
      {"https://a.example", "https://a.example"},
      {"https:/odd", "https:/odd"},
      {"http:/", "http://http:/"}, // six characters: too short for a scheme
      {"ftp://files.example", "http://ftp://files.example"},
      {"", ""},
  };
  for (const auto &[typed, opened] : cases)
    EXPECT_EQ(SettingController::browserAddress(typed), opened) << typed.toStdString();
}

TEST_F(LinkPages, TheStartPageOpensAfterConnectingUnlessSuppressed) {
  writeBrowserList({QStringLiteral("one.example"), QStringLiteral("https://two.example")});
  config->getConfiguration().insert(QStringLiteral("BrowserID"), 1);
  QStringList opened;
  QELUIController::setUrlOpener([&](const QUrl &u) {
    opened << u.toString();
    return true;
  });
  SettingController *s = fresh();
  EXPECT_EQ(s->cbboxBrowserList->count(), 2);
  EXPECT_EQ(s->cbboxBrowserList->currentIndex(), 1);
  EXPECT_TRUE(s->btnAdvanced->isEnabled());
  s->AutoLaunchURL();
  EXPECT_EQ(opened, QStringList{QStringLiteral("https://two.example")});
  // The suppression box, once saved by the sheet's OK, stops it.
  s->advancedbrowserlist(s->btnAdvanced);
  s->btnNotAutolaunch->setChecked(true);
  s->okAddBrowser(s->btnOKAddBrowser);
  EXPECT_TRUE(config->getConfiguration().value(QStringLiteral("NotAutolaunch")).toBool());
  s->AutoLaunchURL();
  EXPECT_EQ(opened.size(), 1);
  delete s;

  // Without a list the page's controls are off.
  QFile::remove(modemList() + QStringLiteral("/browserList.plist"));
  SettingController *empty = fresh();
  EXPECT_FALSE(empty->btnAdvanced->isEnabled());
  EXPECT_FALSE(empty->cbboxBrowserList->isEnabled());
  delete empty;
}

TEST_F(LinkPages, TheListSheetAddsEditsAndRemovesWithItsChecks) {
  writeBrowserList({QStringLiteral("fixed.example"), QStringLiteral("a.example"), QStringLiteral("b.example")});
  config->getConfiguration().insert(QStringLiteral("DefaultBrowserNum"), 1);
  config->getConfiguration().insert(QStringLiteral("BrowserID"), 2);
  SettingController *s = fresh();
  s->advancedbrowserlist(s->btnAdvanced);
  // A blank anywhere, or a name that exists, is refused; an empty text does nothing.
  for (const char *bad : {"with blank.example", "a.example"}) {
    s->textAddBrowser->setText(QLatin1String(bad));
    s->addlink(s->btnAddLink);
  }
  EXPECT_EQ(askedCount(word("Invalid Profile!")), 1);
  EXPECT_EQ(askedCount(word("Name already exists, please rename!")), 1);
  s->textAddBrowser->clear();
  s->addlink(s->btnAddLink);
  s->textAddBrowser->setText(QStringLiteral("c.example"));
  s->addlink(s->btnAddLink);
  EXPECT_EQ(s->browserList().size(), 4);

  // The fixed entry cannot be edited or removed.
  s->cbboxAddBrowserList->setCurrentIndex(0);
  s->comboBoxSelectionDidChange(s->cbboxAddBrowserList);
  EXPECT_FALSE(s->btnEditAvailable->isEnabled());
  EXPECT_FALSE(s->btnRemoveAvailable->isEnabled());
  s->removAvailableLinks(s->btnRemoveAvailable);
  EXPECT_EQ(s->browserList().size(), 4);

  // Edit: a blank is refused, another entry's name too; a new name replaces the entry in place.
  s->cbboxAddBrowserList->setCurrentIndex(1);
  s->comboBoxSelectionDidChange(s->cbboxAddBrowserList);
  EXPECT_TRUE(s->btnEditAvailable->isEnabled());
  s->editAvailableLinks(s->btnEditAvailable);
  EXPECT_EQ(s->textEditBrowser->text(), QStringLiteral("a.example"));
  s->textEditBrowser->setText(QStringLiteral("a b"));
  s->okEditBrowser(s->btnOKEditBrowser);
  EXPECT_EQ(askedCount(word("Invalid Profile!")), 2);
  s->textEditBrowser->setText(QStringLiteral("b.example"));
  s->okEditBrowser(s->btnOKEditBrowser);
  EXPECT_EQ(askedCount(word("Name already exists, please rename!")), 2);
  s->textEditBrowser->setText(QStringLiteral("a2.example"));
  s->okEditBrowser(s->btnOKEditBrowser);
  EXPECT_EQ(s->browserComboBoxItemAtIndex(1), QStringLiteral("a2.example"));
  EXPECT_EQ(s->cbboxAddBrowserList->currentIndex(), 1);

  // Removing an entry at or before the chosen page moves the choice up with it, and OK stores it.
  s->removAvailableLinks(s->btnRemoveAvailable);
  EXPECT_EQ(s->browserChoice(), 1);
  s->okAddBrowser(s->btnOKAddBrowser);
  EXPECT_EQ(storedBrowserList(),
            (QStringList{QStringLiteral("fixed.example"), QStringLiteral("b.example"), QStringLiteral("c.example")}));
  EXPECT_EQ(config->getConfiguration().value(QStringLiteral("BrowserID")).toInt(), 1);
  EXPECT_EQ(s->cbboxBrowserList->currentText(), QStringLiteral("b.example"));

  // Cancel drops the sheet's edits.
  s->advancedbrowserlist(s->btnAdvanced);
  s->textAddBrowser->setText(QStringLiteral("d.example"));
  s->addlink(s->btnAddLink);
  s->cancelAddBrowser(s->btnCancelAddBrowser);
  EXPECT_EQ(s->browserList().size(), 3);
  delete s;
}

TEST_F(LinkPages, FavouriteLinksMoveAndSaveOnlyOnModify) {
  writeLinks({link(0, QStringLiteral("Mail"), 0, QStringLiteral("/usr/bin/mail-client")),
              link(1, QStringLiteral("News"), 1, QStringLiteral("http://news.example")),
              link(2, QStringLiteral("Docs"), 1, QStringLiteral("http://docs.example"))});
  buildOffline(); // with the connection controller, which shows the links too
  SettingController *s = settings();
  ASSERT_EQ(s->favoriteLinksProperties().size(), 3);
  s->iconMatrixFavoriteLinks->setCurcellIndex(0);
  s->iconMatrixClicked(s->iconMatrixFavoriteLinks);
  EXPECT_EQ(s->tfdLinkName->text(), QStringLiteral("Mail"));
  EXPECT_TRUE(s->tfdLinkPara->isEnabled()); // an application may open a file
  // Backward from the first wraps to the last.
  s->moveLinkBackward(s->btnMoveLinkBackward);
  EXPECT_EQ(s->iconMatrixFavoriteLinks->curcellIndex(), 2);
  EXPECT_EQ(s->findLinkPropertiesByIndex(2).value(QStringLiteral("Name")).toString(), QStringLiteral("Mail"));
  EXPECT_EQ(s->findLinkPropertiesByIndex(0).value(QStringLiteral("Name")).toString(), QStringLiteral("Docs"));
  s->moveLinkForward(s->btnMoveLinkForward);
  EXPECT_EQ(s->iconMatrixFavoriteLinks->curcellIndex(), 0);
  EXPECT_EQ(s->findLinkPropertiesByIndex(0).value(QStringLiteral("Name")).toString(), QStringLiteral("Mail"));
  // The file changes only on Modify.
  s->moveLinkForward(s->btnMoveLinkForward);
  EXPECT_EQ(storedLinks()[0].toMap().value(QStringLiteral("Index")).toInt(), 0);
  s->switchInterfaceToIndexedLink(1);
  EXPECT_EQ(s->tfdLinkName->text(), QStringLiteral("Mail"));
  s->tfdLinkName->setText(QStringLiteral("Post"));
  s->modifyFavoriteLink(s->btnModifyFavoriteLink);
  const QVariantList stored = storedLinks();
  ASSERT_EQ(stored.size(), 3);
  EXPECT_EQ(stored[0].toMap().value(QStringLiteral("Index")).toInt(), 1);
  EXPECT_EQ(stored[0].toMap().value(QStringLiteral("Name")).toString(), QStringLiteral("Post"));
  ASSERT_TRUE(g_DialController);
  EXPECT_EQ(g_DialController->favoritesLinkProperties().size(), 3);

  // The only link keeps its index when moved.
  writeLinks({link(0, QStringLiteral("Only"), 1, QStringLiteral("http://only.example"))});
  SettingController *one = fresh();
  one->iconMatrixFavoriteLinks->setCurcellIndex(0);
  one->moveLinkForward(one->btnMoveLinkForward);
  one->moveLinkBackward(one->btnMoveLinkBackward);
  EXPECT_EQ(one->findLinkPropertiesByIndex(0).value(QStringLiteral("Name")).toString(), QStringLiteral("Only"));
  delete one;
}

// The page's own "do not open" box counts when clicked, without the Advanced sheet.
TEST_F(LinkPages, TheSuppressionBoxIsStoredWhenClicked) {
  writeBrowserList({QStringLiteral("one.example")});
  QStringList opened;
  QELUIController::setUrlOpener([&](const QUrl &u) {
    opened << u.toString();
    return true;
  });
  SettingController *s = fresh();
  s->btnNotAutolaunch->click();
  QVariantMap onDisk;
  ASSERT_TRUE(Plist::readDictionary(modemList() + QStringLiteral("/settings.plist"), &onDisk));
  EXPECT_TRUE(onDisk.value(QStringLiteral("NotAutolaunch")).toBool());
  s->AutoLaunchURL();
  EXPECT_TRUE(opened.isEmpty());
  s->btnNotAutolaunch->click();
  ASSERT_TRUE(Plist::readDictionary(modemList() + QStringLiteral("/settings.plist"), &onDisk));
  EXPECT_FALSE(onDisk.value(QStringLiteral("NotAutolaunch")).toBool());
  s->AutoLaunchURL();
  EXPECT_EQ(opened, QStringList{QStringLiteral("http://one.example")});
  delete s;
}

// Without a link to edit, the favourite links' form is off and its Save writes nothing.
TEST_F(LinkPages, TheLinkFormIsOffUntilALinkIsChosen) {
  for (const bool withFile : {false, true}) {
    SCOPED_TRACE(withFile ? "empty list" : "no file");
    QFile::remove(modemList() + QStringLiteral("/FavoriteLinks.plist"));
    if (withFile)
      writeLinks({});
    SettingController *s = fresh();
    for (QWidget *w : std::initializer_list<QWidget *>{s->tfdLinkName, s->tfdLinkPath, s->cboxLinkType, s->tfdLinkPara,
                                                       s->btnLaunchAtStartup, s->btnModifyFavoriteLink})
      EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    s->modifyFavoriteLink(s->btnModifyFavoriteLink);
    EXPECT_EQ(QFile::exists(modemList() + QStringLiteral("/FavoriteLinks.plist")), withFile);
    EXPECT_TRUE(storedLinks().isEmpty());
    delete s;
  }
  writeLinks({link(0, QStringLiteral("Mail"), 0, QStringLiteral("/usr/bin/mail-client"))});
  SettingController *s = fresh();
  s->iconMatrixFavoriteLinks->setCurcellIndex(0);
  s->iconMatrixClicked(s->iconMatrixFavoriteLinks);
  EXPECT_TRUE(s->tfdLinkName->isEnabled());
  EXPECT_TRUE(s->btnModifyFavoriteLink->isEnabled());
  delete s;
}

TEST_F(LinkPages, AWebLinkWithoutASchemeIsRefusedUnderTheOperatorSwitch) {
  writeLinks({link(0, QStringLiteral("Web"), 1, QStringLiteral("http://ok.example"))});
  SettingController *s =
      fresh([](QVariantMap &d) { d.insert(QStringLiteral("DifferentWorkingMothodForRadirer"), true); });
  s->iconMatrixFavoriteLinks->setCurcellIndex(0);
  s->switchInterfaceToIndexedLink(0);
  s->tfdLinkPath->setText(QStringLiteral("bad.example"));
  s->modifyFavoriteLink(s->btnModifyFavoriteLink);
  EXPECT_EQ(askedCount(word("URL must start with \"http://\" or \"https://\"")), 1);
  EXPECT_EQ(storedLinks()[0].toMap().value(QStringLiteral("Path")).toString(), QStringLiteral("http://ok.example"));
  s->tfdLinkPath->setText(QStringLiteral("https://good.example"));
  s->modifyFavoriteLink(s->btnModifyFavoriteLink);
  EXPECT_EQ(storedLinks()[0].toMap().value(QStringLiteral("Path")).toString(), QStringLiteral("https://good.example"));
  delete s;
}

TEST_F(LinkPages, LinksLaunchThroughTheReplaceableLauncherWithoutAShell) {
  const QString desktop = dir.filePath(QStringLiteral("viewer.desktop"));
  QFile f(desktop);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[Desktop Entry]\nType=Application\nName=Viewer\nExec=/usr/bin/viewer --new-window %f\n");
  f.close();
  writeLinks(
      {link(0, QStringLiteral("Tool"), 0, QStringLiteral("/opt/tool; rm -rf x"), 1, 0, QStringLiteral("a b.txt")),
       link(1, QStringLiteral("Viewer"), 0, desktop, 0, 1, QStringLiteral("/tmp/doc.pdf")),
       link(2, QStringLiteral("Site"), 1, QStringLiteral("site.example"), 0, 1),
       link(3, QStringLiteral("Odd"), 5, QStringLiteral("/bin/true"), 1, 1)});
  QList<QPair<QString, QStringList>> launched;
  SettingController::setLinkLauncher([&](const QString &program, const QStringList &args) {
    launched << qMakePair(program, args);
    return true;
  });
  QStringList opened;
  QELUIController::setUrlOpener([&](const QUrl &u) {
    opened << u.toString();
    return true;
  });
  // The page's set-up launches the start-up links.
  SettingController *s = fresh();
  ASSERT_EQ(launched.size(), 1);
  EXPECT_EQ(launched[0].first, QStringLiteral("/opt/tool; rm -rf x")); // one program name, never a command line
  EXPECT_EQ(launched[0].second, QStringList{QStringLiteral("a b.txt")});
  EXPECT_TRUE(opened.isEmpty());
  launched.clear();
  s->checkLauchWebLinksAtMoment(true);
  ASSERT_EQ(launched.size(), 1);
  EXPECT_EQ(launched[0].first, QStringLiteral("/usr/bin/viewer"));
  EXPECT_EQ(launched[0].second, (QStringList{QStringLiteral("--new-window"), QStringLiteral("/tmp/doc.pdf")}));
  EXPECT_EQ(opened, QStringList{QStringLiteral("http://site.example")});
  delete s;
}

} // namespace
