#include "PBPage.h"

#include "ConfigService.h"
#include "FilePanels.h"
#include "ModalQuestions.h"
#include "NodeOutlineModel.h"
#include "PBContactDialog.h"
#include "PBContactTableModel.h"
#include "PBController.h"
#include "PBSource.h"
#include "PBTypes.h"
#include "TcardVolume.h"
#include "UpdatePhonebookWindow.h"
#include "WordGlobe.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

QTableWidget *makeTable(QWidget *parent, const char *name, int columns) {
  auto *t = new QTableWidget(0, columns, parent);
  t->setObjectName(QLatin1String(name));
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->horizontalHeader()->setStretchLastSection(true);
  t->verticalHeader()->hide();
  return t;
}

QPushButton *makeButton(QWidget *parent, const char *name, const char *key) {
  auto *b = new QPushButton(word(key), parent);
  b->setObjectName(QLatin1String(name));
  return b;
}

QToolButton *makeMenuButton(QWidget *parent, const char *name, const char *key, QMenu *menu) {
  auto *b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setText(word(key));
  b->setMenu(menu);
  b->setPopupMode(QToolButton::InstantPopup);
  return b;
}
// Names and numbers get the width of a long formatted sample, so a contact's number shows whole
// (an international number has at most 15 digits after its plus); every column fits its worded
// title. Measured from samples, not the contents, so a large book costs nothing; the last
// column takes what room is left.
void fitContactColumns(QTableView *table, const PBContactTableModel *model) {
  static const QHash<QString, QString> samples = {{PBKey::kUserName, QStringLiteral("Maximiliane Oberhauser")},
                                                  {PBKey::kMobilePhone, QStringLiteral("+491709876543210")},
                                                  {PBKey::kHomePhone, QStringLiteral("+491709876543210")},
                                                  {PBKey::kOfficePhone, QStringLiteral("+491709876543210")}};
  QHeaderView *header = table->horizontalHeader();
  const QFontMetrics cell(table->font());
  const QFontMetrics title(header->font());
  for (int column = 0; column < model->columnCount(); ++column) {
    const QString heading = model->headerData(column, Qt::Horizontal).toString();
    const QString sample = samples.value(model->columns().value(column));
    const int width = std::max(
        {80, title.horizontalAdvance(heading) + 24, sample.isEmpty() ? 0 : cell.horizontalAdvance(sample) + 16});
    header->resizeSection(column, width);
  }
}
} // namespace

