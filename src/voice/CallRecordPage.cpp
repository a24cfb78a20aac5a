#include "CallRecordPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

CallRecordPage::CallRecordPage(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Record"));
  setProperty("itemIdentifier", QStringLiteral("Record"));
  const auto button = [this](const char *name) {
    auto *b = new QPushButton(this);
    b->setObjectName(QLatin1String(name));
    return b;
  };
  recordAtPos = new QButtonGroup(this);
  recordAtPos->setExclusive(true);
  auto *kinds = new QHBoxLayout;
  for (const char *name : {"btnMissedCalls", "btnReceivedCalls", "btnDialedCalls"}) {
    QPushButton *b = button(name);
    b->setCheckable(true);
    recordAtPos->addButton(b, int(kindButtons.size()));
    kindButtons << b;
    kinds->addWidget(b);
  }
  kinds->addStretch(1);
  callRecordView = new QTableWidget(0, 4, this);
  callRecordView->setObjectName(QStringLiteral("callRecordView"));
  callRecordView->setSelectionBehavior(QAbstractItemView::SelectRows);
  callRecordView->setSelectionMode(QAbstractItemView::ExtendedSelection);
  callRecordView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  callRecordView->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  callRecordView->horizontalHeader()->setStretchLastSection(true);
  callRecordView->verticalHeader()->hide();
  deleteBtn = button("btnDeleteBtn");
  DialBtn = button("btnDialBtn");
  DialVoBtn = button("btnDialVoBtn");
  SMSBtn = button("btnSMSBtn");
  btnSaveNumber = new QComboBox(this);
  btnSaveNumber->setObjectName(QStringLiteral("btnSaveNumber"));
  btnGoBackToCall = button("btnGoBackToCall");
  sendMessageTo = new QLineEdit(this);
  sendMessageTo->setObjectName(QStringLiteral("sendMessageTo"));
  sendMessageTo->hide();
  labelCallHint = new QLabel(QStringLiteral(" "), this);
  labelCallHint->setObjectName(QStringLiteral("labelCallHint"));
  labelCallHint->hide();
  auto *buttons = new QHBoxLayout;
  for (QWidget *w :
       std::initializer_list<QWidget *>{DialBtn, DialVoBtn, SMSBtn, deleteBtn, btnSaveNumber, btnGoBackToCall})
    buttons->addWidget(w);
  buttons->addStretch(1);
  auto *own = new QVBoxLayout;
  own->addLayout(kinds);
  own->addWidget(callRecordView, 1);
  own->addLayout(buttons);
  row_ = new QHBoxLayout(this);
  row_->addLayout(own, 2);
}

void CallRecordPage::setBundleView(QWidget *view) {
  if (!view || view == bundleView_)
    return;
  bundleView_ = view;
  row_->addWidget(view, 1);
  view->show(); // a tab page that was never current is still hidden
}
