// Signal reports: the level from 0 to 5 for every device family, its pictures, the raw radio
// values for the diagnostics and signal-detail windows, and the prefer-3G suggestion when a
// signal is lost.
#include "ConfigService.h"
#include "InitController.h"
#include "InitService.h"
#include "InitStatusView.h"
#include "Platform.h"
#include "QELAlertPanel.h"
#include "WordGlobe.h"

#include <QBoxLayout>
#include <QtEndian>
#include <algorithm>
#include <limits>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

bool readBool(const char *module, const char *key) {
  return ConfigService::readBool(module ? QString::fromLatin1(module) : QString(), QString::fromLatin1(key));
}

// The little-endian word `index` of the data, when the package carries it. A report too short
// for the words its layout reads is dropped rather than read as zeros, which would show a
// signal nobody measured.
bool wordAt(const UIMsg &msg, int index, quint32 *out) {
  const int offset = index * 4;
  if (offset + 4 > msg.dataLength)
    return false;
  *out = qFromLittleEndian<quint32>(msg.data.data() + offset);
  return true;
}

int clampToInt(qint64 v) {
  return int(std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QString rssiImage(int level) {
  return QStringLiteral("rssi") + QString::number(level + 1);
}

// Network texts after which an RSCP or Ec/Io value means nothing.
bool isSecondGenerationText(const QString &text) {
  static const QStringList kTexts = {QStringLiteral("GPRS"), QStringLiteral("EDGE"), QStringLiteral("GSM"),
                                     QStringLiteral("2G"), QStringLiteral("No Service")};
  return kTexts.contains(text);
}
} // namespace

// ---- level tables ----

int InitController::levelOfCsq(qint64 csq) {
  if (csq < 3 || csq > 31)
    return 0;
  if (csq >= 16)
    return 5;
  if (csq >= 13)
    return 4;
  if (csq >= 10)
    return 3;
  if (csq >= 7)
    return 2;
  return 1;
}

int InitController::levelOf1X(qint64 value) {
  switch (value) {
  case 10:
    return 1;
  case 15:
    return 2;
  case 22:
    return 3;
  case 28:
    return 4;
  case 31:
    return 5;
  default:
    return 0;
  }
}

int InitController::levelOfCdma(qint64 value) {
  if (value <= 0 || value >= 120)
    return 0;
  if (value >= 95)
    return 1;
  if (value >= 85)
    return 2;
  if (value >= 75)
    return 3;
  if (value >= 65)
    return 4;
  return 5;
}

int InitController::levelOf2GRssi(qint64 rssiDbm) {
  if (rssiDbm < -107)
    return 0;
  if (rssiDbm <= -100)
    return 1;
  if (rssiDbm <= -94)
    return 2;
  if (rssiDbm <= -88)
    return 3;
  if (rssiDbm <= -82)
    return 4;
  return 5;
}

int InitController::levelOf3G(qint64 rscpDbm, qint64 ecioDb) {
  struct Threshold {
    int level, rscp, ecio;
  };
  static constexpr Threshold kThresholds[] = {
      {5, -91, -8}, {4, -97, -10}, {3, -104, -12}, {2, -111, -15}, {1, -115, -18}};
  for (const Threshold &t : kThresholds)
    if (rscpDbm >= t.rscp && ecioDb >= t.ecio)
      return t.level;
  return 0;
}

// ---- views ----

QLabel *InitController::ensureSignalView(QPointer<QLabel> &view, const char *name) {
  if (view || !statusView)
    return view;
  auto *label = new QLabel(statusView);
  label->setObjectName(QString::fromLatin1(name));
  label->hide();
  if (auto *row = qobject_cast<QBoxLayout *>(statusView->layout())) {
    const int at = row->indexOf(statusView->signalImage);
    row->insertWidget(at < 0 ? row->count() : at + 1, label);
  }
  view = label;
  return label;
}

void InitController::showEvdoImage(const QString &imageName) {
  showImage(ensureSignalView(m_evdoStatus, "imageEvdoStatus"), imageName);
}

void InitController::setEvdoViewsVisible(bool visible) {
  if (visible) {
    ensureSignalView(m_evdoStatus, "imageEvdoStatus");
    ensureSignalView(m_evdoStatusLabel, "labelEvdoStatus");
    ensureSignalView(m_rssiStatusLabel, "labelRssiStatus");
    if (m_evdoStatusLabel)
      m_evdoStatusLabel->setText(word(QStringLiteral("EVDO")));
    if (m_rssiStatusLabel)
      m_rssiStatusLabel->setText(word(QStringLiteral("1X")));
  }
  for (QLabel *view : {m_evdoStatus.data(), m_evdoStatusLabel.data(), m_rssiStatusLabel.data()})
    if (view)
      view->setVisible(visible);
}

void InitController::initWithCDMA() {
  // The roaming picture follows the status area's layout; the two signal pictures and their
  // labels come forward, and the diagnostics window keeps only the rows a CDMA device has.
  setEvdoViewsVisible(true);
  diagUseCdmaLayout();
}

void InitController::initSignalViewsForPlatform() {
  switch (Platform::sharedPlatform()->platform()) {
  case Platform::kPlatformTK330:
    setEvdoViewsVisible(true);
    break;
  case Platform::kPlatformCDMA:
    initWithCDMA();
    break;
  default:
    setEvdoViewsVisible(false);
    break;
  }
}

void InitController::signalDeviceRemoved() {
  timerAlertSelect3GPrefer_.stop();
  allowAlertSel3GPreferWhenSignalToNoSignal_ = true;
  // The next device starts without signal: a stale value would count as a signal lost at its
  // first report and bring the prefer-3G suggestion for a loss that never happened.
  m_SignalStrength = 0;
  initSignalViewsForPlatform();
  if (m_evdoStatus)
    showImage(m_evdoStatus, QStringLiteral("rssi1"));
  setIndiaDidoroSignal(0);
}

// ---- handlers ----

void InitController::dealWithMsgOfCheckSignalStatus(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || readBool("Main", "IceraSignal"))
    return;
  if (msg.tail[2] == '1') {
    dealWithMsgOfCheckCDMASignalStatus(msg);
    return;
  }
  switch (Platform::sharedPlatform()->platform()) {
  case Platform::kPlatformOther:
  case Platform::kPlatformIcera:
    displayQualcomWCDMASignal(msg);
    break;
  case Platform::kPlatformCDMA:
    displayQualcomCDMASignal(msg);
    break;
  default:
    break;
  }
}

