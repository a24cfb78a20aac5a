// The entertainment tab: its items open operator pages, the TV item and picture work only while
// connected, and the picture follows the icon list.
#include "CocoaExt.h"
#include "EntertainController.h"
#include "MainWindowFixture.h"
#include "WebLinkControls.h"
#include "WebViewUtilities.h"
#include "WordGlobe.h"

#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTest>

namespace {

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

class EntertainTab : public MainWindowFixture {
protected:
  QVariantList items = {"DidoroPopkorn", "Games", "Music"};
  QList<QUrl> opened;
  QString wordingBefore;

  QVariantMap settingsOverrides() const override { return {{"EntertainTabelConfig", items}}; }
  void SetUp() override {
    MainWindowFixture::SetUp();
    // The operator's wording: item names and the addresses of its pages.
    QFile tokens(dir.filePath("tokens.txt"));
    ASSERT_TRUE(tokens.open(QIODevice::WriteOnly));
    tokens.write("\"DidoroPopkorn\" = \"TV\";\n\"Games\" = \"Spiele\";\n\"Music\" = \"Musik\";\n"
                 "\"DidoroPopkornLink\" = \"http://tv.example/\";\n\"GamesLink\" = \"http://games.example/\";\n"
                 "\"MusicLink\" = \"http://music.example/\";\n"
                 "\"Please try after connecting to internet\" = \"Connect first\";\n");
    tokens.close();
    wordingBefore = WordGlobe::currentTokenListPath();
    ASSERT_TRUE(Word_Globe_Init(tokens.fileName()));
    auto record = [this](const QUrl &u) {
      opened << u;
      return true;
    };
    QELUIController::setUrlOpener(record);
    WebViewUtilities::setOpener(record);
  }
  void TearDown() override {
    delete parts.mainController;
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
    QELUIController::setUrlOpener({});
    WebViewUtilities::setOpener({});
    if (!wordingBefore.isEmpty())
      Word_Globe_Init(wordingBefore);
    else
      WordGlobe::reset();
  }
  EntertainController *entertain() const {
    for (QObject *c : parts.controllers)
      if (auto *e = qobject_cast<EntertainController *>(c))
        return e;
    return nullptr;
  }
  void connected(bool on) {
    NotificationCenter::defaultCenter().postNotificationName(
        on ? "SetWebLinkImageViewEnabled" : "SetWebLinkImageViewDisabled", nullptr);
  }
  int prompts() const {
    int n = 0;
    for (const ModalQuestion &q : answers->asked())
      n += q.message == word("Please try after connecting to internet");
    return n;
  }
};

TEST_F(EntertainTab, TheTabExistsWithItsConfiguredFolders) {
  buildOffline();
  ASSERT_NE(entertain(), nullptr);
  EXPECT_GE(NSTabViewExt::tabViewItemOfIdentifier(parts.tabs, "Entertainment"), 0);
  const auto &list = entertain()->entertainItems();
  ASSERT_EQ(list.size(), 3);
  EXPECT_EQ(list[1].value("Name").toString(), "Spiele");
  EXPECT_FALSE(list[0].value("Icon").value<QImage>().isNull());
  EXPECT_EQ(entertain()->model()->rowCount(), 3);
  EXPECT_FALSE(entertain()->model()->flags(entertain()->model()->index(0, 1)) & Qt::ItemIsEditable);
  // The TV picture starts disabled, without a picture or link (no icon list entry).
  EXPECT_FALSE(entertain()->webLinkImageViewOfDidoroPopKorn_->isEnabled());
  EXPECT_TRUE(entertain()->webLinkImageViewOfDidoroPopKorn_->webLink().isEmpty());
}

TEST_F(EntertainTab, WithoutTheConfigurationThereIsNoTab) {
  config->getConfiguration().remove("EntertainTabelConfig");
  buildOffline();
  EXPECT_EQ(entertain(), nullptr);
  EXPECT_LT(NSTabViewExt::tabViewItemOfIdentifier(parts.tabs, "Entertainment"), 0);
}

TEST_F(EntertainTab, TheTvItemDisconnectedPromptsAndOpensNothingConnectedOpensThePage) {
  buildOffline();
  EntertainController *e = entertain();
  e->tableViewSelectionDidChange(0);
  EXPECT_TRUE(opened.isEmpty());
  EXPECT_EQ(prompts(), 1);
  // The picture, pressed while disconnected, says the same.
  QTest::mouseClick(e->webLinkImageViewOfDidoroPopKorn_, Qt::LeftButton);
  EXPECT_EQ(prompts(), 2);
  connected(true);
  e->tableViewSelectionDidChange(0);
  EXPECT_EQ(opened, QList<QUrl>{QUrl(word("DidoroPopkornLink"))});
  EXPECT_EQ(prompts(), 2);
  connected(false);
  opened.clear();
  e->tableViewSelectionDidChange(0);
  EXPECT_TRUE(opened.isEmpty());
  EXPECT_EQ(prompts(), 3);
}

TEST_F(EntertainTab, GamesAndMusicOpenTheirPagesAndDeselectADeselectionOnlyResetsIcons) {
  buildOffline();
  EntertainController *e = entertain();
  QTableView *table = e->tableViewOfEntertainItems_;
  table->selectRow(1); // through the table's own selection
  EXPECT_EQ(opened, QList<QUrl>{QUrl(word("GamesLink"))});
  EXPECT_TRUE(table->selectionModel()->selectedRows().isEmpty()) << "deselected after opening";
  opened.clear();
  e->tableViewSelectionDidChange(2);
  EXPECT_EQ(opened, QList<QUrl>{QUrl(word("MusicLink"))});
  // A selection change with no row: the icons are reset and nothing opens.
  opened.clear();
  e->changeRowIconForSelectedRow(1);
  const QImage open = e->entertainItems()[1].value("Icon").value<QImage>();
  EXPECT_NE(open, e->entertainItems()[0].value("Icon").value<QImage>());
  e->tableViewSelectionDidChange(-1);
  EXPECT_TRUE(opened.isEmpty());
  EXPECT_EQ(prompts(), 0);
  for (const QVariantMap &item : e->entertainItems())
    EXPECT_EQ(item.value("Icon").value<QImage>(), e->entertainItems()[0].value("Icon").value<QImage>());
}

TEST_F(EntertainTab, ThePictureFollowsTheIconListAndOpensItsPageWhileConnected) {
  const QString images = dir.filePath("ModemList/vuzira/images");
  QDir().mkpath(images);
  QImage picture(20, 10, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(images + "/DidoroPopKorn.gif", "PNG"));
  Plist::writeFile(
      dir.filePath("ModemList/IconLinks.plist"),
      QVariantList{
          QVariantMap{{"ImageURL", "http://127.0.0.1:1/other.png"}, {"ImageStorePath", "other.png"}},
          QVariantMap{{"ImageURL", "http://127.0.0.1:1/DidoroPopKorn.gif"}, {"ImageStorePath", "DidoroPopKorn.gif"}}});
  buildOffline();
  WebLinkImageView *view = entertain()->webLinkImageViewOfDidoroPopKorn_;
  EXPECT_EQ(view->pixmap().size(), QSize(20, 10));
  EXPECT_EQ(view->webLink(), QUrl(word("DidoroPopkornLink")));
  connected(true);
  QTest::mouseClick(view, Qt::LeftButton);
  EXPECT_EQ(opened, QList<QUrl>{QUrl(word("DidoroPopkornLink"))});
}

} // namespace
