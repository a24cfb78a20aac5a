#pragma once

#include "DialRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

// Number formats of the connection figures. The formats are wording entries ("%0.2f KB"), so a
// translation may change them: they are filled here, conversion by conversion, and never handed
// to printf. Taken: %d %i %u %ld %lld %f %F with the flags "0", "-", "+", " ", a width and a
// precision, and "%%"; any other "%" stays as it stands. Values are used in order; a conversion
// without a value is left out.
QString fillNumberPattern(const QString &pattern, const QList<double> &values);
// The worded format of `key`, filled with `values`.
QString wordedNumber(const QString &key, const QList<double> &values);

// "%02d:%02d:%02d" of hours, minutes and seconds (100000 s reads 27:46:40).
QString durationText(qint64 seconds);

// An amount of bytes as the connection figures show it: Internet/"DataWithMB" gives megabytes
// without a unit; Internet/"dataType" "Kb" gives bits in Kb, Mb, Gb; else KB, MB, GB.
QString formatTransferData(double bytes);
// Picks the unit: a negative value or no formats give ""; k = value / 1024 below 1024 takes
// format 0 with k, below 1048576 format 1 with k / 1024, else format 2 with k / 1048576.
QString formatTransferData(double value, const QStringList &unitFormats);
// Kilobytes in KB, MB or GB (1024 and 1048576 switch up).
QString autoChangeKBDataToMBGBUnit(double kilobytes);

// A text as one CSV field: inner double quotes doubled, the whole quoted when it holds a comma
// or a double quote.
QString formatWordsForCSV(const QString &text);

// How the exports and the table show the fields that are not plain text.
struct RecordFieldFormats {
  std::function<QString(const QDateTime &)> date;
  std::function<QString(double bytes)> transferData = [](double b) { return formatTransferData(b); };
  std::function<QString(const QString &)> word;
};

// The table's text of one field ("" when the record lacks it).
QString recordFieldText(const DialRecord &record, const QString &key, const RecordFieldFormats &formats);

// The tab-separated export: a header of the worded column titles, then one line per record, every
// field followed by two tabs. `amountsFormatted` shows the amounts as the table does, otherwise
// the stored texts.
QString recordsAsText(const DialRecordList &records, const RecordFieldFormats &formats, bool amountsFormatted);
// The CSV export: the same lines, every field followed by a comma; names and dates are quoted
// when they hold a comma or a quote.
QString recordsAsCsv(const DialRecordList &records, const RecordFieldFormats &formats);