void InitController::displayQualcomWCDMASignal(const UIMsg &msg) {
  quint32 csq = 0;
  if (!wordAt(msg, 0, &csq))
    return;
  m_SignalStrength = clampToInt(csq);
  setSignalStrength(levelOfCsq(csq));
}

void InitController::displayQualcomCDMASignal(const UIMsg &msg) {
  quint32 x = 0, evdo = 0;
  if (!wordAt(msg, 0, &x) || !wordAt(msg, 2, &evdo))
    return;
  display1XSignal(qint32(x));
  displayEvdoSignal(qint32(evdo));
  displayNetworkStatus(qint32(x), qint32(evdo));
}

void InitController::display1XSignal(qint64 value) {
  setSignalStrength(levelOf1X(value));
}

void InitController::displayEvdoSignal(qint64 value) {
  int level = 0;
  switch (value) {
  case 20:
    level = 1;
    break;
  case 40:
    level = 2;
    break;
  case 60:
    level = 3;
    break;
  case 80:
    level = 4;
    break;
  case 99:
    level = 5;
    break;
  default:
    break;
  }
  showEvdoImage(rssiImage(level));
}

void InitController::displayNetworkStatus(qint64 value1X, qint64 valueEvdo) {
  const bool has1X = value1X >= 1 && value1X <= 31;
  const bool hasEvdo = valueEvdo >= 1 && valueEvdo <= 99;
  QString text = QStringLiteral("No Service");
  if (has1X && hasEvdo)
    text = QStringLiteral("1X-EVDO");
  else if (has1X)
    text = QStringLiteral("CDMA 1X");
  else if (hasEvdo)
    text = QStringLiteral("EVDO");
  setNetworkStatus(word(text));
}

