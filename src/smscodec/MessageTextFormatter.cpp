#include "MessageTextFormatter.h"

#include "ConfigManager.h"
#include "SmsCodec.h"

namespace {

const char16_t *unitsOf(const QString &s) {
  return reinterpret_cast<const char16_t *>(s.utf16());
}

} // namespace

MessageTextFormatterSettings messageTextFormatterSettingsFromDictionary(const QVariantMap &settings) {
  MessageTextFormatterSettings s;
  const QVariantMap sms = settings.value(QStringLiteral("SMS")).toMap();
  const QVariant maxPack = sms.value(QStringLiteral("smsMaxPack"));
  if (maxPack.isValid())
    s.smsMaxPack = maxPack.toInt();
  s.specialChar = sms.value(QStringLiteral("SpecialChar")).toBool();
  const QVariant replace = sms.value(QStringLiteral("ReplaceSpecialChar"));
  if (replace.typeId() == QMetaType::QVariantMap) {
    QHash<char16_t, QString> table;
    const QVariantMap map = replace.toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
      // Keys are matched as the unit written with "%x": lower case, no leading zeros.
      bool ok = false;
      const uint unit = it.key().toUInt(&ok, 16);
      if (ok && unit <= 0xFFFF && QString::number(unit, 16) == it.key())
        table.insert(char16_t(unit), it.value().toString());
    }
    s.replaceSpecialChar = table;
  }
  s.codec = smsCodecSettingsFromDictionary(settings);
  return s;
}

MessageTextFormatterSettings currentMessageTextFormatterSettings() {
  ConfigManager *cm = ConfigManager::sharedConfigManager();
  return messageTextFormatterSettingsFromDictionary(cm ? cm->getConfiguration() : QVariantMap());
}

QString replaceSpecialCharWithQuestionmark(const QString &text, int length) {
  QString out = text.left(qMax(length, 0));
  for (QChar &c : out) {
    const char16_t u = c.unicode();
    if (ifUcs2IsSpecial(&u, 1) == 1)
      c = u'?';
  }
  return out;
}

std::optional<QString> replaceSpecialCharWithAppointedChar(const QString &text, int length,
                                                           const std::optional<QHash<char16_t, QString>> &table) {
  if (!table)
    return std::nullopt;
  const int n = qBound(0, length, int(text.size()));
  QString out;
  out.reserve(n);
  for (int i = 0; i < n; ++i) {
    const auto it = table->constFind(text.at(i).unicode());
    if (it != table->cend())
      out += *it;
    else
      out += text.at(i);
  }
  if (out == text)
    return std::nullopt;
  return out;
}

MessageTextFormat formatMessageText(const QString &text, const MessageTextFormatterSettings &settings) {
  MessageTextFormat f;
  f.text = text;
  const int n = int(text.size());
  if (n == 0)
    return f;
  if (settings.specialChar) {
    const QString r = replaceSpecialCharWithQuestionmark(text, n);
    if (r != text) {
      f.action = MessageTextFormat::Action::Replaced;
      f.text = r;
      return f;
    }
  }
  if (auto r = replaceSpecialCharWithAppointedChar(text, n, settings.replaceSpecialChar)) {
    f.action = MessageTextFormat::Action::Replaced;
    f.text = *r;
    return f;
  }
  f.action = MessageTextFormat::Action::Counted;
  const unsigned parts = unsigned(qMax(settings.smsMaxPack, 0));
  const int max = getMaxTextNum(unitsOf(text), n, parts, settings.codec);
  const int cost = getInputTextNum(unitsOf(text), unsigned(n), settings.codec);
  int kept = n;
  // A pair that may not straddle two parts can make a text within the septet limit need one
  // part more than allowed: that is over the limit too.
  const bool tooManyParts = getInputPackNum(unitsOf(text), unsigned(n), settings.codec) > int(parts);
  if (cost > max || tooManyParts) {
    f.overLimit = true;
    kept = qMax(cutMaxTextLen(unitsOf(text), unsigned(n), parts, settings.codec), 0);
    f.text = text.left(kept);
  }
  f.packnum = getInputPackNum(unitsOf(f.text), unsigned(kept), settings.codec);
  f.characters = getInputTextNum(unitsOf(f.text), unsigned(kept), settings.codec);
  return f;
}

MessageTextFormatter::MessageTextFormatter() : settingsSource_(currentMessageTextFormatterSettings) {}

std::unique_ptr<MessageTextFormatter> MessageTextFormatter::defaultMessageTextFormatter() {
  return std::make_unique<MessageTextFormatter>();
}

bool MessageTextFormatter::getObjectValue(QVariant *object, const QString &string, QString *error) {
  Q_UNUSED(error);
  if (object)
    *object = stringForObjectValue(string);
  return true;
}

void MessageTextFormatter::setHost(TextSink host) {
  host_ = std::move(host);
  isPopWarningWindow_ = false;
}

void MessageTextFormatter::setTextCount(TextSink textCount) {
  textCount_ = std::move(textCount);
}

void MessageTextFormatter::setSendNumInfo(TextSink sendNumInfo) {
  sendNumInfo_ = std::move(sendNumInfo);
}

void MessageTextFormatter::showOnHost(const QString &text) const {
  if (host_)
    host_(text);
}

QString MessageTextFormatter::replaceSpecialCharWithAppointedChar(const QString &text, int length) {
  const MessageTextFormatterSettings s = settingsSource_ ? settingsSource_() : MessageTextFormatterSettings();
  const auto r = ::replaceSpecialCharWithAppointedChar(text, length, s.replaceSpecialChar);
  if (!r)
    return {};
  showOnHost(*r);
  return *r;
}

QString MessageTextFormatter::replaceSpecialCharWithQuestionmark(const QString &text, int length) const {
  return ::replaceSpecialCharWithQuestionmark(text, length);
}

QVariant MessageTextFormatter::stringForObjectValue(const QVariant &object) {
  packnum_ = 1;
  if (object.typeId() != QMetaType::QString)
    return object;
  const QString text = object.toString();
  const MessageTextFormatterSettings s = settingsSource_ ? settingsSource_() : MessageTextFormatterSettings();
  maxPack_ = s.smsMaxPack;
  const MessageTextFormat f = formatMessageText(text, s);
  switch (f.action) {
  case MessageTextFormat::Action::Empty:
    if (textCount_)
      textCount_(QString());
    return text;
  case MessageTextFormat::Action::Replaced:
    showOnHost(f.text);
    return f.text;
  case MessageTextFormat::Action::Counted:
    break;
  }
  if (f.overLimit) {
    if (!isPopWarningWindow_) {
      isPopWarningWindow_ = true;
      const int answer = alertPanel_ ? alertPanel_(word(QStringLiteral("Warning")),
                                                   word(QStringLiteral("SMS content exceeds the max length!")),
                                                   word(QStringLiteral("OK")))
                                     : 1;
      if (answer != 0)
        isPopWarningWindow_ = false;
    }
    packnum_ = f.packnum;
    showOnHost(f.text);
  }
  if (textCount_) {
    if (sendNumInfo_)
      sendNumInfo_(QString());
    packnum_ = f.packnum;
    textCount_(QStringLiteral("%1 %2/%3").arg(word(QStringLiteral("info:"))).arg(f.characters).arg(packnum_));
  }
  return f.text;
}
