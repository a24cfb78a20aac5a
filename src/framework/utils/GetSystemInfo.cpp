#include "GetSystemInfo.h"

#include <QFile>
#include <QLocale>
#include <QSysInfo>

namespace {
constexpr qint64 kMaxFieldBytes = 256;

// Texts firmware vendors leave in the fields when they did not fill them.
bool isPlaceholder(const QString &text) {
  static const char *const kPlaceholders[] = {"to be filled by o.e.m.",
                                              "system product name",
                                              "default string",
                                              "not applicable",
                                              "not specified",
                                              "none",
                                              "o.e.m.",
                                              "0",
                                              "1.0"};
  const QString lower = text.toLower();
  for (const char *p : kPlaceholders) {
    if (lower == QLatin1String(p))
      return true;
  }
  return false;
}
} // namespace

GetSystemInfo::GetSystemInfo(QString dmiRoot) : dmiRoot_(std::move(dmiRoot)) {}

GetSystemInfo *GetSystemInfo::sharedGetSystemInfo() {
  static GetSystemInfo *info = new GetSystemInfo();
  return info;
}

QString GetSystemInfo::readField(const QString &name) const {
  QFile f(dmiRoot_ + QLatin1Char('/') + name);
  if (!f.open(QIODevice::ReadOnly))
    return {};
  QString text = QString::fromUtf8(f.read(kMaxFieldBytes));
  // Firmware text is untrusted: keep it on one line of printable characters.
  QString clean;
  for (const QChar c : text) {
    if (c.isPrint())
      clean += c;
    else if (c.isSpace())
      clean += QLatin1Char(' ');
  }
  clean = clean.simplified();
  return isPlaceholder(clean) ? QString() : clean;
}

QString GetSystemInfo::getOSVersion() {
  const QString v = QSysInfo::prettyProductName();
  QMutexLocker locker(&lock_);
  osVersion_ = v;
  return osVersion_;
}

QString GetSystemInfo::getOSLanguage() {
  const QStringList languages = QLocale::system().uiLanguages();
  QMutexLocker locker(&lock_);
  osLanguage_ = languages.isEmpty() ? QString() : languages.first();
  return osLanguage_;
}

QString GetSystemInfo::getPCModel() {
  QString model = readField(QStringLiteral("product_name"));
  const QString version = readField(QStringLiteral("product_version"));
  if (model.isEmpty())
    model = readField(QStringLiteral("product_family"));
  if (!model.isEmpty() && !version.isEmpty() && !model.contains(version))
    model += QLatin1Char(' ') + version;
  QMutexLocker locker(&lock_);
  pcModel_ = model.isEmpty() ? QString() : model;
  return pcModel_;
}