void InitController::dealWithMsgOfCheckCDMASignalStatus(const UIMsg &msg) {
  quint32 rawX = 0, rawEvdo = 0;
  if (!wordAt(msg, 0, &rawX) || !wordAt(msg, 1, &rawEvdo))
    return;
  const qint64 x = qint32(rawX), evdo = qint32(rawEvdo);
  setSignalStrength(levelOfCdma(x));
  showEvdoImage(rssiImage(levelOfCdma(evdo)));
  const bool valid1X = x >= 1 && x <= 119;
  const bool validEvdo = evdo >= 1 && evdo <= 119;
  if (!valid1X && !validEvdo)
    setNetworkStatus(word(QStringLiteral("No Service")));
  else if (valid1X && validEvdo)
    setNetworkStatus(word(QStringLiteral("1X-EVDO")));
  else if (x >= 11 && x <= 119)
    setNetworkStatus(word(QStringLiteral("CDMA 1X")));
  else if (!valid1X)
    setNetworkStatus(word(QStringLiteral("EVDO")));
  // A weak 1X value (1 to 10) without EVDO keeps the text it had.
}

void InitController::dealWithMsgOfCheckQrssiSignalStatus(const Notification &n) {
  UIMsg msg;
  quint32 w0 = 0, w1 = 0, w2 = 0;
  if (!readPackage(n, &msg) || !wordAt(msg, 0, &w0) || !wordAt(msg, 1, &w1) || !wordAt(msg, 2, &w2))
    return;
  const qint64 rssi = -qint64(w0);
  int level = 0;
  qint64 rscp = w2, ecio = w1;
  if (w1 == 1000 || w2 == 1000) {
    level = levelOf2GRssi(rssi);
  } else {
    ecio = -qint64(w1) / 2;
    rscp = -qint64(w2) / 2;
    level = levelOf3G(rscp, ecio);
  }
  if (readBool("Internet", "z3iAlertSel3G_PreferWhenSignalToNoSignal") && level == 0 && m_SignalStrength != 0 &&
      getCurrentNetWorkPreferedMode() == 1 && allowAlertSel3GPreferWhenSignalToNoSignal_)
    startTimerOfAlertSelect3GPreferIfNoSignalWithSeconds(
        ConfigService::readValue(QStringLiteral("Main"), QStringLiteral("timeToAlertSel3G_PreferIfNoSigal"))
            .toDouble());
  m_SignalStrength = level;
  setSignalStrength(level);
  signalDetailRssi_ = QString::number(w0);
  setRssiSignalWithRSCP(clampToInt(rscp), clampToInt(rssi), clampToInt(ecio));
}

void InitController::dealWithMsgOfCheckSignalStatusIcera(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || !readBool("Main", "IceraSignal"))
    return;
  quint32 mode = 0, w1 = 0, w2 = 0, w3 = 0;
  if (!wordAt(msg, 0, &mode) || !wordAt(msg, 1, &w1) || !wordAt(msg, 2, &w2) || !wordAt(msg, 3, &w3))
    return;
  const int rssi = qint32(w1), rscp = qint32(w2), ecio = qint32(w3);
  InitService *service = InitService::sharedInitService();
  if (mode == 1) {
    setSignalStrength(levelOf2GRssi(rssi));
    service->setSignalStrengthFlag(0);
  } else if (mode == 2) {
    setSignalStrength(levelOf3G(rscp, ecio));
    service->setSignalStrengthFlag(1);
  } else {
    setSignalStrength(0);
  }
  setRssiSignalWithRSCP(rscp, rssi, ecio);
}

void InitController::dealWithMsgOfCheckQairInfoStatus(const Notification &n) {
  constexpr int kRac = 164, kFrequency = 168, kChannel = 236, kRxQual = 248, kRxLev = 252;
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.result != 0 || msg.dataLength < kRxLev + 4)
    return;
  const auto number = [&msg](int offset) {
    return QString::number(qint32(qFromLittleEndian<quint32>(msg.data.data() + offset)));
  };
  const char *text = reinterpret_cast<const char *>(msg.data.data()) + kFrequency;
  const char *end = std::find(text, text + (kChannel - kFrequency), '\0');
  diagRAC_ = number(kRac);
  diagFrequency_ = QString::fromLatin1(text, int(end - text));
  diagChannel_ = number(kChannel);
  diagRXqual_ = number(kRxQual);
  diagRXlev_ = number(kRxLev);
  showDiagAirInfo();
}

