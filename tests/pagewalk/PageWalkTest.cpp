// Walks every page the shipped configuration reaches, in the shipped skin and wording, and fails
// on what a user would stumble over: cut or elided texts, raw wording keys, toolbar and menu
// items that do nothing. Each page is also written as a picture into the build folder
// ("pagewalk/<language>-<page>.png") to be looked at.
#include "CocoaExt.h"
#include "CodeSheet.h"
#include "DispatchTargets.h"
#include "InitController.h"
#include "MainWindowFixture.h"
#include "NSButtonExt.h"
#include "PinSheets.h"
#include "QELUIManager.h"
#include "SettingController.h"
#include "StartKnobs.h"
#include "TokenListReader.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <functional>

namespace {

// Every page a user reaches from the toolbar, the menus or the settings list: a tab, or a tab
// and a page of the settings window. A new page is one line here.
struct PageCase {
  const char *tab;
  const char *settingsPage = nullptr;
};
const PageCase kPages[] = {
    {"Internet"},
    {"SMS"},
    {"Phonebook"},
    {"Statistics"},
    {"DialRecord"},
    {"Call"},
    {"Record"},
    {"WLAN"},
    {"USSD1"},
    {"STK"},
    {"GPS"},
    {"Setting", "System"},
    {"Setting", "SMS"},
    {"Setting", "Network"},
    {"Setting", "Security"},
    {"Setting", "Alert"},
    {"Setting", "Browser"},
    {"Setting", "Call"},
    {"Setting", "FavoriteLinks"},
};

// The sheets a user opens from those pages: the SIM code sheets of the device status and of the
// settings' security page. A new sheet is one line here.
struct SheetCase {
  const char *name;
  // The sheet and its prompt.
  std::pair<QWidget *, QLabel *> (*open)();
};
template <typename Sheet> std::pair<QWidget *, QLabel *> sheetOf(Sheet *sheet) {
  return {sheet, sheet ? sheet->prompt : nullptr};
}
// A sheet built with its page, found by its name; it has no prompt.
std::pair<QWidget *, QLabel *> namedSheet(const char *name) {
  for (QWidget *widget : QApplication::allWidgets())
    if (widget->isWindow() && widget->objectName() == QLatin1String(name))
      return {widget, nullptr};
  return {nullptr, nullptr};
}
const SheetCase kSheets[] = {
    {"Enter PIN", [] { return sheetOf(g_InitController->pinSheet()); }},
    {"Enter PUK", [] { return sheetOf(g_InitController->pukSheet()); }},
    {"Enable PIN", [] { return sheetOf(g_SettingController->enablePinSheet()); }},
    {"Change PIN", [] { return sheetOf(g_SettingController->revisePinSheet()); }},
    {"Unlock PIN", [] { return sheetOf(g_SettingController->pukSheet()); }},
    {"Device lock", [] { return sheetOf(g_SettingController->unlockDeviceSheet()); }},
    {"Change lock code", [] { return sheetOf(g_SettingController->modifyUnlockDeviceSheet()); }},
    {"Firewall IP filter", [] { return namedSheet("IPFilterWindow"); }},
    {"Firewall virtual server", [] { return namedSheet("VirtualServicesWindow"); }},
};

// The languages the walk reads the pages in: the shipped English list, and the same list with
// every text made a third longer, as the longer of the languages the program is worded in are.
struct Language {
  const char *name;
  bool lengthened;
};
const Language kLanguages[] = {{"English", false}, {"Long", true}};

QString englishTokens() {
  return testsupport::buildBundlePath() + QStringLiteral("/Resources/English.lproj/LanguageTokenList.txt");
}

// Access to a QObject's connection count, which QObject keeps protected.
struct SignalPeek : QObject {
  using QObject::receivers;
};
bool triggers(const QAction *action) {
  // A member pointer named through the class that may reach it, rather than a cast of the action
  // to a class it is not (which the sanitizer rightly refuses).
  int (QObject::*const receivers)(const char *) const = &SignalPeek::receivers;
  return (action->*receivers)(SIGNAL(triggered(bool))) > 0;
}

class PageWalk : public MainWindowFixture {
protected:
  std::unique_ptr<QELUIManager> skin;
  QString before;
  QStringList faults;
  QString outDir = QDir(QStringLiteral(QEL_BUNDLE_BUILD_DIR "/../pagewalk")).absolutePath();

