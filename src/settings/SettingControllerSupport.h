#pragma once

// Small helpers the settings window's category files share: wording, switches, and the cells of
// its matrices (each cell carries its tag in the property "tag").
#include "ButtonMatrix.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QPointer>
#include <QVariantMap>

namespace settingsupport {

inline QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

inline bool boolOf(const QVariantMap &dict, const QString &module, const QString &key) {
  return module.isEmpty() ? dict.value(key).toBool() : dict.value(module).toMap().value(key).toBool();
}

template <typename W> void enable(const QPointer<W> &w, bool on) {
  if (w)
    w->setEnabled(on);
}

inline bool shown(const QWidget *w) {
  return w && !w->isHidden();
}

inline int selectedRow(const ButtonMatrix *m) {
  return m ? m->selectedIndex() : -1;
}

inline int selectedTag(const ButtonMatrix *m) {
  if (!m)
    return -1;
  const int i = m->selectedIndex();
  if (i < 0 || i >= m->cells().size())
    return -1;
  return m->cells().at(i)->property("tag").toInt();
}

// Turns on the cell carrying `tag`; false when none does (the matrix keeps its choice).
inline bool selectTag(ButtonMatrix *m, int tag) {
  if (!m)
    return false;
  for (QAbstractButton *cell : m->cells())
    if (cell->property("tag").toInt() == tag && !cell->property("removed").toBool()) {
      cell->setChecked(true);
      return true;
    }
  return false;
}

inline void selectRow(ButtonMatrix *m, int row) {
  if (!m)
    return;
  if (QAbstractButton *cell = m->cellAtRow(row, 0))
    cell->setChecked(true);
}

// The tag of a matrix sender's selected cell, or of a button's own "tag".
inline int tagOfSender(QObject *sender) {
  if (auto *m = qobject_cast<ButtonMatrix *>(sender))
    return selectedTag(m);
  return sender ? sender->property("tag").toInt() : -1;
}

} // namespace settingsupport
