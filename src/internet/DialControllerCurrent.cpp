// The current profile of DialController: "ProfileID" and "DefaultProfileNum", choosing a
// profile, replacing the operator's presets, the APN cycle and the temporary MMS profile.
#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialController.h"
#include "DialControllerSupport.h"
#include "Plist.h"

#include <QComboBox>

using namespace dialsupport;

int DialController::readCurrentProfile() const {
  return SettingValue::toInt(const_cast<DialController *>(this)->settingDict().value(QStringLiteral("ProfileID")));
}

void DialController::writeCurrentProfile(int profile) {
  settingDict().insert(QStringLiteral("ProfileID"), profile);
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}

int DialController::readDefaultProfileNum() const {
  return SettingValue::toInt(
      const_cast<DialController *>(this)->settingDict().value(QStringLiteral("DefaultProfileNum")));
}

void DialController::writeDefaultProfileNum(int number) {
  settingDict().insert(QStringLiteral("DefaultProfileNum"), number);
  if (ConfigManager *config = ConfigManager::sharedConfigManager())
    config->writeToFile();
}

void DialController::setCurrentProfile() {
  writeCurrentProfile(m_IndexOfComboBoxSelectionNow - 1);
  setDialParams();
  displayAPNInfo();
  changeControlsPosForProfile();
}

void DialController::setDialConfig(int index) {
  dialConfigListSelectItemAtIndex(index + 1);
  reloadComboBox();
}

QString DialController::getAPNString() const {
  return currentProfile().value(QStringLiteral("apnName")).toString();
}

bool DialController::isDefaultAPN() const {
  return m_IndexOfComboBoxSelectionNow <= readDefaultProfileNum();
}

void DialController::ChangeAPNSelection(const Notification &) {
  const int item = m_IndexOfComboBoxSelectionNow;
  if (item == 1)
    dialConfigListSelectItemAtIndex(2);
  else if (item == 2 || item > readDefaultProfileNum())
    dialConfigListSelectItemAtIndex(1);
  comboBoxSelectionDidChange(m_IndexOfComboBoxSelectionNow);
}

void DialController::resetDialCfgListWithCfgArray(const QVariantList &profiles) {
  const int presets = readDefaultProfileNum();
  if (profiles.isEmpty() || presets > dialConfigArray.size() || presets < 0)
    return;
  dialConfigArray.erase(dialConfigArray.begin(), dialConfigArray.begin() + presets);
  // Each goes in at the head, so they stand in the reverse of the given order.
  for (const QVariant &profile : profiles)
    dialConfigArray.prepend(profile);
  writeDefaultProfileNum(int(profiles.size()));
  saveDialConfigFile();
  reloadTable();
  postTableSelectionChanged();
  reloadComboBox();
  dialConfigListSelectItemAtIndex(1);
  comboBoxSelectionDidChange(1);
}

// ---- APN cycle ----

void DialController::apnCycleStart() {
  if (!apnCycleEnabled_ || !switchOn(settingDict(), kInternet, QStringLiteral("apnCycle")))
    return;
  if (switchOn(settingDict(), kInternet, QStringLiteral("noApnCyleWhenCurrentIsUserApn")) && !isDefaultAPN())
    return;
  if (apnCycleRunning_)
    return;
  const int count = int(dialConfigArray.size());
  const int current = m_IndexOfComboBoxSelectionNow - 1;
  if (count == 0 || current < 0 || current >= count)
    return;
  const int total =
      std::min(SettingValue::toInt(moduleValue(settingDict(), kInternet, QStringLiteral("apnCycleTotal"))), count);
  QList<int> once;
  if (total > 0)
    once << current;
  for (int i = 0; once.size() < total && i < count; ++i)
    if (i != current)
      once << i;
  QList<int> list = once;
  const QVariant times = moduleValue(settingDict(), kInternet, QStringLiteral("apnCycleTimes"));
  if (times.isValid()) {
    list.clear();
    const int t = std::clamp(SettingValue::toInt(times), 0, 100);
    for (int i = 0; i < t; ++i)
      list << once;
  }
  apnCycleArray = list;
  apnCycleRunning_ = true;
  apnCycleCurrentAPN = 0;
  setCurrentProfile();
}

