#include "PBContactDialog.h"
#include "PBFixture.h"
#include "PBPage.h"
#include "PBSource.h"
#include "UpdatePhonebookWindow.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

using namespace pbtest;

TEST_F(PBFixture, PageShowsGroupsAndTheContactsOfTheStoreChosen) {
  PBController &c = start({group(QStringLiteral("Family"), {contact("Bea", "2"), contact("Al", "1")}),
                           group(QStringLiteral("Work"), {contact("Zed", "3")})});
  read(kStorageSIM, {item(1, QStringLiteral("Sim One"), QStringLiteral("555"))});
  PBPage page(&c);
  EXPECT_EQ(page.groupTable->rowCount(), 2);
  EXPECT_EQ(page.groupTable->item(1, 0)->text(), QStringLiteral("Work"));
  EXPECT_EQ(page.contactTable->model()->rowCount(), 2);
  page.groupTable->setCurrentCell(1, 0);
  ASSERT_EQ(page.contactTable->model()->rowCount(), 1);
  EXPECT_EQ(page.contactTable->model()->index(0, 0).data().toString(), QStringLiteral("Zed"));
  page.showStore(kSaveInSIM);
  ASSERT_EQ(page.contactTable->model()->rowCount(), 1);
  EXPECT_EQ(page.contactTable->model()->index(0, 1).data().toString(), QStringLiteral("555"));
  EXPECT_FALSE(page.groupTable->isEnabled());
  c.setPage(nullptr);
}

TEST(PBContactDialogRules, OkNeedsANameAndNumbersOfNumberCharactersOnly) {
  const struct {
    const char *name, *mobile, *home;
    bool ok;
  } cases[] = {{"Ann", "+123", "", true}, {"", "123", "", false},    {"Ann", "12a", "", false},
               {"Ann", "+", "", false},   {"Ann", "1+2", "", false}, {"Ann", "", "*#0", true}};
  for (const auto &k : cases) {
    const PBContactRecord f{{"username", k.name}, {"mobilephone", k.mobile}, {"homephone", k.home}};
    EXPECT_EQ(PBContactDialog::fieldsAcceptable(f), k.ok) << k.name << " " << k.mobile << " " << k.home;
  }
}

TEST_F(PBFixture, PageDeletesSelectedPcContactsOnlyWhenConfirmed) {
  PBController &c = start({group(QStringLiteral("Family"), {contact("Al", "1"), contact("Bea", "2")})});
  PBPage page(&c);
  answers.reset(); // the old script restores the windows when it goes
  answers = std::make_unique<ScriptedAnswers>(QList<int>{ModalQuestions::kAlternateAnswer});
  page.contactTable->selectRow(0);
  page.deleteSelectedContacts();
  EXPECT_EQ(c.sumOfContactInCurrentGroup(), 2);
  page.contactTable->selectRow(0);
  page.deleteSelectedContacts();
  ASSERT_EQ(c.sumOfContactInCurrentGroup(), 1);
  EXPECT_EQ(page.contactTable->model()->rowCount(), 1);
  c.setPage(nullptr);
}

TEST_F(PBFixture, ContactDialogCutsWhileTypingAndStaysOpenOnAFailedCheck) {
  PBController &c = start({group(QStringLiteral("Family"))});
  read(kStorageSIM, {}, 10, 6);
  c.selectAtSimSide();
  ASSERT_TRUE(c.newUser());
  PBContactDialog dialog(&c, c.dialogRecord());
  QTest::keyClicks(dialog.field(QStringLiteral("username")), QStringLiteral("Maximilian"));
  EXPECT_EQ(dialog.field(QStringLiteral("username"))->text(), QStringLiteral("Maximi"));
  // Fields the store lacks stay closed.
  EXPECT_FALSE(dialog.field(QStringLiteral("homephone"))->isEnabled());
  QTest::keyClicks(dialog.field(QStringLiteral("mobilephone")), QStringLiteral("12-3"));
  EXPECT_FALSE(dialog.ok());
  EXPECT_NE(dialog.result(), int(QDialog::Accepted));
  EXPECT_TRUE(c.addUserList().isEmpty());
  dialog.field(QStringLiteral("mobilephone"))->setText(QStringLiteral("123"));
  EXPECT_TRUE(dialog.ok());
  EXPECT_EQ(c.addUserList().size(), 1);
  c.setPage(nullptr);
}

TEST_F(PBFixture, PageWithTheStoreTreeFollowsItsSelection) {
  PBController &c = start({group(QStringLiteral("Family"), {contact("Al", "1")}),
                           group(QStringLiteral("Work"), {contact("Bo", "2"), contact("Cy", "3")})});
  auto *source = new PBSource(&c);
  PBPage page(&c, nullptr, source);
  ASSERT_NE(page.tree, nullptr);
  QAbstractItemModel *model = page.tree->model();
  ASSERT_EQ(model->rowCount(), 1);
  const QModelIndex pcNode = model->index(0, 0);
  ASSERT_EQ(model->rowCount(pcNode), 2);
  page.tree->setCurrentIndex(model->index(1, 0, pcNode));
  EXPECT_EQ(c.currentGroupIndex(), 1);
  EXPECT_EQ(page.contactTable->model()->rowCount(), 2);
  // A second load of the PC store lists each group once.
  c.loadPcPhoneList(QStringLiteral("phoneBook.plist"));
  EXPECT_EQ(model->rowCount(model->index(0, 0)), 2);
  c.netcardChanged(12);
  EXPECT_EQ(model->rowCount(), 2);
}

