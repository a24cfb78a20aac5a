// SMSController: the hooks, the backend registrations, the wording of the tab and the rules of
// the message list's context menu.
#include "SMSController.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "FrameworkLinks.h"
#include "NotificationCenter.h"
#include "NotificationTables.h"
#include "QELMsgCenter.h"
#include "SMSPage.h"
#include "SmsService.h"
#include "SmsTableModel.h"
#include "WordGlobe.h"

#include "Neighbourhood.h"

#include <QHeaderView>
#include <QMenu>

SMSController *g_SMSController = nullptr;

namespace {
constexpr int kSmsMajor = 768;

struct Registration {
  int minor;
  const char *selector;
};
// The replies and arrivals of the message stores, in the order they are registered.
constexpr Registration kMessages[] = {
    {91, "dealWithMsgOfSendSMS:"},        {92, "dealWithMsgOfDeleteSMS:"},       {93, "dealWithMsgOfSaveSMS:"},
    {95, "dealWithMsgOfLoadSMSList:"},    {101, "dealWithMsgOfRevNewSMS:"},      {98, "dealWithMsgOfSMSNum:"},
    {99, "dealWithMsgOfRevClass0:"},      {100, "dealWithMsgOfRevSMSReport:"},   {94, "dealWithMsgOfSaveSMSToDraft:"},
    {104, "dealWithMsgofRestoreSMS:"},    {110, "dealWithMsgOfSMSCenter:"},      {106, "dealWithMsgOfBroadCast:"},
    {113, "dealWithMsgOfConcatSMSInfo:"}, {114, "dealWithMsgOfReLoadTcardSMS:"}, {115, "dealWithMsgOfReLoadTcardSMS:"},
    {97, "dealWithMsgOfSMSRevPos:"},      {102, "dealWithMsgOfRevRechargeSMS:"},
};

std::function<QString(const QString &)> &nameLookupFunction() {
  static std::function<QString(const QString &)> lookup;
  return lookup;
}

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}
} // namespace

SMSController::SMSController(QObject *parent) : QELUIController(parent) {
  g_SMSController = this;
  Neighbourhood::setMessages(this);
  tableModel_ = new SmsTableModel(this);
  specialInitialize();
}

SMSController::~SMSController() {
  if (g_SMSController == this)
    g_SMSController = nullptr;
  Neighbourhood::leave(static_cast<MessagesNeighbour *>(this));
}

void SMSController::setNameLookup(std::function<QString(const QString &)> lookup) {
  nameLookupFunction() = std::move(lookup);
}

QString SMSController::lookupName(const QString &number) {
  const auto &lookup = nameLookupFunction();
  if (!lookup)
    return number;
  const QString name = lookup(number);
  return name.isEmpty() ? number : name;
}

// ---- hooks ----

void SMSController::registerSkinItems(const QList<QPair<QObject *, const char *>> &items) {
  for (const auto &[control, key] : items) {
    if (!control)
      continue;
    skinItemNames_ << QLatin1String(key);
    if (qelSkinManager)
      FrameworkLinks::registerController(qelSkinManager, control, QLatin1String(key), true);
  }
}

// The page's skin items; the windows register theirs when they are made (the editor, the
// sending window and the arrival windows exist only once they are first needed).
void SMSController::initializeSkin() {
  if (!page)
    return;
  registerSkinItems({{page->saveAtPos, "matrixSMSSaveAtPos"},
                     {page->msgBoxSelectAt, "matrixSMSMessageBoxSelectAt"},
                     {page->callBtn, "btnSMSCall"},
                     {page->deleteBtn, "btnSMSDelete"},
                     {page->replyBtn, "btnSMSReply"},
                     {page->forwardMessageBtn, "btnSMSFowardMessage"},
                     {page->saveToBtn, "btnSMSSaveTo"},
                     {page->btnMoveTo_, "btnSMSMoveTo"},
                     {page->newMessageBtn, "btnSMSNewMessage"},
                     {page->smsSearchBtn_, "btnSearchMsg"},
                     {page, "viewSMSTab"},
                     {page->savePhonePopUp, "comboSavePhonePopUp"},
                     {page->inBoxMessageNum, "labelInboxMessageNum"},
                     {page->outBoxMessageNum, "labelOutBoxMessageNum"},
                     {page->draftBoxMessageNum, "labelDraftBoxMessageNum"},
                     {page->SearchSMS_item, "textSearchSMS"},
                     {page->msgBoxList, "tableMessageBoxList"},
                     {page->messageText, "tableMessageText"}});
}

