// The contact picker.
#include "PBFixture.h"
#include "SMSController.h"
#include "SelectWindowControl.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
#include <QTableWidget>

namespace {
using namespace pbtest;

class PickerTest : public PBFixture {
protected:
  SMSController sms;
  QList<Notification> posted;
  QObject observer;

  void SetUp() override {
    for (const char *name : {kSelectContactFinished, kCallWithPhoneNumber})
      NotificationCenter::defaultCenter().addObserver(&observer, QLatin1String(name), nullptr,
                                                      [this](const Notification &n) { posted << n; });
  }

  void startStores(const QVariantMap &sms = {}, const QVariantMap &phoneBook = {}, bool me = true) {
    QVariantMap top{{QStringLiteral("SMS"), sms}};
    if (me)
      top.insert(QStringLiteral("HasMePosition"), true);
    start({group("Family", {contact("Mum", "0301", {{PBKey::kHomePhone, "0302"}, {PBKey::kOfficePhone, ""}}),
                            contact("Dad", "0303")}),
           group("Work", {contact("Boss", "0401", {{PBKey::kOfficePhone, "0402"}})})},
          phoneBook, top);
    read(kStorageSIM, {item(1, "Sim Anna", "0170"), item(2, "Sim Bert", "0171")});
    read(kStorageME, {item(1, "Me Carl", "0180")});
  }