TEST_F(PBFixture, PageSearchBarShowsAtTheFirstToggleAndHidesAtTheSecond) {
  PBController &c = start({group(QStringLiteral("Family"), {contact("Al", "1")})});
  PBPage page(&c);
  EXPECT_TRUE(page.searchField->isHidden());
  EXPECT_TRUE(page.btnGo->isHidden());
  page.btnSearch->click();
  EXPECT_FALSE(page.searchField->isHidden());
  EXPECT_FALSE(page.btnGo->isHidden());
  EXPECT_TRUE(c.searchBarShown());
  page.btnSearch->click();
  EXPECT_TRUE(page.searchField->isHidden());
  EXPECT_TRUE(page.btnGo->isHidden());
  c.setPage(nullptr);
}

TEST_F(PBFixture, PageUpdateWindowShowsTheResultWithOkAndGoesWithIt) {
  PBController &c = start(
      {group(QStringLiteral("Family"), {contact("Al", "01711234567")})},
      {{QStringLiteral("PhonebookUpdatedRule"), QVariantMap{{QStringLiteral("0171"), QStringLiteral("+49171")}}}});
  QWidget window;
  PBPage *page = new PBPage(&c, &window);
  c.beginToCheckUpdate(QStringLiteral("Checking contacts now ..."));
  ASSERT_TRUE(page->updateWindow->isVisible());
  EXPECT_FALSE(page->updateWindow->okShown());
  EXPECT_TRUE(page->updateWindow->indicatorRunning());
  c.showResult(QStringLiteral("Contacts are updated successfully."));
  EXPECT_TRUE(page->updateWindow->okShown());
  EXPECT_FALSE(page->updateWindow->indicatorRunning());
  EXPECT_FALSE(page->updateWindow->message().isEmpty());
  page->updateWindow->btnOk_->click();
  EXPECT_FALSE(page->updateWindow->isVisible());
  EXPECT_FALSE(c.controls().updateWindowShown);
  // The page's buttons: export needs a selection, the others a PC or SIM store without a batch.
  EXPECT_FALSE(page->btnExport->isEnabled());
  EXPECT_TRUE(page->btnImport->isEnabled());
  EXPECT_TRUE(page->btnUpdate->isEnabled());
  EXPECT_TRUE(page->btnRestore->isEnabled());
  page->contactTable->selectRow(0);
  EXPECT_TRUE(page->btnExport->isEnabled());
  c.setPage(nullptr);
}

TEST_F(PBFixture, AnUntouchedDefaultGroupTakesTheNewLanguagesName) {
  const QVariantMap phoneBook{{QStringLiteral("ChangeDefGrpNameWithLag"), true},
                              {QStringLiteral("CurDefGrpName"), QStringLiteral("Gruppe 0")}};
  struct Case {
    const char *name;
    QVariantList groups;
    const char *after;
  };
  const Case cases[] = {
      {"the default group", {group(QStringLiteral("Gruppe 0"))}, "Group 0"},
      {"a group with a contact", {group(QStringLiteral("Gruppe 0"), {contact("Al", "1")})}, "Gruppe 0"},
      {"a group of another name", {group(QStringLiteral("Friends"))}, "Friends"},
  };
  for (const Case &k : cases) {
    // Start-up stores the name in the words now loaded; the group still has the old one.
    PBController &c = start(k.groups, phoneBook);
    EXPECT_EQ(ConfigService::readValue(QStringLiteral("PhoneBook"), QStringLiteral("CurDefGrpName")).toString(),
              QStringLiteral("Group 0"));
    c.updateLanguages(Notification());
    EXPECT_EQ(c.getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), QLatin1String(k.after)) << k.name;
    EXPECT_EQ(c.sumOfGroupInPC(), 1) << k.name;
  }
  // Two groups: nothing is renamed.
  PBController &c = start({group(QStringLiteral("Gruppe 0")), group(QStringLiteral("Zed"))}, phoneBook);
  c.updateLanguages(Notification());
  EXPECT_EQ(c.getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), QStringLiteral("Gruppe 0"));
  // Without the switch, nothing either.
  PBController &off =
      start({group(QStringLiteral("Gruppe 0"))}, {{QStringLiteral("CurDefGrpName"), QStringLiteral("Gruppe 0")}});
  off.updateLanguages(Notification());
  EXPECT_EQ(off.getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), QStringLiteral("Gruppe 0"));
}

