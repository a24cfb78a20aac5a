// The SMS tab's tables without a window: cell texts per box and record form, the sort of each
// column, links in a message text, search, and the context-menu rules.
#include "NotificationCenter.h"
#include "SMSController.h"
#include "SettingController.h"
#include "SmsFixture.h"
#include "SmsListSort.h"
#include "SmsMessageText.h"
#include "SmsTableModel.h"

namespace {
using namespace records;

SmsTableModel::Context context(int box, int position = 0) {
  SmsTableModel::Context c;
  c.box = box;
  c.position = position;
  c.unreadWord = QStringLiteral("New");
  c.readWord = QStringLiteral("Read");
  c.boxWord = [](int b) { return QStringList{"In", "Out", "Drafts", "Rep", "Del", "Imp", "Bc"}.value(b); };
  c.lookup = [](const QString &n) { return n == QStringLiteral("111") ? QStringLiteral("Ann") : n; };
  c.multiLookup = [](const QString &n) { return QStringLiteral("names of ") + n; };
  c.dateText = [](const QDateTime &d) { return d.toUTC().toString(QStringLiteral("yyyy-MM-dd")); };
  return c;
}

TEST(SmsTableCells, TextsPerBoxAndRecordForm) {
  QVariantMap inDeleted = single("hi", "111", 0);
  inDeleted.insert("preLocationBeforeGoToDelBox", 1);
  QVariantMap draftInDeleted = flatDraft("d", "222;");
  draftInDeleted.insert("preLocationBeforeGoToDelBox", 2);
  const QVariantMap twoOfThree = longMessage({part("a", "333", 0, 1), part("b", "333", 0, 2)}, "333", 0, 3);
  struct Case {
    const char *what;
    QVariantMap record;
    SmsTableModel::Context context;
    const char *column;
    QString text;
  };
  SmsTableModel::Context readShown = context(InBox);
  readShown.showReadStatus = true;
  SmsTableModel::Context hideUnknown = context(InBox);
  hideUnknown.noNameIfUnknown = true;
  const QList<Case> cases = {
      {"unread single", single("hi", "111", 0), context(InBox), "stat", "New"},
      {"read single, option off", single("hi", "111", 1), context(InBox), "stat", ""},
      {"read single, option on", single("hi", "111", 1), readShown, "stat", "Read"},
      {"long, two of three", twoOfThree, context(InBox), "stat", "2/3 New"},
      {"deleted keeps its box", inDeleted, context(DeletedBox), "stat", "Out  New"},
      {"flat in deleted: box and stat run together", draftInDeleted, context(DeletedBox), "stat", "Drafts"},
      {"contact name", single("hi", "111", 0), context(InBox), "username", "Ann"},
      {"unknown shows the number", single("hi", "999", 0), context(InBox), "username", "999"},
      {"unknown hidden", single("hi", "999", 0), hideUnknown, "username", ""},
      {"date of the part", single("hi", "111", 0), context(InBox), "date", "2026-12-01"},
      {"draft number loses its separator", flatDraft("d", "222;333;"), context(DraftBox), "mobilephone", "222;333"},
      {"draft names of every number", flatDraft("d", "222;333;"), context(DraftBox), "username", "names of 222;333;"},
      {"SIM draft is a full record", single("hi", "111", 2), context(DraftBox, AT_SIM), "username", "Ann"},
      {"unknown column", single("hi", "111", 0), context(InBox), "size", QString()},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SmsTableModel::cellText(c.record, QLatin1String(c.column), c.context), c.text);
  }
}

TEST(SmsTableCells, BoldOnlyForUnreadInTheInBoxItself) {
  SmsTableModel::Context in = context(InBox), deleted = context(DeletedBox);
  in.boldUnread = deleted.boldUnread = true;
  EXPECT_TRUE(SmsTableModel::isBoldRow(single("a", "1", 0), in));
  EXPECT_FALSE(SmsTableModel::isBoldRow(single("a", "1", 1), in));
  EXPECT_FALSE(SmsTableModel::isBoldRow(single("a", "1", 0), deleted));
}

