// SMSController: the folder tree's titles and counts, and its SIM folder that comes and goes
// with the card.
#include "ConfigService.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsService.h"
#include "SmsSource.h"
#include "WordGlobe.h"

namespace {
constexpr int kCardReady = 12;

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

QString positionTitle(int position) {
  switch (position) {
  case AT_PC:
    return word("PC");
  case AT_SIM:
    return word("(U)SIM");
  case AT_TCARD:
    return word("SD Card");
  case AT_ME:
    return word("ME Position:");
  default:
    return QString();
  }
}

QString boxTitle(int box) {
  switch (box) {
  case InBox:
    return word("inBox");
  case OutBox:
    return word("OutBox");
  case DraftBox:
    return word("DraftBox");
  case DELIVERY_REPORTBOX:
    return word("Delivery Report");
  case DeletedBox:
    return word("DeletedBox");
  case ImportantBox:
    return word("ImportantBox");
  default:
    return Map_Name_Item_of_IndexString(smsBoxNames().value(box));
  }
}
} // namespace

QListWidget *SMSController::saveAtPos() const {
  return page ? page->saveAtPos : nullptr;
}

QListWidget *SMSController::msgBoxSelectAt() const {
  return page ? page->msgBoxSelectAt : nullptr;
}

void SMSController::initSmsTree() {
  if (!g_SmsSource)
    new SmsSource(this);
  g_SmsSource->build(ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("positionOrder")), boxTables_,
                     m_nNetCardStatus == kCardReady);
  g_SmsSource->nodeSelected = [this](int position, int box) { treeNodeSelected(position, box); };
  if (page && page->outlineSMSTree && g_SmsSource->outlineView() != page->outlineSMSTree)
    g_SmsSource->setOutlineView(page->outlineSMSTree);
  Init_SMSNode_Wording();
}

void SMSController::treeNodeSelected(int position, int box) {
  if (!page || chainRunning())
    return;
  const int row = qelPositionManager_.getPositionOrderByPositon(position);
  if (row < 0 || row >= page->saveAtPos->count())
    return;
  if (row != page->saveAtPos->currentRow() || box < 0) {
    page->saveAtPos->setCurrentRow(row);
    selectSaveAt();
  }
  if (box < 0)
    return;
  const int boxRow = boxTables_.getBoxDisplayOrderWithBox(box, page->msgBoxSelectAt->count());
  if (boxRow >= page->msgBoxSelectAt->count())
    return;
  page->msgBoxSelectAt->setCurrentRow(boxRow);
  msgBoxSelect();
}

void SMSController::Init_SMSNode_Wording() {
  if (!g_SmsSource)
    return;
  for (const std::unique_ptr<Node> &folder : g_SmsSource->root()->children()) {
    folder->setNodeName(positionTitle(int(folder->positonInParentNode())));
    for (const std::unique_ptr<Node> &box : folder->children())
      box->setNodeName(boxTitle(int(box->positonInParentNode())) + QStringLiteral("(0)"));
  }
  updateSMSCountOfPosNode();
  refreshTreeCounts();
}

void SMSController::updateSMSCountOfPosNode() {
  if (!g_SmsSource || !ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("DisplaySMSCountInfo")))
    return;
  updateSMSCountOfNodeWithPos(AT_PC);
  updateSMSCountOfNodeWithPos(AT_SIM);
}

void SMSController::updateSMSCountOfNodeWithPos(int position) {
  if (!g_SmsSource || (position != AT_PC && position != AT_SIM))
    return;
  Node *folder = g_SmsSource->getNodeofSavePosByPositonName(position == AT_PC ? QStringLiteral("AT_PC")
                                                                              : QStringLiteral("AT_SIM"));
  if (!folder)
    return;
  const int capacity = position == AT_PC
                           ? ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("MaxSMSCountInfo"))
                                 .toMap()
                                 .value(QStringLiteral("AT_PC"))
                                 .toInt()
                           : m_nSIM_Cap;
  folder->setNodeName(
      QStringLiteral("%1 (%2/%3)").arg(positionTitle(position)).arg(getSMSCountOfNodeWithPos(position)).arg(capacity));
}

// The tree counts a store the way the position list and the capacity checks do: in stored
// parts, reports included on the PC.
int SMSController::getSMSCountOfNodeWithPos(int position) const {
  if (position == AT_PC || position == AT_SIM)
    return getSMSCountWithPos(position);
  return 0;
}

void SMSController::setBoxWithSmSCount(int inBox, int outBox, int draft, int deleted, int important, int reports) {
  if (!g_SmsSource)
    return;
  const int position = getCurrentPosition();
  static const QHash<int, QString> names = {{AT_PC, QStringLiteral("AT_PC")},
                                            {AT_SIM, QStringLiteral("AT_SIM")},
                                            {AT_TCARD, QStringLiteral("AT_TCARD")},
                                            {AT_ME, QStringLiteral("AT_ME")}};
  Node *folder = g_SmsSource->getNodeofSavePosByPositonName(names.value(position));
  if (!folder)
    return;
  const QHash<int, int> counts = {{InBox, inBox},        {OutBox, outBox},          {DraftBox, draft},
                                  {DeletedBox, deleted}, {ImportantBox, important}, {DELIVERY_REPORTBOX, reports}};
  for (const std::unique_ptr<Node> &box : folder->children()) {
    const int code = int(box->positonInParentNode());
    box->setNodeName(QStringLiteral("%1(%2)").arg(boxTitle(code)).arg(counts.value(code)));
  }
}

void SMSController::updateSMSCountOfMsgBoxNode(int inBox, int outBox, int draft, int deleted, int important,
                                               int reports) {
  if (!g_SmsSource)
    return;
  setBoxWithSmSCount(inBox, outBox, draft, deleted, important, reports);
  updateSMSCountOfPosNode();
  g_SmsSource->reloadTitles();
}

void SMSController::refreshTreeCounts() {
  if (!g_SmsSource)
    return;
  const int position = getCurrentPosition();
  updateSMSCountOfMsgBoxNode(int(boxList(position, InBox).size()), int(boxList(position, OutBox).size()),
                             int(boxList(position, DraftBox).size()), int(boxList(position, DeletedBox).size()),
                             int(boxList(position, ImportantBox).size()),
                             int(boxList(position, DELIVERY_REPORTBOX).size()));
}

void SMSController::createNodeOfSimWhenSimCardvalid() {
  if (!g_SmsSource || !qelPositionManager_.hasPosition(AT_SIM))
    return;
  if (g_SmsSource->addSimFolder(boxTables_))
    Init_SMSNode_Wording();
}

void SMSController::deleteNodeOfSimWhenSimCardInvalid() {
  if (g_SmsSource)
    g_SmsSource->removeSimFolder();
}
