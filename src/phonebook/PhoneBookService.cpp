#include "PhoneBookService.h"

#include "PBController.h"

PhoneBookService *PhoneBookService::sharedPhoneBookService() {
  static PhoneBookService service;
  return &service;
}

int PhoneBookService::getSimFieldCount(int fieldFlag) {
  int count = 0;
  for (int bit : {kFieldNumber, kFieldNumber2, kFieldNumber3})
    if (fieldFlag & bit)
      ++count;
  return count;
}

void PhoneBookService::changeContactAccordToPBFiledCount(const PBContactRecord &source, PBContactList &array,
                                                         PBContactRecord first, int fieldCount, const Limits &limits,
                                                         int numberLimit) {
  auto cut = [](const PBContactRecord &r, const QString &key, int limit) {
    return PBController::deleteExtraContent(r.value(key).toString(), limit);
  };
  const QString name = first.value(PBKey::kUserName).toString();
  switch (fieldCount) {
  case 1:
    for (const QString &key : {PBKey::kMobilePhone, PBKey::kHomePhone, PBKey::kOfficePhone}) {
      const QString number = cut(source, key, numberLimit);
      if (!name.isEmpty() && !number.isEmpty())
        array.append(PBContactRecord{{PBKey::kUserName, name}, {PBKey::kMobilePhone, number}});
    }
    break;
  case 2:
    first.insert(PBKey::kHomePhone, cut(source, PBKey::kHomePhone, limits.number2));
    first.insert(PBKey::kEmail, cut(source, PBKey::kEmail, limits.email));
    array.append(first);
    break;
  case 3:
    first.insert(PBKey::kHomePhone, cut(source, PBKey::kHomePhone, limits.number2));
    first.insert(PBKey::kOfficePhone, cut(source, PBKey::kOfficePhone, limits.number3));
    first.insert(PBKey::kEmail, cut(source, PBKey::kEmail, limits.email));
    array.append(first);
    break;
  default:
    break;
  }
}