TEST(SmsTableSort, EachColumnBothWaysStableWithMissingValuesLast) {
  QVariantMap a = single("a", "300", 1), b = single("b", "100", 0), c = single("c", "200", 1);
  QVariantMap noNumber = single("n", "", 1);
  noNumber.insert("concatSmsInfo", QVariantMap{{"stat", 1}});
  QVariantMap infoA = a.value("smsInfo").toMap();
  infoA.insert("date", QDateTime(QDate(2026, 1, 3), QTime(0, 0), QTimeZone::utc()));
  a.insert("smsInfo", infoA);
  const QVariantList list = {a, noNumber, b, c};
  auto numbers = [](const QVariantList &l) {
    QStringList out;
    for (const QVariant &r : l)
      out << r.toMap().value("concatSmsInfo").toMap().value("mobilephone").toString();
    return out;
  };
  QVariantList l = list;
  SmsListSort::sortBoxList(l, "mobilephone", true);
  EXPECT_EQ(numbers(l), QStringList({"100", "200", "300", ""}));
  SmsListSort::sortBoxList(l, "mobilephone", false);
  EXPECT_EQ(numbers(l), QStringList({"300", "200", "100", ""}));
  l = list;
  SmsListSort::sortBoxList(l, "date", true); // a is the earliest; the others tie and keep order
  EXPECT_EQ(numbers(l), QStringList({"300", "", "100", "200"}));
  l = list;
  SmsListSort::sortBoxList(l, "stat", true);
  EXPECT_EQ(numbers(l), QStringList({"100", "300", "", "200"}));
  l = list;
  SmsListSort::sortBoxList(l, "size", true); // unknown key: order kept
  EXPECT_EQ(numbers(l), numbers(list));
  QVariantList drafts = {flatDraft("x", "9"), flatDraft("y", "1")};
  SmsListSort::sortDraftList(drafts, "mobilephone", true);
  EXPECT_EQ(drafts.first().toMap().value("mobilephone").toString(), QStringLiteral("1"));
}

TEST(SmsMessageLinks, FoundByMarksEndedByWhitespace) {
  using SmsMessageText::Link;
  EXPECT_EQ(SmsMessageText::findHyperlinks(QStringLiteral("abcdwww.example.com ")),
            QList<Link>({{"www.example.com", 4, 15}}));
  EXPECT_TRUE(SmsMessageText::findHyperlinks(QStringLiteral("see http://a.b")).isEmpty());
  EXPECT_EQ(SmsMessageText::findHyperlinks(QStringLiteral("HTTP://A.B\n")), QList<Link>({{"HTTP://A.B", 0, 10}}));
  EXPECT_EQ(SmsMessageText::findHyperlinks(QStringLiteral("ftp://x y https://z\tend")),
            QList<Link>({{"https://z", 10, 9}, {"ftp://x", 0, 7}}));
  EXPECT_EQ(SmsMessageText::urlOfLink(QStringLiteral("www.a.b")), QStringLiteral("http://www.a.b"));
  const QString html = SmsMessageText::linkedHtml(QStringLiteral("go www.a.b <now>"));
  EXPECT_TRUE(html.contains(QStringLiteral("href=\"http://www.a.b\""))) << html.toStdString();
  EXPECT_TRUE(html.contains(QStringLiteral("&lt;now&gt;")));
}

class SmsTabController : public SmsFixture {};

TEST_F(SmsTabController, SearchMatchesNumberNameDateAndText) {
  SMSController sms;
  SMSController::setNameLookup([](const QString &n) { return n == "111" ? QStringLiteral("Ann") : n; });
  const QVariantList list = {single("Hello there", "111", 0), single("bye", "222", 1), flatDraft("draft", "333;")};
  auto count = [&](const char *key) { return sms.searchMessagesFromCurrentBox(list, QLatin1String(key)).size(); };
  EXPECT_EQ(count("ann"), 1);   // name, any case
  EXPECT_EQ(count("22"), 1);    // number
  EXPECT_EQ(count("HELLO"), 1); // text
  EXPECT_EQ(count("draft"), 1);
  EXPECT_EQ(count("2026"), 3); // the shown date
  EXPECT_EQ(count("zzz"), 0);
  EXPECT_TRUE(sms.searchMessagesFromCurrentBox({}, "a").isEmpty());
  SMSController::setNameLookup(nullptr);
}

