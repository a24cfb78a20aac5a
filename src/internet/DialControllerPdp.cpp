// The PDP type groups of the profile windows and the IPv6 controls of the edit sheet: which
// controls show and which are enabled for which PDP type, and how a group maps to a type number.
#include "ButtonMatrix.h"
#include "ConfigService.h"
#include "DialController.h"
#include "DialControllerSupport.h"
#include "Platform.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGraphicsOpacityEffect>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace dialsupport;

namespace {
bool isFour(const ButtonMatrix *g) {
  return g && g->numberOfRows() == 2 && g->numberOfColumns() == 2;
}
bool isThree(const ButtonMatrix *g) {
  return g && g->numberOfRows() == 1 && g->numberOfColumns() == 3;
}
int selectedRowOf(const ButtonMatrix *g) {
  if (!g || g->numberOfColumns() <= 0 || g->selectedIndex() < 0)
    return 0;
  return g->selectedIndex() / g->numberOfColumns();
}
void check(ButtonMatrix *g, int row, int column) {
  if (QAbstractButton *cell = g->cellAtRow(row, column))
    cell->setChecked(true);
}
void enable(QWidget *w, bool on) {
  if (w)
    w->setEnabled(on);
}
void emptyAndEnable(QLineEdit *field, bool on) {
  if (!field)
    return;
  if (!on)
    field->clear();
  field->setEnabled(on);
}
} // namespace

int DialController::getFourPDPType(const ButtonMatrix *group) {
  if (!isFour(group))
    return 0;
  switch (group->selectedIndex()) {
  case 0:
    return 0; // (0,0)
  case 1:
    return 1; // (0,1)
  case 2:
    return 3; // (1,0)
  case 3:
    return 2; // (1,1)
  default:
    return 0;
  }
}

int DialController::getThreePDPType(const ButtonMatrix *group) {
  if (!isThree(group))
    return 0;
  switch (group->selectedIndex()) {
  case 1:
    return 2;
  case 2:
    return 3;
  default:
    return 0;
  }
}

int DialController::getPDPType(const ButtonMatrix *group) {
  if (isFour(group))
    return getFourPDPType(group);
  if (isThree(group))
    return getThreePDPType(group);
  return 0;
}

