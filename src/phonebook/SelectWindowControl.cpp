#include "SelectWindowControl.h"

#include "ConfigService.h"
#include "MessagesNeighbour.h"
#include "ModalQuestions.h"
#include "Neighbourhood.h"
#include "PBController.h"
#include "QELAlertPanel.h"
#include "QELUIManager.h"
#include "WordGlobe.h"

#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace {
// Until a caller sets the size (the call page and the message host never do).
QSize g_selectWindowSize(600, 420);

std::function<void(const QStringList &)> &mmsHost() {
  static std::function<void(const QStringList &)> host;
  return host;
}

QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

const QStringList &numberSuffixes() {
  static const QStringList suffixes = {QStringLiteral("(Mobile)"), QStringLiteral("(Office)"),
                                       QStringLiteral("(Home)")};
  return suffixes;
}

QString withoutSuffix(const QString &number) {
  for (const QString &s : numberSuffixes())
    if (number.endsWith(s))
      return number.left(number.size() - s.size());
  return number;
}
} // namespace

void SelectWindowControl::setMmsHost(std::function<void(const QStringList &)> host) {
  mmsHost() = std::move(host);
}

void SelectWindowControl::setSelectWindowSize(const QSize &size) {
  if (size.width() > 0 && size.height() > 0)
    g_selectWindowSize = size;
}

QSize SelectWindowControl::selectWindowSize() {
  return g_selectWindowSize;
}

SelectWindowControl::SelectWindowControl(QObject *parent) : QELUIController(parent), size_(g_selectWindowSize) {
  build();
  setDefaultSelectMemory();
}

SelectWindowControl::~SelectWindowControl() {
  delete selectContactWin.data();
  qelSkinManager = nullptr;
}

bool SelectWindowControl::hasMePosition() {
  return ConfigService::readBool(QString(), QStringLiteral("HasMePosition"));
}

void SelectWindowControl::place(QWidget *w, double x, double y, double width, double height) const {
  const_cast<SelectWindowControl *>(this)->frames_.insert(w, QRectF(x, y, width, height));
  const int parentHeight = selectContactWin ? selectContactWin->height() : size_.height();
  w->setGeometry(int(x), int(parentHeight - y - height), int(width), int(height));
}

void SelectWindowControl::relayout() {
  for (auto it = frames_.cbegin(); it != frames_.cend(); ++it) {
    const QRectF &f = it.value();
    it.key()->setGeometry(int(f.x()), int(selectContactWin->height() - f.y() - f.height()), int(f.width()),
                          int(f.height()));
  }
}

QTableWidget *SelectWindowControl::makeTable(double x) {
  const double W = size_.width(), H = size_.height(), L = (W - 100) / 2;
  auto *table = new QTableWidget(0, 2, selectContactWin);
  table->setHorizontalHeaderLabels({word("Name"), word("Phone")});
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table->setAlternatingRowColors(true);
  table->setShowGrid(true);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setMaximumSectionSize(500);
  table->horizontalHeader()->setMinimumSectionSize(int(0.25 * L));
  table->setColumnWidth(0, int(0.5 * L));
  table->setColumnWidth(1, int(0.5 * L));
  const QVariant rowHeight = ConfigService::readValue(QStringLiteral("Main"), QStringLiteral("TableViewRowHeight"));
  if (rowHeight.isValid())
    table->verticalHeader()->setDefaultSectionSize(int(rowHeight.toDouble()));
  place(table, x, 47, L, H - 115);
  return table;
}

