#pragma once

#include "PBTypes.h"
#include "QELUIController.h"

#include <QHash>
#include <QPointer>
#include <QRectF>
#include <QSize>
#include <functional>
#include <memory>

class QELUIManager;

class QComboBox;
#include <QDialog>
class QLabel;
class QPushButton;
class QTableWidget;

// The contact picker: the user moves contacts of a store (PC, SIM, device memory) or of a
// caller-given list into the chosen list. Built in code with the skins' bottom-left geometry. It
// hands its result to the SMS page and posts "SelectContactFinished"; the call variant posts
// "makeCallWithPhoneNumber". As a sheet it deletes itself when closed.
class SelectWindowControl : public QELUIController {
  Q_OBJECT
public:
  explicit SelectWindowControl(QObject *parent = nullptr);
  ~SelectWindowControl() override;

  // The MMS host's recipients field: it gets the picked numbers, as the SMS page does, when the
  // toolbar lists "MMS" (the host is a module of its own and installs itself here).
  static void setMmsHost(std::function<void(const QStringList &numbers)> host);

  // The size of every picker made afterwards (the SMS page passes its window's content size);
  // pickers of callers that never set one get a default size.
  static void setSelectWindowSize(const QSize &size);
  static QSize selectWindowSize();

  void allowsContactTableMultiSelection(bool on);
  // Runs the picker as a window-modal sheet on `parent` and returns at once.
  void showWindow(QWidget *parent);
  // Shows the caller-given list and runs the picker modally; 1 after OK, 0 after Cancel.
  int showModalWindow();
  void ResizeWindowForCall();
  void simpliedSelectWnd(const QSize &size);

  void setSourceRange(int range) { m_sourceRange = range; }
  int sourceRange() const { return m_sourceRange; }
  void setAvailableContactNumbers(const PBContactList &list) { m_availableContactNumbers = list; }
  const PBContactList &availableContactNumbers() const { return m_availableContactNumbers; }
  QStringList selectedContactNumbers() const { return m_selectedContactNumbers; }

  // Actions.
  void addToSelected();
  void removeFromSelected();
  void doSelectAction();
  void cancelAction() { quitWindow(0); }
  void doubleClickTableRow(int row);
  void makeCallWithPhoneNum(int row);
  void quitWindow(int code);
  void storeSelectionDidChange(int index);
  void groupSelectionDidChange(int index);

  void loadList();
  void loadSubList();
  void loadGroupList(int group);

  // Parts, for the callers and tests.
  QDialog *window() const { return selectContactWin; }
  QComboBox *storeCombo() const { return storeMediumComb; }
  QComboBox *groupComb() const { return combPCGroup_; }
  QTableWidget *contactTable() const { return contactTableView; }
  QTableWidget *selectedTable() const { return selectedTableView; }
  QPushButton *okButton() const { return okBtn; }
  QPushButton *cancelButton() const { return cancelBtn; }
  QPushButton *addButton() const { return addToSelectedBtn; }
  QPushButton *removeButton() const { return removeFromSelectedBtn; }
  const PBContactList &contactList() const { return contactTableViewList; }
  const PBContactList &selectedList() const { return selectedTableViewList; }
  int currentStore() const { return currentStoreMedium; }

private:
  void build();
  void setDefaultSelectMemory();
  void reloadTable(QTableWidget *table, const PBContactList &list);
  void place(QWidget *w, double x, double y, double width, double height) const;
  QTableWidget *makeTable(double x);
  static bool hasMePosition();
  static void appendSplitNumbers(const PBContactRecord &record, PBContactList &into);

  QPointer<QDialog> selectContactWin;
  QComboBox *storeMediumComb = nullptr;
  QLabel *contactTextField = nullptr;
  QLabel *selectedTextField = nullptr;
  QPushButton *addToSelectedBtn = nullptr;
  QPushButton *removeFromSelectedBtn = nullptr;
  QPushButton *cancelBtn = nullptr;
  QPushButton *okBtn = nullptr;
  QComboBox *combPCGroup_ = nullptr;
  QLabel *labelLocation_ = nullptr;
  QLabel *labelGroup_ = nullptr;
  QTableWidget *contactTableView = nullptr;
  QTableWidget *selectedTableView = nullptr;
  PBContactList contactTableViewList;
  PBContactList selectedTableViewList;
  int currentStoreMedium = 0;
  bool allowsMultipleSel = false;
  bool hasNoSelectedTableView = false;
  int m_sourceRange = 0;
  PBContactList m_availableContactNumbers;
  QStringList m_selectedContactNumbers;
  bool closing_ = false;
  QSize size_;
  // Bottom-left frames of the controls, kept so that a new window height keeps their offsets.
  QHash<QWidget *, QRectF> frames_;
  void relayout();
  // The picker's own skin manager: its buttons and captions take their look from the skin.
  std::unique_ptr<QELUIManager> ownSkin_;
  void registerSkinItems();
};
