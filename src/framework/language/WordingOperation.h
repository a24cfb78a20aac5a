#pragma once

#include <QString>
#include <QStringList>

// The checked wording lookup for keys of the form module_item ("SMS_MessageWinCancelBtn"):
// keys that break the rule are reported, so a typo shows up in the log instead of on screen.
class WordingOperation {
public:
  // The wording of the whole key when the text before its first "_" is a known module; otherwise
  // one log line and the empty string.
  static QString getDisplayWordingValueByWordingKey(const QString &key);
  // The module words accepted before the first "_".
  static const QStringList &wordingModules();
};
