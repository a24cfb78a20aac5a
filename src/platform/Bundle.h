#pragma once

#include <QString>
#include <QVariant>

// The program's bundle: a folder holding bin/, Resources/ and PlugIns/. The build tree has the
// same layout, so the program runs from it. QEL_BUNDLE_DIR overrides the location (tests).
class Bundle {
public:
  static Bundle &mainBundle();

  explicit Bundle(QString bundlePath);

  const QString &bundlePath() const { return bundlePath_; }
  QString resourcePath() const;
  QString plugInsPath() const;
  QString executableFolder() const;
  // Resources/<name>.<type>, or Resources/<name> for an empty type; empty when absent.
  QString pathForResource(const QString &name, const QString &type = {}) const;

  // Values of the bundle's information file (Info.plist at the bundle's top, written by the
  // build): the program's version texts and the driver version it was made for. An invalid
  // value when the file or the key is missing.
  QVariant objectForInfoDictionaryKey(const QString &key) const;
  QString infoPlistPath() const;

  // Replaces the main bundle (tests).
  static void setMainBundlePath(const QString &path);

private:
  QString bundlePath_;
};
