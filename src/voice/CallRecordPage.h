#pragma once

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

class QHBoxLayout;

// The Record tab's own controls: the three kind buttons (row 0 missed, 1 received, 2 dialled),
// the log table, the action buttons and the save pop-up, and the place for the call-log
// plug-in's view. Widgets only; CallRecordController drives them.
class CallRecordPage : public QWidget {
  Q_OBJECT
public:
  explicit CallRecordPage(QWidget *parent = nullptr);

  void setBundleView(QWidget *view);

  QButtonGroup *recordAtPos = nullptr;
  QList<QPushButton *> kindButtons;
  QTableWidget *callRecordView = nullptr;
  QPushButton *deleteBtn = nullptr;
  QPushButton *DialBtn = nullptr;
  QPushButton *DialVoBtn = nullptr;
  QPushButton *SMSBtn = nullptr;
  QComboBox *btnSaveNumber = nullptr;
  QPushButton *btnGoBackToCall = nullptr;
  QLineEdit *sendMessageTo = nullptr;
  QLabel *labelCallHint = nullptr;

private:
  QHBoxLayout *row_ = nullptr;
  QPointer<QWidget> bundleView_;
};
