#include "QspnShow.h"

QspnShowBase::QspnShowBase(const QString &homeSpn, const QString &localSpn, int spnField)
    : the1and2FiledFromSPN_(spnField), localSpn_(localSpn), homeSpn_(homeSpn) {}

QString QspnShowBase::orEmpty(const QString &s) {
  return s.isNull() ? QStringLiteral("") : s;
}

QString QspnShowBase::getHomeSpn() const {
  return orEmpty(homeSpn_);
}

QString QspnShowBase::getLocalSpn() const {
  return orEmpty(localSpn_);
}

QString QspnShowBy3gpp::getHomeSpn() const {
  const int cond = the1and2FiledFromSPN_;
  if ((cond == 2 || cond == 3) && !currentIsHomeOrFriendly())
    return QStringLiteral("");
  return QspnShowBase::getHomeSpn();
}

QString QspnShowBy3gpp::getLocalSpn() const {
  const int cond = the1and2FiledFromSPN_;
  if ((cond == 0 || cond == 2) && currentIsHomeOrFriendly())
    return QStringLiteral("");
  return QspnShowBase::getLocalSpn();
}

QString QonlyShowLocalSpnAndlowerPriorityThanHomeSpn::getLocalSpn() const {
  if (!homeSpn_.isEmpty())
    return homeSpn_;
  return QonlyShowLocalSpn::getLocalSpn();
}

QString QonlyShowLocalSpnAndHighPriorityThanHomeSpn::getLocalSpn() const {
  if (!localSpn_.isEmpty())
    return localSpn_;
  return orEmpty(homeSpn_);
}
