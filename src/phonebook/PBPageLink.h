#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

// What the phonebook's store side asks of its page (table reloads, the capacity label, the store
// selector, the search, the progress display). The page implements it and hands itself to
// PBController::setPage; until then every call is answered by these defaults and does nothing.
class PBPageLink {
public:
  virtual ~PBPageLink() = default;

  virtual void reloadGroupTable() {}
  virtual void reloadContactTableAndDeselect() {}
  virtual void setConpacityShow() {}
  // The PC tree's node of the PC store is rebuilt after a load.
  virtual void initialNodeOfPc() {}
  virtual void addGroupNodeWithGroupName(const QString &) {}
  virtual void setMoveAndDelStatus(bool) {}
  // The store selector: its cells' enabled state and the cell shown (PBSavePosition tags).
  virtual void setSavePosEnabled(bool pc, bool sim, bool me) {
    Q_UNUSED(pc)
    Q_UNUSED(sim)
    Q_UNUSED(me)
  }
  virtual int selectedSavePos() const { return -1; }
  virtual void showStore(int savePos) { Q_UNUSED(savePos) }
  // The search field's text and a new run of the search.
  virtual QString searchFieldText() const { return {}; }
  virtual void searchUser() {}
  virtual void doWithProcessWhenOneMoreRecordOperation() {}
  // The destination name of a copy (the wording of "(U)SIM", "Data Card" or a group).
  virtual QString getMoveDestName() const { return {}; }
  // The update window's result text (number update and restore).
  virtual void showUpdateResult(const QString &text) { Q_UNUSED(text) }
  // Whether the contact table shows that field's column ("mobilephone", "officephone", ...).
  virtual bool hasContactColumn(const QString &key) const {
    Q_UNUSED(key)
    return true;
  }
  // Saves a number handed over by another page into a store (PBSavePosition).
  virtual void saveNumberTo(int savePos) { Q_UNUSED(savePos) }
  // The enable state (PBController::controls) changed.
  virtual void controlsChanged() {}
  // Opens the contact dialog the controller prepared (new or edit) and brings the tab forward
  // when `bringForward`.
  virtual void openContactDialog(bool bringForward) { Q_UNUSED(bringForward) }
  // The contact table's columns changed (the store shown).
  virtual void reloadColumns() {}
  // The search field is emptied (a store switch).
  virtual void clearSearchField() {}
  // The controls the skin engine places and paints: item name and control.
  virtual QList<QPair<QString, QObject *>> skinItems() const { return {}; }
  // The page's wording again (a language change), the call button shown or hidden.
  virtual void updateWording() {}
  virtual void setCallButtonShown(bool shown) { Q_UNUSED(shown) }
  // The search field and its Go button are shown or hidden.
  virtual void setSearchBarShown(bool shown) { Q_UNUSED(shown) }
  // The group table selects `row` (-1: none).
  virtual void selectGroupRow(int row) { Q_UNUSED(row) }
};
