#include "RecordClock.h"

namespace {
QDateTime &fixedNow() {
  static QDateTime value;
  return value;
}
QTimeZone &fixedZone() {
  static QTimeZone value;
  return value;
}
} // namespace

QTimeZone RecordClock::zone() {
  return fixedZone().isValid() ? fixedZone() : QTimeZone::systemTimeZone();
}

QDateTime RecordClock::now() {
  const QDateTime moment = fixedNow().isValid() ? fixedNow() : QDateTime::currentDateTimeUtc();
  return moment.toTimeZone(zone());
}

QDate RecordClock::today() {
  return now().date();
}

void RecordClock::setNow(const QDateTime &fixed) {
  fixedNow() = fixed.isValid() ? fixed.toUTC() : QDateTime();
}

void RecordClock::advance(qint64 seconds) {
  if (fixedNow().isValid())
    fixedNow() = fixedNow().addSecs(seconds);
}

void RecordClock::setZone(const QTimeZone &zone) {
  fixedZone() = zone;
}

void RecordClock::reset() {
  fixedNow() = QDateTime();
  fixedZone() = QTimeZone();
}

bool RecordClock::isFixed() {
  return fixedNow().isValid();
}