PBPage::PBPage(PBController *controller, QWidget *parent, PBSource *source)
    : QWidget(parent), controller_(controller), source_(source) {
  setObjectName(QStringLiteral("Phonebook"));
  // The controllers look the tab up by this identifier when they wake.
  setProperty("itemIdentifier", QStringLiteral("Phonebook"));
  savePosition = new QComboBox(this);
  savePosition->setObjectName(QStringLiteral("savePosition"));
  searchField = new QLineEdit(this);
  searchField->setObjectName(QStringLiteral("searchField"));
  searchField->setPlaceholderText(word("Search"));
  labelCapacity = new QLabel(this);
  labelCapacity->setObjectName(QStringLiteral("labelCapacity"));
  groupTable = makeTable(this, "groupTable", 1);
  groupTable->setHorizontalHeaderLabels({word("Group")});
  groupTable->setSelectionMode(QAbstractItemView::SingleSelection);
  groupTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  contactTable = new QTableView(this);
  contactTable->setObjectName(QStringLiteral("contactTable"));
  contactModel_ = new PBContactTableModel(controller_, contactTable);
  contactTable->setModel(contactModel_);
  contactTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  contactTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  contactTable->verticalHeader()->hide();
  contactTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
  contactTable->setSortingEnabled(false);
  contactTable->horizontalHeader()->setSectionsClickable(true);
  contactTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  contactTable->horizontalHeader()->setStretchLastSection(true);
  // The columns change with the configuration and their titles with the language.
  const auto fit = [this] { fitContactColumns(contactTable, contactModel_); };
  connect(contactModel_, &QAbstractItemModel::modelReset, this, fit);
  connect(contactModel_, &QAbstractItemModel::headerDataChanged, this, fit);
  fit();
  details = new QTextEdit(this);
  details->setObjectName(QStringLiteral("details"));
  details->setReadOnly(true);
  details->setLineWrapMode(QTextEdit::NoWrap);
  // Beside the contact table, where the page has height to spare: a column of short lines.
  details->setFixedWidth(28 * details->fontMetrics().averageCharWidth() + 2 * details->frameWidth() +
                         2 * int(details->document()->documentMargin()));
  btnAddGroup = makeButton(this, "btnAddGroup", "New Group");
  btnDeleteGroup = makeButton(this, "btnDeleteGroup", "Delete Group");
  btnEditGroup = makeButton(this, "btnEditGroup", "EditGroup");
  btnNew = makeButton(this, "btnPBNew", "New");
  btnEdit = makeButton(this, "btnPBEdit", "Edit");
  btnDelete = makeButton(this, "btnPBDelete", "Delete");
  callMenu_ = new QMenu(this);
  btnCall = new QToolButton(this);
  btnCall->setObjectName(QStringLiteral("btnPBCall"));
  btnCall->setText(word("Call"));
  btnCall->setMenu(callMenu_);
  btnCall->setPopupMode(QToolButton::MenuButtonPopup);
  btnSms = makeButton(this, "btnPBSMS", "SMS");
  btnSaveAs = makeButton(this, "btnPBSaveAs", "Save As");
  copyMenu_ = new QMenu(this);
  moveMenu_ = new QMenu(this);
  btnCopyTo = makeMenuButton(this, "btnPBCopyTo", "CopyTo:", copyMenu_);
  btnMoveTo = makeMenuButton(this, "btnPBMoveTo", "MoveTo:", moveMenu_);
  progress = new QProgressBar(this);
  progress->setObjectName(QStringLiteral("progress"));
  progress->setRange(0, 20);
  progress->setTextVisible(false);
  progress->setMaximumWidth(120);
  progress->hide();
  btnExport = makeButton(this, "btnPBExport", "Export");
  btnImport = makeButton(this, "btnPBImport", "Import");
  btnUpdate = makeButton(this, "btnPBUpdate", "Update Contacts");
  btnRestore = makeButton(this, "btnPBRestore", "Undo");
  btnSearch = new QToolButton(this);
  btnSearch->setObjectName(QStringLiteral("btnPBSearch"));
  btnSearch->setText(word("Search"));
  btnGo = makeButton(this, "btnPBGo", "Go");
  // The search bar shows once its toggle is first clicked.
  searchField->hide();
  btnGo->hide();
  updateWindow = new UpdatePhonebookWindow(this);

  auto *top = new QHBoxLayout;
  top->addWidget(savePosition);
  top->addWidget(btnSearch);
  top->addWidget(searchField, 1);
  top->addWidget(btnGo);
  top->addStretch(0);
  top->addWidget(labelCapacity);
  auto *tables = new QHBoxLayout;
  if (source_) {
    tree = new QTreeView(this);
    tree->setObjectName(QStringLiteral("tree"));
    treeModel_ = new NodeOutlineModel(source_->root(), {QStringLiteral("Attribute")}, tree);
    tree->setModel(treeModel_);
    tree->setHeaderHidden(true);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    NodeOutlineModel::keepExpanded(tree);
    tables->addWidget(tree, 1);
    source_->onReload = [this] {
      treeModel_->reloadData();
      tree->expandAll();
    };
  }
  tables->addWidget(groupTable, 1);
  tables->addWidget(contactTable, 4);
  tables->addWidget(details);
  // Two rows of commands: the groups and the stores on the first, the contacts on the second.
  auto *groupRow = new QHBoxLayout;
  for (QWidget *w : std::initializer_list<QWidget *>{btnAddGroup, btnDeleteGroup, btnEditGroup})
    groupRow->addWidget(w);
  groupRow->addStretch(1);
  for (QWidget *w : std::initializer_list<QWidget *>{btnCopyTo, btnMoveTo, btnSaveAs})
    groupRow->addWidget(w);
  // Contacts in and out of files.
  auto *fileRow = new QHBoxLayout;
  for (QWidget *w : std::initializer_list<QWidget *>{btnExport, btnImport, btnUpdate, btnRestore})
    fileRow->addWidget(w);
  fileRow->addStretch(1);
  auto *contactRow = new QHBoxLayout;
  for (QWidget *w : std::initializer_list<QWidget *>{btnNew, btnEdit, btnDelete, btnCall, btnSms})
    contactRow->addWidget(w);
  contactRow->addStretch(1);
  contactRow->addWidget(progress);
  auto *all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addLayout(tables, 1);
  all->addLayout(groupRow);
  all->addLayout(contactRow);
  all->addLayout(fileRow);

  // A card taken out of (or put into) the modem tells nobody: while the page shows, it looks.
  cardTimer_ = new QTimer(this);
  cardTimer_->setInterval(kCardCheckMs);
  connect(cardTimer_, &QTimer::timeout, this, [this] { checkCardMount(); });
  cardMounted_ = !getTcardVolume().isEmpty();
  initSelectSavePosControl();
  connect(savePosition, &QComboBox::currentIndexChanged, this, [this] {
    if (controller_ && !reloading_)
      controller_->selectSavePos(selectedSavePos());
  });
  connect(groupTable, &QTableWidget::currentCellChanged, this, [this](int row) {
    if (controller_ && !reloading_ && row >= 0)
      controller_->groupSelectionChanged(row);
  });
  connect(groupTable, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
    if (!controller_ || reloading_)
      return;
    // A name the checks refuse goes back to the stored one.
    if (!controller_->renameGroup(item->row(), item->text()))
      reloadGroupTable();
  });
  connect(contactTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { contactSelectionChanged(); });
  connect(contactTable->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
    if (!controller_)
      return;
    const QString key = controller_->userTableViewColumns().value(column);
    sortAscending_ = key == sortKey_ ? !sortAscending_ : true;
    sortKey_ = key;
    controller_->sortContactsByColumn(key, sortAscending_);
  });
  connect(searchField, &QLineEdit::textChanged, this, [this](const QString &text) {
    if (controller_ && !reloading_)
      controller_->searchUser(text);
  });
  connect(btnAddGroup, &QPushButton::clicked, this, [this] { controller_->addGroupCommand(); });
  connect(btnDeleteGroup, &QPushButton::clicked, this, [this] { controller_->deleteGroup(); });
  connect(btnEditGroup, &QPushButton::clicked, this, [this] { renameGroup(); });
  connect(btnNew, &QPushButton::clicked, this, [this] { newContact(); });
  connect(btnEdit, &QPushButton::clicked, this, [this] { editContact(); });
  connect(btnDelete, &QPushButton::clicked, this, [this] { deleteSelectedContacts(); });
  connect(contactTable, &QTableView::doubleClicked, this, [this] { editContact(); });
  connect(btnCall, &QToolButton::clicked, this, [this] { controller_->call(); });
  connect(btnSms, &QPushButton::clicked, this, [this] { controller_->sendSMS(); });
  connect(btnSaveAs, &QPushButton::clicked, this, [this] { saveAs(); });
  connect(btnExport, &QPushButton::clicked, this, [this] { controller_->exportPhoneBook(); });
  connect(btnImport, &QPushButton::clicked, this, [this] { controller_->importPhoneBook(); });
  connect(btnUpdate, &QPushButton::clicked, this, [this] { controller_->updatePhonebook(); });
  connect(btnRestore, &QPushButton::clicked, this, [this] { controller_->restorePhonebook(); });
  connect(btnSearch, &QToolButton::clicked, this, [this] { controller_->showOrHideSearchbar(); });
  connect(btnGo, &QPushButton::clicked, this, [this] { searchUser(); });
  connect(updateWindow, &QDialog::finished, this, [this] {
    if (controller_ && controller_->controls().updateWindowShown)
      controller_->updateWindowOk();
  });
  connect(copyMenu_, &QMenu::triggered, this, [this](QAction *a) { controller_->move(a->text()); });
  connect(moveMenu_, &QMenu::triggered, this, [this](QAction *a) { controller_->moveAndDelcont(a->text()); });
  connect(callMenu_, &QMenu::triggered, this, [this](QAction *a) { controller_->clickMenuItemToCall(a->text()); });
  if (tree) {
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &index) {
      if (index.isValid())
        source_->outlineSelectionChanged(const_cast<Node *>(treeModel_->nodeOf(index)));
    });
    connect(tree, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
      const Node *clicked = treeModel_->nodeOf(tree->indexAt(at));
      if (!tree->indexAt(at).isValid())
        return;
      QMenu menu(this);
      menu.addAction(word("SMS"), this, [this] { controller_->sendSMSToOneGroup(); });
      for (const QString &title : source_->nodeMenuItems(clicked)) {
        QAction *a = menu.addAction(title);
        a->setEnabled(source_->nodeMenuItemsEnabled(clicked));
        connect(a, &QAction::triggered, this, [this, title] {
          if (title == PBSource::kNewGroup)
            controller_->addGroupCommand();
          else if (title == PBSource::kDeleteGroup)
            controller_->deleteGroup();
          else
            renameGroup();
        });
      }
      menu.exec(tree->viewport()->mapToGlobal(at));
    });
  }
  if (controller_) {
    controller_->setPage(this);
    controller_->setSource(source_);
    controller_->initialNodeOfPc();
    controller_->SetConpacityShow();
    controller_->setMoveMenu();
  }
  reloadColumns();
  reloadGroupTable();
  reloadContactTableAndDeselect();
  controlsChanged();
}

