// The "WLAN Security" tab: security mode, station limit, WEP keys and the WPA pass phrase.
#include "WLANController.h"

#include "WordGlobe.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace WLANChecks;

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

// The code of a shown text, or the held one when the text is in no table.
quint32 codeOr(const QString &text, const ValueTable &table, quint32 held) {
  const int index = getIndexofString(text, table);
  return index >= 0 ? quint32(index) : held;
}

// A number combo ("1".."5"): its number when the text is in the table, else the held value.
quint32 numberOr(const QString &text, const ValueTable &table, quint32 held) {
  return getIndexofString(text, table) >= 0 ? quint32(intValue(text)) : held;
}
} // namespace

void WLANController::showSecurity(const WLANSecurityRecord &record) {
  security = record;
  if (authenticationType) {
    authenticationType->setEditText(getComboxDisplay(security.aumode, authenticationTable()));
    authenticationType->setEnabled(true);
    reloadComboItems(encryptionMode);
  }
  if (MAXNum) {
    MAXNum->setEditText(QString::number(security.maxnum));
    MAXNum->setEnabled(true);
  }
}

void WLANController::showWEP(const WEPKeyRecord &record) {
  wep.shmode = record.shmode;
  if (encryptionMode) {
    reloadComboItems(encryptionMode);
    encryptionMode->setEditText(getComboxDisplay(wep.shmode, encryptionTable()));
    encryptionMode->setEnabled(true);
  }
  if (wep.shmode == 0) {
    setWEPKeyControlsHidden(true);
    return;
  }
  wep = record;
  setWEPKeyControlsHidden(false);
}

void WLANController::showWPA(const WPAKeyRecord &record) {
  wpa.wpamode = record.wpamode;
  wpa.presharekey = record.presharekey;
  if (encryptionMode) {
    reloadComboItems(encryptionMode);
    encryptionMode->setEditText(getComboxDisplay(wpa.wpamode, wpaCipherTable()));
    encryptionMode->setEnabled(true);
  }
  if (WPAPreShredKey) {
    WPAPreShredKey->setEnabled(true);
    WPAPreShredKey->setText(wpa.presharekey);
  }
  setWEPKeyControlsHidden(true);
}

void WLANController::showWPAField(bool on) {
  if (!WPAPreShredKey)
    return;
  WPAPreShredKey->setEnabled(on);
  if (on)
    WPAPreShredKey->setText(wpa.presharekey);
  else
    WPAPreShredKey->clear();
}

void WLANController::authenticationChosen() {
  const int position = getIndexofString(authenticationType->currentText(), authenticationTable());
  const QString encryption = encryptionMode ? encryptionMode->currentText() : QString();
  reloadComboItems(encryptionMode);
  if (position == 0) {
    showWPAField(false);
    if (encryption == word(QStringLiteral("WEP"))) {
      setWEPKeyControlsHidden(false);
    } else {
      if (encryption != word(QStringLiteral("NONE")) && encryptionMode)
        encryptionMode->setEditText(word(QStringLiteral("NONE")));
      setWEPKeyControlsHidden(true);
    }
  } else if (position == 1) {
    showWPAField(false);
    if (encryptionMode)
      encryptionMode->setEditText(word(QStringLiteral("WEP")));
    setWEPKeyControlsHidden(false);
  } else if (position >= 2) {
    showWPAField(true);
    if (encryptionMode)
      encryptionMode->setEditText(word(QStringLiteral("AES/TKIP")));
    setWEPKeyControlsHidden(true);
  }
}

void WLANController::encryptionChosen() {
  const QString auth = authenticationType ? authenticationType->currentText() : QString();
  const bool open = auth == word(QStringLiteral("OPEN"));
  const bool share = auth == word(QStringLiteral("SHARE"));
  const int position = getIndexofString(encryptionMode->currentText(), encryptionTable());
  if ((open || share) && position == 0) {
    showWPAField(false);
    authenticationType->setEditText(word(QStringLiteral("OPEN")));
    setWEPKeyControlsHidden(true);
  } else if (open && position == 1) {
    showWPAField(false);
    setWEPKeyControlsHidden(false);
  }
}

