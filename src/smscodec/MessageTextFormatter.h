#pragma once

#include "SmsCodecSettings.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

// What the formatter reads from module "SMS" at every pass.
struct MessageTextFormatterSettings {
  int smsMaxPack = 5;       // "smsMaxPack"
  bool specialChar = false; // "SpecialChar"
  // "ReplaceSpecialChar": unit to replacement; nullopt when the entry is absent.
  std::optional<QHash<char16_t, QString>> replaceSpecialChar;
  SmsCodecSettings codec;
};

MessageTextFormatterSettings messageTextFormatterSettingsFromDictionary(const QVariantMap &settings);
MessageTextFormatterSettings currentMessageTextFormatterSettings();

// The result of one formatting pass over a text, without any side effect.
struct MessageTextFormat {
  enum class Action {
    Empty,    // nothing to count: the count label is cleared
    Replaced, // characters were replaced; the host shows `text` and the next pass counts it
    Counted,  // `text` (perhaps cut) was counted
  };
  Action action = Action::Empty;
  QString text;
  bool overLimit = false; // the text was longer than allowed and was cut
  int packnum = 1;
  int characters = 0;
};

// One pass of the message text field's formatting: replacement, limit and count.
MessageTextFormat formatMessageText(const QString &text, const MessageTextFormatterSettings &settings);

// Each of the first `length` units that is a special character becomes "?".
QString replaceSpecialCharWithQuestionmark(const QString &text, int length);
// Each of the first `length` units found in the table becomes its replacement; nullopt when the
// table is absent or nothing changed.
std::optional<QString> replaceSpecialCharWithAppointedChar(const QString &text, int length,
                                                           const std::optional<QHash<char16_t, QString>> &table);

// The formatter attached to the single-line message text of the SMS editor. It holds no widget:
// the host field, the two labels, the alert panel and the wording are reached through callbacks
// that the SMS controller binds.
class MessageTextFormatter {
public:
  using TextSink = std::function<void(const QString &)>;
  // title, message, default button (all worded); answers non-zero when the panel was dismissed.
  using AlertPanel = std::function<int(const QString &, const QString &, const QString &)>;
  using Wording = std::function<QString(const QString &)>;
  using SettingsSource = std::function<MessageTextFormatterSettings()>;

  MessageTextFormatter();
  static std::unique_ptr<MessageTextFormatter> defaultMessageTextFormatter();

  // Stores the formatted string; the formatter never rejects an edit.
  bool getObjectValue(QVariant *object, const QString &string, QString *error);

  void setHost(TextSink host);
  void setTextCount(TextSink textCount);
  void setSendNumInfo(TextSink sendNumInfo);
  void setAlertPanel(AlertPanel panel) { alertPanel_ = std::move(panel); }
  void setWording(Wording wording) { wording_ = std::move(wording); }
  void setSettingsSource(SettingsSource source) { settingsSource_ = std::move(source); }

  bool concatSms() const { return packnum_ > 1; }
  int packNum() const { return packnum_; }
  void setPackNum(int packnum) { packnum_ = packnum; }
  bool isPopWarningWindow() const { return isPopWarningWindow_; }
  int maxPack() const { return maxPack_; }

  // The replaced string (already shown in the host), or a null QString when nothing was replaced.
  QString replaceSpecialCharWithAppointedChar(const QString &text, int length);
  QVariant stringForObjectValue(const QVariant &object);
  QString replaceSpecialCharWithQuestionmark(const QString &text, int length) const;

private:
  QString word(const QString &key) const { return wording_ ? wording_(key) : key; }
  void showOnHost(const QString &text) const;

  TextSink host_;
  TextSink textCount_;
  TextSink sendNumInfo_;
  AlertPanel alertPanel_;
  Wording wording_;
  SettingsSource settingsSource_;
  int packnum_ = 1;
  bool isPopWarningWindow_ = false;
  int maxPack_ = 5;
};
