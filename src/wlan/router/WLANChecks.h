#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What the router page checks and filters, without any window: the value tables behind its
// combo boxes, the input filters that run on every change of a field, the address checks
// before an apply, and the MAC state of the firewall editor.
namespace WLANChecks {

// A value table is a list of wording keys; a code is a position in it.
using ValueTable = QList<const char *>;
const ValueTable &channelTable();
const ValueTable &modeTable();
const ValueTable &rateTableB();
const ValueTable &rateTableG();
const ValueTable &rateTableBG();
const ValueTable &authenticationTable();
const ValueTable &encryptionTable();
const ValueTable &wpaCipherTable();
const ValueTable &keyFormatTable();
const ValueTable &keyIndexTable();
const ValueTable &stationTable();
const ValueTable &policyTable();
const ValueTable &actionTable();
const ValueTable &protocolTable();
// The rate table for the mode a combo shows (by its wording); null when it matches no mode.
const ValueTable *rateTableForModeText(const QString &modeText);

// The position of `text` among the wordings of the table's entries, -1 when none matches.
int getIndexofString(const QString &text, const ValueTable &table);
// The wording of the entry at `code`; empty for a code outside the table.
QString getComboxDisplay(qint64 code, const ValueTable &table);
// The table's entries as shown.
QStringList displayItems(const ValueTable &table, int count = -1);

// The leading decimal integer of a text (blanks, a sign, digits), 0 when there is none, as a
// text field's integer value reads it.
qint64 intValue(const QString &text);

// The result of a filter: the text the field must show and the wording key of the alert to
// give, empty when none.
struct Filtered {
  QString text;
  QString alert;
};
Filtered asciiFilter(const QString &text, bool limitTo32);
// Every character that is not a hexadecimal digit is removed (with one alert), whatever its
// position, after the text is cut to `maxLength`.
Filtered hexFilter(const QString &text, int maxLength);
Filtered leaseFilter(const QString &text);
Filtered portFilter(const QString &text);
Filtered macFilter(const QString &text);

// The four numbers of a dotted address; missing or unreadable parts are 0.
QList<qint64> ipParts(const QString &text);
bool isIPAddressValid(const QString &address);
// Refuses 0.0.0.0, 255.255.255.255, a mask whose one bits are not contiguous from the top,
// and the pool's own range (the DHCP start and end texts).
bool isSubMaskValid(const QString &mask, const QString &start, const QString &end);
bool isCorrectRange(const QString &start, const QString &end);
bool isSameIPRange(const QString &address, const QString &start, const QString &end);

// 0 all six empty, 1 invalid, 2 valid.
int getStateforMacAddress(const QStringList &six);

} // namespace WLANChecks
