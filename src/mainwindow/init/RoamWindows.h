#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

// The roam alert: a small window of its own, brought to the front when the device starts
// roaming. It does not stop the user; OK orders it out.
class RoamAlertWindow : public QDialog {
  Q_OBJECT
public:
  explicit RoamAlertWindow(QWidget *parent);
  QLabel *roamwarnningText;
  QPushButton *ok;
};

// The reminder that the roaming network is billed like the home network: a sheet on the main
// window that never blocks the event loop. The checkbox keeps the question before a connect.
class WhiteListReminderSheet : public QDialog {
  Q_OBJECT
public:
  explicit WhiteListReminderSheet(QWidget *parent);
  QLabel *tfdZ3iRoamInWhiteList_;
  QLabel *tfdZ3iRemindNextConnect_;
  QCheckBox *checkboxZ3iWhiteCheck_;
  QPushButton *btnZ3iWhiteCheck_;
};
