#pragma once

#include "PBTypes.h"
#include "QelServiceBase.h"

// The split of a contact into the records of a SIM or device-memory store by the store's number
// fields. Pure: the field flag and the limits are handed in (PBController hands its own).
class PhoneBookService : public QelServiceBase {
  Q_OBJECT
public:
  struct Limits {
    int number2 = 0, number3 = 0, email = 0;
  };

  static PhoneBookService *sharedPhoneBookService();

  // The number of number fields of a field flag (bits of number, number 2 and number 3).
  static int getSimFieldCount(int fieldFlag);
  // Adds the records for `source` to `array` by the number-field count k, `first` holding the
  // name and the mobile number already cut: k = 1 one record per number (mobile, home, office);
  // k = 2 `first` with the home number and the e-mail; k = 3 `first` with home, office and
  // e-mail; k = 0 nothing.
  static void changeContactAccordToPBFiledCount(const PBContactRecord &source, PBContactList &array,
                                                PBContactRecord first, int fieldCount, const Limits &limits,
                                                int numberLimit);
};
