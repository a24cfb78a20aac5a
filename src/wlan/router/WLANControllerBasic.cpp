// The "WLAN Basic" tab: network name, channel, mode, rate, name broadcast and factory reset.
#include "WLANController.h"

#include "QELAlertPanel.h"
#include "WordGlobe.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace WLANChecks;

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

void selectTag(QButtonGroup *group, qint64 tag) {
  if (!group)
    return;
  if (QAbstractButton *b = group->button(int(tag)))
    b->setChecked(true);
}

// A channel or rate code as shown: "Auto" for 0, else the number.
QString numberOrAuto(quint32 value) {
  return value == 0 ? word(QStringLiteral("Auto")) : QString::number(value);
}

// The code of a channel or rate text: 0 for "Auto", the number of a text in its table, the held
// code for a text that is in no table (a typed text never sends a made-up value).
quint32 codeOfNumberText(const QString &text, const ValueTable *table, quint32 held) {
  if (text == word(QStringLiteral("Auto")))
    return 0;
  if (table && getIndexofString(text, *table) > 0)
    return quint32(intValue(text));
  return held;
}
} // namespace

void WLANController::showBasic(const WLANBasicRecord &record) {
  basic = record;
  for (QWidget *w : std::initializer_list<QWidget *>{wifiRestore, SSIDName, channel, WLANMode, WLANRate})
    if (w)
      w->setEnabled(true);
  if (brocastEnable)
    for (QAbstractButton *b : brocastEnable->buttons())
      b->setEnabled(true);
  if (SSIDName)
    SSIDName->setText(basic.ssid);
  selectTag(brocastEnable, basic.hidessid);
  if (WLANMode) {
    WLANMode->setEditText(getComboxDisplay(basic.apmode, modeTable()));
    reloadComboItems(WLANRate);
  }
  showRateAndChannel();
}

void WLANController::showRateAndChannel() {
  if (channel)
    channel->setEditText(numberOrAuto(basic.apchannel));
  if (WLANRate)
    WLANRate->setEditText(numberOrAuto(basic.aprate));
}

void WLANController::hideSSIDBroadcast() {
  setBasicButtons(true);
}

void WLANController::applyBasic() {
  if (SSIDName)
    basic.ssid = SSIDName->text();
  if (brocastEnable && brocastEnable->checkedId() >= 0)
    basic.hidessid = quint32(brocastEnable->checkedId());
  const int mode = WLANMode ? getIndexofString(WLANMode->currentText(), modeTable()) : -1;
  if (mode >= 0)
    basic.apmode = quint32(mode);
  if (channel)
    basic.apchannel = codeOfNumberText(channel->currentText(), &channelTable(), basic.apchannel);
  if (WLANRate) {
    // "5.5" reads as 5, the way 5.5 Mbit/s travels.
    const ValueTable *rates = rateTableForModeText(WLANMode ? WLANMode->currentText() : QString());
    basic.aprate = codeOfNumberText(WLANRate->currentText(), rates, basic.aprate);
  }
  sendApplyWifiBasic();
  setBasicButtons(false);
}

void WLANController::cancelBasic() {
  if (SSIDName)
    SSIDName->setText(basic.ssid);
  selectTag(brocastEnable, basic.hidessid);
  if (WLANMode) {
    WLANMode->setEditText(getComboxDisplay(basic.apmode, modeTable()));
    reloadComboItems(WLANRate);
  }
  if (channel)
    channel->setEditText(getComboxDisplay(basic.apchannel, channelTable()));
  if (WLANRate)
    WLANRate->setEditText(numberOrAuto(basic.aprate));
  setBasicButtons(false);
}

void WLANController::restoreBasic() {
  const int answer = NSRunAlertPanelExt(word(QStringLiteral("Warning!")),
                                        word(QStringLiteral("Are you sure restoring factory default settings?")),
                                        word(QStringLiteral("OK")), word(QStringLiteral("Cancel")));
  if (answer != 1)
    return;
  if (wifiRestore)
    wifiRestore->setEnabled(false);
  sendRestoreFactoryDefault();
}
