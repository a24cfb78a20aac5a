#pragma once

#include "PBPageLink.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

class PBController;

// The Phonebook tab: the store selector (PC, SIM, device memory), the group table of the PC
// store, the contact table of the store shown, the search field and the capacity label. Widgets
// only; it answers the store side's page calls and reads PBController for every reload.
class PBPage : public QWidget, public PBPageLink {
  Q_OBJECT
public:
  explicit PBPage(PBController *controller, QWidget *parent = nullptr);

  void reloadGroupTable() override;
  void reloadContactTableAndDeselect() override;
  void setConpacityShow() override;
  void setSavePosEnabled(bool pc, bool sim, bool me) override;
  int selectedSavePos() const override;
  void showStore(int savePos) override;
  QString searchFieldText() const override;
  void searchUser() override;

  // Asks, then deletes the selected contacts of the store shown.
  void deleteSelectedContacts();

  QComboBox *savePosition = nullptr;
  QTableWidget *groupTable = nullptr;
  QTableWidget *contactTable = nullptr;
  QLineEdit *searchField = nullptr;
  QLabel *labelCapacity = nullptr;
  QPushButton *btnNew = nullptr;
  QPushButton *btnEdit = nullptr;
  QPushButton *btnDelete = nullptr;

private:
  // Opens the contact dialog on the shown contact at `row` (-1: a new contact) and commits it
  // into the store shown.
  void openContactDialog(int row);
  // The contacts of the store shown (the search result while the search field has text).
  QVariantList shownContacts() const;

  PBController *controller_ = nullptr;
};