void SMSController::initializeNibResources() {
  Init_SMS_Wording();
  const QVariant height = ConfigService::readValue(QStringLiteral("Main"), QStringLiteral("TableViewRowHeight"));
  if (page && height.isValid() && height.toDouble() > 0)
    page->msgBoxList->verticalHeader()->setDefaultSectionSize(int(height.toDouble()));
}

void SMSController::registerMessages() {
  if (qelMsgCenter)
    for (const Registration &r : kMessages)
      qelMsgCenter->registerObserver(this, QByteArray(r.selector), kSmsMajor, r.minor);
  registerNotification(smsObserverTable);
  registerNotification(deviceFunctionNotficationTable);
}

void SMSController::initializeController() {
  // The tables follow the configuration of the moment the controller wakes.
  specialInitialize();
  bindPage();
  bindSendActions();
  bindManageActions();
  bindArrivalPage();
  m_nNetCardStatus = 1;
  if (!ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("displayPCSMSByIMSI")))
    loadBoxinPCList();
  setButtonState(0);
  if (page)
    page->msgBoxSelectAt->setEnabled(true);
  // The PC lists can be read before any device is there.
  setSaveAtPosEnabled(false);
  initSetMenuItemsState();
  reloadTable();
  initSmsTree();
}

void SMSController::loadCommonBundle() {
  loadPlugin(QStringLiteral("SMSBundle.bundle"), QStringLiteral("SMS"));
}

void SMSController::updateLanguages(const Notification &) {
  dateTexts_.clear();
  Init_SMS_Wording();
  reloadTable();
}

void SMSController::bindPage() {
  if (!page)
    return;
  page->msgBoxList->setModel(tableModel_);
  refillPositionAndBoxLists();
  connect(page->msgBoxSelectAt, &QListWidget::itemClicked, this, [this] { msgBoxSelect(); });
  connect(page->saveAtPos, &QListWidget::itemClicked, this, [this] { selectSaveAt(); });
  connect(page->msgBoxList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    QList<int> rows;
    for (const QModelIndex &index : page->msgBoxList->selectionModel()->selectedRows())
      rows << index.row();
    std::sort(rows.begin(), rows.end());
    selectionDidChange(rows);
  });
  connect(page->msgBoxList->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int section) { didClickTableColumn(SmsTableModel::columnIds().value(section)); });
  connect(page->smsSearchBtn_, &QPushButton::clicked, this, [this] { searchSMS(); });
  connect(page->SearchSMS_item, &QLineEdit::returnPressed, this, [this] { searchSMS(); });
  connect(page->messageText, &QTextBrowser::anchorClicked, this, [this](const QUrl &url) { openLink(url); });
  connect(page->callBtn, &QPushButton::clicked, this, [this] { call(); });
  connect(page->savePhonePopUp, &QComboBox::activated, this, [this](int row) {
    if (row > 0)
      savePhoneNumber(page->savePhonePopUp->itemText(row));
    page->savePhonePopUp->setCurrentIndex(0);
  });
  initPopUpMenuOfMsgBoxList();
  page->messageText->clear();
  page->savePhonePopUp->setEnabled(false);
  page->callBtn->setVisible(hasModuleWith(QStringLiteral("Call")) || hasModuleWith(QStringLiteral("Videocall")));
  page->callBtn->setEnabled(false);
}

