#include "SmsArrivalWindows.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
constexpr Qt::WindowFlags kNoteFlags = Qt::Tool | Qt::WindowStaysOnTopHint;

QLabel *namedLabel(QWidget *parent, const QString &name) {
  auto *l = new QLabel(parent);
  l->setObjectName(name);
  l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return l;
}
} // namespace

SmsNoteWindow::SmsNoteWindow(QWidget *parent, const QString &name, int parts) : QWidget(parent, kNoteFlags) {
  setObjectName(name);
  setAttribute(Qt::WA_ShowWithoutActivating);
  resize(320, (parts & Content) ? 220 : 150);
  auto *column = new QVBoxLayout(this);
  if (parts & Title) {
    title = namedLabel(this, QStringLiteral("title"));
    title->setAlignment(Qt::AlignCenter);
    column->addWidget(title);
  }
  auto *form = new QFormLayout;
  QLabel **labels[] = {&label1, &label2, &label3};
  QLabel **fields[] = {&field1, &field2, &field3};
  for (int i = 0; i < 3; ++i) {
    if (!(parts & (Field1 << i)))
      continue;
    *labels[i] = namedLabel(this, QStringLiteral("label%1").arg(i + 1));
    *fields[i] = namedLabel(this, QStringLiteral("field%1").arg(i + 1));
    (*fields[i])->setWordWrap(true);
    form->addRow(*labels[i], *fields[i]);
  }
  column->addLayout(form);
  if (parts & Content) {
    content = new QTextBrowser(this);
    content->setObjectName(QStringLiteral("content"));
    content->setOpenLinks(false);
    column->addWidget(content, 1);
  }
  if (parts & Check) {
    check = new QCheckBox(this);
    check->setObjectName(QStringLiteral("check"));
    check->hide();
    column->addWidget(check);
  }
  auto *row = new QHBoxLayout;
  row->addStretch(1);
  if (parts & Other) {
    otherBtn = new QPushButton(this);
    otherBtn->setObjectName(QStringLiteral("otherBtn"));
    row->addWidget(otherBtn);
  }
  okBtn = new QPushButton(QStringLiteral("OK"), this);
  okBtn->setObjectName(QStringLiteral("okBtn"));
  row->addWidget(okBtn);
  column->addLayout(row);
}

void SmsNoteWindow::orderFront() {
  if (!isVisible())
    show();
  raise();
}

void SmsNoteWindow::closeEvent(QCloseEvent *event) {
  // The title bar's close is the window's own button, so the sound and the queue end the same.
  event->ignore();
  emit closedByUser();
}

SmsPurchaseWindow::SmsPurchaseWindow(QWidget *parent) : QWidget(parent, kNoteFlags) {
  setObjectName(QStringLiteral("wndRecharge_"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  resize(360, 200);
  auto *column = new QVBoxLayout(this);
  labelOfPurchaseInfo_ = namedLabel(this, QStringLiteral("labelOfPurchaseInfo_"));
  labelOfPurchaseInfo_->setWordWrap(true);
  column->addWidget(labelOfPurchaseInfo_, 1);
  combOfPurchaseList_ = new QComboBox(this);
  combOfPurchaseList_->setObjectName(QStringLiteral("combOfPurchaseList_"));
  column->addWidget(combOfPurchaseList_);
  auto *row = new QHBoxLayout;
  row->addStretch(1);
  auto button = [&](QPushButton *&b, const char *name) {
    b = new QPushButton(this);
    b->setObjectName(QLatin1String(name));
    row->addWidget(b);
  };
  button(btnOfPurchaseInVolStatusWnd_, "btnOfPurchaseInVolStatusWnd_");
  button(btnOfPurchaseInPartnerWnd_, "btnOfPurchaseInPartnerWnd_");
  button(btnOfConfirmInPurchaseWnd_, "btnOfConfirmInPurchaseWnd_");
  button(btnOfCancelInRechargeWnd_, "btnOfCancelInRechargeWnd_");
  button(btnOfOKInRechargeWnd_, "btnOfOKInRechargeWnd_");
  column->addLayout(row);
}