TEST_F(SmsTabController, ContextMenuFollowsCardSelectionAndBox) {
  SMSController sms;
  sms.initSetMenuItemsState();
  EXPECT_FALSE(sms.menuItemEnabled(SMSController::NewItem)); // card not ready
  sms.selectionDidChange({});
  // Card not ready, nothing selected: only delete.
  for (int i = 0; i < SMSController::MenuItemCount; ++i)
    EXPECT_EQ(sms.menuItemEnabled(i), i == SMSController::DeleteItem) << i;
  sms.tableModel()->setRows({single("a", "1", 1), single("b", "2", 1)});
  using M = SMSController;
  auto enabled = [&] {
    QList<int> on;
    for (int i = 0; i < M::MenuItemCount; ++i)
      if (sms.menuItemEnabled(i))
        on << i;
    return on;
  };
  sms.selectionDidChange({0}); // card not ready, one InBox row of the PC
  EXPECT_EQ(enabled(), QList<int>({M::SavePcItem, M::DeleteItem, M::ImportantItem}));
  sms.netcardChanged(12);
  sms.selectionDidChange({});
  EXPECT_EQ(enabled(), QList<int>({M::NewItem}));
  sms.selectionDidChange({0});
  EXPECT_EQ(enabled(), QList<int>({M::NewItem, M::ReplyItem, M::ForwardItem, M::MoveItem, M::SavePcItem, M::SaveSimItem,
                                   M::DeleteItem, M::ImportantItem}));
  sms.selectionDidChange({0, 1});
  EXPECT_EQ(enabled(), QList<int>({M::NewItem, M::MoveItem, M::DeleteItem, M::ImportantItem}));
}

TEST_F(SmsTabController, AStoreWithoutALimitOrCapacityIsNeverFull) {
  SMSController sms;
  EXPECT_FALSE(sms.isFullWithPosition(AT_PC));  // no PC limit configured
  EXPECT_FALSE(sms.isFullWithPosition(AT_SIM)); // capacity not reported yet
  EXPECT_FALSE(sms.isFullWithPosition(AT_TCARD));
}

} // namespace

namespace {

class SmsTabLocked : public SmsFixture {
protected:
  QVariantMap settings() const override {
    return {{QStringLiteral("SMS"), QVariantMap()}, {QStringLiteral("DeviceLockSMSFunction"), true}};
  }
};

TEST_F(SmsTabLocked, OpeningTheTabAsksForTheUnlockCodeOnlyWhenOneIsSet) {
  SettingController settings;
  SMSController sms;
  int opened = 0;
  sms.openUnlockDeviceWindow = [&] { ++opened; };
  const Notification toSms{QStringLiteral("TabViewItemWillChange"),
                           nullptr,
                           {{QStringLiteral("TabViewItemWillChange"), QStringLiteral("SMS")}}};
  sms.tabViewItemWillChange(toSms);
  EXPECT_EQ(opened, 0);
  settings.setDeviceUnlockCodeState(true);
  sms.tabViewItemWillChange(toSms);
  sms.tabViewItemWillChange({QStringLiteral("TabViewItemWillChange"),
                             nullptr,
                             {{QStringLiteral("TabViewItemWillChange"), QStringLiteral("Internet")}}});
  EXPECT_EQ(opened, 1);
}

} // namespace

namespace {

TEST_F(SmsTabController, HeaderClicksSortAscendingThenDescendingPerColumn) {
  Plist::writeFile(listPath("SmsList_PC.plist"),
                   QVariantMap{{"InBox", QVariantList{single("a", "2", 1), single("b", "3", 1), single("c", "1", 1)}}});
  SMSController sms;
  sms.loadBoxinPCList();
  auto order = [&] {
    QString out;
    for (const QVariant &r : sms.boxList(AT_PC, InBox))
      out += r.toMap().value("concatSmsInfo").toMap().value("mobilephone").toString();
    return out;
  };
  sms.didClickTableColumn("mobilephone");
  EXPECT_EQ(order(), QStringLiteral("123"));
  sms.didClickTableColumn("mobilephone");
  EXPECT_EQ(order(), QStringLiteral("321"));
  sms.didClickTableColumn("username"); // its own flag: ascending first
  EXPECT_EQ(order(), QStringLiteral("123"));
  sms.didClickTableColumn("stat"); // not sortable without the option: order and flag stay
  EXPECT_EQ(order(), QStringLiteral("123"));
  EXPECT_TRUE(sms.sortAscendingNext("stat"));
  sms.didClickTableColumn("mobilephone");
  EXPECT_EQ(order(), QStringLiteral("123"));
}

} // namespace
