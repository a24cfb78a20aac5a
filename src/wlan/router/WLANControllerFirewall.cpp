// The "Firewall" tab: the IP filter switch with its default policy, and the virtual server
// switch. A refused change puts the switch back as it was before the user's action.
#include "WLANController.h"

#include "ConfigService.h"
#include "WordGlobe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

using namespace WLANChecks;

namespace {
void enable(std::initializer_list<QWidget *> widgets, bool on) {
  for (QWidget *w : widgets)
    if (w)
      w->setEnabled(on);
}
} // namespace

void WLANController::set_Firewall_States(bool on) {
  if (!tabIsOn(QStringLiteral("Firewall")))
    return;
  for (QCheckBox *box : {IPFilterEnable.data(), virtualServerEnable.data()}) {
    if (box) {
      box->setEnabled(on);
      box->setChecked(on);
    }
  }
  enable({IPFilterPolicy, IPFilterAdvanced, virtualServerAdvanced}, on);
  if (!on && IPFilterPolicy)
    IPFilterPolicy->setEditText(QString());
}

void WLANController::showFilterSwitch(const FilterSwitchRecord &record) {
  IF_enable = record.enable;
  IPPolicy = record.policy;
  previousIFEnable_ = IF_enable;
  previousPolicy_ = IPPolicy;
  if (IPFilterEnable) {
    IPFilterEnable->setEnabled(true);
    IPFilterEnable->setChecked(IF_enable != 0);
  }
  if (IF_enable != 0) {
    enable({IPFilterAdvanced, IPFilterPolicy}, true);
    if (IPFilterPolicy)
      IPFilterPolicy->setEditText(getComboxDisplay(IPPolicy, policyTable()));
  }
}

void WLANController::showVirtualSwitch(quint32 on) {
  VS_enable = on;
  previousVSEnable_ = on;
  if (virtualServerEnable) {
    virtualServerEnable->setEnabled(true);
    virtualServerEnable->setChecked(on != 0);
  }
  if (on != 0 && virtualServerAdvanced)
    virtualServerAdvanced->setEnabled(true);
}

void WLANController::enableIPFilter() {
  previousIFEnable_ = IF_enable;
  previousPolicy_ = IPPolicy;
  IF_enable = IPFilterEnable && IPFilterEnable->isChecked() ? 1 : 0;
  if (IF_enable) {
    enable({IPFilterAdvanced, IPFilterPolicy}, true);
    if (IPFilterPolicy) {
      IPFilterPolicy->setEditText(getComboxDisplay(IPPolicy, policyTable()));
      IPPolicy = IPFilterPolicy->currentText() == Map_Name_Item_of_IndexString(QStringLiteral("Drop")) ? 1 : 0;
    }
  } else {
    enable({IPFilterAdvanced, IPFilterPolicy}, false);
    if (IPFilterPolicy)
      IPFilterPolicy->setEditText(QString());
  }
  sendEnableIPFilter();
}

void WLANController::policyChosen() {
  const int position = getIndexofString(IPFilterPolicy->currentText(), policyTable());
  if (position < 0)
    return;
  previousIFEnable_ = IF_enable;
  previousPolicy_ = IPPolicy;
  IF_enable = 1;
  IPPolicy = quint32(position);
  sendEnableIPFilter();
}

void WLANController::enableVirtualServer() {
  previousVSEnable_ = VS_enable;
  VS_enable = virtualServerEnable && virtualServerEnable->isChecked() ? 1 : 0;
  if (virtualServerAdvanced)
    virtualServerAdvanced->setEnabled(VS_enable != 0);
  sendEnableVirtualServer();
}

void WLANController::restoreFilterSwitch() {
  IF_enable = previousIFEnable_;
  IPPolicy = previousPolicy_;
  if (IPFilterEnable)
    IPFilterEnable->setChecked(IF_enable != 0);
  enable({IPFilterAdvanced, IPFilterPolicy}, IF_enable != 0);
  if (IPFilterPolicy)
    IPFilterPolicy->setEditText(IF_enable ? getComboxDisplay(IPPolicy, policyTable()) : QString());
}

void WLANController::restoreVirtualSwitch() {
  VS_enable = previousVSEnable_;
  if (virtualServerEnable)
    virtualServerEnable->setChecked(VS_enable != 0);
  if (virtualServerAdvanced)
    virtualServerAdvanced->setEnabled(VS_enable != 0);
}
