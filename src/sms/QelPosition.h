#pragma once

#include "StoragePositions.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// Within a storage position, the box a message is in.
enum SmsBox : int {
  InBox = 0,
  OutBox = 1,
  DraftBox = 2,
  DELIVERY_REPORTBOX = 3,
  DeletedBox = 4,
  ImportantBox = 5,
  BroadCastBox = 6,
};

// The box tables: box name <-> code, and the display order of the listed boxes.
class SmsBoxTables {
public:
  SmsBoxTables();
  // The display-order map from SMS/"boxOrder" (box name -> order); without it InBox, OutBox and
  // DraftBox in rows 0, 1, 2. A name that is no box is logged and skipped.
  void boxDisplayOrderInit(const QVariant &boxOrder);
  static SmsBoxTables fromSettings();

  // The box code of a box name; -1 for a name that is none of the seven.
  static int getBoxWithBoxStr(const QString &name);
  // The box name, a null string when no box has that code.
  QString getBoxStrWithBox(int box) const;
  // The row of a box in the box list; a box that is not listed answers `rowCount` (one past the
  // last row), which names no row: callers compare it with their row count before using it.
  int getBoxDisplayOrderWithBox(int box, int rowCount) const;
  // The box listed in a row, -1 when none.
  int boxAtDisplayOrder(int order) const { return boxDisplayOrder_BoxMap_.value(order, -1); }
  int listedBoxCount() const { return int(boxDisplayOrder_BoxMap_.size()); }

  const QMap<QString, int> &boxStrMap() const { return boxStr_Box_; }

private:
  QMap<QString, int> boxStr_Box_;
  QMap<int, int> boxDisplayOrder_BoxMap_;
};

// The seven box names by code.
const QStringList &smsBoxNames();
