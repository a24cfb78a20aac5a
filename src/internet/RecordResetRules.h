#pragma once

#include "DialRecordStore.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <QVariant>

// The calendar arithmetic of the record reset periods and of the volume-limit recurrences, as
// pure functions of the stored settings and "now" (RecordClock in the program, any date in tests).
// Days are calendar days in the local zone: a period of one day ends at the next midnight, also
// on the 23- and 25-hour days of a daylight-saving change.
namespace RecordResetRules {

// The layout every period start and reset time is stored in.
inline const QString kDatePattern = QStringLiteral("%Y-%m-%d %H:%M:%S");

// Reads `text` in a calendar layout ("%Y-%m-%d %H:%M:%S"; %Y %y %m %d %e %H %M %S %b %B %%) as a
// time of `zone`; invalid when the text does not match the whole layout.
QDateTime parseCalendarDate(const QString &text, const QString &pattern, const QTimeZone &zone);

// The length of a reset period from the stored "recordResetPeriod": the index of the chosen
// entry, entry i standing for i + 1 days ("29" for the 30-day option); never below one day.
int periodDays(const QVariant &storedIndex);

// The start of the current period from "recordResetStartTime": a stored date as it is, a text in
// the fixed layout, else in `resetTimePattern`; invalid when it cannot be read.
QDateTime periodStart(const QVariant &stored, const QString &resetTimePattern, const QTimeZone &zone);

// What a reset check finds: how many whole days of ended periods lie between the start and now,
// the new start, and the records to remove (those that started in [start, new start)).
struct EndedPeriods {
  int days = 0;
  QDateTime newStart;
  RecordWindow removed{0, -1};
  bool ended() const { return days > 0; }
};
// Ended periods of `periodLength` days counted from `start` (a period that lasted exactly its
// length has ended); none for an invalid start, a start in the future or a length below one.
EndedPeriods endedPeriods(const QDateTime &start, int periodLength, const QDateTime &now);

// Whole calendar days from `from` to `to` in `zone` (a day counts once its clock time is reached).
int wholeDays(const QDateTime &from, const QDateTime &to, const QTimeZone &zone);

// The volume-limit page's recurrence: 0 daily, 1 weekly, 2 monthly.
enum Recurrence { kDaily = 0, kWeekly = 1, kMonthly = 2 };
// Whether the period that began at `start` has ended by `now`: daily after a whole day; weekly
// after more than 7 days or once a day on weekday `dayOfWeek` (0 Sunday ... 6 Saturday) has come
// after the start; monthly after more than 31 days or once a day `dayOfMonth` + 1 of a month has
// come after the start. Other tags never end.
bool recurrenceEnded(int tag, const QDateTime &start, const QDateTime &now, int dayOfWeek, int dayOfMonth,
                     const QTimeZone &zone);

// The next local midnight after `now`.
QDateTime nextMidnight(const QDateTime &now, const QTimeZone &zone);

} // namespace RecordResetRules