// One row per position in display order, one per listed box; the default position is
// SMS/"SMSDefaultPos" or the PC.
void SMSController::refillPositionAndBoxLists() {
  if (!page)
    return;
  static const QHash<int, const char *> names = {
      {AT_PC, "PC"}, {AT_SIM, "(U)SIM"}, {AT_TCARD, "SD Card"}, {AT_ME, "ME Position:"}};
  QStringList positions, boxes;
  for (int order = 0; order < qelPositionManager_.positionCount(); ++order)
    positions << word(names.value(qelPositionManager_.getPositionByPositionOrder(order), "PC"));
  for (int row = 0; row < boxTables_.listedBoxCount(); ++row)
    boxes << Map_Name_Item_of_IndexString(getBoxStrWithBox(boxTables_.boxAtDisplayOrder(row)));
  // A new wording only renames the rows: the choice and the enabled rows stay.
  auto fill = [](QListWidget *list, const QStringList &texts) {
    if (list->count() == texts.size()) {
      for (int i = 0; i < texts.size(); ++i)
        list->item(i)->setText(texts.at(i));
      return false;
    }
    list->clear();
    list->addItems(texts);
    return true;
  };
  if (fill(page->saveAtPos, positions)) {
    const QString defaultName =
        ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("SMSDefaultPos")).toString();
    const int row = defaultName.isEmpty() ? qelPositionManager_.getPositionOrderByPositon(AT_PC)
                                          : qelPositionManager_.getPositionOrderByPositonName(defaultName);
    page->saveAtPos->setCurrentRow(std::max(0, row));
  }
  if (fill(page->msgBoxSelectAt, boxes))
    page->msgBoxSelectAt->setCurrentRow(0);
}

void SMSController::Init_SMS_Wording() {
  if (!page)
    return;
  refillPositionAndBoxLists();
  const bool noTitles = ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("NoTitleOfSMSBtn"));
  const QList<QPair<QPushButton *, const char *>> buttons = {
      {page->callBtn, "Call"},      {page->deleteBtn, "Delete"},
      {page->replyBtn, "Reply"},    {page->forwardMessageBtn, "Forward"},
      {page->saveToBtn, "SaveTo"},  {page->btnMoveTo_, "MoveTo"},
      {page->newMessageBtn, "New"}, {page->smsSearchBtn_, "Search"}};
  for (const auto &[button, key] : buttons) {
    button->setToolTip(word(key));
    button->setText(noTitles ? QString() : word(key));
  }
  loadSaveNumberBtnwithState(m_nNetCardStatus == 12);
  page->SearchSMS_item->setPlaceholderText(word("Search"));
  tableModel_->setHeader(QStringLiteral("stat"), word("Status"));
  tableModel_->setHeader(QStringLiteral("username"), word("Name"));
  tableModel_->setHeader(QStringLiteral("date"), word("Date"));
  setColumnHeaders(getCurrentBox());
  page->btnRecover_->setText(noTitles ? QString() : word("Recover"));
  page->btnMoveToImportantBox_->setText(noTitles ? QString() : word("ImportantBox"));
  fillSaveDestinations();
  Init_SMSNode_Wording();
}

// ---- UI notifications ----

void SMSController::recieveSMSNotification(const Notification &n) {
  sendMessageto(n.userInfo.value(QStringLiteral("phoneNumber")).toString(),
                n.userInfo.value(QStringLiteral("messageText")).toString());
}

void SMSController::recieveSelectContactNotification(const Notification &n) {
  if (send_.showContactPicker)
    send_.showContactPicker(
        qobject_cast<QWidget *>(n.userInfo.value(QStringLiteral("BelongToWnd")).value<QObject *>()));
}

void SMSController::reloadSMSPCList(const Notification &) {
  loadBoxinPCList();
  loadBoxinSIMList();
  reloadTable();
}

// Removes one PC record named by box and index; a box that is not one of the three, or an
// index outside it, changes nothing.
void SMSController::deleteSMSPCList(const Notification &n) {
  const int box = SmsBoxTables::getBoxWithBoxStr(n.userInfo.value(QStringLiteral("box")).toString());
  if (box != InBox && box != OutBox && box != DraftBox)
    return;
  bool ok = false;
  const int index = n.userInfo.value(QStringLiteral("index")).toInt(&ok);
  SmsService *service = SmsService::sharedSmsService();
  QVariantList list = service->getAllPcListByBox(box);
  if (!ok || index < 0 || index >= list.size())
    return;
  list.removeAt(index);
  service->writeMessagesToPC(list, box);
  reloadSMSPCList(n);
}

