#pragma once

#include <QString>
#include <QVariantMap>
#include <cstdint>

// The national single-shift table chosen by "SMSNationalIdentifier".
enum class SmsNational : uint8_t { None, Spanish, Turkish, Portuguese };

// The settings the character conversions depend on. The codec functions take them as an argument
// so that they stay pure; `currentSmsCodecSettings` reads them from the live configuration.
struct SmsCodecSettings {
  SmsNational national = SmsNational::None;
  // "isNeedUcs2EncodingForSingleCharacter"
  bool ucs2ForSingleCharacter = false;
};

// The settings the PDU coders read from module "SMS".
struct SmsPduSettings {
  bool decodePduDoNotUseSms7toUcs2 = false; // "DecodePDUDoNotUseSMS7toUcs2"
  bool autoDeleteVoicemail = false;         // "AutoDeleteVoicemail"
  bool setMsgCenterWithUnknownNum = false;  // "SetMsgCenterWithUnknownNum"
  SmsCodecSettings codec;
};

// The national table named by a value of "SMSNationalIdentifier"; anything else means none.
SmsNational smsNationalFromIdentifier(const QString &identifier);

// 1 for "SpanishSingle", "TurkishSingle" or "PortugueseSingle", else 0.
int hasNationalId(const QString &identifier);

// Adapters from a settings dictionary (the whole `settings.plist` dictionary).
SmsCodecSettings smsCodecSettingsFromDictionary(const QVariantMap &settings);
SmsPduSettings smsPduSettingsFromDictionary(const QVariantMap &settings);

// The same, read afresh from the shared configuration store; defaults when none is installed.
QString GlobalGetSMSNational();
SmsCodecSettings currentSmsCodecSettings();
SmsPduSettings currentSmsPduSettings();
