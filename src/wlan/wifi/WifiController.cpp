#include "WifiController.h"

#include <QDebug>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

WifiController::WifiController(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("WifiController"));
  setWindowTitle(QStringLiteral("Wi-Fi"));
  auto *v = new QVBoxLayout(this);
  auto *buttons = new QHBoxLayout;
  auto make = [&](const char *title, const char *name, void (WifiController::*action)()) {
    auto *b = new QPushButton(QLatin1String(title), this);
    b->setObjectName(QLatin1String(name));
    connect(b, &QPushButton::clicked, this, action);
    buttons->addWidget(b);
    return b;
  };
  btnWifiOn = make("wifi on", "btnWifiOn", &WifiController::wifiTurnON);
  btnWifiScan = make("scan", "btnWifiScan", &WifiController::wifiScan);
  btnWifiConnect = make("connect", "btnWifiConnect", &WifiController::wifiConnect);
  btnWifiCreate = make("create", "btnWifiCreate", &WifiController::wifiCreatSpot);
  btnWifiDisconnect = make("disconnect", "btnWifiDisconnect", &WifiController::wifiDisconnectAll);
  v->addLayout(buttons);
  tbvWifiScanResult = new QTableWidget(0, 2, this);
  tbvWifiScanResult->setObjectName(QStringLiteral("tbvWifiScanResult"));
  tbvWifiScanResult->setHorizontalHeaderLabels({QStringLiteral("name"), QStringLiteral("need password")});
  tbvWifiScanResult->setSelectionBehavior(QAbstractItemView::SelectRows);
  tbvWifiScanResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tbvWifiScanResult->horizontalHeader()->setStretchLastSection(true);
  connect(tbvWifiScanResult, &QTableWidget::itemSelectionChanged, this, [this] {
    const auto items = tbvWifiScanResult->selectedItems();
    if (!items.isEmpty() && items.first()->row() < list.size())
      tfdWifiConnectName->setText(list.at(items.first()->row()).getNetworkName());
  });
  v->addWidget(tbvWifiScanResult, 1);
  tfdWifiConnectName = new QLineEdit(this);
  tfdWifiConnectName->setObjectName(QStringLiteral("tfdWifiConnectName"));
  tfdWifiConnectPassword = new QLineEdit(this);
  tfdWifiConnectPassword->setObjectName(QStringLiteral("tfdWifiConnectPassword"));
  tfdWifiConnectPassword->setEchoMode(QLineEdit::Password);
  v->addWidget(tfdWifiConnectName);
  v->addWidget(tfdWifiConnectPassword);
}

void WifiController::log(const QString &line) {
  logLines << line;
  qInfo().noquote() << "WifiController:" << line;
}

bool WifiController::initWIFILibrary() {
  core_ = WiFiCore::defaultWiFiController();
  return core_ && core_->wirelessControllerAvailable();
}

void WifiController::titlePowerButton(int state) {
  if (state == 1)
    btnWifiOn->setText(QStringLiteral("wifi off"));
  else if (state == 0)
    btnWifiOn->setText(QStringLiteral("wifi on"));
}

void WifiController::awakeFromNib() {
  if (!initWIFILibrary() && core_)
    log(core_->lastErrorDescription().isEmpty() ? QStringLiteral("WiFi not available") : core_->lastErrorDescription());
  if (core_)
    titlePowerButton(core_->controllerState());
}

void WifiController::wifiTurnON() {
  if (!core_)
    return;
  const int state = core_->controllerState();
  if (state < 0) {
    log(core_->lastErrorDescription());
    return;
  }
  core_->setWiFiPower(state == 0);
  titlePowerButton(core_->controllerState());
}

void WifiController::wifiScan() {
  if (!core_)
    return;
  const auto spots = core_->scanForSpots();
  list = spots.value_or(QList<WiFiSpot>());
  if (list.isEmpty())
    log(QStringLiteral("Wifi spots not found"));
  for (const WiFiSpot &s : list)
    log(QStringLiteral("-> %1 (%2% signal -> WEP: %3 WAP: %4)")
            .arg(s.getNetworkName())
            .arg(s.signalStrength())
            .arg(s.isWEPEncrypted() ? QStringLiteral("YES") : QStringLiteral("NO"),
                 s.isWAPManaged() ? QStringLiteral("YES") : QStringLiteral("NO")));
  reloadTable();
}

void WifiController::reloadTable() {
  tbvWifiScanResult->setRowCount(int(list.size()));
  for (int r = 0; r < list.size(); ++r) {
    tbvWifiScanResult->setItem(r, 0, new QTableWidgetItem(list.at(r).getNetworkName()));
    tbvWifiScanResult->setItem(r, 1,
                               new QTableWidgetItem(list.at(r).isWEPEncrypted() ? QString(QChar(0x263B)) : QString()));
  }
}

void WifiController::wifiConnect() {
  if (!core_)
    return;
  const QString name = tfdWifiConnectName->text();
  const QString password = tfdWifiConnectPassword->text();
  const quint32 code =
      password.isEmpty() ? core_->joinOnFreeNetworkNamed(name) : core_->joinOnWEPNetworkNamed(name, password);
  if (code != 0)
    log(QStringLiteral("connect failed!"));
}

void WifiController::wifiCreatSpot() {
  if (!core_)
    return;
  // A channel the adapter could not choose is no channel: nothing is created.
  const quint32 channel = core_->bestAdHocChannel();
  if (core_->lastError() != 0 ||
      core_->createNetworkNamed(tfdWifiConnectName->text(), tfdWifiConnectPassword->text(), int(channel)) != 0)
    log(QStringLiteral("Creat failed!"));
}

void WifiController::wifiDisconnectAll() {
  if (core_ && core_->disassociate() != 0)
    log(core_->lastErrorDescription());
}

void WifiController::wificore_pollingStarted() {
  log(QStringLiteral("Polling started"));
}

void WifiController::wificore_pollingEnded() {
  log(QStringLiteral("Polling ended"));
}

void WifiController::wificore_pollingResultsAvailable(const QMap<QString, WiFiSpot> &discovered) {
  log(QStringLiteral("%1 hot spots found").arg(discovered.size()));
}
