#pragma once

#include <QString>
#include <functional>

// The ways of choosing which operator names the main window shows: the name of the SIM's
// service provider (home SPN, the belong-to label) and the name of the serving network (local
// SPN). One object of each kind lives in InitService; only its fields change between displays.
class QspnShowBase {
public:
  QspnShowBase() = default;
  // initWithSpnFromSimcard:withLocalSpn:withSpnField:
  QspnShowBase(const QString &homeSpn, const QString &localSpn, int spnField);
  virtual ~QspnShowBase() = default;
  QspnShowBase(const QspnShowBase &) = delete;
  QspnShowBase &operator=(const QspnShowBase &) = delete;

  void setThe1and2FiledFromSPN(int field) { the1and2FiledFromSPN_ = field; }
  int the1and2FiledFromSPN() const { return the1and2FiledFromSPN_; }
  // A null string stands for "no name".
  void setHomeSpn(const QString &spn) { homeSpn_ = spn; }
  void setLocalSpn(const QString &spn) { localSpn_ = spn; }
  void setRoamType(int type) { roamType_ = type; }
  int roamType() const { return roamType_; }

  // Never null: "no name" is the empty string.
  virtual QString getHomeSpn() const;
  virtual QString getLocalSpn() const;
  virtual const char *className() const { return "QspnShowBase"; }

  // Whether the serving network is the home network or a friendly one; asked at display time.
  void setHomeOrFriendlyProbe(std::function<bool()> probe) { homeOrFriendly_ = std::move(probe); }

protected:
  bool currentIsHomeOrFriendly() const { return homeOrFriendly_ && homeOrFriendly_(); }
  static QString orEmpty(const QString &s);

  int the1and2FiledFromSPN_ = 0;
  QString localSpn_;
  QString homeSpn_;
  int roamType_ = 0;
  std::function<bool()> homeOrFriendly_;
};

// The SIM's display condition decides: bit 0 shows the network name on the home (or a friendly)
// network, bit 1 lets the provider name go unshown elsewhere.
class QspnShowBy3gpp : public QspnShowBase {
public:
  using QspnShowBase::QspnShowBase;
  QString getHomeSpn() const override;
  QString getLocalSpn() const override;
  const char *className() const override { return "QspnShowBy3gpp"; }
};

class QshowHomeSpnBy3gppAndyLocalSpnNotBy3gpp : public QspnShowBy3gpp {
public:
  using QspnShowBy3gpp::QspnShowBy3gpp;
  QString getLocalSpn() const override { return orEmpty(localSpn_); }
  const char *className() const override { return "QshowHomeSpnBy3gppAndyLocalSpnNotBy3gpp"; }
};

class QspnShowBy3gppAndLocalSpnReplacedByHomeSpn : public QspnShowBy3gpp {
public:
  using QspnShowBy3gpp::QspnShowBy3gpp;
  QString getLocalSpn() const override { return orEmpty(homeSpn_); }
  const char *className() const override { return "QspnShowBy3gppAndLocalSpnReplacedByHomeSpn"; }
};

class QnoShowAny : public QspnShowBase {
public:
  using QspnShowBase::QspnShowBase;
  QString getHomeSpn() const override { return QStringLiteral(""); }
  QString getLocalSpn() const override { return QStringLiteral(""); }
  const char *className() const override { return "QnoShowAny"; }
};

class QonlyShowHomeSpn : public QspnShowBase {
public:
  using QspnShowBase::QspnShowBase;
  QString getLocalSpn() const override { return QStringLiteral(""); }
  const char *className() const override { return "QonlyShowHomeSpn"; }
};

class QonlyShowHomeSpnAndHigherPriorityThanLocalSpn : public QonlyShowHomeSpn {
public:
  using QonlyShowHomeSpn::QonlyShowHomeSpn;
  const char *className() const override { return "QonlyShowHomeSpnAndHigherPriorityThanLocalSpn"; }
};

class QonlyShowLocalSpn : public QspnShowBase {
public:
  using QspnShowBase::QspnShowBase;
  QString getHomeSpn() const override { return QStringLiteral(""); }
  const char *className() const override { return "QonlyShowLocalSpn"; }
};

// The local name is a wording key, so each language shows its own fixed text.
class QonlyShowFixedLocalSpn : public QonlyShowLocalSpn {
public:
  using QonlyShowLocalSpn::QonlyShowLocalSpn;
  QString getLocalSpn() const override { return QStringLiteral("fixed local SPN"); }
  const char *className() const override { return "QonlyShowFixedLocalSpn"; }
};

class QonlyShowLocalSpnAndlowerPriorityThanHomeSpn : public QonlyShowLocalSpn {
public:
  using QonlyShowLocalSpn::QonlyShowLocalSpn;
  QString getLocalSpn() const override;
  const char *className() const override { return "QonlyShowLocalSpnAndlowerPriorityThanHomeSpn"; }
};

class QonlyShowLocalSpnAndHighPriorityThanHomeSpn : public QonlyShowLocalSpn {
public:
  using QonlyShowLocalSpn::QonlyShowLocalSpn;
  QString getLocalSpn() const override;
  const char *className() const override { return "QonlyShowLocalSpnAndHighPriorityThanHomeSpn"; }
};
