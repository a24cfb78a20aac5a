#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// Where a message lives (storage positions); the settings window lists the same places. Code 2
// names no position; -1 stands for none.
enum SmsPosition : int { AT_PC = 0, AT_SIM = 1, AT_TCARD = 3, AT_ME = 4 };

// One storage position: its name ("AT_PC" ...), code and row in the position list.
class QelPosition {
public:
  QelPosition() = default;
  QelPosition(const QString &name, int position, int displayOrder)
      : positionName_(name), position_(position), displayOrder_(displayOrder) {}

  QString positionName() const { return positionName_; }
  int positon() const { return position_; }
  int displayOrder() const { return displayOrder_; }
  void setPositionName(const QString &name) { positionName_ = name; }
  void setPosition(int position) { position_ = position; }
  void setDisplayOrder(int order) { displayOrder_ = order; }

private:
  QString positionName_;
  int position_ = -1;
  int displayOrder_ = -1;
};

// The positions of this build in the order they were added; every lookup scans in that order
// and the first match wins.
class QelPositionManager {
public:
  // The table from SMS/"positionOrder" (a dictionary name -> display order): without it "AT_PC"
  // (order 0) and "AT_SIM" (order 1). An unknown name is logged and kept with code 0. The
  // controller, the services and the folder tree all build their tables here.
  static QelPositionManager fromConfiguration(const QVariant &positionOrder);
  // The same from the shared configuration.
  static QelPositionManager fromSettings();

  void addQelpositionWithPositionName(const QString &name, int displayOrder, int position);
  const QList<QelPosition> &getAllPositions() const { return qelPositions_; }
  int positionCount() const { return int(qelPositions_.size()); }

  // The general lookup; keys "positoinName", "positoin" and "positoinoOrder". -1 for any other
  // pair of keys or no match.
  int getValueByKey(const QString &key, const QVariant &value, const QString &returnKey) const;
  int getPositionByPositionName(const QString &name) const;
  int getPositionByPositionOrder(int order) const;
  int getPositionOrderByPositon(int position) const;
  int getPositionOrderByPositonName(const QString &name) const;
  bool hasPosition(int position) const;

  // The code of a position name, -1 for a name that is none of the four.
  static int positionCodeOfName(const QString &name);

private:
  QList<QelPosition> qelPositions_;
};
