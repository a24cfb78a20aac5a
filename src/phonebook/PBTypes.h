#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

// A contact as every store, the picker, the SMS and call pages and the plug-in exchange it: a
// dictionary of texts (numbers are text) whose keys are below. A key is absent when the field is
// empty unless an operation stores empty text.
using PBContactRecord = QVariantMap;
using PBContactList = QVariantList;

namespace PBKey {
inline const QString kUserName = QStringLiteral("username");
inline const QString kMobilePhone = QStringLiteral("mobilephone");
inline const QString kHomePhone = QStringLiteral("homephone");
inline const QString kOfficePhone = QStringLiteral("officephone");
inline const QString kEmail = QStringLiteral("email");
inline const QString kRemark = QStringLiteral("remark");
inline const QString kGroupName = QStringLiteral("groupname");
inline const QString kIndex = QStringLiteral("index");
inline const QString kSavePos = QStringLiteral("savepos");
inline const QString kListIndex = QStringLiteral("listindex");
inline const QString kFileNameNumber = QStringLiteral("fileNameNumber");
inline const QString kReservedGroup = QStringLiteral("bRes");
} // namespace PBKey

// Store tags of the merged list.
namespace PBTag {
inline const QString kPC = QStringLiteral("SAVEINPC");
inline const QString kSIM = QStringLiteral("SAVEINSIM");
inline const QString kME = QStringLiteral("SAVEINME");
inline const QString kTCard = QStringLiteral("SAVEINTCARD");
} // namespace PBTag

// The store choices of the store selector.
enum PBSavePosition : int { kSaveInPC = 0, kSaveInSIM = 1, kSaveInME = 2, kSaveInTCard = 3 };

// The backend's memory codes; code 3 is only used by the merged list for the memory card.
enum PBModemStorage : int { kStorageME = 1, kStorageSIM = 2, kStorageTCard = 3 };

// The phonebook operation in progress; it decides what each backend answer does.
enum PBOperation : int {
  kPBOperationNone = 0,
  kPBOperationSaveNumber = 1,
  kPBOperationSwitchStore = 2,
  kPBOperationAdd = 3,
  kPBOperationEdit = 4,
  kPBOperationPlugInDelete = 5,
  kPBOperationCopy = 6,
  kPBOperationMove = 7,
  kPBOperationUpdateNumbers = 8,
  kPBOperationRestore = 9,
};

// Bits of the contact-field flag: a store has a field when its limit is above 0.
enum PBContactField : int {
  kFieldName = 1,
  kFieldNumber = 2,
  kFieldNumber2 = 4,
  kFieldNumber3 = 8,
  kFieldEmail = 16,
};