PBPage::~PBPage() {
  if (controller_) {
    controller_->setPage(nullptr);
    controller_->setSource(nullptr);
  }
  delete source_;
}

void PBPage::initSelectSavePosControl() {
  reloading_ = true;
  const int shown = selectedSavePos();
  savePosition->clear();
  savePosition->addItem(word("PC"), int(kSaveInPC));
  savePosition->addItem(word("(U)SIM"), int(kSaveInSIM));
  if (controller_ && controller_->hasMePosition())
    savePosition->addItem(word("Data Card"), int(kSaveInME));
  if (cardStoreOffered())
    savePosition->addItem(word("SD Card"), int(kSaveInTCard));
  const int i = savePosition->findData(shown);
  savePosition->setCurrentIndex(i >= 0 ? i : 0);
  reloading_ = false;
}

bool PBPage::cardStoreOffered() const {
  // The memory card's store exists only while a card is there and its phonebook could be opened.
  return controller_ && controller_->getPhonebookSettingBoolValue(QStringLiteral("IsShowTCard")) &&
         controller_->tcardInitFinished();
}

void PBPage::syncCardStore() {
  if (!controller_ || (savePosition->findData(int(kSaveInTCard)) >= 0) == cardStoreOffered())
    return;
  const bool cardShown = selectedSavePos() == kSaveInTCard;
  initSelectSavePosControl();
  // The card went while its store was shown: the PC store takes its place.
  if (cardShown && controller_->lastSelectSavePos() == kSaveInTCard)
    controller_->selectSavePos(kSaveInPC);
}

