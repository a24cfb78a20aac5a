// The SMS folder tree: folders and boxes from the position and box orders, the SIM folder that
// comes and goes with the card, titles and counts, and clicks that choose position and box.
#include "SMSController.h"
#include "SmsFixture.h"
#include "SmsSource.h"

namespace {

// "PC[InBox,OutBox] SIM[InBox]" : folders by position name, boxes by box name.
QString shape(const SmsSource &source) {
  QStringList folders;
  for (const std::unique_ptr<Node> &folder : source.root()->children()) {
    QStringList boxes;
    for (const std::unique_ptr<Node> &box : folder->children())
      boxes << box->positionNameInParentNode();
    folders << folder->positionNameInParentNode() + QLatin1Char('[') + boxes.join(QLatin1Char(',')) + QLatin1Char(']');
  }
  return folders.join(QLatin1Char(' '));
}

SmsBoxTables boxes(const QVariant &boxOrder) {
  SmsBoxTables tables;
  tables.boxDisplayOrderInit(boxOrder);
  return tables;
}

TEST(SmsTree, FoldersAndBoxesFromTheOrdersAndTheCard) {
  const QVariantMap pcSim = {{"AT_PC", 0}, {"AT_SIM", 1}};
  const QVariantMap four = {{"AT_SIM", 1}, {"AT_PC", 0}, {"AT_TCARD", 2}, {"AT_ME", 3}};
  const QVariantMap special = {{"InBox", 0}, {"OutBox", 1}, {"DraftBox", 2}, {"DeletedBox", 3}};
  struct Case {
    const char *what;
    QVariant positionOrder;
    QVariant boxOrder;
    bool cardReady;
    int simReadyNotices; // after the build
    bool removed;        // the card goes afterwards
    QString shape;
  };
  const QString pc3 = QStringLiteral("AT_PC[InBox,OutBox,DraftBox]");
  const QList<Case> cases = {
      {"no orders, card not ready", {}, {}, false, 0, false, pc3},
      {"no orders, card ready at build", {}, {}, true, 0, false, pc3 + " AT_SIM[InBox,OutBox]"},
      {"the card becomes ready: SIM boxes only under the SIM", {}, {}, false, 1, false, pc3 + " AT_SIM[InBox,OutBox]"},
      {"ready twice: one SIM folder", {}, {}, false, 2, false, pc3 + " AT_SIM[InBox,OutBox]"},
      {"ready, then gone", {}, {}, false, 1, true, pc3},
      {"special boxes stay off the SIM", pcSim, special, false, 1, false,
       "AT_PC[InBox,OutBox,DraftBox,DeletedBox] AT_SIM[InBox,OutBox]"},
      {"four positions in display order; the SIM keeps its place",
       four,
       {},
       false,
       1,
       false,
       pc3 + " AT_SIM[InBox,OutBox] AT_TCARD[InBox,OutBox,DraftBox] AT_ME[InBox,OutBox,DraftBox]"},
      {"the card goes: the SIM folder by name, not the second folder",
       four,
       {},
       true,
       0,
       true,
       pc3 + " AT_TCARD[InBox,OutBox,DraftBox] AT_ME[InBox,OutBox,DraftBox]"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SmsSource source;
    source.build(c.positionOrder, boxes(c.boxOrder), c.cardReady);
    for (int i = 0; i < c.simReadyNotices; ++i)
      source.addSimFolder(boxes(c.boxOrder));
    if (c.removed)
      source.removeSimFolder();
    EXPECT_EQ(shape(source), c.shape);
  }
}

TEST(SmsTree, LookupsByNameAndUnknownPositions) {
  SmsSource source;
  source.build(QVariantMap{{"AT_PC", 0}, {"Somewhere", 1}}, boxes({}), false);
  EXPECT_EQ(shape(source), QStringLiteral("AT_PC[InBox,OutBox,DraftBox] Somewhere[InBox,OutBox,DraftBox]"));
  EXPECT_EQ(source.getNodeofSavePosByPositonName(QStringLiteral("Somewhere"))->positonInParentNode(), 0u);
  EXPECT_NE(source.getNodeOfBoxByPositonNameAndSavePos(QStringLiteral("AT_PC"), QStringLiteral("OutBox")), nullptr);
  EXPECT_EQ(source.getNodeOfBoxByPositonNameAndSavePos(QStringLiteral("AT_SIM"), QStringLiteral("InBox")), nullptr);
  EXPECT_EQ(source.getNodeOfBoxByPositonNameAndSavePos(QStringLiteral("AT_PC"), QString()), nullptr);
  EXPECT_EQ(source.getNodeofSavePosByPositonName(QString()), nullptr);
  EXPECT_FALSE(source.removeSimFolder());
}

TEST(SmsTree, ClicksNameTheFolderAndBoxOfEveryPosition) {
  SmsSource source;
  source.build(QVariantMap{{"AT_PC", 0}, {"AT_TCARD", 1}, {"AT_ME", 2}}, boxes({}), false);
  QList<QPair<int, int>> chosen;
  source.nodeSelected = [&](int position, int box) { chosen << qMakePair(position, box); };
  source.selectNode(source.getNodeofSavePosByPositonName(QStringLiteral("AT_TCARD")));
  source.selectNode(source.getNodeOfBoxByPositonNameAndSavePos(QStringLiteral("AT_ME"), QStringLiteral("DraftBox")));
  source.selectNode(source.getNodeOfBoxByPositonNameAndSavePos(QStringLiteral("AT_PC"), QStringLiteral("OutBox")));
  EXPECT_EQ(chosen, (QList<QPair<int, int>>{{AT_TCARD, -1}, {AT_ME, DraftBox}, {AT_PC, OutBox}}));
}

class SmsTreeTitles : public SmsFixture {
protected:
  QVariantMap settings() const override {
    return {{"SMS", QVariantMap{{"DisplaySMSCountInfo", true},
                                {"MaxSMSCountInfo", QVariantMap{{"AT_PC", 500}}},
                                {"positionOrder", QVariantMap{{"AT_PC", 0}, {"AT_SIM", 1}, {"AT_TCARD", 2}}}}}};
  }
};

TEST_F(SmsTreeTitles, CountsInTheFolderAndBoxTitles) {
  using namespace records;
  Plist::writeFile(listPath("SmsList_PC.plist"),
                   QVariantMap{{"InBox", QVariantList{single("a", "1", 0), single("b", "2", 1)}},
                               {"OutBox", QVariantList{single("c", "3", 3)}}});
  SMSController sms;
  sms.loadSmsList();
  sms.initSmsTree();
  const SmsSource *source = g_SmsSource;
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source->getNodeofSavePosByPositonName("AT_PC")->name(), QStringLiteral("PC (3/500)"));
  EXPECT_EQ(source->getNodeOfBoxByPositonNameAndSavePos("AT_PC", "InBox")->name(), QStringLiteral("inBox(2)"));
  EXPECT_EQ(source->getNodeOfBoxByPositonNameAndSavePos("AT_PC", "OutBox")->name(), QStringLiteral("OutBox(1)"));
  // The card's folder has its own title; its boxes start at none.
  EXPECT_FALSE(source->getNodeofSavePosByPositonName("AT_TCARD")->name().isEmpty());
  EXPECT_EQ(source->getNodeOfBoxByPositonNameAndSavePos("AT_TCARD", "InBox")->name(), QStringLiteral("inBox(0)"));
  EXPECT_EQ(source->getNodeofSavePosByPositonName("AT_SIM"), nullptr);
  sms.netcardChanged(12);
  ASSERT_NE(source->getNodeofSavePosByPositonName("AT_SIM"), nullptr);
  EXPECT_EQ(source->getNodeofSavePosByPositonName("AT_SIM")->name(), QStringLiteral("(U)SIM (0/0)"));
  sms.netcardChanged(1);
  EXPECT_EQ(source->getNodeofSavePosByPositonName("AT_SIM"), nullptr);
}

} // namespace