bool DialController::apnCycleTryNext() {
  if (!apnCycleRunning_)
    return false;
  ++apnCycleCurrentAPN;
  if (apnCycleCurrentAPN >= apnCycleArray.size())
    return false;
  dialConfigListSelectItemAtIndex(apnCycleArray.at(apnCycleCurrentAPN) + 1);
  setCurrentProfile();
  return true;
}

bool DialController::apnCycleLastTry() const {
  return !apnCycleRunning_ || apnCycleCurrentAPN >= apnCycleArray.size() - 1;
}

void DialController::apnCycleEnd() {
  apnCycleArray.clear();
  apnCycleRunning_ = false;
  apnCycleCurrentAPN = 0;
}

void DialController::setManualDisconnect(bool manual) {
  manualDisconnectFlag_ = manual;
  if (manual)
    apnCycleEnabled_ = true;
}

// ---- MMS profile ----

QVariantMap DialController::mmsAccount() const {
  ConfigManager *config = ConfigManager::sharedConfigManager();
  QVariantMap account;
  if (config)
    Plist::readDictionary(config->getFilePathWithFileName(QStringLiteral("config.plist")), &account);
  return account;
}

namespace {
QString textOrNull(const QVariantMap &map, const char *key) {
  const QVariant v = map.value(QLatin1String(key));
  return v.typeId() == QMetaType::QString ? v.toString() : QString();
}
} // namespace

QString DialController::MMSAccessPoint() const {
  return textOrNull(mmsAccount(), "APN");
}
QString DialController::MMSGatewayUsername() const {
  return textOrNull(mmsAccount(), "WapGateUserName");
}
QString DialController::MMSGatewayPassword() const {
  return textOrNull(mmsAccount(), "WapGatePassword");
}

void DialController::addMMSConfig() {
  if (flagAddMMSConfig_)
    removeMMSConfig();
  QVariantMap profile;
  profile.insert(QStringLiteral("provider"), word(QStringLiteral("MMS_SET")));
  const QString apn = MMSAccessPoint();
  // Without an APN the network chooses one: automatic mode and an empty APN.
  profile.insert(QStringLiteral("apnFlag"), apn.isEmpty() ? 0 : 1);
  profile.insert(QStringLiteral("apnName"), apn.isEmpty() ? QString("") : apn);
  const QString user = MMSGatewayUsername();
  const bool hasUser = !user.isEmpty();
  profile.insert(QStringLiteral("saveUsernameFlag"), hasUser ? 1 : 0);
  profile.insert(QStringLiteral("accountName"), hasUser ? user : QString(""));
  profile.insert(QStringLiteral("password"), hasUser ? MMSGatewayPassword() : QString(""));
  profile.insert(QStringLiteral("telNumber"), QStringLiteral("*99#"));
  profile.insert(QStringLiteral("dnsFlag"), 0);
  profile.insert(QStringLiteral("pdpFlag"), 0);
  profile.insert(QStringLiteral("pppFlag"), 0);
  profile.insert(kMMSProfileMark, true);
  mmsProfile_ = profile;
  dialConfigArray << profile;
  flagAddMMSConfig_ = true;
  nMMSconfigItem_ = int(dialConfigArray.size());
  reloadComboBox();
  reloadTable();
  dialConfigListSelectItemAtIndex(nMMSconfigItem_);
}

int DialController::IDMMSConfig() const {
  for (int i = 0; i < dialConfigArray.size(); ++i)
    if (dialConfigArray.at(i).toMap().contains(kMMSProfileMark))
      return i + 1;
  return 0;
}

void DialController::removeMMSConfig() {
  if (!flagAddMMSConfig_)
    return;
  // Found by its mark: profiles added or deleted since then move it.
  for (int i = int(dialConfigArray.size()) - 1; i >= 0; --i) {
    if (dialConfigArray.at(i).toMap().contains(kMMSProfileMark)) {
      if (m_IndexOfComboBoxSelectionNow == i + 1)
        dialConfigListSelectItemAtIndex(std::clamp(readCurrentProfile(), 0, int(dialConfigArray.size()) - 2) + 1);
      dialConfigArray.removeAt(i);
    }
  }
  flagAddMMSConfig_ = false;
  nMMSconfigItem_ = 0;
  mmsProfile_.clear();
  reloadComboBox();
  reloadTable();
}