  void SetUp() override {
    MainWindowFixture::SetUp();
    before = WordGlobe::currentTokenListPath();
    QDir().mkpath(outDir);
  }
  void TearDown() override {
    WordGlobe::recordMissingKeys(false);
    delete parts.mainController; // it watches the window
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
    skin.reset();
    // The wording the other tests of this process started with, none included.
    if (before.isEmpty())
      WordGlobe::reset();
    else
      Word_Globe_Init(before);
  }

  bool loadLanguage(const Language &language) {
    if (!language.lengthened)
      return Word_Globe_Init(englishTokens());
    TokenListReader::Result english;
    if (!TokenListReader::readFile(englishTokens(), &english))
      return false;
    QString text;
    for (auto it = english.table.cbegin(); it != english.table.cend(); ++it) {
      QString value = it.value();
      // A third longer, the words kept whole (a line break stays where it was).
      const int extra = int(value.size() / 3);
      // Technical names (bands, versions: with digits) read the same in every language.
      const bool technical = value.contains(QRegularExpression(QStringLiteral("[0-9]")));
      if (extra > 0 && !technical && !value.contains(QLatin1String("%")))
        value += QStringLiteral(" ") + QString(extra, QChar(0x00E9));
      auto escaped = [](QString t) {
        t.replace(QLatin1String("\\"), QLatin1String("\\\\"));
        t.replace(QLatin1String("\""), QLatin1String("\\\""));
        t.replace(QLatin1String("\n"), QLatin1String("\\n"));
        return t;
      };
      const QString key = escaped(it.key());
      value = escaped(value);
      text += QStringLiteral("\"%1\" = \"%2\";\n").arg(key, value);
    }
    const QString path = dir.filePath(QStringLiteral("Long.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
      return false;
    file.write(text.toUtf8());
    file.close();
    return Word_Globe_Init(path);
  }

  bool launchSkinned() {
    link = std::make_unique<PackageLink>(ui, be);
    if (!link->open())
      return false;
    center = std::make_unique<QELMsgCenter>(link.get());
    skin = std::make_unique<QELUIManager>(config.get());
    if (!skin->loadUIResource(testsupport::buildBundlePath() + QStringLiteral("/Resources/defaultSkin")))
      return false;
    parts = MainWindowBuilder::build(center.get(), skin.get(), &owner);
    parts.mainController->setStartsBackend(false);
    testsupport::useFreeOperatorAddress();
    backend = std::make_unique<testsupport::BackendProcess>(
        ui, be, testsupport::buildBundlePath() + QStringLiteral("/Resources/Scenarios/sim-ready.plist"));
    if (!backend->start())
      return false;
    parts.window->show();
    return true;
  }

  void fault(const QString &where, const QString &what) { faults << where + QStringLiteral(": ") + what; }

  static QString plain(const QString &text) { return text.simplified().remove(QLatin1Char('&')); }

  // The widget's visible texts checked against its room.
  void checkWidget(const QString &page, QWidget *w, const QSet<QString> &rawKeys) {
    const QString name =
        w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    const QString where = page + QStringLiteral(" ") + name;
    QString text;
    int room = -1;
    const QFontMetrics fm(w->font());
    if (auto *label = qobject_cast<QLabel *>(w)) {
      if (label->wordWrap() || !label->pixmap().isNull() || label->textFormat() == Qt::RichText ||
          Qt::mightBeRichText(label->text()))
        text = label->text().contains(QLatin1Char('<')) ? QString() : label->text();
      else {
        text = label->text();
        for (const QString &line : text.split(QLatin1Char('\n')))
          if (fm.horizontalAdvance(line) > label->contentsRect().width() + 1)
            fault(where, QStringLiteral("\"%1\" needs %2 px, has %3")
                             .arg(line)
                             .arg(fm.horizontalAdvance(line))
                             .arg(label->contentsRect().width()));
      }
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
      text = button->text();
      if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w))
        room = button->width() - 22;
      else if (!qobject_cast<QToolButton *>(w))
        room = button->width() - (button->icon().isNull() ? 4 : button->iconSize().width() + 4);
      if (room >= 0 && !plain(text).isEmpty() && fm.horizontalAdvance(plain(text)) > room)
        fault(where, QStringLiteral("\"%1\" needs %2 px, has %3")
                         .arg(plain(text))
                         .arg(fm.horizontalAdvance(plain(text)))
                         .arg(room));
    } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
      text = group->title();
      if (fm.horizontalAdvance(plain(text)) > group->width() - 16)
        fault(where, QStringLiteral("title \"%1\" is cut").arg(text));
    } else if (auto *header = qobject_cast<QHeaderView *>(w)) {
      if (!header->isVisible() || !header->model())
        return;
      const QFontMetrics hfm(header->font());
      for (int i = 0; i < header->count(); ++i) {
        if (header->isSectionHidden(i) || header->sectionSize(i) <= 0)
          continue;
        const QString title = header->model()->headerData(i, header->orientation()).toString();
        if (header->orientation() == Qt::Horizontal && hfm.horizontalAdvance(title) + 8 > header->sectionSize(i))
          fault(where, QStringLiteral("column \"%1\" needs %2 px, has %3")
                           .arg(title)
                           .arg(hfm.horizontalAdvance(title) + 8)
                           .arg(header->sectionSize(i)));
        if (rawKeys.contains(title))
          fault(where, QStringLiteral("raw key \"%1\"").arg(title));
      }
      return;
    }
    // A single line needs its height too (rows squeezed together cut their texts at the bottom).
    if ((qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)) && !plain(text).isEmpty() &&
        !text.contains(QLatin1Char('\n')) && !(qobject_cast<QLabel *>(w) && static_cast<QLabel *>(w)->wordWrap()) &&
        w->contentsRect().height() + 2 < fm.height())
      fault(where, QStringLiteral("\"%1\" needs %2 px high, has %3")
                       .arg(plain(text))
                       .arg(fm.height())
                       .arg(w->contentsRect().height()));
    // Shown in part only: its container cuts it (a page too full for its room).
    if ((qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w)) && !plain(text).isEmpty() && w->isVisible() &&
        (w->visibleRegion().boundingRect().height() + 2 < std::min(w->height(), fm.height()) ||
         w->visibleRegion().boundingRect().width() + 2 < std::min(w->width(), fm.horizontalAdvance(plain(text)))))
      fault(where, QStringLiteral("\"%1\" is cut by its container").arg(plain(text)));
    if (text.contains(QChar(0x2026)))
      fault(where, QStringLiteral("elided \"%1\"").arg(text));
    if (!text.isEmpty() && rawKeys.contains(text))
      fault(where, QStringLiteral("raw key \"%1\"").arg(text));
  }

  // The cells a table or outline shows: each text within its cell.
  void checkCells(const QString &page, QAbstractItemView *view, const QSet<QString> &rawKeys) {
    QAbstractItemModel *model = view->model();
    if (!model || !view->isVisible())
      return;
    const QString where = page + QStringLiteral(" ") + view->objectName();
    const QFontMetrics fm(view->font());
    const QRect shown = view->viewport()->rect();
    int visited = 0;
    std::function<void(const QModelIndex &)> walk = [&](const QModelIndex &parent) {
      for (int row = 0; row < model->rowCount(parent) && visited < 400; ++row) {
        for (int column = 0; column < model->columnCount(parent); ++column, ++visited) {
          const QModelIndex index = model->index(row, column, parent);
          const QRect cell = view->visualRect(index);
          if (!cell.isValid() || !shown.intersects(cell))
            continue;
          const QString text = index.data(Qt::DisplayRole).toString();
          if (text.isEmpty())
            continue;
          const int icon = index.data(Qt::DecorationRole).isNull() ? 0 : view->iconSize().width() + 4;
          const int needs = fm.horizontalAdvance(text) + icon + 6;
          if (cell.width() < needs)
            fault(where, QStringLiteral("cell \"%1\" needs %2 px, has %3").arg(text).arg(needs).arg(cell.width()));
          if (rawKeys.contains(text))
            fault(where, QStringLiteral("raw key \"%1\"").arg(text));
        }
        const QModelIndex first = model->index(row, 0, parent);
        if (auto *tree = qobject_cast<QTreeView *>(view); tree && tree->isExpanded(first))
          walk(first);
      }
    };
    walk(QModelIndex());
  }

  void checkPage(const QString &page, const QSet<QString> &rawKeys, QWidget *window = nullptr) {
    if (!window)
      window = parts.window;
    const QRect visible = window->rect();
    for (QWidget *w : window->findChildren<QWidget *>()) {
      if (!w->isVisibleTo(window) || w->isWindow() || w->window() != window)
        continue;
      const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
      if (!visible.intersects(r) || r.width() <= 1)
        continue;
      checkWidget(page, w, rawKeys);
      if (auto *view = qobject_cast<QAbstractItemView *>(w);
          view && (qobject_cast<QTreeView *>(w) || qobject_cast<QTableView *>(w)))
        checkCells(page, view, rawKeys);
    }
  }

  // Every configured toolbar item is on the toolbar or in its "more" menu, and acts.
  void checkToolbar() {
    MainController *main = parts.mainController;
    const QVariantList entries = main->uiConfigDict().value(QStringLiteral("ToolbarItems")).toList();
    QStringList identifiers;
    for (const QVariant &v : entries) {
      const QVariantMap entry = v.toMap();
      const QString identifier = entry.value(QStringLiteral("itemIdentifier")).toString();
      if (identifiers.contains(identifier))
        fault(QStringLiteral("toolbar"), QStringLiteral("\"%1\" is configured twice").arg(identifier));
      identifiers << identifier;
      const QByteArray action = entry.value(QStringLiteral("itemAction")).toString().toLatin1();
      if (!DispatchTargets::answersItemAction(main, action))
        fault(QStringLiteral("toolbar"), QStringLiteral("\"%1\" has no action").arg(identifier));
    }
    QWidget *bar = main->toolbarView();
    ASSERT_NE(bar, nullptr);
    const QList<QAbstractButton *> inMore = main->toolbarButtonsInMore();
    for (const QString &identifier : identifiers) {
      bool reachable = false;
      for (auto *button : bar->findChildren<NSButtonExt *>()) {
        if (button->itemIdentifier() != identifier)
          continue;
        const QRect r = button->geometry();
        reachable = (button->isVisibleTo(bar) && r.right() < bar->width()) || inMore.contains(button);
      }
      if (!reachable)
        fault(QStringLiteral("toolbar"), QStringLiteral("\"%1\" cannot be reached").arg(identifier));
    }
  }

  // Every menu item that can be chosen does something.
  void checkMenus(QMenu *menu, const QString &path) {
    for (QAction *action : menu->actions()) {
      if (action->isSeparator())
        continue;
      const QString title = path + QStringLiteral(" > ") + plain(action->text());
      if (action->menu()) {
        checkMenus(action->menu(), title);
        continue;
      }
      if (action->isEnabled() && !triggers(action))
        fault(QStringLiteral("menu"), title + QStringLiteral(" has no action"));
      if (WordGlobe::missingKeys().contains(plain(action->text())) && !WordGlobe::hasKey(action->objectName()))
        fault(QStringLiteral("menu"), title + QStringLiteral(" is not worded"));
    }
  }
};

