#pragma once

#include <QString>

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

  // Replaces the main bundle (tests).
  static void setMainBundlePath(const QString &path);

private:
  QString bundlePath_;
};