void PBPage::checkCardMount() {
  if (!controller_ || !controller_->getPhonebookSettingBoolValue(QStringLiteral("IsShowTCard")))
    return;
  const bool mounted = !getTcardVolume().isEmpty();
  if (mounted == cardMounted_)
    return;
  cardMounted_ = mounted;
  controller_->tcardMountChanged();
  syncCardStore();
}

void PBPage::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  checkCardMount();
  cardTimer_->start();
}

void PBPage::hideEvent(QHideEvent *event) {
  cardTimer_->stop();
  QWidget::hideEvent(event);
}

void PBPage::reloadGroupTable() {
  if (!controller_)
    return;
  reloading_ = true;
  const bool pc = controller_->lastSelectSavePos() == kSaveInPC;
  groupTable->setVisible(pc && !tree);
  groupTable->setEnabled(pc);
  // The group table shows no rows while search text stands.
  const int count = controller_->isSearching() ? 0 : controller_->sumOfGroupInPC();
  groupTable->setRowCount(count);
  for (int g = 0; g < count; ++g) {
    const PBContactRecord header = controller_->getPCUserByIndex(g, -1);
    auto *item = new QTableWidgetItem(header.value(PBKey::kGroupName).toString());
    if (header.value(PBKey::kReservedGroup).toBool())
      item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    groupTable->setItem(g, 0, item);
  }
  const int current = controller_->currentGroupIndex();
  if (current >= 0 && current < count)
    groupTable->selectRow(current);
  reloading_ = false;
}

