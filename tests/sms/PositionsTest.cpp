#include "QelPosition.h"
#include "SMSController.h"
#include "SmsFixture.h"

namespace {

TEST(PositionTable, BuiltFromTheConfiguredOrder) {
  struct Lookup {
    int byOrder1, byOrder2, orderOfMe, byNameTcard, orderOfMeName;
    bool has0, has3, has4;
    int count;
  };
  struct Case {
    const char *name;
    QVariant positionOrder;
    Lookup expected;
  };
  const Case cases[] = {
      {"no positionOrder", QVariant(), {1, -1, -1, -1, -1, true, false, false, 2}},
      {"three positions",
       QVariantMap{{"AT_PC", 0}, {"AT_SIM", 1}, {"AT_ME", 2}},
       {1, 4, 2, -1, 2, true, false, true, 3}},
      // A name that is none of the four is kept with the PC's code.
      {"unknown name", QVariantMap{{"AT_SIM", 0}, {"AT_DISK", 1}}, {0, -1, -1, -1, -1, true, false, false, 2}},
      {"not a dictionary", QVariant(QStringLiteral("AT_PC")), {1, -1, -1, -1, -1, true, false, false, 2}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QelPositionManager m = QelPositionManager::fromConfiguration(c.positionOrder);
    EXPECT_EQ(m.positionCount(), c.expected.count);
    EXPECT_EQ(m.getPositionByPositionOrder(1), c.expected.byOrder1);
    EXPECT_EQ(m.getPositionByPositionOrder(2), c.expected.byOrder2);
    EXPECT_EQ(m.getPositionOrderByPositon(AT_ME), c.expected.orderOfMe);
    EXPECT_EQ(m.getPositionByPositionName("AT_TCARD"), c.expected.byNameTcard);
    EXPECT_EQ(m.getPositionOrderByPositonName("AT_ME"), c.expected.orderOfMeName);
    EXPECT_EQ(m.hasPosition(AT_PC), c.expected.has0);
    EXPECT_EQ(m.hasPosition(AT_TCARD), c.expected.has3);
    EXPECT_EQ(m.hasPosition(AT_ME), c.expected.has4);
  }
}

TEST(PositionTable, GeneralLookupAndTies) {
  QelPositionManager m;
  m.addQelpositionWithPositionName("AT_SIM", 0, AT_SIM);
  m.addQelpositionWithPositionName("AT_ME", 0, AT_ME); // the same order: the first added wins
  EXPECT_EQ(m.getPositionByPositionOrder(0), AT_SIM);
  EXPECT_EQ(m.getValueByKey("positoinoOrder", QStringLiteral("0"), "positoin"), AT_SIM); // a numeric text
  EXPECT_EQ(m.getValueByKey("positoin", 4, "positoinoOrder"), 0);
  EXPECT_EQ(m.getValueByKey("positoin", 4, "positoinName"), -1); // not one of the four pairs
  EXPECT_EQ(m.getValueByKey(QString(), 4, "positoin"), -1);
  EXPECT_EQ(m.getValueByKey("positoinoOrder", QStringLiteral("x"), "positoin"), -1);
}

TEST(BoxTables, NamesCodesAndDisplayOrders) {
  SmsBoxTables tables;
  const int rows = 3;
  EXPECT_EQ(tables.getBoxStrWithBox(7), QString());
  EXPECT_TRUE(tables.getBoxStrWithBox(7).isNull());
  EXPECT_EQ(tables.getBoxStrWithBox(3), "DELIVERY_REPORTBOX");
  EXPECT_EQ(SmsBoxTables::getBoxWithBoxStr("BroadCastBox"), BroadCastBox);
  EXPECT_EQ(SmsBoxTables::getBoxWithBoxStr("Inbox"), -1); // names are matched exactly
  EXPECT_EQ(SmsBoxTables::getBoxWithBoxStr(""), -1);
  EXPECT_EQ(tables.getBoxDisplayOrderWithBox(DraftBox, rows), 2);
  EXPECT_EQ(tables.getBoxDisplayOrderWithBox(DeletedBox, rows), rows); // not listed: one past the last row

  // A configured order; a key naming no box is skipped.
  tables.boxDisplayOrderInit(QVariantMap{{"DraftBox", 0}, {"InBox", 1}, {"ImportantBox", 2}, {"Trash", 3}});
  EXPECT_EQ(tables.listedBoxCount(), 3);
  EXPECT_EQ(tables.getBoxDisplayOrderWithBox(DraftBox, rows), 0);
  EXPECT_EQ(tables.getBoxDisplayOrderWithBox(ImportantBox, rows), 2);
  EXPECT_EQ(tables.getBoxDisplayOrderWithBox(OutBox, rows), rows);
  EXPECT_EQ(tables.boxAtDisplayOrder(1), InBox);
  EXPECT_EQ(tables.boxAtDisplayOrder(3), -1);
}

class ControllerTables : public SmsFixture {
protected:
  QVariantMap settings() const override {
    return {{"SMS", QVariantMap{{"positionOrder", QVariantMap{{"AT_PC", 0}, {"AT_SIM", 1}, {"AT_ME", 2}}},
                                {"boxOrder", QVariantMap{{"InBox", 0}, {"OutBox", 1}}}}}};
  }
};

TEST_F(ControllerTables, TheControllerBuildsItsTablesFromTheSettings) {
  SMSController controller;
  EXPECT_EQ(g_SMSController, &controller);
  EXPECT_TRUE(controller.hasPosition(AT_ME));
  EXPECT_FALSE(controller.hasPosition(AT_TCARD));
  EXPECT_EQ(controller.getBoxDisplayOrderWithBox(OutBox, 2), 1);
  EXPECT_EQ(controller.getBoxDisplayOrderWithBox(DraftBox, 2), 2);
  EXPECT_EQ(controller.getBoxStrWithBox(ImportantBox), "ImportantBox");
  EXPECT_FALSE(SMSController::isPCDrafBoxMessage(records::single("a", "1", 0)));
  EXPECT_TRUE(SMSController::isPCDrafBoxMessage(records::flatDraft("a", "1")));
}

} // namespace