void WLANController::applySecurity() {
  const QString auth = authenticationType ? authenticationType->currentText() : QString();
  security.aumode = codeOr(auth, authenticationTable(), security.aumode);
  if (security.aumode > 1) {
    if (WPAPreShredKey && WPAPreShredKey->isEnabled() && WPAPreShredKey->text().size() < 8) {
      alertOK(QStringLiteral("The WPAPreShred Key should be 8 - 63 ASCII characters or 64 HEX characters!"));
      return;
    }
    if (encryptionMode)
      wpa.wpamode = codeOr(encryptionMode->currentText(), wpaCipherTable(), wpa.wpamode);
    if (WPAPreShredKey)
      wpa.presharekey = WPAPreShredKey->text();
  } else {
    if (encryptionMode)
      wep.shmode = codeOr(encryptionMode->currentText(), encryptionTable(), wep.shmode);
    if (wep.shmode != 0) {
      QString keys[4];
      bool ascii[4];
      for (int i = 0; i < 4; ++i) {
        keys[i] = WEPKey[i] ? WEPKey[i]->text() : QString();
        ascii[i] = WEPKeyModel[i] && WEPKeyModel[i]->currentText() == word(QStringLiteral("ASCII"));
      }
      for (int i = 0; i < 4; ++i) {
        const qsizetype n = keys[i].size();
        if (ascii[i] && n != 0 && n != 5 && n != 13) {
          alertOK(QStringLiteral("ASCII WEP Key should be 5 or 13 characters!"));
          return;
        }
      }
      for (int i = 0; i < 4; ++i) {
        const qsizetype n = keys[i].size();
        const bool hex = WEPKeyModel[i] && WEPKeyModel[i]->currentText() == word(QStringLiteral("HEX"));
        if (hex && n != 0 && n != 10 && n != 26) {
          alertOK(QStringLiteral("HEX WEP Key should be 10 or 26 characters!"));
          return;
        }
      }
      const qint64 index = WEPKeyIndex ? intValue(WEPKeyIndex->currentText()) : 0;
      if (index >= 1 && index <= 4 && keys[index - 1].isEmpty()) {
        alertOK(QStringLiteral("The selected WEP Key index should not be null!"));
        return;
      }
      for (int i = 0; i < 4; ++i) {
        wep.key[i] = keys[i];
        if (WEPKeyModel[i])
          wep.keyModel[i] = codeOr(WEPKeyModel[i]->currentText(), keyFormatTable(), wep.keyModel[i]);
      }
      if (WEPKeyIndex)
        wep.wepkeyindex = numberOr(WEPKeyIndex->currentText(), keyIndexTable(), wep.wepkeyindex);
    }
  }
  setSecurityButtons(false);
  if (MAXNum)
    security.maxnum = numberOr(MAXNum->currentText(), stationTable(), security.maxnum);
  sendApplyWifiSecurity();
  if (security.aumode > 1)
    sendApplyWifiSecurityWAP_PSK();
  else
    sendApplyWifiSecurityShare();
}

void WLANController::cancelSecurity() {
  if (authenticationType)
    authenticationType->setEditText(getComboxDisplay(security.aumode, authenticationTable()));
  if (MAXNum)
    MAXNum->setEditText(QString::number(security.maxnum));
  reloadComboItems(encryptionMode);
  if (security.aumode > 1) {
    if (encryptionMode)
      encryptionMode->setEditText(getComboxDisplay(wpa.wpamode, wpaCipherTable()));
    showWPAField(true);
  } else {
    if (encryptionMode)
      encryptionMode->setEditText(getComboxDisplay(wep.shmode, encryptionTable()));
    setWEPKeyControlsHidden(wep.shmode == 0);
    showWPAField(false);
  }
  setSecurityButtons(false);
}
