#pragma once

#include "QelServiceBase.h"

#include <QVariant>
#include <QVariantList>
#include <functional>

// Finds the operator's default connection profiles for a SIM in the settings tables
// "IMSI2DialConfigIdx" (an IMSI prefix, an MCC-MNC number or "NULL" -> an index or an array of
// indexes) and "AllDefaultDialCfg" (the profiles), and puts them at the head of dialConfig.plist.
// Nothing here trusts the tables: a prefix longer than the IMSI is skipped, an index outside the
// profile table is ignored, and an array where one index is expected stands for its first index.
class DialServiceTransplant : public QelServiceBase {
  Q_OBJECT
public:
  explicit DialServiceTransplant(QObject *parent = nullptr) : QelServiceBase(parent) {}

  static DialServiceTransplant *sharedDialServiceTransplant();
  static void setSharedDialServiceTransplant(DialServiceTransplant *service);

  // Where the SIM's ICCID is read (the device status installs it).
  using IccidSource = std::function<QString()>;
  static void setIccidSource(IccidSource source);

  // The matching modes the settings choose; YES when profiles were put at the head of the file.
  bool matchGlobalApn(const QString &imsiOrMcc, const QString &mnc);
  bool matchGlobalDefaultProfileWithImsi(const QByteArray &imsi);
  // The matched index (also stored as "ProfileID"), -1 when nothing matched.
  int matchDefaultProfileWithImsi(const QByteArray &imsi);
  int imsiMatchApn(const QString &imsi);

  // Building blocks.
  // The value of the longest IMSI prefix (8 down to 4 digits) in the index table; invalid when none.
  QVariant matchIndexFromImsiConfig(const QByteArray &imsi) const;
  // The profiles of an index or an array of indexes, in order; empty when none is valid.
  QVariantList findMatchedProfileArray(const QVariant &index) const;
  QVariantList withIndexOfMatchedApnFindInfoOfMatchedApn(const QVariant &index) const {
    return findMatchedProfileArray(index);
  }
  QVariant withMatchStringFindIndexOfMatchedApn(const QString &key) const;
  QVariantList matchApnByString(const QString &key) const;
  bool apnMatchWithMCCMNC(const QString &mccmnc);
  bool matchApnWithMCC(const QString &mcc, const QString &mnc);
  bool imsiMatchGlobalApn(const QString &imsi);
  bool specialImsiRoamMatch(const QString &imsi) const;
  // Replaces the old default block at the head of dialConfig.plist with `profiles`.
  bool resetDialConfigListWithMatchedApn(const QVariantList &profiles);

  // The single index an index entry stands for (its first index for an array); -1 when none.
  static int indexValue(const QVariant &entry);

  // Input filters of the profile fields.
  static bool isLetterOrDigit(QChar c);
  static QString formatInput(const QString &text, bool onlyExtraChars, const QString &extraChars, int maxLen);
  static QString checkToFormatTelephoneNumber(const QString &text);
  static QString checkToFormatAPN(const QString &text);
  static QString checkToFormatPassword(const QString &text, int maxLen = 30);
  static QString checkToFormatIPv6DNS(const QString &text);

  static const QString kTelephoneChars;
  static const QString kApnChars;
  static const QString kPasswordChars;
  static const QString kIPv6DnsChars;
};