// ---- setters ----

void InitController::setSignalStrength(int level) {
  if (!runtimeObjectForKey(kRTSIMCardReady).toBool())
    level = 0;
  if (readBool("Init", "ShowSignalWhenServiceExist") &&
      (networkName_ == QLatin1String("No Service") || networkName_ == QLatin1String("Limited Service")))
    level = 0;
  if (level < 0 || level > 5)
    return;
  if (statusView)
    showImage(statusView->signalImage, rssiImage(level));
  setIndiaDidoroSignal(level);
  sendNotification(kSingalStrength, level);
}

void InitController::setIndiaDidoroSignal(int level) {
  if (!readBool("Init", "SetIndiaDidoroSignal"))
    return;
  if (QLabel *image = ensureSignalView(imageViewOfSignalStrengthForDidoro_, "imageViewOfSignalStrengthForDidoro")) {
    image->show();
    showImage(image, QStringLiteral("SIGNAL") + QString::number(level + 1));
  }
  if (statusView)
    statusView->signalImage->setToolTip(word(level > 0 ? QStringLiteral("Signal") : QStringLiteral("No Signal")));
}

void InitController::setRssiSignalWithRSCP(int rscp, int rssi, int ecno) {
  notificationCenter->postNotificationName(QStringLiteral("ReadRscpRssiEcnoInfo"), this,
                                           {{QStringLiteral("RSCP"), QString::number(rscp)},
                                            {QStringLiteral("RSSI"), QString::number(rssi)},
                                            {QStringLiteral("ECNO"), QString::number(ecno)}});
  const QString dBm = QStringLiteral("%1 dBm");
  rscp_ = dBm.arg(rscp);
  rssi_ = dBm.arg(rssi);
  ecno_ = dBm.arg(ecno);
  InitService *service = InitService::sharedInitService();
  if (service->signalStrengthFlag() == 1)
    service->setSignalStrength(rscp_);
  else if (service->signalStrengthFlag() == 0)
    service->setSignalStrength(rssi_);
  if (!readBool("Main", "UpdateDiagWindow"))
    return;
  if (isSecondGenerationText(networkName_) && readBool(nullptr, "NoShowInValidValueOfEcioRscp")) {
    rscp_ = QStringLiteral("");
    ecno_ = QStringLiteral("");
  } else {
    diagSignalFields_.insert(QStringLiteral("RSCP"), rscp_);
    diagSignalFields_.insert(QStringLiteral("ECNO"), ecno_);
  }
  diagSignalFields_.insert(QStringLiteral("RSSI"), rssi_);
  diagSignalFields_.insert(QStringLiteral("SignalStrength"), service->signalStrength());
}

// ---- prefer-3G suggestion ----

void InitController::startTimerOfAlertSelect3GPreferIfNoSignalWithSeconds(double seconds) {
  timerAlertSelect3GPrefer_.stop();
  // The interval comes from the settings file: anything that is not a sane delay fires at once.
  const double ms = seconds * 1000.0;
  timerAlertSelect3GPrefer_.start(ms > 0 && ms < std::numeric_limits<int>::max() ? int(ms) : 0);
}

void InitController::alertSelect3GPreferIfNoSignal() {
  if (m_SignalStrength != 0 || getCurrentNetWorkPreferedMode() != 1)
    return;
  // Without waiting: a removal while it is up closes it, and the removal's "allowed again" is
  // not undone by an answer that comes later.
  NSBeginAlertPanelExt(word(QStringLiteral("Warning")),
                       word(QStringLiteral("z3iAlertSel3G_PreferWhenSignalToNoSignal")), word(QStringLiteral("OK")));
  setAllowAlertSel3GPreferWhenSignalToNoSignal(false);
}
