// PBController: the store tree kept in step with the PC groups and the SIM, the call button's
// number menu, messages to a whole group, and numbers saved from the SMS page.
#include "ConfigService.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "NotificationTables.h"
#include "PBController.h"
#include "PBSource.h"

void PBController::initialNodeOfPc() {
  if (!source_)
    return;
  QStringList names;
  for (int g = 0; g < sumOfGroupInPC(); ++g)
    names << getPCUserByIndex(g, -1).value(PBKey::kGroupName).toString();
  source_->rebuildGroupNodes(names);
}

void PBController::addGroupNodeWithGroupName(const QString &name) {
  if (source_)
    source_->addGroupNodeWithGroupName(name);
}

void PBController::deleteSeletedGroupNode() {
  if (source_)
    source_->deleteSeletedGroupNode();
}

void PBController::createNodeOfSimWhenSimCardvalid() {
  if (source_)
    source_->createNodeOfSim();
}

void PBController::deleteNodeOfSimWhenSimCardInvalid() {
  if (source_)
    source_->deleteNodeOfSim();
}

void PBController::setCallButtonPopMenu() {
  if (!controls_.call)
    return;
  controls_.callMenu.clear();
  PBContactRecord record;
  if (lastSelectSavePos_ == kSaveInPC)
    record = m_PcContact;
  else if (lastSelectSavePos_ == kSaveInSIM)
    record = PBContactRecord{{PBKey::kMobilePhone, m_SimContact.value(PBKey::kMobilePhone)}};
  const std::pair<QString, const char *> items[] = {{PBKey::kMobilePhone, "Mobile Number:"},
                                                    {PBKey::kOfficePhone, "Office Number:"},
                                                    {PBKey::kHomePhone, "Home Number:"}};
  for (const auto &[key, title] : items) {
    const QString number = record.value(key).toString();
    if (!number.isEmpty())
      controls_.callMenu << QLatin1String(title) + number;
  }
  controlsChanged();
}

void PBController::clickMenuItemToCall(const QString &title) {
  const qsizetype colon = title.indexOf(QLatin1Char(':'));
  if (colon < 0)
    return;
  const QString number = title.mid(colon + 1);
  const QString special = ConfigService::readValue(QStringLiteral("Call"),
                                                   QStringLiteral("Call_SpecialPhoneNumberNeedDisplayInTheInputBox"))
                              .toString();
  if (!special.isEmpty() && special == number) {
    notificationCenter->postNotificationName(QStringLiteral("SpecialPhoneNumber"), nullptr,
                                             {{QLatin1String(kCallWithPhoneNumber), number}});
    notifyChangeTabViewItem(QStringLiteral("Call"));
    return;
  }
  notificationCenter->postNotificationName(QLatin1String(kCallWithPhoneNumber), this,
                                           {{QLatin1String(kCallWithPhoneNumber), number}});
}

PBContactList PBController::getContactsFromPC() const {
  PBContactList all;
  for (const QVariant &g : m_PcPhoneList)
    all.append(g.toList().mid(1));
  return all;
}

QStringList PBController::getPhoneNumbersInOneGroup() const {
  PBContactList list;
  const PBSource::NodeKind kind = source_ ? source_->kindOf(source_->selectedNode()) : PBSource::kGroupNode;
  if (kind == PBSource::kSimNode)
    list = m_SimPhoneList;
  else if (kind == PBSource::kPcNode)
    list = getContactsFromPC();
  else
    list = currentGroup().mid(1);
  QStringList numbers;
  for (const QVariant &v : list) {
    const QString number = v.toMap().value(PBKey::kMobilePhone).toString();
    if (!number.isEmpty())
      numbers << number;
  }
  return numbers;
}

void PBController::sendSMSToOneGroup() {
  const QStringList numbers = getPhoneNumbersInOneGroup();
  if (auto *sms = Neighbourhood::messages())
    sms->toNewMsgWinWithPhoneNumbers(numbers, QStringLiteral("PhoneBook"));
  notifyChangeTabViewItem(QStringLiteral("SMS"));
}

void PBController::clickSavePhoneNumber(int savePos) {
  if (savePos == kSaveInPC || savePos == kSaveInSIM) {
    page().showStore(savePos);
    selectSavePos(savePos);
  }
  notifyChangeTabViewItem(QStringLiteral("Phonebook"));
  savePhoneNumberFromSMS_ = true;
  if (newUser())
    page().openContactDialog(true);
}
