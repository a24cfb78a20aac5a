#pragma once

#include "PBPageControls.h"
#include "PBPageLink.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>
#include <QWidget>

class PBController;
class PBSource;
class NodeOutlineModel;
class PBContactTableModel;
class UpdatePhonebookWindow;
class QTimer;

// The Phonebook tab: the store selector, the group table of the PC store (and the store tree
// when the skin places one), the contact table of the store shown, the search field, the
// capacity label, the details text, the commands and the copy-to menus. Widgets only: every
// action goes to PBController, and the page shows PBController::controls().
class PBPage : public QWidget, public PBPageLink {
  Q_OBJECT
public:
  // The page takes `source`, the store tree (null: no tree).
  explicit PBPage(PBController *controller, QWidget *parent = nullptr, PBSource *source = nullptr);
  ~PBPage() override;

  void reloadGroupTable() override;
  void reloadContactTableAndDeselect() override;
  void setConpacityShow() override;
  void setSavePosEnabled(bool pc, bool sim, bool me) override;
  int selectedSavePos() const override;
  void showStore(int savePos) override;
  QString searchFieldText() const override;
  void searchUser() override;
  void controlsChanged() override;
  void openContactDialog(bool bringForward) override;
  void reloadColumns() override;
  void clearSearchField() override;
  void selectGroupRow(int row) override;
  QList<QPair<QString, QObject *>> skinItems() const override;
  void updateWording() override;
  void setCallButtonShown(bool shown) override { btnCall->setVisible(shown); }
  void setSearchBarShown(bool shown) override;

  // Asks, then deletes the selected contacts of the store shown.
  void deleteSelectedContacts();
  // Fills the store selector's entries (PC, SIM, the device memory when the configuration has
  // it, the memory card while a card's store is open).
  void initSelectSavePosControl();
  // Whether the selector offers the memory card's store: configured, and a card's store open.
  bool cardStoreOffered() const;
  // Looks whether the card came or went and lets the store and the selector follow.
  void checkCardMount();
  // How often the shown page looks for the card.
  static constexpr int kCardCheckMs = 2000;

  QComboBox *savePosition = nullptr;
  QTreeView *tree = nullptr;
  QTableWidget *groupTable = nullptr;
  QTableView *contactTable = nullptr;
  QLineEdit *searchField = nullptr;
  QLabel *labelCapacity = nullptr;
  QTextEdit *details = nullptr;
  QPushButton *btnAddGroup = nullptr;
  QPushButton *btnDeleteGroup = nullptr;
  QPushButton *btnEditGroup = nullptr;
  QPushButton *btnNew = nullptr;
  QPushButton *btnEdit = nullptr;
  QPushButton *btnDelete = nullptr;
  QToolButton *btnCall = nullptr;
  QPushButton *btnSms = nullptr;
  QPushButton *btnSaveAs = nullptr;
  QToolButton *btnCopyTo = nullptr;
  QToolButton *btnMoveTo = nullptr;
  QProgressBar *progress = nullptr;
  QPushButton *btnExport = nullptr;
  QPushButton *btnImport = nullptr;
  QPushButton *btnUpdate = nullptr;
  QPushButton *btnRestore = nullptr;
  // The search bar toggle and the search's Go button.
  QToolButton *btnSearch = nullptr;
  QPushButton *btnGo = nullptr;
  UpdatePhonebookWindow *updateWindow = nullptr;

private:
  void newContact();
  void editContact();
  void renameGroup();
  void saveAs();
  void contactSelectionChanged();
  void showUpdateWindow(const PBPageControls &c);
  // Adds or removes the selector's memory-card entry when the store opened or closed.
  void syncCardStore();
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;
  // Gives the details box the height of the details it shows.
  void fitDetails();

  PBController *controller_ = nullptr;
  PBSource *source_ = nullptr;
  NodeOutlineModel *treeModel_ = nullptr;
  PBContactTableModel *contactModel_ = nullptr;
  QMenu *copyMenu_ = nullptr;
  QMenu *moveMenu_ = nullptr;
  QMenu *callMenu_ = nullptr;
  bool reloading_ = false;
  QTimer *cardTimer_ = nullptr;
  bool cardMounted_ = false;
  QString sortKey_;
  bool sortAscending_ = true;
};
