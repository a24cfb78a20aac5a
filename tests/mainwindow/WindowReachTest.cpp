// What a user reaches from the window's menus, keys and toolbar: every menu item acts, the
// standard keys and mnemonics are there, the toolbar's items that do not fit go into its "more"
// menu, and the skinned window grows from the skin's size.
#include "AEMessage.h"
#include "MainWindowFixture.h"
#include "MenuKeys.h"
#include "NSButtonExt.h"
#include "QELUIManager.h"
#include "SkinCanvas.h"
#include "WordGlobe.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

class WindowReach : public MainWindowFixture {
protected:
  QList<QUrl> opened;
  bool opens = true;
  std::unique_ptr<QELUIManager> skin;
  QString before;

  void SetUp() override {
    MainWindowFixture::SetUp();
    before = WordGlobe::currentTokenListPath();
    Word_Globe_Init(testsupport::buildBundlePath() + QStringLiteral("/Resources/English.lproj/LanguageTokenList.txt"));
    QELUIController::setUrlOpener([this](const QUrl &u) {
      opened << u;
      return opens;
    });
  }
  void TearDown() override {
    delete parts.mainController; // it watches the window
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
    skin.reset();
    QELUIController::setUrlOpener({});
    // The wording the other tests of this process started with, none included.
    if (before.isEmpty())
      WordGlobe::reset();
    else
      Word_Globe_Init(before);
  }
  // The shipped skin and configuration, as the program starts with them.
  void buildSkinned() {
    skin = std::make_unique<QELUIManager>(config.get());
    ASSERT_TRUE(skin->loadUIResource(testsupport::buildBundlePath() + QStringLiteral("/Resources/defaultSkin")));
    parts = MainWindowBuilder::build(nullptr, skin.get(), &owner);
    main()->setStartsBackend(false);
  }
  MainController *main() const { return parts.mainController; }
  QString lastMessage() const { return answers->asked().isEmpty() ? QString() : answers->asked().last().message; }
};

TEST_F(WindowReach, TheApplicationAndHelpItemsActOrSayWhyNot) {
  buildSkinned();
  // About: the name and the version.
  QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
  main()->menuItem("About...")->trigger();
  EXPECT_TRUE(lastMessage().contains("Connection Manager")) << qPrintable(lastMessage());
  EXPECT_TRUE(lastMessage().contains("1.0")) << qPrintable(lastMessage());
  // Help: no help file ships, and the user is told so instead of nothing happening.
  const int asked = int(answers->asked().size());
  main()->menuItem("MyApp Help")->trigger();
  ASSERT_EQ(answers->asked().size(), asked + 1);
  EXPECT_EQ(lastMessage(), Map_Name_Item_of_IndexString("No help is installed with this program."));
  main()->menuItem("Online Help")->trigger();
  EXPECT_EQ(answers->asked().size(), asked + 2);
  // Logs: the folder is opened; where nothing opens it, the user is told where it is.
  if (MainController::logFolder().isEmpty() || !QFileInfo(MainController::logFolder()).isDir()) {
    main()->menuItem("Logs")->trigger();
    EXPECT_EQ(lastMessage(), Map_Name_Item_of_IndexString("No log has been written yet."));
  } else {
    opened.clear();
    main()->menuItem("Logs")->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile(), MainController::logFolder());
    opens = false;
    main()->menuItem("Logs")->trigger();
    EXPECT_TRUE(lastMessage().contains(QDir::toNativeSeparators(MainController::logFolder())));
  }
}

TEST_F(WindowReach, CheckForUpdatesTalksToTheUpdaterOrSaysThereIsNone) {
  buildSkinned();
  QList<QByteArray> sent;
  AEMessage::defaultAEMessage()->setSender([&sent](const QByteArray &xml) {
    sent << xml;
    return 0;
  });
  const int asked = int(answers->asked().size());
  main()->menuItem("Update")->trigger();
  if (main()->updaterSupported()) {
    ASSERT_EQ(sent.size(), 1);
    EXPECT_TRUE(sent[0].contains("CMD_ID"));
    EXPECT_EQ(answers->asked().size(), asked);
    // An updater that does not take the command: the user hears of it.
    AEMessage::defaultAEMessage()->setSender([](const QByteArray &) { return 5; });
    main()->menuItem("Update")->trigger();
    EXPECT_EQ(lastMessage(), Map_Name_Item_of_IndexString("The updater did not answer. Please try again later."));
  } else {
    EXPECT_TRUE(sent.isEmpty());
    EXPECT_EQ(lastMessage(), Map_Name_Item_of_IndexString("No updater is installed with this program."));
  }
  AEMessage::defaultAEMessage()->setSender({});
}

TEST_F(WindowReach, SettingsItemsAndKeysOpenTheSettingsPage) {
  buildSkinned();
  const int settings = parts.tabs->indexOf(parts.tabs->findChild<QWidget *>("Setting"));
  ASSERT_GE(settings, 0);
  struct Case {
    const char *item;
    QKeySequence keys;
  };
  const Case cases[] = {{"Preferences...", QKeySequence("Ctrl+,")}, {"Options", QKeySequence()}};
  for (const Case &c : cases) {
    parts.tabs->setCurrentIndex(0);
    QAction *item = main()->menuItem(c.item);
    ASSERT_NE(item, nullptr) << c.item;
    EXPECT_EQ(item->shortcut(), c.keys) << c.item;
    item->setEnabled(true);
    item->trigger();
    EXPECT_EQ(parts.tabs->currentIndex(), settings) << c.item;
  }
  EXPECT_EQ(main()->menuItem("Quit")->shortcut(), QKeySequence(QKeySequence::Quit));
  EXPECT_EQ(main()->menuItem("MyApp Help")->shortcut(), QKeySequence(QKeySequence::HelpContents));
}

