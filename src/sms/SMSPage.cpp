#include "SMSPage.h"

#include "FlowRow.h"
#include "NSTableViewExt.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

namespace {
template <typename T> T *named(T *widget, const char *name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}
} // namespace

SMSPage::SMSPage(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("viewSMSTab"));
  setProperty("itemIdentifier", QStringLiteral("SMS"));
  // The skin sizes the tab view; the page's controls never widen the main window.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

  saveAtPos = named(new QListWidget(this), "matrixSMSSaveAtPos");
  msgBoxSelectAt = named(new QListWidget(this), "matrixSMSMessageBoxSelectAt");
  for (QListWidget *list : {saveAtPos, msgBoxSelectAt}) {
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMaximumWidth(150);
  }
  saveAtPos->setMaximumHeight(80);
  // The counters live on the box list's rows, so they scroll with them.
  inBoxMessageNum = named(new QLabel(msgBoxSelectAt->viewport()), "labelInboxMessageNum");
  outBoxMessageNum = named(new QLabel(msgBoxSelectAt->viewport()), "labelOutBoxMessageNum");
  draftBoxMessageNum = named(new QLabel(msgBoxSelectAt->viewport()), "labelDraftBoxMessageNum");
  for (QLabel *label : boxCounters()) {
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->hide();
  }
  msgBoxSelectAt->viewport()->installEventFilter(this);
  connect(msgBoxSelectAt->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeBoxCounters(); });
  auto *boxes = new QHBoxLayout;
  boxes->addWidget(msgBoxSelectAt);
  outlineSMSTree = named(new NSOutlineViewExt(this), "outlineSMSTree");
  outlineSMSTree->setHeaderHidden(true);
  outlineSMSTree->setMinimumWidth(170);
  outlineSMSTree->setMaximumWidth(220);
  outlineSMSTree->setIndentation(12);
  outlineSMSTree->setSelectionMode(QAbstractItemView::SingleSelection);
  auto *left = new QVBoxLayout;
  left->addWidget(outlineSMSTree, 2);
  left->addWidget(saveAtPos);
  left->addLayout(boxes, 1);

  SearchSMS_item = named(new QLineEdit(this), "textSearchSMS");
  SearchSMS_item->setClearButtonEnabled(true);
  smsSearchBtn_ = named(new QPushButton(this), "btnSearchMsg");
  auto *search = new QHBoxLayout;
  search->addWidget(SearchSMS_item, 1);
  search->addWidget(smsSearchBtn_);

  msgBoxList = named(new QTableView(this), "tableMessageBoxList");
  msgBoxList->setSelectionBehavior(QAbstractItemView::SelectRows);
  msgBoxList->setSelectionMode(QAbstractItemView::ExtendedSelection);
  msgBoxList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  msgBoxList->verticalHeader()->hide();
  msgBoxList->horizontalHeader()->setStretchLastSection(true);
  msgBoxList->horizontalHeader()->setSectionsClickable(true);
  msgBoxList->setShowGrid(false);
  msgBoxList->setAlternatingRowColors(true);
  msgBoxList->horizontalHeader()->setDefaultSectionSize(130);
  msgBoxList->horizontalHeader()->setHighlightSections(false);
  messageText = named(new QTextBrowser(this), "tableMessageText");
  messageText->setOpenLinks(false);
  messageText->setReadOnly(true);
  auto *split = new QSplitter(Qt::Vertical, this);
  split->addWidget(msgBoxList);
  split->addWidget(messageText);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);

  callBtn = named(new QPushButton(this), "btnSMSCall");
  newMessageBtn = named(new QPushButton(this), "btnSMSNewMessage");
  replyBtn = named(new QPushButton(this), "btnSMSReply");
  forwardMessageBtn = named(new QPushButton(this), "btnSMSFowardMessage");
  deleteBtn = named(new QPushButton(this), "btnSMSDelete");
  saveToBtn = named(new QPushButton(this), "btnSMSSaveTo");
  btnMoveTo_ = named(new QPushButton(this), "btnSMSMoveTo");
  savePhonePopUp = named(new QComboBox(this), "comboSavePhonePopUp");
  btnRecover_ = named(new QPushButton(this), "btnSMSRecover");
  btnMoveToImportantBox_ = named(new QPushButton(this), "btnSMSMoveToImportantBox");
  popBtnSaveMessage_ = named(new QComboBox(this), "popBtnSaveMessage");
  // The buttons wrap onto a second row rather than cut their titles.
  auto *buttons = new FlowRow;
  for (QWidget *w : std::initializer_list<QWidget *>{newMessageBtn, replyBtn, forwardMessageBtn, callBtn, deleteBtn,
                                                     saveToBtn, btnMoveTo_, popBtnSaveMessage_, btnRecover_,
                                                     btnMoveToImportantBox_, savePhonePopUp})
    buttons->addWidget(w);

  auto *right = new QVBoxLayout;
  right->addLayout(search);
  right->addWidget(split, 1);
  right->addLayout(buttons);
  auto *layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);
}

void SMSPage::placeBoxCounters(const QList<int> &rows) {
  counterRows_ = rows;
  placeBoxCounters();
}

void SMSPage::placeBoxCounters() {
  const QList<QLabel *> labels = boxCounters();
  for (int i = 0; i < labels.size(); ++i) {
    QLabel *label = labels.at(i);
    QListWidgetItem *item = msgBoxSelectAt->item(counterRows_.value(i, -1));
    if (!item || item->isHidden()) {
      label->hide();
      continue;
    }
    const QRect row = msgBoxSelectAt->visualItemRect(item);
    label->adjustSize();
    label->move(std::max(0, row.right() - label->width() - 2), row.top() + (row.height() - label->height()) / 2);
    label->setVisible(row.intersects(msgBoxSelectAt->viewport()->rect()));
  }
}

bool SMSPage::eventFilter(QObject *watched, QEvent *event) {
  if (watched == msgBoxSelectAt->viewport() && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
    placeBoxCounters();
  return QWidget::eventFilter(watched, event);
}
