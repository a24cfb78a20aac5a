#pragma once

#include "QelPosition.h"
#include "QelServiceBase.h"

#include <QHash>
#include <QVariantList>
#include <functional>

// Loads the boxes of any SMS list file into lists the caller owns, with display names, and
// counts SIM use in stored parts.
class SmsServiceTransplant : public QelServiceBase {
  Q_OBJECT
public:
  static SmsServiceTransplant *sharedSmsServiceTransplant();

  explicit SmsServiceTransplant(QObject *parent = nullptr);

  // The caller's lists, keyed by box key string ("InBox", ...).
  using BoxLists = QHash<QString, QVariantList>;

  static int getBoxWithBoxStr(const QString &name) { return SmsBoxTables::getBoxWithBoxStr(name); }
  void qelPositionManagerInit() { qelPositionManager_ = QelPositionManager::fromSettings(); }
  const QelPositionManager &qelPositionManager() const { return qelPositionManager_; }
  static bool isSimOrMeWithPosition(int position) { return position == AT_SIM || position == AT_ME; }

  // Position 1 or 4 fills InBox, OutBox and DraftBox with names; 0 the five PC boxes as stored;
  // another position leaves the lists alone. False for no lists or an empty path.
  bool loadSMSList(BoxLists *lists, int position, const QString &path) const;
  bool getPCSMSList(BoxLists *lists, const QString &path) const;
  bool getSimOrMeSMSList(BoxLists *lists, const QString &path) const;
  // The file's array of box 0, 1, 2, 4 or 5; empty for others, no path or no file.
  static QVariantList getSMSListWithBox(int box, const QString &path);
  void loadBoxInSIMListWithInBox(QVariantList *inBox, QVariantList *outBox, QVariantList *draftBox);
  // Appends the source records with their display name and "index" to the target.
  void addUserNameToSMSList(QVariantList *target, const QVariantList &source) const;
  int smsUsedSpaceInSIM() const;
  static int smsNumberInSIMBox(const QVariantList &box);
  static bool shouldShowHyperlinkWhitPhoneNumber(const QString &number);

  // The phonebook's name for a number; without a phonebook, the number itself.
  void setNameLookup(std::function<QString(const QString &)> lookup) { nameLookup_ = std::move(lookup); }

private:
  QelPositionManager qelPositionManager_;
  QVariantList simInBoxList_, simOutBoxList_, simDraftBoxList_;
  std::function<QString(const QString &)> nameLookup_;
};
