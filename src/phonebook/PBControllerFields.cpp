// PBController: the contact dialog's fields: cutting while typing, the content, length and
// uniqueness checks, and the group-name check.
#include "ConfigService.h"
#include "PBAlphaId.h"
#include "PBController.h"
#include "QELAlertPanel.h"
#include "RegexMatch.h"
#include "WordGlobe.h"

namespace {
const QString kPhoneBook = QStringLiteral("PhoneBook");
const QString kEdgeBlank = QStringLiteral("(^\\s)|(\\s$)");
// An optional leading plus, then digits, "|", "*" and "#".
const QString kNumberPattern = QStringLiteral("^[\\+]?[0-9|\\*#]*$");

int configuredLength(const char *key) {
  return ConfigService::readInt(kPhoneBook, QLatin1String(key));
}
} // namespace

// ---- cutting while typing ----

QString PBController::limitTextFieldLength(const QString &key, const QString &text) const {
  const int store = dialogStore_;
  auto pick = [store](int pc, int sim, int me) { return store == kSaveInSIM ? sim : store == kSaveInME ? me : pc; };
  if (key == PBKey::kUserName) {
    const int configured = configuredLength("PhoneBook_UserNameLen");
    const int limit = configured != 0 ? configured : pick(pcNameMaxLen_, simNameMaxLen_, meNameMaxLen_);
    return limit > 0 ? PBAlphaId::reSetNameStrWithInputName(text, limit) : text;
  }
  int configured = 0, limit = 0;
  if (key == PBKey::kMobilePhone) {
    configured = configuredLength("PhoneBook_UserMobilePhoneLen");
    limit = pick(pcNumberMaxLen_, simNumberMaxLen_, meNumberMaxLen_);
  } else if (key == PBKey::kHomePhone) {
    configured = configuredLength("PhoneBook_UserHomePhoneLen");
    limit = pick(pcNumberMaxLen_, simNumber2MaxLen_, meNumber2MaxLen_);
  } else if (key == PBKey::kOfficePhone) {
    configured = configuredLength("PhoneBook_UserOfficePhoneLen");
    limit = pick(pcNumberMaxLen_, simNumber3MaxLen_, meNumber3MaxLen_);
  } else if (key == PBKey::kEmail) {
    configured = configuredLength("PhoneBook_UserEmailLen");
    limit = pick(pcEmailMaxLen_, simMailMaxLen_, meMailMaxLen_);
  } else {
    return text;
  }
  // A configured length is a minimum checked at OK, so the field is not cut then.
  if (configured != 0)
    return text;
  return deleteExtraContent(text, limit);
}

// ---- content checks ----

bool PBController::checkTextFieldContent(const PBContactRecord &fields, QString *failedField) {
  auto fail = [&](const QString &key, const char *message) {
    if (failedField)
      *failedField = key;
    popupAlertOk(QLatin1String(message));
    return false;
  };
  const QString name = fields.value(PBKey::kUserName).toString();
  if (name.isEmpty())
    return fail(PBKey::kUserName, "The name should not be null!");
  if (RegexMatch::isMatchedByRegex(name, kEdgeBlank))
    return fail(PBKey::kUserName, "The item contains invalid charactor(s)!");
  const QString mobile = fields.value(PBKey::kMobilePhone).toString();
  if (mobile.isEmpty())
    return fail(PBKey::kMobilePhone, "The mobilephone should not be null!");
  for (const QString &key : {PBKey::kMobilePhone, PBKey::kHomePhone, PBKey::kOfficePhone}) {
    const QString number = fields.value(key).toString();
    if (!number.isEmpty() && !RegexMatch::isMatchedByRegex(number, kNumberPattern))
      return fail(key, "The item contains invalid charactor(s)!");
  }
  const QString email = fields.value(PBKey::kEmail).toString();
  if (!email.isEmpty() && !RegexMatch::isMatchedByRegex(email, QStringLiteral("@")))
    return fail(PBKey::kEmail, "Mail address should contain '@'!");
  return true;
}

bool PBController::validTextFieldContent(const PBContactRecord &fields, QString *failedField) {
  if (!checkTextFieldContent(fields, failedField))
    return false;
  if (m_contactNameUniqueCheckingEnabled && !newContactNameIsUnique(fields.value(PBKey::kUserName).toString())) {
    popupAlertOk(QStringLiteral("The name is already exist !"));
    return false;
  }
  if (!isContactNameAndNumberUnique_ && !notAllowSameRecordInOneGroup_)
    return true;
  if (newContactNameAndNumberIsUnique(fields.value(PBKey::kUserName).toString(),
                                      fields.value(PBKey::kMobilePhone).toString()))
    return true;
  popupAlertOk(QStringLiteral("You have saved same Name/MobilePhone before!"));
  return false;
}

bool PBController::checkTextFieldLength(const PBContactRecord &fields) {
  const std::tuple<QString, const char *, const char *> checks[] = {
      {PBKey::kMobilePhone, "PhoneBook_UserMobilePhoneLen", "MobilePhone Number is less than %d"},
      {PBKey::kHomePhone, "PhoneBook_UserHomePhoneLen", "HomePhone Number is less than %d !"},
      {PBKey::kOfficePhone, "PhoneBook_UserOfficePhoneLen", "OfficePhone Number is less than %d"},
      {PBKey::kEmail, "PhoneBook_UserEmailLen", "eMail length is less than %d"}};
  for (const auto &[key, config, message] : checks) {
    const QString value = fields.value(key).toString();
    const int minimum = configuredLength(config);
    if (!value.isEmpty() && value.size() < minimum) {
      QString text = Map_Name_Item_of_IndexString(QLatin1String(message));
      text.replace(QLatin1String("%d"), QString::number(minimum));
      NSRunAlertPanelExt(Map_Name_Item_of_IndexString(QStringLiteral("Warning!")), text,
                         Map_Name_Item_of_IndexString(QStringLiteral("OK")));
      return false;
    }
  }
  return true;
}

