#include "DeviceStatePanel.h"

#include "InitController.h"
#include "WordGlobe.h"

#include <QVBoxLayout>

DeviceStatePanel::DeviceStatePanel(QWidget *parent)
    : QWidget(parent), headline(new QLabel(this)), detail(new QLabel(this)) {
  headline->setObjectName(QStringLiteral("labelDeviceState"));
  detail->setObjectName(QStringLiteral("labelDeviceDetail"));
  QFont f = headline->font();
  f.setPointSizeF(f.pointSizeF() * 1.8);
  headline->setFont(f);
  headline->setAlignment(Qt::AlignCenter);
  detail->setAlignment(Qt::AlignCenter);
  auto *layout = new QVBoxLayout(this);
  layout->addStretch();
  layout->addWidget(headline);
  layout->addWidget(detail);
  layout->addStretch();
  NotificationCenter &center = NotificationCenter::defaultCenter();
  center.addObserver(this, kModemConnected, nullptr, [this](const Notification &n) {
    modem_ = n.userInfo.value(kModemConnected).toBool();
    refresh();
  });
  center.addObserver(this, kSimStatus, nullptr, [this](const Notification &n) {
    sim_ = n.userInfo.value(kSimStatus).toBool();
    refresh();
  });
  center.addObserver(this, kNetworkStatus, nullptr, [this](const Notification &n) {
    network_ = n.userInfo.value(kNetworkStatus).toString();
    refresh();
  });
  center.addObserver(this, kLocalSPN, nullptr, [this](const Notification &n) {
    operator_ = n.userInfo.value(kLocalSPN).toString();
    refresh();
  });
  refresh();
}

void DeviceStatePanel::refresh() {
  const auto word = [](const char *key) { return Map_Name_Item_of_IndexString(QLatin1String(key)); };
  if (!modem_)
    headline->setText(word("Device not detected!"));
  else if (!sim_)
    headline->setText(word("(U)SIM not ready"));
  else
    headline->setText(word("Ready"));
  QStringList parts;
  if (!operator_.isEmpty())
    parts << operator_;
  if (!network_.isEmpty() && modem_)
    parts << Map_Name_Item_of_IndexString(network_);
  detail->setText(parts.join(QStringLiteral("  ·  ")));
}

void DeviceStatePanel::setProfileBox(QWidget *box) {
  auto *column = qobject_cast<QVBoxLayout *>(layout());
  if (!box || !column)
    return;
  box->setParent(this);
  // Between the device texts and the closing stretch, centred and no wider than it needs.
  column->insertWidget(column->count() - 1, box, 0, Qt::AlignHCenter);
}
