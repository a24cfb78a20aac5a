#include "SMSPage.h"

#include "FlowRow.h"
#include "NSTableViewExt.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>

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
  inBoxMessageNum = named(new QLabel(this), "labelInboxMessageNum");
  outBoxMessageNum = named(new QLabel(this), "labelOutBoxMessageNum");
  draftBoxMessageNum = named(new QLabel(this), "labelDraftBoxMessageNum");
  auto *counters = new QVBoxLayout;
  for (QLabel *label : boxCounters())
    counters->addWidget(label);
  counters->addStretch();
  auto *boxes = new QHBoxLayout;
  boxes->addWidget(msgBoxSelectAt);
  boxes->addLayout(counters);
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