  static QStringList column(const PBContactList &list, const QString &key) {
    QStringList out;
    for (const QVariant &v : list)
      out << v.toMap().value(key).toString();
    return out;
  }
  static void selectRows(QTableWidget *table, const QList<int> &rows) {
    table->clearSelection();
    for (int r : rows)
      table->selectionModel()->select(table->model()->index(r, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
};

TEST_F(PickerTest, ListsEachStoreAndSplitsPcNumbersWhenAsked) {
  startStores({{QStringLiteral("ContactNumbersSelectionEnabled"), true}});
  auto *picker = new SelectWindowControl;
  picker->showWindow(nullptr);
  EXPECT_EQ(column(picker->contactList(), PBKey::kMobilePhone),
            (QStringList{"0301(Mobile)", "0302(Home)", "0303(Mobile)", "0401(Mobile)", "0402(Office)"}));
  picker->storeCombo()->setCurrentIndex(1);
  EXPECT_EQ(column(picker->contactList(), PBKey::kUserName), (QStringList{"Sim Anna", "Sim Bert"}));
  picker->storeCombo()->setCurrentIndex(2);
  EXPECT_EQ(column(picker->contactList(), PBKey::kUserName), QStringList{"Me Carl"});
  EXPECT_EQ(picker->contactTable()->rowCount(), 1);
  picker->cancelAction();
}

TEST_F(PickerTest, WithoutTheDeviceMemoryTheStoreListHasTwoEntries) {
  startStores({}, {}, false);
  SelectWindowControl picker;
  EXPECT_EQ(picker.storeCombo()->count(), 2);
  picker.storeSelectionDidChange(2);
  EXPECT_TRUE(picker.contactList().isEmpty());
}

TEST_F(PickerTest, MovingEntriesAndOkHandTheNumbersOver) {
  startStores({{QStringLiteral("ContactNumbersSelectionEnabled"), true}});
  auto *picker = new SelectWindowControl;
  picker->allowsContactTableMultiSelection(true);
  picker->showWindow(nullptr);
  selectRows(picker->contactTable(), {0, 4});
  picker->addButton()->click();
  EXPECT_EQ(column(picker->selectedList(), PBKey::kMobilePhone), (QStringList{"0301(Mobile)", "0402(Office)"}));
  EXPECT_EQ(picker->contactList().size(), 3);
  // "<<" puts an entry back only once.
  selectRows(picker->selectedTable(), {0});
  picker->removeButton()->click();
  EXPECT_EQ(picker->contactList().size(), 4);
  picker->addToSelected(); // nothing selected: nothing moves
  EXPECT_EQ(picker->selectedList().size(), 1);
  QPointer<SelectWindowControl> alive(picker);
  picker->okButton()->click();
  ASSERT_EQ(posted.size(), 1);
  EXPECT_EQ(posted.at(0).name, QLatin1String(kSelectContactFinished));
  EXPECT_EQ(posted.at(0).userInfo.value("SendList").toStringList(), QStringList{"0402(Office)"});
  EXPECT_EQ(sms.recipientsFieldNumbers(), QStringList{"0402(Office)"});
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull()); // a sheet lets itself go
}

TEST_F(PickerTest, AGroupGoesToTheRecipientsEachTimeItIsChosen) {
  startStores({}, {{QStringLiteral("SMStoGroup"), true}});
  SelectWindowControl picker;
  ASSERT_NE(picker.groupComb(), nullptr);
  EXPECT_EQ(picker.groupComb()->count(), 2);
  picker.groupSelectionDidChange(0);
  picker.groupSelectionDidChange(0);
  EXPECT_EQ(column(picker.selectedList(), PBKey::kMobilePhone),
            (QStringList{"0301(Mobile)", "0302(Home)", "0303(Mobile)", "0301(Mobile)", "0302(Home)", "0303(Mobile)"}));
  picker.storeSelectionDidChange(1);
  EXPECT_FALSE(picker.groupComb()->isEnabled());
}

TEST_F(PickerTest, CallVariantPostsTheBareNumberOrAsksForARow) {
  startStores({{QStringLiteral("ContactNumbersSelectionEnabled"), true}});
  auto *picker = new SelectWindowControl;
  picker->ResizeWindowForCall();
  picker->allowsContactTableMultiSelection(false);
  picker->showWindow(nullptr);
  EXPECT_FALSE(picker->addButton()->isVisibleTo(picker->window()));
  picker->doSelectAction();
  EXPECT_TRUE(posted.isEmpty());
  ASSERT_EQ(answers->asked().size(), 1);
  EXPECT_EQ(answers->asked().at(0).message, QStringLiteral("Please select a phone number!"));
  selectRows(picker->contactTable(), {1});
  picker->doSelectAction();
  ASSERT_EQ(posted.size(), 1);
  EXPECT_EQ(posted.at(0).userInfo.value(QLatin1String(kCallWithPhoneNumber)).toString(), QStringLiteral("0302"));
}

TEST_F(PickerTest, SimplifiedVariantAnswersTheChosenSimRow) {
  startStores();
  auto *picker = new SelectWindowControl;
  picker->allowsContactTableMultiSelection(true);
  picker->simpliedSelectWnd(QSize(285, 448));
  picker->showWindow(nullptr);
  EXPECT_EQ(picker->window()->size(), QSize(285, 448));
  EXPECT_EQ(picker->currentStore(), 1);
  selectRows(picker->contactTable(), {1});
  picker->doSelectAction();
  ASSERT_EQ(posted.size(), 1);
  EXPECT_EQ(posted.at(0).userInfo.value("SendList").toStringList(), QStringList{"0171"});
}

// The simplified picker of the message editor is laid out for its own size, whatever the size of
// the editor it opens over: the list starts at the top, every control shows whole inside the
// window, and no two overlap.
TEST_F(PickerTest, TheSimplifiedPickersControlsFitAndDoNotOverlap) {
  startStores();
  for (const QSize editor : {QSize(600, 420), QSize(760, 560), QSize(420, 300)}) {
    SCOPED_TRACE(editor.width());
    SelectWindowControl::setSelectWindowSize(editor);
    auto *picker = new SelectWindowControl;
    picker->allowsContactTableMultiSelection(true);
    picker->simpliedSelectWnd(QSize(285, 448));
    picker->showWindow(nullptr);
    QDialog *w = picker->window();
    QList<QWidget *> shown;
    for (QWidget *child : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
      if (child->isVisible())
        shown << child;
    ASSERT_GE(shown.size(), 4); // the label, the list, Cancel and OK
    for (QWidget *a : shown) {
      EXPECT_TRUE(w->rect().contains(a->geometry())) << a->metaObject()->className();
      for (QWidget *b : shown) {
        if (a != b) {
          EXPECT_FALSE(a->geometry().intersects(b->geometry()))
              << a->metaObject()->className() << " " << b->metaObject()->className();
        }
      }
    }
    EXPECT_LT(picker->contactTable()->geometry().top(), 60) << "the list starts at the top";
    EXPECT_LT(picker->cancelButton()->geometry().left(), picker->okButton()->geometry().left());
    EXPECT_FALSE(picker->selectedTable()->isVisible());
    picker->quitWindow(0);
  }
  SelectWindowControl::setSelectWindowSize(QSize(600, 420));
}

TEST_F(PickerTest, ModalUseOverAGivenList) {
  startStores();
  SelectWindowControl picker;
  picker.setSourceRange(1);
  picker.setAvailableContactNumbers(pb->availableNumbersOfContacts({pb->getPCUserByIndex(0, 0)}));
  picker.allowsContactTableMultiSelection(true);
  EXPECT_EQ(picker.showModalWindow(), 1); // the script's OK
  EXPECT_EQ(column(picker.contactList(), PBKey::kMobilePhone), (QStringList{"0301(Mobile)", "0302(Home)"}));
  selectRows(picker.contactTable(), {1});
  picker.addToSelected();
  picker.doSelectAction();
  EXPECT_EQ(picker.selectedContactNumbers(), QStringList{"0302(Home)"});
}

// Renders the picker with PC entries on the left and SIM entries chosen on the right.
TEST_F(PickerTest, RendersPcAndSimEntries) {
  startStores();
  SelectWindowControl::setSelectWindowSize(QSize(560, 400));
  SelectWindowControl picker;
  picker.allowsContactTableMultiSelection(true);
  picker.storeSelectionDidChange(1);
  selectRows(picker.contactTable(), {0, 1});
  picker.addToSelected();
  picker.storeSelectionDidChange(0);
  picker.window()->show();
  const QImage image = picker.window()->grab().toImage();
  const QString file = QDir(QStringLiteral(QEL_BUNDLE_BUILD_DIR "/..")).absoluteFilePath("picker.png");
  ASSERT_TRUE(image.save(file));
  EXPECT_EQ(image.size(), QSize(560, 400));
  EXPECT_EQ(picker.contactTable()->rowCount(), 3);
  EXPECT_EQ(picker.selectedTable()->item(1, 0)->text(), QStringLiteral("Sim Bert"));
}

TEST_F(PickerTest, TheMmsHostGetsTheNumbersWhenTheToolbarHasIt) {
  start({group("Family", {contact("Mum", "0301")})}, {},
        {{QStringLiteral("UIConfig"),
          QVariantMap{{QStringLiteral("ToolbarItems"), QVariantList{QVariantMap{{"itemIdentifier", "MMS"}}}}}}});
  QStringList handedOver;
  SelectWindowControl::setMmsHost([&handedOver](const QStringList &numbers) { handedOver = numbers; });
  auto *picker = new SelectWindowControl;
  picker->allowsContactTableMultiSelection(true);
  picker->showWindow(nullptr);
  selectRows(picker->contactTable(), {0});
  picker->addButton()->click();
  picker->okButton()->click();
  EXPECT_EQ(handedOver, QStringList{"0301"});
  SelectWindowControl::setMmsHost({});
}

} // namespace
