#include "SmsClock.h"

namespace {
std::function<QDateTime()> g_clock;
QTimeZone g_zone;
} // namespace

namespace SmsClock {

QDateTime now() {
  return g_clock ? g_clock() : QDateTime::currentDateTimeUtc();
}

QTimeZone zone() {
  return g_zone.isValid() ? g_zone : QTimeZone::systemTimeZone();
}

void setForTesting(std::function<QDateTime()> clock, const QTimeZone &zone) {
  g_clock = std::move(clock);
  g_zone = zone;
}

} // namespace SmsClock
