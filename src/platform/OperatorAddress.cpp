#include "OperatorAddress.h"

#include <QtGlobal>

QUrl OperatorAddress::base() {
  const QUrl fromEnv(QString::fromUtf8(qgetenv(kVariable)), QUrl::StrictMode);
  const bool usable = fromEnv.isValid() && fromEnv.scheme() == QLatin1String("http") && !fromEnv.host().isEmpty();
  QUrl url = usable ? fromEnv : QUrl(QString::fromLatin1(kDefault));
  url.setPath(QString());
  url.setQuery(QString());
  url.setFragment(QString());
  return url;
}

QString OperatorAddress::url(const QString &path) {
  return base().toString(QUrl::FullyEncoded) + path;
}
