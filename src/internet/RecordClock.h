#pragma once

#include <QDateTime>
#include <QTimeZone>

// "Now" for every date rule of the records and the usage limits: the reset periods, the
// recurrences of the volume-limit page, the start of the variant's counting and today's sums.
// One place to replace it, so tests cross midnights, month ends and daylight-saving changes.
class RecordClock {
public:
  // The current moment, in zone().
  static QDateTime now();
  // The local zone the calendar rules count days in (the system's unless replaced).
  static QTimeZone zone();
  // Today in zone().
  static QDate today();

  // Fixes "now" (tests); an invalid date goes back to the system clock.
  static void setNow(const QDateTime &fixed);
  // Moves a fixed "now" on by `seconds`.
  static void advance(qint64 seconds);
  static void setZone(const QTimeZone &zone);
  // The system clock and zone again.
  static void reset();
  static bool isFixed();
};
