#include "SmsCodecSettings.h"

namespace {

const QString kNationalKey = QStringLiteral("SMSNationalIdentifier");
const QString kUcs2SingleKey = QStringLiteral("isNeedUcs2EncodingForSingleCharacter");

bool boolOf(const QVariant &v) {
  return v.isValid() && v.toBool();
}

} // namespace

SmsNational smsNationalFromIdentifier(const QString &identifier) {
  if (identifier == QLatin1String("SpanishSingle"))
    return SmsNational::Spanish;
  if (identifier == QLatin1String("TurkishSingle"))
    return SmsNational::Turkish;
  if (identifier == QLatin1String("PortugueseSingle"))
    return SmsNational::Portuguese;
  return SmsNational::None;
}

int hasNationalId(const QString &identifier) {
  return smsNationalFromIdentifier(identifier) == SmsNational::None ? 0 : 1;
}

SmsCodecSettings smsCodecSettingsFromDictionary(const QVariantMap &settings) {
  SmsCodecSettings s;
  const QVariant national = settings.value(kNationalKey);
  if (national.typeId() == QMetaType::QString)
    s.national = smsNationalFromIdentifier(national.toString());
  s.ucs2ForSingleCharacter = boolOf(settings.value(kUcs2SingleKey));
  return s;
}

SmsPduSettings smsPduSettingsFromDictionary(const QVariantMap &settings) {
  SmsPduSettings s;
  const QVariantMap sms = settings.value(QStringLiteral("SMS")).toMap();
  s.decodePduDoNotUseSms7toUcs2 = boolOf(sms.value(QStringLiteral("DecodePDUDoNotUseSMS7toUcs2")));
  s.autoDeleteVoicemail = boolOf(sms.value(QStringLiteral("AutoDeleteVoicemail")));
  s.setMsgCenterWithUnknownNum = boolOf(sms.value(QStringLiteral("SetMsgCenterWithUnknownNum")));
  s.codec = smsCodecSettingsFromDictionary(settings);
  return s;
}
