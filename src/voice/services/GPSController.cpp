#include "GPSController.h"

#include "UIMsg.h"
#include "WordGlobe.h"

GPSController *g_GPSController = nullptr;

namespace {
GPSController::RequestObserver &requestObserver() {
  static GPSController::RequestObserver observer;
  return observer;
}
} // namespace

GPSController::GPSController(QObject *parent) : QELUIController(parent) {
  setObjectName(QStringLiteral("GPSController"));
  g_GPSController = this;
}

GPSController::~GPSController() {
  if (g_GPSController == this)
    g_GPSController = nullptr;
}

void GPSController::setRequestObserver(RequestObserver observer) {
  requestObserver() = std::move(observer);
}

// ---- hooks ----

void GPSController::initializeNibResources() {
  if (!page)
    page = new GPSPage;
  if (!page->property("wired").toBool()) {
    connect(page->startBtn, &QPushButton::clicked, this, [this] { StartGPS(page->startBtn); });
    connect(page->stopBtn, &QPushButton::clicked, this, [this] { StopGPS(page->stopBtn); });
    page->setProperty("wired", true);
  }
  Init_GPS_Wording();
  page->startBtn->setEnabled(false);
  page->stopBtn->setEnabled(false);
  clearValues();
}

void GPSController::registerMessages() {
  if (!qelMsgCenter)
    return;
  using namespace GpsRecord;
  qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfGPSSTART:"), kMajor, kStart);
  qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfGPSSTOP:"), kMajor, kStop);
  qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfGPSPOSOTIONREQ:"), kMajor, kPositionRequest);
  qelMsgCenter->registerObserver(this, QByteArrayLiteral("dealWithMsgOfGPSPOSITION:"), kMajor, kPosition);
}

void GPSController::Init_GPS_Wording() {
  if (!page)
    return;
  page->startBtn->setText(Map_Name_Item_of_IndexString(QStringLiteral("startGPS")));
  page->stopBtn->setText(Map_Name_Item_of_IndexString(QStringLiteral("stopGPS")));
  page->statusLable->setText(Map_Name_Item_of_IndexString(QStringLiteral("status:")));
  page->latitudeLable->setText(Map_Name_Item_of_IndexString(QStringLiteral("latitude:")));
  page->longitudeLable->setText(Map_Name_Item_of_IndexString(QStringLiteral("longitude:")));
  page->altitudeLable->setText(Map_Name_Item_of_IndexString(QStringLiteral("altitude:")));
  page->velocityLable->setText(Map_Name_Item_of_IndexString(QStringLiteral("velocity:")));
}

void GPSController::setGPSBtnEnable() {
  if (!page)
    return;
  page->startBtn->setEnabled(true);
  page->stopBtn->setEnabled(false);
}

void GPSController::setValuesVisible(bool visible) {
  for (QLabel *l : {page->status, page->latitude, page->longitude, page->altitude, page->velocity})
    l->setVisible(visible);
}

void GPSController::clearValues() {
  for (QLabel *l : {page->status, page->latitude, page->longitude, page->altitude, page->velocity})
    l->clear();
}

// ---- requests ----

void GPSController::send(int minor, const QByteArray &data) {
  if (requestObserver())
    requestObserver()(minor, data);
  if (qelMsgCenter)
    qelMsgCenter->sendMessageModuleID(GpsRecord::kModule, GpsRecord::kMajor, minor, 0, 0, data);
}

void GPSController::StartGPS(QObject *) {
  send(GpsRecord::kStart, GpsRecord::words(0, 1));
  sendGPSRequestPosition();
}

void GPSController::sendGPSRequestPosition() {
  send(GpsRecord::kPositionRequest, GpsRecord::words(2, 5));
}

void GPSController::StopGPS(QObject *) {
  send(GpsRecord::kStop);
}

// ---- answers ----

namespace {
bool packageOf(const Notification &n, UIMsg *msg) {
  return QELMsgCenter::getMsgPackage(msg, n);
}
} // namespace

void GPSController::dealWithMsgOfGPSSTART(const Notification &n) {
  UIMsg m;
  if (packageOf(n, &m))
    startAnswered(m.type, m.result);
}

void GPSController::dealWithMsgOfGPSSTOP(const Notification &n) {
  UIMsg m;
  if (packageOf(n, &m))
    stopAnswered(m.type, m.result);
}

void GPSController::dealWithMsgOfGPSPOSOTIONREQ(const Notification &n) {
  UIMsg m;
  if (packageOf(n, &m))
    positionRequestAnswered(m.type, m.result);
}

void GPSController::dealWithMsgOfGPSPOSITION(const Notification &n) {
  UIMsg m;
  if (packageOf(n, &m))
    positionReceived(m.type, m.payload());
}

void GPSController::startAnswered(int type, int result) {
  if (!page || type != 1 || result != 0)
    return;
  setValuesVisible(true);
  page->startBtn->setEnabled(false);
  page->stopBtn->setEnabled(false);
}

void GPSController::positionRequestAnswered(int type, int result) {
  if (!page || type != 1)
    return;
  // A receiver that started but refuses positions can still be stopped: without Stop the page
  // would be left with both buttons off.
  if (result != 0 && page->startBtn->isEnabled())
    return;
  page->startBtn->setEnabled(false);
  page->stopBtn->setEnabled(true);
}

void GPSController::stopAnswered(int type, int result) {
  if (!page || type != 1 || result != 0)
    return;
  page->startBtn->setEnabled(true);
  page->stopBtn->setEnabled(false);
  setValuesVisible(false);
}

void GPSController::positionReceived(int type, const QByteArray &data) {
  if (!page || type != 1)
    return;
  const GpsRecord::Position p = GpsRecord::decode(data);
  switch (p.state) {
  case GpsRecord::kOff:
  case GpsRecord::kSearching:
    page->status->setText(p.state == GpsRecord::kOff ? QStringLiteral("OFF") : QStringLiteral("Searching"));
    page->latitude->clear();
    page->longitude->clear();
    page->altitude->clear();
    page->velocity->clear();
    break;
  case GpsRecord::kTracking:
    page->status->setText(QStringLiteral("Tracking"));
    page->latitude->setText(p.latitude);
    page->longitude->setText(p.longitude);
    page->altitude->setText(p.altitude);
    page->velocity->setText(p.velocity[0] + QLatin1Char(',') + p.velocity[1] + QLatin1Char(',') + p.velocity[2]);
    break;
  default:
    break;
  }
}

// ---- device ----

void GPSController::devicePlugin(const Notification &) {
  setGPSBtnEnable();
}

void GPSController::deviceRemoved(const Notification &) {
  initializeNibResources();
}

void GPSController::updateLanguages(const Notification &) {
  Init_GPS_Wording();
}