// A click on a column header sorts the shown contacts by that column, a second click on the same
// header reverses the order; the stored group keeps its header row first, and the SIM store sorts
// too.
TEST_F(PBFixture, HeaderClicksSortTheContactTableAndASecondClickReverses) {
  PBController &c =
      start({group(QStringLiteral("Family"), {contact("Bea", "300"), contact("al", "100"), contact("Cid", "200")})});
  read(kStorageSIM,
       {item(1, QStringLiteral("Zoe"), QStringLiteral("9")), item(2, QStringLiteral("Ann"), QStringLiteral("8"))});
  PBPage page(&c);
  page.groupTable->setCurrentCell(0, 0);
  const auto column = [&](int col) {
    QStringList out;
    for (int r = 0; r < page.contactTable->model()->rowCount(); ++r)
      out << page.contactTable->model()->index(r, col).data().toString();
    return out;
  };
  QHeaderView *header = page.contactTable->horizontalHeader();
  emit header->sectionClicked(0);
  EXPECT_EQ(column(0), (QStringList{"al", "Bea", "Cid"})) << "names in the language's order, case aside";
  emit header->sectionClicked(0);
  EXPECT_EQ(column(0), (QStringList{"Cid", "Bea", "al"}));
  emit header->sectionClicked(1);
  EXPECT_EQ(column(1), (QStringList{"100", "200", "300"}));
  // The group's own entry stays where the store keeps it.
  EXPECT_EQ(c.getPCUserByIndex(0, -1).value(PBKey::kGroupName).toString(), QStringLiteral("Family"));
  page.showStore(kSaveInSIM);
  emit header->sectionClicked(0);
  EXPECT_EQ(column(0), (QStringList{"Ann", "Zoe"}));
  c.setPage(nullptr);
}

// The details box shows every line of the selected contact's details (heading, blank line, one
// line per column) without scrolling, for the PC and the SIM store, and keeps its size when the
// selection goes.
TEST_F(PBFixture, TheDetailsBoxShowsEveryLineOfTheSelectedContact) {
  PBController &c = start({group(
      QStringLiteral("Family"),
      {contact("Bea", "0301",
               {{PBKey::kHomePhone, "0302"}, {PBKey::kOfficePhone, "0303"}, {PBKey::kEmail, "bea@example.org"}})})});
  read(kStorageSIM, {item(1, QStringLiteral("Sim One"), QStringLiteral("555"))});
  PBPage page(&c);
  page.resize(900, 650);
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  for (const int store : {int(kSaveInPC), int(kSaveInSIM)}) {
    SCOPED_TRACE(store);
    page.showStore(store);
    page.contactTable->selectRow(0);
    QCoreApplication::processEvents();
    const QString text = page.details->toPlainText();
    ASSERT_TRUE(text.contains(store == kSaveInPC ? QStringLiteral("0303") : QStringLiteral("555")))
        << text.toStdString();
    EXPECT_GE(page.details->document()->blockCount(), 2 + c.userTableViewColumns().size());
    EXPECT_FALSE(text.contains(QLatin1Char('\r')));
    EXPECT_EQ(page.details->verticalScrollBar()->maximum(), 0) << "every line shows: " << text.toStdString();
    EXPECT_GE(page.details->viewport()->height(), int(page.details->document()->size().height()));
    const QSize size = page.details->size();
    page.contactTable->clearSelection();
    QCoreApplication::processEvents();
    EXPECT_EQ(page.details->size(), size);
  }
  c.setPage(nullptr);
}

// A long international number and a long name show whole in their columns, in the PC and the
// SIM store, on a page of the main window's size; every column's title fits too.
TEST_F(PBFixture, LongNumbersAndNamesShowWholeInTheContactTable) {
  const QString number = QStringLiteral("+491709876543210");
  const QString name = QStringLiteral("Constanze Oberhauser");
  PBController &c =
      start({group(QStringLiteral("Family"),
                   {contact(name, number, {{PBKey::kHomePhone, number}, {PBKey::kOfficePhone, number}})})});
  read(kStorageSIM, {item(1, name, number)});
  PBPage page(&c);
  page.resize(780, 480);
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  for (const int store : {int(kSaveInPC), int(kSaveInSIM)}) {
    SCOPED_TRACE(store);
    page.showStore(store);
    QCoreApplication::processEvents();
    QAbstractItemModel *model = page.contactTable->model();
    ASSERT_EQ(model->rowCount(), 1);
    const QFontMetrics cell(page.contactTable->font());
    const QFontMetrics title(page.contactTable->horizontalHeader()->font());
    int numbers = 0;
    for (int column = 0; column < model->columnCount(); ++column) {
      const QString text = model->index(0, column).data().toString();
      const QString heading = model->headerData(column, Qt::Horizontal).toString();
      const int width = page.contactTable->columnWidth(column);
      EXPECT_GE(width, title.horizontalAdvance(heading) + 8) << qPrintable(heading);
      if (text == number || text == name) {
        numbers += text == number;
        // The cell's text has a margin of a few pixels each side.
        EXPECT_GE(width, cell.horizontalAdvance(text) + 8) << qPrintable(heading) << " " << qPrintable(text);
      }
    }
    EXPECT_GE(numbers, 1);
  }
  c.setPage(nullptr);
}