void PBPage::selectGroupRow(int row) {
  if (row < 0) {
    groupTable->clearSelection();
    return;
  }
  groupTable->setCurrentCell(row, 0);
}

void PBPage::reloadColumns() {
  reloadContactTableAndDeselect();
}

void PBPage::reloadContactTableAndDeselect() {
  if (!controller_)
    return;
  reloading_ = true;
  contactTable->clearSelection();
  contactModel_->reload();
  reloading_ = false;
}

void PBPage::setConpacityShow() {
  if (controller_)
    labelCapacity->setText(controller_->controls().capacity);
}

void PBPage::setSavePosEnabled(bool pc, bool sim, bool me) {
  syncCardStore();
  auto *model = qobject_cast<QStandardItemModel *>(savePosition->model());
  if (!model)
    return;
  for (int i = 0; i < savePosition->count(); ++i) {
    const int tag = savePosition->itemData(i).toInt();
    const bool on = tag == kSaveInPC ? pc : tag == kSaveInSIM ? sim : tag == kSaveInME ? me : pc;
    if (QStandardItem *item = model->item(i))
      item->setEnabled(on);
  }
  savePosition->setEnabled(pc);
}

int PBPage::selectedSavePos() const {
  return savePosition->currentIndex() < 0 ? -1 : savePosition->currentData().toInt();
}

void PBPage::showStore(int savePos) {
  const int i = savePosition->findData(savePos);
  if (i >= 0 && i != savePosition->currentIndex())
    savePosition->setCurrentIndex(i);
}

QString PBPage::searchFieldText() const {
  return searchField->text();
}

void PBPage::searchUser() {
  if (controller_)
    controller_->searchUser(searchField->text());
}

void PBPage::clearSearchField() {
  reloading_ = true;
  searchField->clear();
  reloading_ = false;
}

void PBPage::contactSelectionChanged() {
  if (!controller_ || reloading_)
    return;
  QList<int> rows;
  for (const QModelIndex &i : contactTable->selectionModel()->selectedRows())
    rows << i.row();
  controller_->contactSelectionChanged(rows);
}

void PBPage::controlsChanged() {
  if (!controller_)
    return;
  syncCardStore();
  const PBPageControls &c = controller_->controls();
  const bool pc = controller_->lastSelectSavePos() == kSaveInPC;
  for (QWidget *w : {btnAddGroup, btnDeleteGroup, btnEditGroup})
    w->setVisible(pc);
  btnAddGroup->setEnabled(c.addGroup);
  btnDeleteGroup->setEnabled(c.deleteGroup);
  btnEditGroup->setEnabled(c.deleteGroup);
  // In the SIM and device-memory views the group-level commands act on contacts.
  btnNew->setEnabled(pc ? c.addUser : c.addGroup);
  btnDelete->setEnabled(pc ? c.deleteUser : c.deleteGroup);
  btnEdit->setEnabled(pc ? c.editUser : c.editGroup);
  btnCall->setEnabled(c.call);
  btnSms->setEnabled(c.sms);
  const int pos = controller_->lastSelectSavePos();
  btnSaveAs->setEnabled(pos == kSaveInPC || pos == kSaveInSIM);
  for (QMenu *menu : {copyMenu_, moveMenu_}) {
    menu->clear();
    for (int i = 0; i < c.moveMenu.size(); ++i)
      menu->addAction(c.moveMenu.at(i))->setEnabled(c.moveMenuEnabled.value(i));
  }
  btnCopyTo->setEnabled(c.copyMenus && !c.moveMenu.isEmpty());
  btnMoveTo->setEnabled(c.copyMenus && !c.moveMenu.isEmpty());
  callMenu_->clear();
  for (const QString &title : c.callMenu)
    callMenu_->addAction(title);
  labelCapacity->setText(c.capacity);
  // The text ends its lines with "\r\n"; shown, a line is a line.
  QString text = c.details;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  while (text.endsWith(QLatin1Char('\n')))
    text.chop(1);
  if (details->toPlainText() != text)
    details->setPlainText(text);
  fitDetails();
  progress->setVisible(c.progressVisible);
  progress->setValue(int(c.progressValue));
  const bool fileStore = (pos == kSaveInPC || pos == kSaveInSIM) && !controller_->batchRunning();
  btnExport->setEnabled(c.copyMenus && (pos == kSaveInPC || pos == kSaveInSIM));
  for (QWidget *w : {btnImport, btnUpdate, btnRestore})
    w->setEnabled(fileStore);
  showUpdateWindow(c);
}

