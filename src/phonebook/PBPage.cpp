#include "PBPage.h"

#include "ModalQuestions.h"
#include "PBContactDialog.h"
#include "PBController.h"
#include "PBTypes.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {
// The contact table's columns: the record key shown and its header.
const char *const kColumns[][2] = {{"username", "Name"},
                                   {"mobilephone", "Mobile"},
                                   {"homephone", "Home"},
                                   {"officephone", "Office"},
                                   {"email", "Email"}};

QTableWidget *makeTable(QWidget *parent, const char *name, int columns) {
  auto *t = new QTableWidget(0, columns, parent);
  t->setObjectName(QLatin1String(name));
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->horizontalHeader()->setStretchLastSection(true);
  t->verticalHeader()->hide();
  return t;
}
} // namespace

PBPage::PBPage(PBController *controller, QWidget *parent) : QWidget(parent), controller_(controller) {
  setObjectName(QStringLiteral("Phonebook"));
  // The controllers look the tab up by this identifier when they wake.
  setProperty("itemIdentifier", QStringLiteral("Phonebook"));
  savePosition = new QComboBox(this);
  savePosition->setObjectName(QStringLiteral("savePosition"));
  savePosition->addItem(QStringLiteral("PC"), int(kSaveInPC));
  savePosition->addItem(QStringLiteral("(U)SIM"), int(kSaveInSIM));
  savePosition->addItem(QStringLiteral("Data Card"), int(kSaveInME));
  searchField = new QLineEdit(this);
  searchField->setObjectName(QStringLiteral("searchField"));
  searchField->setPlaceholderText(QStringLiteral("Search"));
  labelCapacity = new QLabel(this);
  labelCapacity->setObjectName(QStringLiteral("labelCapacity"));
  groupTable = makeTable(this, "groupTable", 1);
  groupTable->setHorizontalHeaderLabels({QStringLiteral("Group")});
  contactTable = makeTable(this, "contactTable", int(std::size(kColumns)));
  contactTable->setSelectionMode(QAbstractItemView::ExtendedSelection);
  QStringList headers;
  for (const auto &c : kColumns)
    headers << QLatin1String(c[1]);
  contactTable->setHorizontalHeaderLabels(headers);
  btnNew = new QPushButton(QStringLiteral("New"), this);
  btnEdit = new QPushButton(QStringLiteral("Edit"), this);
  btnDelete = new QPushButton(QStringLiteral("Delete"), this);

  auto *top = new QHBoxLayout;
  top->addWidget(savePosition);
  top->addWidget(searchField, 1);
  top->addWidget(labelCapacity);
  auto *tables = new QHBoxLayout;
  tables->addWidget(groupTable, 1);
  tables->addWidget(contactTable, 4);
  auto *buttons = new QHBoxLayout;
  for (QWidget *w : {btnNew, btnEdit, btnDelete})
    buttons->addWidget(w);
  buttons->addStretch(1);
  auto *all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addLayout(tables, 1);
  all->addLayout(buttons);

  connect(savePosition, &QComboBox::currentIndexChanged, this, [this] {
    groupTable->setEnabled(selectedSavePos() == kSaveInPC);
    reloadContactTableAndDeselect();
    setConpacityShow();
  });
  connect(groupTable, &QTableWidget::currentCellChanged, this, [this](int row) {
    if (row >= 0 && controller_)
      controller_->setCurrentgroup(row);
    reloadContactTableAndDeselect();
  });
  connect(searchField, &QLineEdit::textChanged, this, [this] { searchUser(); });
  connect(btnNew, &QPushButton::clicked, this, [this] { openContactDialog(-1); });
  connect(btnEdit, &QPushButton::clicked, this, [this] { openContactDialog(contactTable->currentRow()); });
  connect(btnDelete, &QPushButton::clicked, this, [this] { deleteSelectedContacts(); });
  connect(contactTable, &QTableWidget::cellDoubleClicked, this, [this](int row) { openContactDialog(row); });
  if (controller_)
    controller_->setPage(this);
  reloadGroupTable();
  reloadContactTableAndDeselect();
}

void PBPage::reloadGroupTable() {
  if (!controller_)
    return;
  const QSignalBlocker block(groupTable);
  const int count = controller_->sumOfGroupInPC();
  groupTable->setRowCount(count);
  for (int g = 0; g < count; ++g) {
    const PBContactRecord header = controller_->getPCUserByIndex(g, -1);
    groupTable->setItem(g, 0, new QTableWidgetItem(header.value(QStringLiteral("groupname")).toString()));
  }
  const int current = controller_->currentGroupIndex();
  if (current >= 0 && current < count)
    groupTable->selectRow(current);
}

QVariantList PBPage::shownContacts() const {
  if (!controller_)
    return {};
  if (!searchField->text().isEmpty())
    return controller_->getCurSearchGroup();
  switch (selectedSavePos()) {
  case kSaveInSIM:
    return controller_->getSimUserList();
  case kSaveInME:
    return controller_->getMeUserList();
  default: {
    QVariantList list;
    const int n = controller_->sumOfContactInCurrentGroup();
    for (int row = 0; row < n; ++row)
      list << controller_->getUserFromCurGroup(row);
    return list;
  }
  }
}

void PBPage::reloadContactTableAndDeselect() {
  const QVariantList list = shownContacts();
  contactTable->clearSelection();
  contactTable->setRowCount(int(list.size()));
  for (int row = 0; row < list.size(); ++row) {
    const QVariantMap record = list.at(row).toMap();
    for (int col = 0; col < int(std::size(kColumns)); ++col)
      contactTable->setItem(row, col, new QTableWidgetItem(record.value(QLatin1String(kColumns[col][0])).toString()));
  }
  for (int col = 0; col < int(std::size(kColumns)); ++col)
    contactTable->setColumnHidden(col, !hasContactColumn(QLatin1String(kColumns[col][0])));
}