TEST_F(WindowReach, EveryMenuHasMnemonicsOfItsOwn) {
  buildSkinned();
  auto check = [](const QList<QAction *> &actions, const QString &where) {
    QSet<QChar> keys;
    for (QAction *a : actions) {
      if (a->isSeparator() || a->text().isEmpty())
        continue;
      const int amp = a->text().indexOf(QRegularExpression("&[^&]"));
      ASSERT_GE(amp, 0) << qPrintable(where + " > " + a->text());
      const QChar key = a->text().at(amp + 1).toLower();
      EXPECT_FALSE(keys.contains(key)) << qPrintable(where + " > " + a->text());
      keys.insert(key);
    }
  };
  check(main()->menuBar->actions(), "bar");
  for (QAction *top : main()->menuBar->actions())
    check(top->menu()->actions(), top->text());
  // A worded title keeps its mnemonic across a change of language.
  main()->Init_UIMenu();
  check(main()->menuBar->actions(), "bar again");
}

TEST_F(WindowReach, TheEditMenuActsOnTheFocusedField) {
  buildSkinned();
  parts.window->show();
  auto *field = new QLineEdit(parts.window);
  field->show();
  field->setText("hello");
  field->setFocus();
  QApplication::setActiveWindow(parts.window);
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == field; }, 5000));
  main()->menuItem("Select All")->trigger();
  EXPECT_EQ(field->selectedText(), "hello");
  main()->menuItem("Cut")->trigger();
  EXPECT_TRUE(field->text().isEmpty());
  main()->menuItem("Undo")->trigger();
  EXPECT_EQ(field->text(), "hello");
  field->setReadOnly(true);
  main()->menuItem("Select All")->trigger();
  main()->menuItem("Delete")->trigger();
  EXPECT_EQ(field->text(), "hello"); // a read-only field keeps its text
  EXPECT_FALSE(MenuKeys::runEditCommand(nullptr, MenuKeys::EditCommand::Paste));
}

TEST_F(WindowReach, TheToolbarShowsEveryItemOrOffersItInItsMoreMenu) {
  buildSkinned();
  parts.window->show();
  QWidget *bar = main()->toolbarView();
  ASSERT_NE(bar, nullptr);
  const QVariantList entries = main()->uiConfigDict().value("ToolbarItems").toList();
  QStringList configured;
  for (const QVariant &v : entries)
    configured << v.toMap().value("itemIdentifier").toString();
  EXPECT_EQ(configured.size(), QSet<QString>(configured.begin(), configured.end()).size())
      << "an item is configured twice: " << qPrintable(configured.join(", "));
  auto reachable = [&] {
    QStringList seen;
    for (auto *button : bar->findChildren<NSButtonExt *>())
      if ((button->isVisible() && button->geometry().right() < bar->width()) ||
          main()->toolbarButtonsInMore().contains(button))
        seen << button->itemIdentifier();
    return seen;
  };
  // At the skin's size the last items do not fit: they are in the "more" menu, and choosing one
  // there acts as the button does.
  ASSERT_TRUE(main()->toolbarMoreButton());
  for (const QString &id : configured)
    EXPECT_TRUE(reachable().contains(id)) << qPrintable(id);
  if (!main()->toolbarButtonsInMore().isEmpty()) {
    EXPECT_TRUE(main()->toolbarMoreButton()->isVisible());
    QMenu *menu = main()->toolbarMoreButton()->menu();
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), main()->toolbarButtonsInMore().size());
    QAction *setting = nullptr;
    for (QAction *a : menu->actions())
      if (a->objectName() == "btnSetting")
        setting = a;
    if (setting) {
      setting->setEnabled(true);
      main()->toolbarButtonsInMore().value(menu->actions().indexOf(setting))->setEnabled(true);
      setting->trigger();
      EXPECT_EQ(parts.tabs->currentWidget()->objectName(), "Setting");
    }
  }
  // Wide enough, every button is on the bar and the menu goes.
  parts.window->resize(1400, parts.window->height());
  QCoreApplication::processEvents();
  EXPECT_TRUE(main()->toolbarButtonsInMore().isEmpty());
  EXPECT_FALSE(main()->toolbarMoreButton()->isVisible());
  for (const QString &id : configured)
    EXPECT_TRUE(reachable().contains(id)) << qPrintable(id);
}

TEST_F(WindowReach, TheSkinnedWindowGrowsFromTheSkinsSizeAndThePagesWithIt) {
  buildSkinned();
  parts.window->show();
  QCoreApplication::processEvents();
  const QSize skinSize = parts.window->size();
  EXPECT_EQ(parts.window->minimumSize(), skinSize);
  EXPECT_NE(parts.window->maximumSize(), skinSize); // not fixed any more
  const QRect pages = parts.tabs->geometry();
  const QRect toolbar = main()->toolbarView()->geometry();
  parts.window->resize(1200, 800);
  QCoreApplication::processEvents();
  const QSize grown = parts.window->size() - skinSize;
  ASSERT_GT(grown.width(), 0);
  ASSERT_GT(grown.height(), 0);
  // The pages take what the window adds; the toolbar widens and stays at the top.
  EXPECT_EQ(parts.tabs->geometry().size(), pages.size() + grown);
  EXPECT_EQ(parts.tabs->geometry().topLeft(), pages.topLeft());
  EXPECT_EQ(main()->toolbarView()->geometry().top(), toolbar.top());
  EXPECT_EQ(main()->toolbarView()->width(), toolbar.width() + grown.width());
  // Back at the skin's size, everything is where the skin put it.
  parts.window->resize(skinSize);
  QCoreApplication::processEvents();
  EXPECT_EQ(parts.tabs->geometry(), pages);
}

} // namespace
