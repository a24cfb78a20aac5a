#pragma once

#include <QString>
#include <QVariant>

// Small access to the settings for the language object, over a work path (a settings file).
// When the work path is the live settings file, reads and writes go through the shared
// ConfigManager: it is the one writer of that file, and a second writer that reads the file,
// edits its own copy and writes it back would lose whatever the other one changed meanwhile.
class QELDatacardConfig {
public:
  // Sets the work path to the ModemList path of "settings.plist" (once).
  static void initGlobal();
  static void freeGlobal();
  static bool isInitialize();

  // The data-file names by index 0..13; empty beyond.
  static QString configListName(int index);
  // The ModemList folder path followed by that name; empty beyond 13 or without a folder.
  static QString defaultConfigListName(int index);

  static void setSettingDictWorkPath(const QString &path);
  static QString settingDictWorkPath();
  // The top-level entry `key` of the work-path settings; invalid without key or work path.
  static QVariant settingDictKey(const QString &key);
  // Sets the top-level entry and writes the file; false (nothing done) without key, value or
  // work path, or when the write fails.
  static bool setSettingDictKey(const QString &key, const QVariant &value);
};
