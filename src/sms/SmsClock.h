#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <functional>

// The clock and time zone the SMS services read: "now" for the nil rule and the data-usage
// expiry, the local zone for the arrival day. Tests install their own.
namespace SmsClock {

QDateTime now();
QTimeZone zone();
// A null function restores the system clock; an invalid zone the system zone.
void setForTesting(std::function<QDateTime()> clock, const QTimeZone &zone = QTimeZone());

} // namespace SmsClock
