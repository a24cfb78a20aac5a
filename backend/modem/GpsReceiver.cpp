#include "GpsReceiver.h"

#include "SimulatedModem.h"

using namespace GpsRecord;

GpsReceiver::GpsReceiver(SimulatedModem &modem) : QObject(&modem), modem_(modem) {
  setObjectName(QStringLiteral("GpsReceiver"));
  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, &GpsReceiver::report);
}

GpsReceiver *GpsReceiver::install(SimulatedModem &modem) {
  auto *self = new GpsReceiver(modem);
  for (int minor : {kStart, kStop, kPositionRequest})
    modem.on(kMajor, minor, [self](const UIMsg &msg) { self->onRequest(msg); });
  return self;
}

GpsReceiver *GpsReceiver::of(SimulatedModem &modem) {
  return modem.findChild<GpsReceiver *>(QStringLiteral("GpsReceiver"), Qt::FindDirectChildrenOnly);
}

void GpsReceiver::setPosition(const Position &position) {
  position_ = position;
  position_.state = kTracking;
  hasPosition_ = true;
}

Position GpsReceiver::scenarioPosition() const {
  if (hasPosition_)
    return position_;
  const QVariantMap gps = modem_.scenario().value(QStringLiteral("GPS")).toMap();
  Position p;
  p.state = kTracking;
  p.latitude = gps.value(QStringLiteral("Latitude")).toString();
  p.longitude = gps.value(QStringLiteral("Longitude")).toString();
  p.altitude = gps.value(QStringLiteral("Altitude")).toString();
  const QVariantList velocity = gps.value(QStringLiteral("Velocity")).toList();
  for (int i = 0; i < 3 && i < velocity.size(); ++i)
    p.velocity[i] = velocity.at(i).toString();
  return p;
}

void GpsReceiver::onRequest(const UIMsg &msg) {
  const bool ok = modem_.isPlugged() && !failing_;
  switch (msg.minorId) {
  case kStart:
    modem_.send(kMajor, kStart, 1, ok ? 0 : 0xFF, {}, kModule);
    if (ok && !timer_.isActive()) {
      reports_ = 0;
      timer_.start();
    }
    return;
  case kPositionRequest:
    modem_.send(kMajor, kPositionRequest, 1, ok ? 0 : 0xFF, {}, kModule);
    return;
  case kStop:
    timer_.stop();
    modem_.send(kMajor, kStop, 1, 0, {}, kModule);
    return;
  default:
    return;
  }
}

void GpsReceiver::report() {
  if (!modem_.isPlugged()) {
    timer_.stop();
    return;
  }
  const int searching =
      modem_.scenario().value(QStringLiteral("GPS")).toMap().value(QStringLiteral("SearchFixes"), 2).toInt();
  Position p;
  if (reports_++ < searching)
    p.state = kSearching;
  else
    p = scenarioPosition();
  modem_.send(kMajor, kPosition, 1, 0, encode(p), kModule);
}