bool PBController::checkGroupName(const QString &name, int row) {
  if (name.isEmpty()) {
    popupAlertOk(QStringLiteral("The item should not be null!"));
    return false;
  }
  if (name.toUtf8().size() > pcNameMaxLen_) {
    popupAlertOk(QStringLiteral("The groupname is too long!"));
    return false;
  }
  if (RegexMatch::isMatchedByRegex(name, kEdgeBlank)) {
    popupAlertOk(QStringLiteral("The item contains invalid charactor(s)!"));
    return false;
  }
  if (!checktNewGroupItem(name, row)) {
    popupAlertOk(QStringLiteral("The groupname has existed!"));
    return false;
  }
  return true;
}

// ---- uniqueness ----

PBContactRecord PBController::getContactByName(const QString &name, const PBContactList &list) {
  for (const QVariant &v : list) {
    const PBContactRecord r = v.toMap();
    if (r.value(PBKey::kUserName).toString() == name)
      return r;
  }
  return {};
}

PBContactRecord PBController::getContactByName(const QString &name, const QString &number, const PBContactList &list) {
  for (const QVariant &v : list) {
    const PBContactRecord r = v.toMap();
    if (r.value(PBKey::kUserName).toString() == name && r.value(PBKey::kMobilePhone).toString() == number)
      return r;
  }
  return {};
}

bool PBController::newContactNameIsUnique(const QString &name) const {
  switch (dialogStore_) {
  case kSaveInPC:
    return !contactNameExistInPC(name);
  case kSaveInSIM:
    return !contactNameExistInSIM(name);
  case kSaveInME:
    return !contactNameExistInME(name);
  default:
    return true;
  }
}

bool PBController::contactNameExistInPC(const QString &name) const {
  for (const QVariant &g : m_PcPhoneList) {
    PBContactList group = g.toList();
    if (!group.isEmpty())
      group.removeFirst();
    const PBContactRecord r = getContactByName(name, group);
    if (!r.isEmpty())
      return !(phonebookOperate_ == kPBOperationEdit && r == m_PcContact);
  }
  return false;
}

bool PBController::contactNameExistInSIM(const QString &name) const {
  const PBContactRecord r = getContactByName(name, m_SimPhoneList);
  return !r.isEmpty() && !(phonebookOperate_ == kPBOperationEdit && r == m_SimContact);
}

bool PBController::contactNameExistInME(const QString &name) const {
  const PBContactRecord r = getContactByName(name, m_MePhoneList);
  return !r.isEmpty() && !(phonebookOperate_ == kPBOperationEdit && r == m_MeContact);
}

bool PBController::newContactNameAndNumberIsUnique(const QString &name, const QString &number) const {
  if (name.isEmpty() || number.isEmpty())
    return true;
  switch (dialogStore_) {
  case kSaveInPC:
    return !contactNameExistInPC(name, number);
  case kSaveInSIM:
    return !contactNameExistInSIM(name, number);
  case kSaveInME:
    return !contactNameExistInME(name, number);
  default:
    return true;
  }
}

bool PBController::contactNameExistInPC(const QString &name, const QString &number) const {
  for (int g = 0; g < m_PcPhoneList.size(); ++g) {
    PBContactList group = m_PcPhoneList.at(g).toList();
    if (!group.isEmpty())
      group.removeFirst();
    if (sameContactExistInPC(getContactByName(name, number, group), g, dialogGroupIndex()))
      return true;
  }
  return false;
}

bool PBController::contactNameExistInSIM(const QString &name, const QString &number) const {
  return sameContactExistInSIM(getContactByName(name, number, m_SimPhoneList));
}

bool PBController::contactNameExistInME(const QString &name, const QString &number) const {
  return sameContactExistInME(getContactByName(name, number, m_MePhoneList));
}

bool PBController::sameContactExistInPC(const PBContactRecord &record, int groupIndex, int destGroupIndex) const {
  if (record.isEmpty())
    return false;
  if (phonebookOperate_ == kPBOperationEdit && record == m_PcContact)
    return false;
  if (phonebookOperate_ != kPBOperationAdd && phonebookOperate_ != kPBOperationCopy &&
      phonebookOperate_ != kPBOperationEdit)
    return true;
  if (isContactNameAndNumberUnique_)
    return true;
  return groupIndex == destGroupIndex || !notAllowSameRecordInOneGroup_;
}

bool PBController::sameContactExistInSIM(const PBContactRecord &record) const {
  return !record.isEmpty() && !(phonebookOperate_ == kPBOperationEdit && record == m_SimContact);
}

bool PBController::sameContactExistInME(const PBContactRecord &record) const {
  return !record.isEmpty() && !(phonebookOperate_ == kPBOperationEdit && record == m_MeContact);
}

int PBController::dialogGroupIndex() const {
  return dialogGroup_ >= 0 ? dialogGroup_ : m_CurGroupIndex;
}