void PBPage::setConpacityShow() {
  if (!controller_)
    return;
  switch (selectedSavePos()) {
  case kSaveInSIM:
    labelCapacity->setText(
        QStringLiteral("%1/%2").arg(controller_->getSimUserNumber()).arg(controller_->simMaxIndex()));
    break;
  case kSaveInME:
    labelCapacity->setText(QStringLiteral("%1/%2").arg(controller_->getMeUserNumber()).arg(controller_->meMaxIndex()));
    break;
  default:
    labelCapacity->setText(
        QStringLiteral("%1/%2").arg(controller_->sumOfContactInPC()).arg(controller_->PCUserMaxCount()));
  }
}

void PBPage::setSavePosEnabled(bool pc, bool sim, bool me) {
  const bool on[] = {pc, sim, me};
  auto *model = qobject_cast<QStandardItemModel *>(savePosition->model());
  for (int i = 0; i < 3 && model; ++i)
    if (QStandardItem *item = model->item(i))
      item->setEnabled(on[i]);
}

int PBPage::selectedSavePos() const {
  return savePosition->currentData().toInt();
}

void PBPage::showStore(int savePos) {
  const int i = savePosition->findData(savePos);
  if (i >= 0)
    savePosition->setCurrentIndex(i);
}

QString PBPage::searchFieldText() const {
  return searchField->text();
}

void PBPage::searchUser() {
  if (controller_ && !searchField->text().isEmpty()) {
    controller_->setSearchText(searchField->text());
    controller_->deleteUserFromCurSearchGroup(10000);
    switch (selectedSavePos()) {
    case kSaveInSIM:
      controller_->getSearchContactsFromSIM();
      break;
    case kSaveInME:
      controller_->getSearchContactsFromME();
      break;
    default:
      controller_->getSearchContactsFromPC();
    }
  }
  reloadContactTableAndDeselect();
}

void PBPage::openContactDialog(int row) {
  if (!controller_)
    return;
  const QVariantList list = shownContacts();
  const bool edit = row >= 0;
  if (edit && row >= list.size())
    return;
  // A PC search row does not tell its group row; editing there would duplicate the contact.
  if (edit && selectedSavePos() == kSaveInPC && !searchField->text().isEmpty())
    return;
  const PBContactRecord record = edit ? list.at(row).toMap() : PBContactRecord();
  const int store = selectedSavePos();
  const bool onModem = store == kSaveInSIM || store == kSaveInME;
  PBContactDialog dialog(record, onModem ? controller_->getSimMaxNameLen() : 0,
                         onModem ? controller_->getSimMaxNumberLen() : 0, this);
  if (dialog.exec() != QDialog::Accepted)
    return;
  const PBContactRecord fields = dialog.fields();
  if (store == kSaveInSIM) {
    if (edit) {
      controller_->setSimContact(record);
      controller_->contactIsEditedInSIM(fields);
    } else {
      controller_->contactIsAddedInSIM(fields);
    }
  } else if (store == kSaveInME) {
    if (edit) {
      controller_->setMeContact(record);
      controller_->contactIsEditedInME(fields);
    } else {
      controller_->contactIsAddedInME(fields);
    }
  } else {
    PBContactRecord merged = record;
    for (auto it = fields.begin(); it != fields.end(); ++it)
      merged.insert(it.key(), it.value());
    if (edit)
      controller_->deleteUserFromCurGrop(row);
    controller_->addUser2CurGrop(merged);
    controller_->savePhoneList2File();
  }
  reloadContactTableAndDeselect();
  setConpacityShow();
}

void PBPage::deleteSelectedContacts() {
  if (!controller_)
    return;
  QList<int> rows;
  for (const QModelIndex &i : contactTable->selectionModel()->selectedRows())
    rows << i.row();
  if (rows.isEmpty())
    return;
  const int store = selectedSavePos();
  // A PC search row does not tell its group row; the modem deletes in the memory it is on, so a
  // store the modem is not switched to is left alone.
  const int modemStorage = store == kSaveInSIM ? kStorageSIM : kStorageME;
  if (store == kSaveInPC ? !searchField->text().isEmpty() : controller_->currentStorage() != modemStorage)
    return;
  const ModalQuestion question{QStringLiteral("alert"), QStringLiteral("Delete"),
                               QStringLiteral("Delete the selected contacts?"), QStringLiteral("OK"),
                               QStringLiteral("Cancel")};
  const int answer = ModalQuestions::ask(question, [this] {
    return QMessageBox::question(this, QStringLiteral("Delete"), QStringLiteral("Delete the selected contacts?")) ==
                   QMessageBox::Yes
               ? ModalQuestions::kDefaultAnswer
               : ModalQuestions::kAlternateAnswer;
  });
  if (answer != ModalQuestions::kDefaultAnswer)
    return;
  const QVariantList list = shownContacts();
  std::sort(rows.begin(), rows.end(), std::greater<int>());
  for (int row : rows) {
    if (row >= list.size())
      continue;
    if (store == kSaveInPC) {
      controller_->deleteUserFromCurGrop(row);
    } else {
      const int index = list.at(row).toMap().value(PBKey::kIndex).toInt();
      controller_->addContactToDelUserList(index);
      controller_->deleteContactFromSim(index);
    }
  }
  if (store == kSaveInPC)
    controller_->savePhoneList2File();
  reloadContactTableAndDeselect();
  setConpacityShow();
}
