// The roam alert window and the white-list reminder of InitController, and the home-MCC reply
// that goes with them.
#include "ConfigService.h"
#include "InitController.h"
#include "InitService.h"
#include "RoamWindows.h"
#include "WordGlobe.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtEndian>

namespace {
QString word(const QString &key) {
  return Map_Name_Item_of_IndexString(key);
}

bool on(const QString &module, const QString &key) {
  return ConfigService::readBool(module, key);
}
} // namespace

RoamAlertWindow *InitController::roamAlertWnd() {
  if (!roamAlertWnd_) {
    roamAlertWnd_ = new RoamAlertWindow(wndMain);
    roamAlertWnd_->ok->setText(word(QStringLiteral("OK")));
    connect(roamAlertWnd_->ok, &QPushButton::clicked, this, [this] { closeRoamAlertWnd(); });
    // Closed by its title bar it is as gone as by OK.
    connect(roamAlertWnd_, &QDialog::finished, this, [this] { roamAlertWndVisible_ = false; });
  }
  return roamAlertWnd_;
}

WhiteListReminderSheet *InitController::whiteListReminderSheet() {
  if (!winZ3iWhiteCheck_) {
    winZ3iWhiteCheck_ = new WhiteListReminderSheet(wndMain);
    connect(winZ3iWhiteCheck_->btnZ3iWhiteCheck_, &QPushButton::clicked, this,
            [this] { clickOKBtnInZ3iPopUp1(winZ3iWhiteCheck_->btnZ3iWhiteCheck_); });
    connect(winZ3iWhiteCheck_->checkboxZ3iWhiteCheck_, &QCheckBox::toggled, this,
            [this] { clickCheckboxInZ3iPopUp1(winZ3iWhiteCheck_->checkboxZ3iWhiteCheck_); });
  }
  return winZ3iWhiteCheck_;
}

void InitController::showRoamAlertWindow(int roamStatus) {
  if (!on(QString(), QStringLiteral("enableRoamAlert")))
    return;
  if (roamStatus == 0 && !hasAlertRoam) {
    hasAlertRoam = true;
    RoamAlertWindow *w = roamAlertWnd();
    w->setWindowTitle(word(QStringLiteral("STRING_ROAM_ALERT_WND")));
    w->roamwarnningText->setText(word(QStringLiteral("STRING_ROAM_ALERT_TEXT")));
    orderFrontRoamAlertWnd();
  } else if (roamStatus == 1 && hasAlertRoam) {
    // Home again: the next roaming spell is told again.
    hasAlertRoam = false;
  }
}

void InitController::orderFrontRoamAlertWnd() {
  RoamAlertWindow *w = roamAlertWnd();
  w->adjustSize();
  // Centred on the main window, or on the screen while there is none to see.
  const QWidget *over = wndMain && wndMain->isVisible() ? wndMain.data() : nullptr;
  QRect area = over ? over->frameGeometry() : QRect();
  if (area.isEmpty())
    if (const QScreen *screen = QGuiApplication::primaryScreen())
      area = screen->availableGeometry();
  if (!area.isEmpty())
    w->move(area.center() - QPoint(w->width() / 2, w->height() / 2));
  w->show();
  w->raise();
  w->activateWindow();
  roamAlertWndVisible_ = true;
}

void InitController::closeRoamAlertWnd(QObject *) {
  roamAlertWndVisible_ = false;
  if (roamAlertWnd_)
    roamAlertWnd_->hide();
}

void InitController::whiteListCheck() {
  if (!on(QStringLiteral("Internet"), QStringLiteral("paySameAsHomeNetIfIsWhilteNet")) || networkRoamStatus_ != 0 ||
      !isInWhiteList())
    return;
  whiteListCheckFlag_ = false;
  WhiteListReminderSheet *s = whiteListReminderSheet();
  // One reminder at a time: a second change of network while it is up leaves it as it is.
  if (s->isVisible())
    return;
  s->tfdZ3iRoamInWhiteList_->setText(word(QStringLiteral("roaminWhiteList")));
  s->tfdZ3iRemindNextConnect_->setText(word(QStringLiteral("remindNextConnect")));
  s->btnZ3iWhiteCheck_->setText(word(QStringLiteral("OK")));
  {
    const QSignalBlocker quiet(s->checkboxZ3iWhiteCheck_);
    s->checkboxZ3iWhiteCheck_->setChecked(roamTipWhenInWhiteList_);
  }
  s->open();
}

void InitController::clickOKBtnInZ3iPopUp1(QObject *) {
  if (winZ3iWhiteCheck_)
    winZ3iWhiteCheck_->accept();
}

void InitController::clickCheckboxInZ3iPopUp1(QObject *sender) {
  if (auto *box = qobject_cast<QCheckBox *>(sender))
    roamTipWhenInWhiteList_ = box->isChecked();
}

bool InitController::isWhiteListReminderOpen() const {
  return winZ3iWhiteCheck_ && winZ3iWhiteCheck_->isVisible();
}

void InitController::dealWithMsgOfCheckHPLMN(const Notification &n) {
  UIMsg msg;
  if (!readPackage(n, &msg) || msg.result != 0 || msg.dataLength < 4)
    return;
  setCurrentHMcc(int(qFromLittleEndian<quint32>(msg.data.data())));
}

bool InitController::progressSPNDomainForZavidev(const QString &shownName) {
  // Without a name to show there is nothing to replace.
  if (shownName.isEmpty())
    return false;
  const QVariant spnSet = settingDict().value(QStringLiteral("ZavidevSPNSet"));
  if (!spnSet.isValid() || !settingDict().contains(QStringLiteral("ZavidevPLMN")) ||
      !on(QString(), QStringLiteral("ZavidevSPNSet")))
    return false;
  const QString homeSpn = InitService::sharedInitService()->homeSpn();
  if (homeSpn.isEmpty())
    return false;
  setBelonetoSPN(homeSpn);
  return true;
}
