// SMSController: what the phonebook and the contact picker hand over.
#include "ConfigService.h"
#include "NotificationCenter.h"
#include "SMSController.h"
#include "SMSPage.h"
#include "SmsSendWindows.h"
#include "SmsService.h"
#include "WordGlobe.h"

#include <QLabel>
#include <QLineEdit>

void SMSController::loadSaveNumberBtnwithState(bool state) {
  saveNumberMenuItems_ = {Map_Name_Item_of_IndexString(QStringLiteral("SavePhone")),
                          Map_Name_Item_of_IndexString(QStringLiteral("PC"))};
  if (state) {
    saveNumberMenuItems_ << Map_Name_Item_of_IndexString(QStringLiteral("(U)SIM"));
    if (ConfigService::readBool(QString(), QStringLiteral("HasMePosition")))
      saveNumberMenuItems_ << Map_Name_Item_of_IndexString(QStringLiteral("Data Card"));
  }
  if (!page)
    return;
  const QSignalBlocker block(page->savePhonePopUp);
  page->savePhonePopUp->clear();
  page->savePhonePopUp->addItems(saveNumberMenuItems_);
}

QString SMSController::getMobilePhoneFromSelectedSMS() const {
  if (currentSMSRecord_.isEmpty())
    return QString();
  if (isPCDrafBoxMessage(currentSMSRecord_) ||
      (getCurrentBox() == DraftBox && !SmsService::isSimOrMeWithPosition(getCurrentPosition())))
    return currentSMSRecord_.value(QStringLiteral("mobilephone")).toString();
  return currentSMSRecord_.value(QStringLiteral("concatSmsInfo"))
      .toMap()
      .value(QStringLiteral("mobilephone"))
      .toString();
}

void SMSController::savePhoneNumber(const QString &chosenTitle) {
  QString store;
  for (const char *key : {"PC", "(U)SIM", "Data Card"})
    if (chosenTitle == Map_Name_Item_of_IndexString(QLatin1String(key)))
      store = QLatin1String(key);
  if (store.isEmpty())
    return;
  const QString number = getMobilePhoneFromSelectedSMS();
  lastSaveNumberRequest_ = {number, store};
  if (toPbUserWinWithPhoneNumber)
    toPbUserWinWithPhoneNumber(number, store);
}

void SMSController::call() {
  const QString number = getMobilePhoneFromSelectedSMS();
  // No chosen message, no number: nothing to dial.
  if (number.isEmpty() || !notificationCenter)
    return;
  notificationCenter->postNotificationName(QStringLiteral("makeCallWithPhoneNumber"), this,
                                           {{QStringLiteral("makeCallWithPhoneNumber"), number}});
}

void SMSController::setTheSearchFieldText(const QStringList &numbers) {
  recipientsFieldNumbers_ = numbers;
  if (numbers.isEmpty())
    return;
  SmsEditorWindow *editor = messageWindow();
  editor->sendMessageTo->setText(
      SmsRecipients::appendPicked(editor->sendMessageTo->text(), numbers, phoneSeparator().at(0)));
  controlTextDidChange();
  editor->sendMessageTo->setFocus();
}

void SMSController::toNewMsgWinWithPhoneNumbers(const QStringList &numbers, const QString &module) {
  newMessageNumbers_ = numbers;
  newMessageModule_ = module;
  SmsEditorWindow *editor = messageWindow();
  editor->textCount->clear();
  setStringForSMSEditor(QString());
  QString field;
  for (const QString &number : numbers)
    field += number + phoneSeparator();
  editor->sendMessageTo->setText(field);
  controlTextDidChange();
  editor->sendMessageTo->setFocus();
  openMessageWin();
  setDynamicControllersEnabledByKey(QStringLiteral("DrawerItems"), false);
}