void SelectWindowControl::build() {
  const double W = size_.width(), H = size_.height(), L = (W - 100) / 2;
  selectContactWin = new QDialog;
  selectContactWin->setObjectName(QStringLiteral("selectContactWin"));
  selectContactWin->setWindowTitle(word("Select Contact Window"));
  selectContactWin->resize(size_);
  // The close box cancels, as Cancel does.
  connect(selectContactWin, &QDialog::rejected, this, [this] {
    if (!closing_)
      quitWindow(0);
  });

  storeMediumComb = new QComboBox(selectContactWin);
  storeMediumComb->addItems({word("PC"), word("(U)SIM")});
  if (hasMePosition())
    storeMediumComb->addItem(word("Data Card"));
  storeMediumComb->setMaxVisibleItems(storeMediumComb->count());
  place(storeMediumComb, 15, H - 38, 130, 25);

  contactTextField = new QLabel(word("Contact(s)"), selectContactWin);
  selectedTextField = new QLabel(word("Selected contact(s)"), selectContactWin);
  place(contactTextField, 15, H - 63, 200, 20);
  place(selectedTextField, W - 15 - L, H - 63, 200, 20);

  contactTableView = makeTable(15);
  selectedTableView = makeTable(W - 15 - L);

  if (ConfigService::readBool(QStringLiteral("PhoneBook"), QStringLiteral("SMStoGroup"))) {
    place(storeMediumComb, 15, H - 48, 130, 25);
    place(contactTextField, 15, H - 68, 200, 20);
    place(selectedTextField, W - 15 - L, H - 68, 200, 20);
    combPCGroup_ = new QComboBox(selectContactWin);
    if (g_PBController)
      for (int g = 0; g < g_PBController->sumOfGroupInPC(); ++g)
        combPCGroup_->addItem(g_PBController->getPCUserByIndex(g, -1).value(PBKey::kGroupName).toString());
    combPCGroup_->setCurrentIndex(-1);
    place(combPCGroup_, W - 15 - L, H - 48, 130, 25);
    labelLocation_ = new QLabel(word("Location:"), selectContactWin);
    labelGroup_ = new QLabel(word("Group:"), selectContactWin);
    place(labelLocation_, 15, H - 23, 200, 20);
    place(labelGroup_, W - 15 - L, H - 23, 200, 20);
    connect(combPCGroup_, &QComboBox::activated, this, [this](int i) { groupSelectionDidChange(i); });
  }

  addToSelectedBtn = new QPushButton(word(">>"), selectContactWin);
  removeFromSelectedBtn = new QPushButton(word("<<"), selectContactWin);
  cancelBtn = new QPushButton(word("Cancel"), selectContactWin);
  okBtn = new QPushButton(word("OK"), selectContactWin);
  place(addToSelectedBtn, L + 20, 2 * (H - 165) / 3 + 72, 60, 25);
  place(removeFromSelectedBtn, L + 20, (H - 165) / 3 + 47, 60, 25);
  // Cancel and OK share one width: 100, or the wider of their titles when one needs more.
  const int fitted = std::max(cancelBtn->sizeHint().width(), okBtn->sizeHint().width());
  const double bw = fitted < 100 ? 100 : fitted;
  place(cancelBtn, 15 + (L - 100) / 2, 7, bw, 25);
  place(okBtn, W - 15 - L + (L - 100) / 2, 7, bw, 25);

  connect(addToSelectedBtn, &QPushButton::clicked, this, &SelectWindowControl::addToSelected);
  connect(removeFromSelectedBtn, &QPushButton::clicked, this, &SelectWindowControl::removeFromSelected);
  connect(cancelBtn, &QPushButton::clicked, this, &SelectWindowControl::cancelAction);
  connect(okBtn, &QPushButton::clicked, this, &SelectWindowControl::doSelectAction);
  connect(storeMediumComb, &QComboBox::currentIndexChanged, this, [this](int i) { storeSelectionDidChange(i); });
  registerSkinItems();
}

void SelectWindowControl::registerSkinItems() {
  ownSkin_ = std::make_unique<QELUIManager>();
  qelSkinManager = ownSkin_.get();
  contactTextField->setObjectName(QStringLiteral("labelSelectWndContact"));
  selectedTextField->setObjectName(QStringLiteral("labelSelectWndSelected"));
  const std::pair<QObject *, const char *> items[] = {{selectContactWin, "wndSelectionBg"},
                                                      {contactTextField, "labelSelectWndContact"},
                                                      {selectedTextField, "labelSelectWndSelected"},
                                                      {addToSelectedBtn, "btnSelectWndAdd"},
                                                      {removeFromSelectedBtn, "btnSelectWndRemove"},
                                                      {cancelBtn, "btnSelectWndCancel"},
                                                      {okBtn, "btnSelectWndOK"}};
  for (const auto &[control, key] : items)
    ownSkin_->registerController(control, QLatin1String(key), true);
}

void SelectWindowControl::setDefaultSelectMemory() {
  const QVariant memory = ConfigService::readValue(QStringLiteral("SMS"), QStringLiteral("defaultSelectMemory"));
  const int store = memory.isValid() && memory.toInt() == 1 ? 1 : 0;
  const QSignalBlocker block(storeMediumComb);
  storeMediumComb->setCurrentIndex(store);
  currentStoreMedium = store;
}

