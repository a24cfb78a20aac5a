// The user registration by SMS of MainController: the sheet at launch, its checks, the stored
// texts and the three messages sent 5 s apart, again at SIM ready after a failed run.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "MainController.h"
#include "MessagesNeighbour.h"
#include "Neighbourhood.h"
#include "PhonebookNeighbour.h"
#include "TextWidth.h"
#include "UserRegistrationChecks.h"
#include "UserRegistrationSheet.h"
#include "WordGlobe.h"

#include <QDate>

namespace {
int g_userInfoSendDelayMs = 5000;
constexpr int kUserInfoFieldWidth = 10;
const QString kMain = QStringLiteral("Main");

QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

QVariant mainKey(const char *key) {
  return ConfigService::readValue(kMain, QLatin1String(key));
}

bool mainBool(const char *key) {
  return ConfigService::readBool(kMain, QLatin1String(key));
}

void storeMain(const QString &key, const QVariant &value) {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  if (!config)
    return;
  if (!config->setConfigurationByModuleKeyAndValue(kMain, key, value))
    config->setConfigurationByModule(kMain, QVariantMap{{key, value}});
}

void writeSettings() {
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}

void popupAlertOk(const QString &key) {
  if (PhonebookNeighbour *phonebook = Neighbourhood::phonebook())
    phonebook->popupAlertOk(key);
}
} // namespace

void MainController::setUserInfoSendDelayMs(int ms) {
  g_userInfoSendDelayMs = ms;
}

bool MainController::userRegistrationWanted() {
  if (!mainBool("Main_RegisteUserInfo_IfNeeded") || mainBool("Main_SendUserInfoOK"))
    return false;
  const QVariant to = mainKey("Main_sendUserInfoToNumber_IfNeeded");
  if (to.typeId() != QMetaType::QString || to.toString().isEmpty())
    return false;
  sendUserInfoto_ = to.toString();
  return true;
}

UserRegistrationSheet *MainController::userRegisteWnd() {
  if (wndUserRegiste_)
    return wndUserRegiste_;
  auto *s = new UserRegistrationSheet(mainWindow);
  wndUserRegiste_ = s;
  connect(s->btnSendUserInfo_, &QPushButton::clicked, this,
          [this, s] { clickOKofUserRegisteWnd(s->btnSendUserInfo_); });
  connect(s->btnExitUserInfo_, &QPushButton::clicked, this, [this, s] { clickOKofUserExitWnd(s->btnExitUserInfo_); });
  connect(s->btnCalendarUserInfo_, &QPushButton::clicked, this,
          [this, s] { openCalendarWnd(s->btnCalendarUserInfo_); });
  connect(s->DateCalendar_, &QCalendarWidget::clicked, this, [this, s] { setCalendarDateTime(s->DateCalendar_); });
  for (QLineEdit *field : {s->tfdEmail_, s->tfdContact_, s->tfdDob_})
    connect(field, &QLineEdit::textEdited, this, [this, field] { limitTextFiledLength(field); });
  // Escape closes as the exit button does: nothing stored, the sheet comes back next launch.
  connect(s, &QDialog::rejected, this, [this] { clickOKofUserExitWnd(nullptr); });
  wordUserRegisteWnd();
  return s;
}

void MainController::wordUserRegisteWnd() {
  if (!wndUserRegiste_)
    return;
  UserRegistrationSheet *s = wndUserRegiste_;
  s->setWindowTitle(word(QStringLiteral("User Registration")));
  s->prompt->setText(word(QStringLiteral("Please input your information for registration:")));
  s->labelEmail->setText(word(QStringLiteral("Email:")));
  s->labelContact->setText(word(QStringLiteral("Contact:")));
  s->labelDob->setText(word(QStringLiteral("Date of birth:")));
  s->tfdDob_->setPlaceholderText(UserRegistrationChecks::kDobPlaceholder);
  s->btnSendUserInfo_->setText(word(QStringLiteral("Send")));
  s->btnExitUserInfo_->setText(word(QStringLiteral("Exit")));
}

void MainController::openUserRegisteWndIfNeedRegiste() {
  if (!userRegistrationWanted() || !mainBool("Main_FirstTimeSendUserInfo"))
    return;
  UserRegistrationSheet *s = userRegisteWnd();
  if (s->isVisible())
    return;
  s->open();
  s->raise();
  s->tfdEmail_->setFocus();
}

void MainController::limitTextFiledLength(QLineEdit *field) {
  if (!field || !wndUserRegiste_ || (field != wndUserRegiste_->tfdContact_ && field != wndUserRegiste_->tfdDob_))
    return;
  const QString cut = deleteExtraContent(field->text(), kUserInfoFieldWidth);
  if (cut != field->text())
    field->setText(cut);
}

void MainController::openCalendarWnd(QObject *) {
  QCalendarWidget *calendar = userRegisteWnd()->DateCalendar_;
  calendar->setHidden(calendar->isVisible());
  userRegisteWnd()->adjustSize();
}

void MainController::setCalendarDateTime(QObject *) {
  UserRegistrationSheet *s = userRegisteWnd();
  s->tfdDob_->setText(s->DateCalendar_->selectedDate().toString(QStringLiteral("dd/MM/yyyy")));
}

bool MainController::checkEmailValidity(const QString &email) {
  const QString failure = UserRegistrationChecks::checkEmailValidity(email);
  if (failure.isNull())
    return true;
  popupAlertOk(failure);
  return false;
}

