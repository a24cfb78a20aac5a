#pragma once

#include "Neighbourhood.h"
#include "PhonebookNeighbour.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QStringList>

// A phonebook that knows the names it is given and remembers what the call side asked of it. It
// takes the phonebook's place while it lives.
class FakePhonebook : public PhonebookNeighbour {
public:
  QMap<QString, QString> names;
  QList<QPair<QString, QString>> newContacts; // number, store
  QList<QWidget *> pickers;

  FakePhonebook() { Neighbourhood::setPhonebook(this); }
  ~FakePhonebook() override { Neighbourhood::leave(static_cast<PhonebookNeighbour *>(this)); }

  QString searchNameAtPhoneBook(const QString &number) override { return names.value(number, number); }
  bool hasPhoneNumber(const QString &number) override { return names.contains(number); }
  void toPbUserWinWithPhoneNumber(const QString &number, const QString &position) override {
    newContacts.append({number, position});
  }
  void showContactPickerForCall(QWidget *window) override { pickers.append(window); }
  void loadPcPhoneListByImsi(const QString &) override {}
  void reloadPCPhoneList() override {}
  void selectAtPCSide() override {}
  void setCurDefGrpName() override {}
  QString getDiagnosticsContact() const override { return {}; }
  void popupAlertOk(const QString &) override {}
};
