// The "Router" tab: the router's own address, its subnet mask and the DHCP server.
#include "WLANController.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>

using namespace WLANChecks;

namespace {
void selectTag(QButtonGroup *group, qint64 tag) {
  if (group)
    if (QAbstractButton *b = group->button(int(tag)))
      b->setChecked(true);
}

QString text(const QLineEdit *field) {
  return field ? field->text() : QString();
}
} // namespace

void WLANController::showDHCP(const DHCPRecord &record) {
  dhcp = record;
  for (QWidget *w : std::initializer_list<QWidget *>{IPAddress, subnetMask})
    if (w)
      w->setEnabled(true);
  if (DHCPServerEnable)
    for (QAbstractButton *b : DHCPServerEnable->buttons())
      b->setEnabled(true);
  for (QLineEdit *f : {IPAddress.data(), subnetMask.data(), DHCPStartIP.data(), DHCPEndIP.data()})
    setAddressFormatter(f, true);
  if (IPAddress)
    IPAddress->setText(dhcp.ip_address);
  if (subnetMask)
    subnetMask->setText(dhcp.subnet_mask);
  selectTag(DHCPServerEnable, dhcp.dhcp_enable);
  if (dhcp.dhcp_enable == 1) {
    for (QLineEdit *f : {DHCPStartIP.data(), DHCPEndIP.data(), DHCPLeaseTime.data()})
      if (f)
        f->setEnabled(true);
    if (DHCPStartIP)
      DHCPStartIP->setText(dhcp.start_ip);
    if (DHCPEndIP)
      DHCPEndIP->setText(dhcp.end_ip);
    if (DHCPLeaseTime)
      DHCPLeaseTime->setText(QString::number(dhcp.dhcp_lease));
  }
}

void WLANController::enableDHCPServer() {
  const bool on = DHCPServerEnable && DHCPServerEnable->checkedId() == 1;
  for (QLineEdit *f : {DHCPStartIP.data(), DHCPEndIP.data()})
    setAddressFormatter(f, on);
  for (QLineEdit *f : {DHCPStartIP.data(), DHCPEndIP.data(), DHCPLeaseTime.data()})
    if (f)
      f->setEnabled(on);
  if (on) {
    if (DHCPStartIP)
      DHCPStartIP->setText(dhcp.start_ip);
    if (DHCPEndIP)
      DHCPEndIP->setText(dhcp.end_ip);
    if (DHCPLeaseTime)
      DHCPLeaseTime->setText(QString::number(dhcp.dhcp_lease));
  } else {
    for (QLineEdit *f : {DHCPStartIP.data(), DHCPEndIP.data(), DHCPLeaseTime.data()})
      if (f)
        f->clear();
  }
  setRouterButtons(true);
}

void WLANController::applyDHCP() {
  const QString address = text(IPAddress), mask = text(subnetMask);
  const QString start = text(DHCPStartIP), end = text(DHCPEndIP);
  const int tag = DHCPServerEnable ? std::max(0, DHCPServerEnable->checkedId()) : 0;
  if (!isIPAddressValid(address)) {
    alertOK(QStringLiteral("The IP address is invalid!"));
    return;
  }
  if (!isSubMaskValid(mask, start, end)) {
    alertOK(QStringLiteral("The Subnet Mask is invalid!"));
    return;
  }
  if (tag == 1) {
    if (!isIPAddressValid(start)) {
      alertOK(QStringLiteral("The DHCP Start IP address is invalid!"));
      return;
    }
    if (!isIPAddressValid(end)) {
      alertOK(QStringLiteral("The DHCP End IP address is invalid!"));
      return;
    }
    if (!isCorrectRange(start, end)) {
      alertOK(QStringLiteral("Please ensure Start IP and End IP correct!"));
      return;
    }
    if (isSameIPRange(address, start, end)) {
      alertOK(QStringLiteral("IP Address, Start IP and End IP should not be in the same IP range!"));
      return;
    }
  }
  dhcp.ip_address = address;
  dhcp.subnet_mask = mask;
  dhcp.start_ip = start;
  dhcp.end_ip = end;
  dhcp.dhcp_enable = quint32(tag);
  dhcp.dhcp_lease = quint32(std::clamp<qint64>(intValue(text(DHCPLeaseTime)), 0, 65535));
  sendApplyDHCP();
  setRouterButtons(false);
}

void WLANController::cancelDHCP() {
  if (IPAddress)
    IPAddress->setText(dhcp.ip_address);
  if (subnetMask)
    subnetMask->setText(dhcp.subnet_mask);
  selectTag(DHCPServerEnable, dhcp.dhcp_enable);
  enableDHCPServer();
  setRouterButtons(false);
}