bool MainController::checkContactValidity(const QString &contact) {
  const QString failure = UserRegistrationChecks::checkContactValidity(contact);
  if (failure.isNull())
    return true;
  popupAlertOk(failure);
  return false;
}

bool MainController::checkDobValidity(const QString &dob) {
  const QString failure = UserRegistrationChecks::checkDobValidity(dob);
  if (failure.isNull())
    return true;
  popupAlertOk(failure);
  return false;
}

bool MainController::checKUserInfoValidity() {
  UserRegistrationSheet *s = userRegisteWnd();
  if (!checkEmailValidity(s->tfdEmail_->text())) {
    s->tfdEmail_->setFocus();
    return false;
  }
  if (!checkContactValidity(s->tfdContact_->text())) {
    s->tfdContact_->setFocus();
    return false;
  }
  if (!checkDobValidity(s->tfdDob_->text())) {
    if (!s->tfdDob_->text().isEmpty())
      s->tfdDob_->setText(UserRegistrationChecks::kDobPlaceholder);
    s->tfdDob_->setFocus();
    return false;
  }
  return true;
}

void MainController::getUserInfoFromTextField() {
  UserRegistrationSheet *s = userRegisteWnd();
  userRegisteInfoArray_ = {QStringLiteral("Email ") + s->tfdEmail_->text().trimmed(),
                           QStringLiteral("Contact ") + s->tfdContact_->text(),
                           QStringLiteral("DOB ") + s->tfdDob_->text()};
}

void MainController::saveUserInfoIntoFile() {
  if (userRegisteInfoArray_.size() != 3)
    return;
  storeMain(QStringLiteral("Main_UserMailInfo"), userRegisteInfoArray_.at(0));
  storeMain(QStringLiteral("Main_UserContactInfo"), userRegisteInfoArray_.at(1));
  storeMain(QStringLiteral("Main_UserDOBInfo"), userRegisteInfoArray_.at(2));
  writeSettings();
}

bool MainController::readUserInfoFromFile() {
  const QVariant mail = mainKey("Main_UserMailInfo");
  const QVariant contact = mainKey("Main_UserContactInfo");
  const QVariant dob = mainKey("Main_UserDOBInfo");
  // This run's three texts and nothing else: never what an earlier run left behind.
  userRegisteInfoArray_.clear();
  if (mail.typeId() != QMetaType::QString || contact.typeId() != QMetaType::QString ||
      dob.typeId() != QMetaType::QString)
    return false;
  userRegisteInfoArray_ = {mail.toString(), contact.toString(), dob.toString()};
  return true;
}

void MainController::clickOKofUserRegisteWnd(QObject *) {
  if (isSendingUserInfo_ || !checKUserInfoValidity())
    return;
  getUserInfoFromTextField();
  saveUserInfoIntoFile();
  {
    const QSignalBlocker quiet(wndUserRegiste_.data());
    wndUserRegiste_->done(QDialog::Accepted);
  }
  startUserInfoSending();
  storeMain(QStringLiteral("Main_FirstTimeSendUserInfo"), false);
  writeSettings();
}

void MainController::clickOKofUserExitWnd(QObject *) {
  if (!wndUserRegiste_ || !wndUserRegiste_->isVisible())
    return;
  const QSignalBlocker quiet(wndUserRegiste_.data());
  wndUserRegiste_->done(QDialog::Rejected);
}

void MainController::startUserInfoSending() {
  auto *sms = Neighbourhood::messages();
  if (sms)
    sms->setUnshowInfoWndWhenSendSmsByFlag(true);
  isSendingUserInfo_ = true;
  if (sms)
    sms->setSendSMSBtnStatWhenSendUserInfo(false);
  sendUserEmailInfo();
}

void MainController::sendUserInfoText(int index) {
  if (index >= userRegisteInfoArray_.size())
    return;
  auto *sms = Neighbourhood::messages();
  const bool sent = sms && sms->sendSmsTo(sendUserInfoto_, userRegisteInfoArray_.at(index), false, true, false);
  // A message that never went out has no result to wait for: it counts as failed now, so the
  // run ends and the registration is sent again at the next SIM ready.
  if (!sent && sms)
    sms->saveEveryUserInfoSmsSendResult();
  else if (!sms)
    isSendingUserInfo_ = false;
}

void MainController::sendUserEmailInfo() {
  sendUserInfoText(0);
  userInfoChainStep_ = 1;
  userInfoTimer_.start(g_userInfoSendDelayMs);
}

void MainController::sendUserContact() {
  sendUserInfoText(1);
  userInfoChainStep_ = 2;
  userInfoTimer_.start(g_userInfoSendDelayMs);
}

void MainController::sendUSerODB() {
  sendUserInfoText(2);
  userInfoChainStep_ = 0;
}

void MainController::continueUserInfoChain() {
  if (userInfoChainStep_ == 1)
    sendUserContact();
  else if (userInfoChainStep_ == 2)
    sendUSerODB();
}

void MainController::sendUserInfoIfNeededAndSendFailedBefore() {
  // One chain at a time: a SIM ready while the messages go out changes nothing.
  if (isSendingUserInfo_ || userInfoTimer_.isActive())
    return;
  if (!userRegistrationWanted() || mainBool("Main_FirstTimeSendUserInfo"))
    return;
  if (!readUserInfoFromFile())
    return;
  startUserInfoSending();
}