void DialController::displayPDPAt(ButtonMatrix *group, int type) {
  if (!group || type < 0 || type > 3)
    return;
  if (isFour(group)) {
    static const int cells[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    check(group, cells[type][0], cells[type][1]);
  } else if (isThree(group)) {
    static const int columns[4] = {0, 0, 1, 2};
    check(group, 0, columns[type]);
  }
}

void DialController::supportIPv6() {
  const bool on = switchOn(settingDict(), kInternet, QStringLiteral("SupportIPv6"));
  for (ButtonMatrix *g : {bPDPTypeGroup_.data(), ePDPTypeGroup_.data()})
    if (g)
      g->setVisible(on);
  enable(ePDPTypeGroup_, on);
  if (tabviewIpv6ApnConfig_ && tabviewIpv6ApnConfig_->parentWidget())
    tabviewIpv6ApnConfig_->parentWidget()->setVisible(on);
  if (on)
    checkIsSupportDoublePdpSettings();
  enable(bPDPTypeGroup_, false);
}

void DialController::checkIsSupportDoublePdpSettings() {
  if (!switchOn(settingDict(), kInternet, QStringLiteral("DualPDPSettings")))
    return;
  bSupportDoublePdp_ = true;
  if (isFour(ePDPTypeGroup_)) {
    if (QAbstractButton *cell = ePDPTypeGroup_->cellAtRow(0, 1)) {
      cell->setEnabled(false);
      auto *effect = new QGraphicsOpacityEffect(cell);
      effect->setOpacity(0.0);
      cell->setGraphicsEffect(effect);
    }
  }
}

void DialController::setIPv4ApnEnabled(bool on) {
  for (QWidget *w : std::initializer_list<QWidget *>{m_eIsSaveUserInfo, m_eUsername, m_ePassword, m_eIsAutoObtainAPN,
                                                     m_eAPN, m_eAuthMode})
    enable(w, on);
}

void DialController::setIPv6ApnEnabled(bool on) {
  for (QWidget *w : std::initializer_list<QWidget *>{checkSavePasswordForIPv6_, tfUsernameForIPv6_, tfPasswordForIPv6_,
                                                     radioObtainApnIPv6_, tfApnIPv6_, radioAuthModeIPv6_})
    enable(w, on);
}

void DialController::setPdpTypeStatus(QObject *) {
  switch (getPDPType(ePDPTypeGroup_)) {
  case 0:
    setIPv6ApnEnabled(false);
    setIPv4ApnEnabled(true);
    break;
  case 1:
    setIPv6ApnEnabled(false);
    setIPv4ApnEnabled(false);
    break;
  case 2:
    setIPv6ApnEnabled(true);
    setIPv4ApnEnabled(false);
    break;
  case 3:
    setUseSinglePdpForIPv6(checkSinglePdp_);
    setIPv4ApnEnabled(true);
    break;
  default:
    break;
  }
}

void DialController::setUseSinglePdpForIPv6(QObject *) {
  if (getPDPType(ePDPTypeGroup_) != 3)
    return;
  setIPv6ApnEnabled(!(checkSinglePdp_ && checkSinglePdp_->isChecked()));
}

void DialController::pdpTypeSelect(QObject *) {
  if (selectedRowOf(m_eIsAutoObtainAPN) == 0 || !switchOn(settingDict(), kInternet, QStringLiteral("SupportIPv6")))
    return;
  switch (getPDPType(ePDPTypeGroup_)) {
  case 0:
    enable(tfApnIPv6_, false);
    enable(m_eAPN, true);
    break;
  case 2:
    enable(tfApnIPv6_, true);
    enable(m_eAPN, false);
    break;
  case 3:
    enable(tfApnIPv6_, true);
    enable(m_eAPN, true);
    break;
  default:
    break;
  }
}

void DialController::selectObtainAPNTypeIPv6(ButtonMatrix *apnGroup) {
  emptyAndEnable(tfApnIPv6_, selectedRowOf(apnGroup) != 0);
  pdpTypeSelect();
}

void DialController::selectObtainPDPTypeIPv6(QObject *) {
  emptyAndEnable(tfPdpAddrIPv6_, selectedRowOf(radioObtainPdpIPv6_) != 0);
}

void DialController::selectObtainDNSTypeIPv6(QObject *) {
  const bool on = selectedRowOf(radioObtainDNSIPv6_) != 0;
  emptyAndEnable(tfPreferDNSIPv6_, on);
  emptyAndEnable(tfAltDNSIPv6_, on);
}

void DialController::saveAPNPasswordIPv6(QObject *) {
  const bool on = checkSavePasswordForIPv6_ && checkSavePasswordForIPv6_->isChecked();
  emptyAndEnable(tfUsernameForIPv6_, on);
  emptyAndEnable(tfPasswordForIPv6_, on);
}

void DialController::setApnEditWinCtrlStatusForIPv6() {
  saveAPNPasswordIPv6();
  selectObtainDNSTypeIPv6();
  selectObtainPDPTypeIPv6();
  pdpTypeSelect();
}

void DialController::advancedApnConfigForIPv4(QObject *) {
  if (tabviewIpv4ApnConfig_)
    tabviewIpv4ApnConfig_->setCurrentIndex(1);
}
void DialController::commonApnConfigForIPv4(QObject *) {
  if (tabviewIpv4ApnConfig_)
    tabviewIpv4ApnConfig_->setCurrentIndex(0);
}
void DialController::advancedApnConfigForIPv6(QObject *) {
  if (tabviewIpv6ApnConfig_)
    tabviewIpv6ApnConfig_->setCurrentIndex(1);
}
void DialController::commonApnConfigForIPv6(QObject *) {
  if (tabviewIpv6ApnConfig_)
    tabviewIpv6ApnConfig_->setCurrentIndex(0);
}

bool DialController::tabViewShouldSelectTabViewItem(QTabWidget *tabView) const {
  return tabView != tabviewApnSettings_;
}

int DialController::specialPdpTypeProcess(int type) {
  if (type < 0)
    return 0;
  const bool noIPv4v6 = SettingValue::toBool(ConfigService::readValue(kInternet, QStringLiteral("NoIPv4v6")));
  if (noIPv4v6 && Platform::sharedPlatform()->platform() == 1 && (type == 2 || type == 3))
    return 0;
  return type;
}

// ---- operator rules for the profile buttons ----

bool DialController::checkProviderIsEditable(int row) const {
  if (row < 0 || row >= readDefaultProfileNum() || row >= dialConfigArray.size())
    return false;
  const QVariantList names = moduleValue(const_cast<DialController *>(this)->settingDict(), kInternet,
                                         QStringLiteral("ArrayForEditableProvider"))
                                 .toList();
  if (names.isEmpty())
    return false;
  const QString provider = profileAt(row).value(QStringLiteral("provider")).toString();
  for (const QVariant &n : names)
    if (n.toString() == provider)
      return true;
  return false;
}

void DialController::setUsernameAndPasswordEditable(int row) {
  if (row >= 0 && checkProviderIsEditable(row))
    enable(m_editProfileBtn, true);
}

void DialController::setBtnStausForZUDE(int row) {
  if (row != 1 || !switchOn(settingDict(), kInternet, QStringLiteral("ZezAPNEditable")))
    return;
  enable(m_editProfileBtn, true);
  enable(m_DelAPNInfoBtn, false);
  enable(m_browseProfileBtn, true);
}