void PBPage::fitDetails() {
  // Room for every line of a contact's details in the store shown (its heading, a blank line,
  // one line per column), so the box keeps its height whether or not a contact is selected.
  const int columns = controller_ ? int(controller_->userTableViewColumns().size()) : 0;
  const int lines = std::max(details->document()->blockCount(), 2 + columns);
  const int height = lines * details->fontMetrics().lineSpacing() + 2 * int(details->document()->documentMargin()) +
                     2 * details->frameWidth() + details->horizontalScrollBar()->sizeHint().height();
  // The row of the tables grows to it; the table beside it takes the same height.
  if (details->minimumHeight() != height)
    details->setMinimumHeight(height);
}

void PBPage::showUpdateWindow(const PBPageControls &c) {
  if (!c.updateWindowShown) {
    if (updateWindow->isVisible())
      updateWindow->endModalWindow();
    return;
  }
  if (c.updateWindowBusy) {
    updateWindow->setMsg(c.updateWindowMessage);
    if (!updateWindow->isVisible() || updateWindow->okShown())
      updateWindow->beginToCheckUpdate(this);
  } else {
    updateWindow->popupAlertSheet(this);
    updateWindow->showResult(c.updateWindowMessage);
  }
}

void PBPage::setSearchBarShown(bool shown) {
  searchField->setVisible(shown);
  btnGo->setVisible(shown);
}

void PBPage::newContact() {
  if (controller_ && controller_->newUser())
    openContactDialog(false);
}

void PBPage::editContact() {
  if (controller_ && controller_->editUser())
    openContactDialog(false);
}

void PBPage::openContactDialog(bool bringForward) {
  if (!controller_)
    return;
  if (bringForward)
    controller_->notifyChangeTabViewItem(QStringLiteral("Phonebook"));
  PBContactDialog dialog(controller_, controller_->dialogRecord(), this);
  // With the call page the dialog is a free window; otherwise a sheet on the main window.
  if (!controller_->hasModuleWith(QStringLiteral("Call")))
    dialog.setWindowModality(Qt::WindowModal);
  const ModalQuestion question{QStringLiteral("wndPhonebookNewUser"), QString(), QString(), word("OK"), word("Cancel")};
  ModalQuestions::runDialog(&dialog, question);
  if (dialog.result() != QDialog::Accepted)
    controller_->canceladduser();
}

void PBPage::deleteSelectedContacts() {
  if (controller_)
    controller_->deleteUser();
}

