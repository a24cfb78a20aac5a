// The codec settings read from the live configuration store; the pure adapters are in core/.
#include "SmsCodecSettings.h"

#include "ConfigManager.h"

namespace {

const QString kNationalKey = QStringLiteral("SMSNationalIdentifier");

QVariantMap liveSettings() {
  ConfigManager *cm = ConfigManager::sharedConfigManager();
  return cm ? cm->getConfiguration() : QVariantMap();
}

} // namespace

QString GlobalGetSMSNational() {
  const QVariant v = liveSettings().value(kNationalKey);
  return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

SmsCodecSettings currentSmsCodecSettings() {
  return smsCodecSettingsFromDictionary(liveSettings());
}

SmsPduSettings currentSmsPduSettings() {
  return smsPduSettingsFromDictionary(liveSettings());
}