void SelectWindowControl::allowsContactTableMultiSelection(bool on) {
  allowsMultipleSel = on;
  contactTableView->setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

void SelectWindowControl::showWindow(QWidget *parent) {
  loadList();
  selectContactWin->setParent(parent, Qt::Sheet | Qt::Dialog);
  selectContactWin->setWindowModality(parent ? Qt::WindowModal : Qt::NonModal);
  selectContactWin->show();
}

int SelectWindowControl::showModalWindow() {
  storeMediumComb->hide();
  loadSubList();
  m_sourceRange = 1;
  return ModalQuestions::runDialog(
      selectContactWin,
      {QStringLiteral("SelectContactWindow"), word("Select Contact Window"), QString(), word("OK"), word("Cancel")});
}

void SelectWindowControl::ResizeWindowForCall() {
  const double L = (size_.width() - 100) / 2.0;
  selectContactWin->resize(int(L + 30), selectContactWin->height());
  const QRectF ok = frames_.value(okBtn), cancel = frames_.value(cancelBtn);
  place(okBtn, L - 85, ok.y(), ok.width(), ok.height());
  place(cancelBtn, 15, cancel.y(), cancel.width(), cancel.height());
  connect(contactTableView, &QTableWidget::cellDoubleClicked, this, [this](int row) { doubleClickTableRow(row); });
  addToSelectedBtn->hide();
  removeFromSelectedBtn->hide();
}

void SelectWindowControl::simpliedSelectWnd(const QSize &size) {
  // One list and its two buttons, laid out for this window's own size (the full picker's places
  // come from the editor's size and would leave the top empty and the buttons over each other).
  selectContactWin->resize(size);
  const double W = size.width(), H = size.height();
  for (QWidget *w : {static_cast<QWidget *>(addToSelectedBtn), static_cast<QWidget *>(removeFromSelectedBtn),
                     static_cast<QWidget *>(storeMediumComb), static_cast<QWidget *>(selectedTableView),
                     static_cast<QWidget *>(selectedTextField), static_cast<QWidget *>(combPCGroup_),
                     static_cast<QWidget *>(labelLocation_), static_cast<QWidget *>(labelGroup_)})
    if (w) {
      w->hide();
      frames_.remove(w);
    }
  place(contactTextField, 15, H - 30, W - 30, 20);
  place(contactTableView, 15, 47, W - 30, H - 47 - 35);
  contactTableView->setColumnWidth(0, int((W - 34) / 2));
  contactTableView->setColumnWidth(1, int((W - 34) / 2));
  // Cancel at the left, OK at the right, the same width, never overlapping.
  const double bw = std::min(frames_.value(okBtn).width(), (W - 45) / 2);
  place(cancelBtn, 15, 7, bw, 25);
  place(okBtn, W - 15 - bw, 7, bw, 25);
  contactTableView->setSelectionMode(QAbstractItemView::SingleSelection);
  cancelBtn->show();
  storeMediumComb->setCurrentIndex(1);
  hasNoSelectedTableView = true;
}

void SelectWindowControl::appendSplitNumbers(const PBContactRecord &record, PBContactList &into) {
  const QList<std::pair<QString, QString>> numbers = {{PBKey::kMobilePhone, numberSuffixes().at(0)},
                                                      {PBKey::kOfficePhone, numberSuffixes().at(1)},
                                                      {PBKey::kHomePhone, numberSuffixes().at(2)}};
  for (const auto &[key, suffix] : numbers) {
    const QString number = record.value(key).toString();
    if (!number.isEmpty())
      into.append(
          QVariantMap{{PBKey::kUserName, record.value(PBKey::kUserName)}, {PBKey::kMobilePhone, number + suffix}});
  }
}

void SelectWindowControl::loadList() {
  contactTableViewList.clear();
  PBController *pb = g_PBController;
  if (pb) {
    switch (currentStoreMedium) {
    case 0: {
      const bool split =
          ConfigService::readBool(QStringLiteral("SMS"), QStringLiteral("ContactNumbersSelectionEnabled"));
      for (int g = 0; g < pb->sumOfGroupInPC(); ++g) {
        for (int c = 0; c < pb->sumOfContactInGroup(g); ++c) {
          const PBContactRecord record = pb->getPCUserByIndex(g, c);
          if (split)
            appendSplitNumbers(record, contactTableViewList);
          else
            contactTableViewList.append(record);
        }
      }
      break;
    }
    case 1:
      for (int i = 0; i < pb->getSimUserNumber(); ++i)
        contactTableViewList.append(pb->getUserFromSim(i));
      break;
    case 2:
      if (hasMePosition())
        for (int i = 0; i < pb->getMeUserNumber(); ++i)
          contactTableViewList.append(pb->getUserFromMe(i));
      break;
    default:
      break;
    }
  }
  reloadTable(contactTableView, contactTableViewList);
}

void SelectWindowControl::loadSubList() {
  contactTableViewList = m_availableContactNumbers;
  reloadTable(contactTableView, contactTableViewList);
}

void SelectWindowControl::loadGroupList(int group) {
  if (!g_PBController)
    return;
  for (int c = 0; c < g_PBController->sumOfContactInGroup(group); ++c)
    appendSplitNumbers(g_PBController->getPCUserByIndex(group, c), selectedTableViewList);
}

void SelectWindowControl::storeSelectionDidChange(int index) {
  if (index == currentStoreMedium)
    return;
  currentStoreMedium = index;
  loadList();
  if (combPCGroup_) {
    combPCGroup_->setEnabled(index == 0);
    combPCGroup_->setCurrentIndex(-1);
  }
}

void SelectWindowControl::groupSelectionDidChange(int index) {
  loadGroupList(index);
  reloadTable(selectedTableView, selectedTableViewList);
}

void SelectWindowControl::reloadTable(QTableWidget *table, const PBContactList &list) {
  table->clearContents();
  table->setRowCount(int(list.size()));
  for (int row = 0; row < list.size(); ++row) {
    const QVariantMap entry = list.at(row).toMap();
    table->setItem(row, 0, new QTableWidgetItem(entry.value(PBKey::kUserName).toString()));
    table->setItem(row, 1, new QTableWidgetItem(entry.value(PBKey::kMobilePhone).toString()));
  }
}

namespace {
QList<int> selectedRows(QTableWidget *table) {
  QList<int> rows;
  for (const QModelIndex &i : table->selectionModel()->selectedRows())
    rows << i.row();
  std::sort(rows.begin(), rows.end());
  return rows;
}
} // namespace

void SelectWindowControl::addToSelected() {
  const QList<int> rows = selectedRows(contactTableView);
  if (rows.isEmpty())
    return;
  for (int row : rows)
    selectedTableViewList.append(contactTableViewList.at(row));
  for (int i = int(rows.size()) - 1; i >= 0; --i)
    contactTableViewList.removeAt(rows.at(i));
  reloadTable(contactTableView, contactTableViewList);
  reloadTable(selectedTableView, selectedTableViewList);
  contactTableView->clearSelection();
  selectedTableView->clearSelection();
}

void SelectWindowControl::removeFromSelected() {
  const QList<int> rows = selectedRows(selectedTableView);
  if (rows.isEmpty())
    return;
  for (int row : rows)
    if (!contactTableViewList.contains(selectedTableViewList.at(row)))
      contactTableViewList.append(selectedTableViewList.at(row));
  for (int i = int(rows.size()) - 1; i >= 0; --i)
    selectedTableViewList.removeAt(rows.at(i));
  reloadTable(contactTableView, contactTableViewList);
  reloadTable(selectedTableView, selectedTableViewList);
  contactTableView->clearSelection();
  selectedTableView->clearSelection();
}

void SelectWindowControl::doSelectAction() {
  const QList<int> leftRows = selectedRows(contactTableView);
  if (!allowsMultipleSel) {
    if (leftRows.isEmpty()) {
      NSRunAlertPanelExt(word("Warning"), word("Please select a phone number!"), word("STRING_OK_LABEL"));
      return;
    }
    makeCallWithPhoneNum(leftRows.first());
    return;
  }
  QStringList numbers;
  for (const QVariant &v : selectedTableViewList) {
    const QVariantMap entry = v.toMap();
    if (entry.contains(PBKey::kMobilePhone))
      numbers << entry.value(PBKey::kMobilePhone).toString();
  }
  if (hasNoSelectedTableView && !leftRows.isEmpty())
    numbers << contactTableViewList.value(leftRows.first()).toMap().value(PBKey::kMobilePhone).toString();
  m_selectedContactNumbers = numbers;
  if (auto *sms = Neighbourhood::messages())
    sms->setTheSearchFieldText(numbers);
  if (mmsHost() && hasModuleWith(QStringLiteral("MMS")))
    mmsHost()(numbers);
  notificationCenter->postNotificationName(QLatin1String(kSelectContactFinished), this,
                                           {{QStringLiteral("SendList"), numbers}});
  quitWindow(1);
}

void SelectWindowControl::makeCallWithPhoneNum(int row) {
  if (row < 0 || row >= contactTableViewList.size())
    return;
  // The number split adds "(Mobile)" and friends for reading; a call needs the number alone.
  const QString number = withoutSuffix(contactTableViewList.at(row).toMap().value(PBKey::kMobilePhone).toString());
  notificationCenter->postNotificationName(QLatin1String(kCallWithPhoneNumber), this,
                                           {{QLatin1String(kCallWithPhoneNumber), number}});
  quitWindow(1);
}

void SelectWindowControl::doubleClickTableRow(int row) {
  if (row != -1)
    makeCallWithPhoneNum(row);
}

void SelectWindowControl::quitWindow(int code) {
  if (closing_)
    return;
  if (m_sourceRange == 0) {
    closing_ = true;
    selectContactWin->hide();
    deleteLater();
  } else if (m_sourceRange == 1) {
    closing_ = true;
    selectContactWin->done(code);
    selectContactWin->hide();
    closing_ = false;
  }
}