void PBPage::renameGroup() {
  if (!controller_)
    return;
  const int row = controller_->currentGroupIndex();
  if (row < 0)
    return;
  QDialog sheet(this);
  sheet.setObjectName(QStringLiteral("wndPBRenameGroup"));
  sheet.setWindowModality(Qt::WindowModal);
  auto *form = new QFormLayout(&sheet);
  auto *oldName = new QLineEdit(controller_->getPCUserByIndex(row, -1).value(PBKey::kGroupName).toString(), &sheet);
  oldName->setReadOnly(true);
  auto *newName = new QLineEdit(&sheet);
  newName->setObjectName(QStringLiteral("newGroupNameField"));
  form->addRow(word("Group"), oldName);
  form->addRow(word("Rename Group"), newName);
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &sheet);
  form->addRow(buttons);
  // OK checks the name; a refused name keeps the sheet open.
  connect(buttons, &QDialogButtonBox::accepted, &sheet, [&] {
    if (controller_->renameGroup(row, newName->text()))
      sheet.accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, &sheet, &QDialog::reject);
  const ModalQuestion question{QStringLiteral("wndPBRenameGroup"), oldName->text(), QString(), word("OK"),
                               word("Cancel")};
  ModalQuestions::runDialog(&sheet, question);
  reloadGroupTable();
}

void PBPage::saveAs() {
  if (!controller_)
    return;
  const int tag = controller_->lastSelectSavePos();
  if (tag != kSaveInPC && tag != kSaveInSIM)
    return;
  const QString path = FilePanels::run(
      {QStringLiteral("savePhonebookPanel"), true, QStringLiteral("plist"), QStringLiteral("phoneBook.plist")},
      window());
  if (!path.isEmpty())
    controller_->saveRecord2File(tag, path);
}

QList<QPair<QString, QObject *>> PBPage::skinItems() const {
  return {{QStringLiteral("matrixPBSavePosition"), savePosition},
          {QStringLiteral("tfPBCapacity"), labelCapacity},
          {QStringLiteral("viewPhonebookTab"), const_cast<PBPage *>(this)},
          {QStringLiteral("textSearchPB"), searchField},
          {QStringLiteral("tableGroupListPB"), groupTable},
          {QStringLiteral("tableUserListPB"), contactTable},
          {QStringLiteral("btnPBNew"), btnNew},
          {QStringLiteral("btnPBEdit"), btnEdit},
          {QStringLiteral("btnPBDelete"), btnDelete},
          {QStringLiteral("btnPBCall"), btnCall},
          {QStringLiteral("btnPBSMS"), btnSms}};
}

void PBPage::updateWording() {
  initSelectSavePosControl();
  searchField->setPlaceholderText(word("Search"));
  groupTable->setHorizontalHeaderLabels({word("Group")});
  const std::pair<QAbstractButton *, const char *> titles[] = {{btnAddGroup, "New Group"},
                                                               {btnDeleteGroup, "Delete Group"},
                                                               {btnEditGroup, "EditGroup"},
                                                               {btnNew, "New"},
                                                               {btnEdit, "Edit"},
                                                               {btnDelete, "Delete"},
                                                               {btnCall, "Call"},
                                                               {btnSms, "SMS"},
                                                               {btnSaveAs, "Save As"},
                                                               {btnCopyTo, "CopyTo:"},
                                                               {btnMoveTo, "MoveTo:"},
                                                               {btnExport, "Export"},
                                                               {btnImport, "Import"},
                                                               {btnUpdate, "Update Contacts"},
                                                               {btnRestore, "Undo"},
                                                               {btnSearch, "Search"},
                                                               {btnGo, "Go"}};
  for (const auto &[button, key] : titles)
    button->setText(word(key));
  if (controller_ && controller_->getPhonebookSettingBoolValue(QStringLiteral("NoTitleOfPBBtn"))) {
    btnSms->setText(QString());
    btnSms->setToolTip(word("SMS"));
    btnNew->setToolTip(word("New"));
    btnEdit->setToolTip(word("Edit"));
    btnDelete->setToolTip(word("Delete"));
  }
  const QVariant rowHeight = ConfigService::readValue(QStringLiteral("Main"), QStringLiteral("TableViewRowHeight"));
  if (rowHeight.isValid() && rowHeight.toDouble() > 0) {
    contactTable->verticalHeader()->setDefaultSectionSize(int(rowHeight.toDouble()));
    groupTable->verticalHeader()->setDefaultSectionSize(int(rowHeight.toDouble()));
  }
  contactModel_->reload();
}
