#include "WordingOperation.h"

#include "WordGlobe.h"

#include <QDebug>

const QStringList &WordingOperation::wordingModules() {
  static const QStringList modules = {
      QStringLiteral("Main"),    QStringLiteral("Init"),     QStringLiteral("SMS"),    QStringLiteral("PhoneBook"),
      QStringLiteral("Setting"), QStringLiteral("Internet"), QStringLiteral("Record"), QStringLiteral("USSD"),
  };
  return modules;
}

QString WordingOperation::getDisplayWordingValueByWordingKey(const QString &key) {
  const qsizetype underscore = key.indexOf(QLatin1Char('_'));
  if (underscore < 0) {
    qWarning().noquote()
        << QStringLiteral("error://%1 has no the characer of _  by the  standard Wording rule").arg(key);
    return QLatin1String("");
  }
  const QStringView module = QStringView(key).left(underscore);
  for (const QString &known : wordingModules())
    if (module == known)
      return Map_Name_Item_of_IndexString(key);
  qWarning().noquote()
      << QStringLiteral("error://%1 has no module before the character of _  by the  standard Wording rule").arg(key);
  return QLatin1String("");
}