TEST_F(PageWalk, EveryPageIsWholeWordedAndReachable) {
  for (const Language &language : kLanguages) {
    SCOPED_TRACE(language.name);
    ASSERT_TRUE(loadLanguage(language));
    WordGlobe::recordMissingKeys(true);
    if (!launchSkinned())
      GTEST_SKIP() << "no session bus";
    // The device is up and the SIM read: the pages show what a user with a modem sees.
    testsupport::waitUntil([&] { return parts.mainController->datacardStarted(); });
    QTest::qWait(1500);
    faults.clear();
    checkToolbar();
    for (QAction *top : parts.window->menuBar()->actions())
      if (top->menu())
        checkMenus(top->menu(), plain(top->text()));
    for (const PageCase &p : kPages) {
      const QString page = p.settingsPage
                               ? QStringLiteral("%1/%2").arg(QLatin1String(p.tab), QLatin1String(p.settingsPage))
                               : QLatin1String(p.tab);
      const QStringList errors = StartKnobs::apply(page, QString(), parts.mainController, parts.controllers);
      EXPECT_TRUE(errors.isEmpty()) << qPrintable(page) << ": " << qPrintable(errors.join("; "));
      QTest::qWait(50);
      // Raw keys: texts asked of the wording and not found there, shown as they are.
      QSet<QString> raw;
      static const QRegularExpression keyLike(QStringLiteral("^[A-Za-z0-9_]*[a-z][A-Z_][A-Za-z0-9_]*$|^[a-z].* [a-z]"));
      for (const QString &key : WordGlobe::missingKeys())
        if (keyLike.match(key).hasMatch())
          raw.insert(key);
      checkPage(page, raw);
      QString file = page;
      file.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char(' '), QLatin1Char('_'));
      parts.window->grab().save(QStringLiteral("%1/%2-%3.png").arg(outDir, QLatin1String(language.name), file));
    }
    // The simple window, the other window model.
    if (QWidget *simple = parts.mainController->wndSimpleMain_) {
      simple->show();
      QTest::qWait(20);
      checkPage(QStringLiteral("simple window"), WordGlobe::missingKeys(), simple);
      simple->grab().save(QStringLiteral("%1/%2-simple.png").arg(outDir, QLatin1String(language.name)));
      simple->hide();
    }
    QMap<QString, QString> prompts;
    for (const SheetCase &sheetCase : kSheets) {
      const auto [sheet, prompt] = sheetCase.open();
      ASSERT_NE(sheet, nullptr) << sheetCase.name;
      sheet->show();
      QTest::qWait(20);
      const QString where = QStringLiteral("sheet ") + QLatin1String(sheetCase.name);
      if (sheet->windowTitle().isEmpty())
        fault(where, QStringLiteral("has no title"));
      QSet<QString> raw;
      for (const QString &key : WordGlobe::missingKeys())
        raw.insert(key);
      checkPage(where, raw, sheet);
      if (prompt)
        prompts.insert(QLatin1String(sheetCase.name), prompt->text());
      QString file = QLatin1String(sheetCase.name);
      sheet->grab().save(
          QStringLiteral("%1/%2-sheet-%3.png").arg(outDir, QLatin1String(language.name), file.replace(' ', '_')));
      sheet->hide();
    }
    // The sheets that change a code ask for the current one, not for the PUK.
    for (const char *changing : {"Change PIN", "Change lock code"})
      EXPECT_NE(prompts.value(QLatin1String(changing)), prompts.value(QStringLiteral("Unlock PIN"))) << changing;
    EXPECT_TRUE(faults.isEmpty()) << faults.size() << " faults:\n" << qPrintable(faults.join(QLatin1Char('\n')));
    // The next language gets a window of its own.
    delete parts.mainController;
    parts.mainController = nullptr;
    MainWindowFixture::TearDown();
    skin.reset();
    MainWindowFixture::SetUp();
  }
}

} // namespace
