#pragma once

#include "ConfigService.h"
#include "QELAlertPanel.h"
#include "SmsService.h"
#include "WordGlobe.h"

// Small helpers the writing and sending files of the message controller share.
namespace smssend {

constexpr int kModuleSms = 5;
constexpr int kMajorSms = 768;
constexpr int kCardReady = 12;
constexpr int kNoDevice = 1;

inline QString word(const char *key) {
  return Map_Name_Item_of_IndexString(QLatin1String(key));
}

inline bool smsSwitch(const char *key) {
  return ConfigService::readBool(QStringLiteral("SMS"), QLatin1String(key));
}

// "Warning" with one "OK" button.
inline int warn(const char *message) {
  return NSRunAlertPanelExt(word("Warning"), word(message), word("OK"));
}

// Special-number replacement is on.
inline bool replacesSpecialNumbers() {
  ConfigService *config = ConfigService::sharedConfigService();
  return config && config->checkIfRepalceSpecialPhoneNumberToSpecialString();
}

// The shown text of a special number; empty when the number is none or replacement is off.
inline QString specialNameOf(const QString &number) {
  if (!replacesSpecialNumbers())
    return QString();
  return SmsService::sharedSmsService()
      ->getDictionaryContainsSpeicalNumberAndSpeicalStringWithPhoneNumber(number)
      .value(QStringLiteral("NameToShow"))
      .toString();
}

// The number a shown special text stands for; empty when the text is none or replacement is off.
inline QString specialNumberOf(const QString &text) {
  if (!replacesSpecialNumbers())
    return QString();
  return SmsService::sharedSmsService()
      ->getDictionaryContainsSpeicalNumberAndSpeicalString(text)
      .value(QStringLiteral("NumberToHidden"))
      .toString();
}

} // namespace smssend
