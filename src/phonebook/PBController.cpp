#include "PBController.h"

#include "ConfigManager.h"
#include "ConfigService.h"
#include "Neighbourhood.h"
#include "NotificationTables.h"
#include "PBNameSort.h"
#include "QELAlertPanel.h"
#include "WordGlobe.h"

PBController *g_PBController = nullptr;

namespace {
const QString kPhoneBook = QStringLiteral("PhoneBook");
} // namespace

PBController::PBController(QObject *parent) : QELUIController(parent) {
  g_PBController = this;
  Neighbourhood::setPhonebook(this);
  readSettings();
}

PBController::~PBController() {
  if (g_PBController == this)
    g_PBController = nullptr;
  Neighbourhood::leave(static_cast<PhonebookNeighbour *>(this));
}

bool PBController::setting(const char *key) const {
  return ConfigService::readBool(kPhoneBook, QLatin1String(key));
}

void PBController::readSettings() {
  const QVariant max = ConfigService::readValue(kPhoneBook, QStringLiteral("PCContactsMaxCount"));
  pcUserMaxCount_ = max.isValid() ? max.toInt() : 1000;
  if (pcUserMaxCount_ < 100 || pcUserMaxCount_ > 10000)
    pcUserMaxCount_ = 1000;
  const QVariant threshold = ConfigService::readValue(kPhoneBook, QStringLiteral("PhoneNumberMatchThreshold"));
  m_threshold = threshold.isValid() ? std::clamp(threshold.toInt(), 1, 12) : 8;
  isAddDefGroupName_ = setting("AddDefGrpWhileInit");
  notAddCountWhenSameRecord_ = setting("NotAddCountWhenSameRecord");
  m_prefixMatchModeEnabled = setting("PrefixMatchModeEnabled");
  m_contactNameUniqueCheckingEnabled = setting("ContactNameUniqueCheckingEnabled");
  caseSensitiveSearch_ = setting("PhoneBook_caseSensitive_WhenSearch");
  isShowTCard_ = setting("IsShowTCard");
  defaultSelectMemory_ = ConfigService::readInt(kPhoneBook, QStringLiteral("defaultSelectMemory"));
  hasMePosition_ = ConfigService::readBool(QString(), QStringLiteral("HasMePosition"));
  pcChanged();
  simChanged();
}

void PBController::setPcFieldLengths(int name, int number, int email) {
  pcNameMaxLen_ = name;
  pcNumberMaxLen_ = number;
  pcEmailMaxLen_ = email;
}

void PBController::registerMessages() {
  static const NotificationPair kDeviceFunctionTable[] = {
      {"notifyDeviceUnlockSuccess:", kDeviceUnlockSuccess},
      {"notifyDeviceUnlockFailed:", kDeviceUnlockFailed},
      {nullptr, nullptr},
  };
  registerNotification(kDeviceFunctionTable);
  registerPlugInRequests();
  if (!qelMsgCenter)
    return;
  using namespace PBModemBlocks;
  qelMsgCenter->registerObserver(this, "phonebookInitFinished", kReadResultMajor, kReadResultMinor);
  qelMsgCenter->registerObserver(this, "phonebookWriteResult", kWriteMajor, kWriteMinor);
  qelMsgCenter->registerObserver(this, "modemStorageChanged", kSwitchMajor, kSwitchMinor);
}

void PBController::initializeController() {
  readConfigurations();
  initSimVariables();
  initMeVariables();
  initPhonebookUpdatedRule();
  loadPcPhoneList(kCMPhoneBookFile);
  setCurDefGrpName();
  selectAtPCSide();
  SetMutexButton(false, false, false);
  buttonControl(true, false, false, true, false, false);
  controls_.progressVisible = false;
  sumOperationNumbers_ = alreadyOperationNumbers_ = 0;
}

void PBController::sortList(PBContactList &list) const {
  PBNameSort::sortByUserName(list);
}
