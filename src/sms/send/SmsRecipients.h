#pragma once

#include "SmsCodecSettings.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>
#include <functional>

// The rules of the editor's recipients field and text, without windows.
namespace SmsRecipients {

// The number a shown special-number text stands for; empty when the text is none.
using SpecialNumberLookup = std::function<QString(const QString &text)>;

// The recipients of a separator-joined text, in the order typed. Empty and blank items are
// skipped (a send to "" would reach nobody and count as a failure), and every item that is a
// special number's shown text becomes its number. Blanks inside an item stay.
QStringList split(const QString &text, const QString &separator, const SpecialNumberLookup &special = {});
// Every non-empty item, as typed.
QStringList items(const QString &text, const QString &separator);
// The count of separators, plus one when text follows the last one; 0 for an empty text.
int numberofSendPhone(const QString &text, const QString &separator);
// True when every byte of the text's UTF-8 form is a blank, the empty text included.
bool isUnValidCharWithSendNumString(const QString &text);

// The recipients field as typed, reduced to numbers (digits and '+', at most 40 to a number)
// and single separators, at most `max` numbers. `tooMany` when a separator beyond the max-th
// was typed: the text is cut before it and the user is told.
struct Filtered {
  QString text;
  bool tooMany = false;
};
Filtered filter(const QString &text, QChar separator, int max);

// The field with picked numbers added, each followed by the separator; a number never touches
// the field's last number.
QString appendPicked(const QString &field, const QStringList &numbers, QChar separator);

} // namespace SmsRecipients

// What the editor's text costs, and the text cut back to five parts when it is longer.
struct SmsTextCount {
  static constexpr int kMaxParts = 5;
  QString text;     // the text to keep (the typed text when it fits)
  bool cut = false; // the typed text was longer than five parts
  int characters = 0;
  int parts = 1;

  static SmsTextCount of(const QString &typed, const SmsCodecSettings &settings);
};

// A draft the editor was opened on, remembered by its place and content, so that the draft
// deleted after a send or a new save is that draft, wherever the user has moved the selection
// meanwhile, and none when it is gone.
struct SmsDraftKey {
  bool valid = false;
  int position = 0;
  int index = -1;
  QString number;
  QVariant date;
  QString text;

  static SmsDraftKey of(const QVariantMap &record, int position);
  bool matches(const QVariantMap &record) const;
  // The draft's index in a freshly loaded box: at its remembered index when it is still there,
  // else the first entry with the same number, date and text; -1 when it is gone.
  int findIn(const QVariantList &box) const;
};