// ---- context menu ----

namespace {
// The items' titles and the controller methods they run; the number items go to the phonebook.
struct MenuEntry {
  const char *title;
  void (SMSController::*method)(QObject *);
};
const MenuEntry kMenu[SMSController::MenuItemCount] = {
    {"New", &SMSController::newMessage},
    {"Edit", &SMSController::sendMessageInDraftBox},
    {"Send", &SMSController::sendSMSWithoutWin},
    {"Reply", &SMSController::replyMessage},
    {"Forward", &SMSController::forwardMessage},
    {"MoveTo", &SMSController::saveMessage},
    {"PC", nullptr},
    {"(U)SIM", nullptr},
    {"Delete", &SMSController::deleteMessage},
    {"ImportantBox", &SMSController::moveToImportantBox},
};
} // namespace

// The menu of the message table, its items enabled by the rules of the moment it opens.
void SMSController::initPopUpMenuOfMsgBoxList() {
  if (!page)
    return;
  auto *menu = new QMenu(page->msgBoxList);
  menu->setObjectName(QStringLiteral("popUPmenuOfMsgBoxList"));
  for (int i = 0; i < MenuItemCount; ++i) {
    QAction *action = menu->addAction(word(kMenu[i].title));
    connect(action, &QAction::triggered, this, [this, i] {
      if (!menuEnabled_[i])
        return;
      if (i == SavePcItem || i == SaveSimItem)
        savePhoneNumber(word(kMenu[i].title));
      else
        (this->*kMenu[i].method)(nullptr);
    });
  }
  page->msgBoxList->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(page->msgBoxList, &QWidget::customContextMenuRequested, this, [this, menu](const QPoint &at) {
    const QList<QAction *> actions = menu->actions();
    for (int i = 0; i < MenuItemCount && i < actions.size(); ++i)
      actions.at(i)->setEnabled(menuEnabled_[i]);
    menu->popup(page->msgBoxList->viewport()->mapToGlobal(at));
  });
  initSetMenuItemsState();
}

void SMSController::setMenuItemState(bool enabled, int index) {
  if (index < 0 || index >= MenuItemCount)
    return;
  menuEnabled_[index] = enabled;
}

void SMSController::initSetMenuItemsState() {
  setMenuItemState(m_nNetCardStatus == 12, NewItem);
  for (int i = EditItem; i < MenuItemCount; ++i)
    setMenuItemState(false, i);
}

void SMSController::setMenuItemsStateWhenSMSSelectionDidChange() {
  const int n = int(selectedRows_.size());
  const int box = getCurrentBox();
  initSetMenuItemsState();
  setMenuItemState(true, DeleteItem);
  if (n >= 1 && box != DELIVERY_REPORTBOX && box != DeletedBox && box != ImportantBox &&
      !SmsService::isSimOrMeWithPosition(getCurrentPosition()))
    setMenuItemState(true, ImportantItem);
  if (m_nNetCardStatus != 12) {
    if (n == 1)
      setMenuItemState(true, SavePcItem);
    return;
  }
  if (n == 0) {
    setMenuItemState(false, DeleteItem);
    return;
  }
  if (n > 1) {
    if (box <= OutBox)
      setMenuItemState(true, MoveItem);
    return;
  }
  if (box == InBox) {
    setMenuItemState(true, ReplyItem);
    setMenuItemState(true, ForwardItem);
  }
  if (ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("supportMessageForwardInOutBox")) &&
      box == OutBox) {
    setMenuItemState(true, ForwardItem);
    setMenuItemState(true, MoveItem);
  } else if (box == DraftBox) {
    setMenuItemState(true, EditItem);
  } else if (box <= OutBox) {
    setMenuItemState(true, MoveItem);
  }
  // The user-info report is the main window's; it is never sending here yet.
  if (box != InBox && box != DELIVERY_REPORTBOX)
    setMenuItemState(true, SendItem);
  setMenuItemState(true, SavePcItem);
  setMenuItemState(true, SaveSimItem);
}
