#include "RecordViews.h"

#include "DialRecordController.h"
#include "DialRecordTab.h"
#include "NSTableViewExt.h"
#include "StatisticSource.h"
#include "StatisticsView.h"
#include "TransferSource.h"
#include "WordGlobe.h"

#include <QGridLayout>
#include <QPushButton>
#include <QTabWidget>

StatisticsTab::StatisticsTab(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("viewStatisticsTab"));
  auto *layout = new QGridLayout(this);
  statisticsOutline = new NSOutlineViewExt(this);
  statisticsOutline->setObjectName(QStringLiteral("outlineStatistics"));
  transferOutline = new NSOutlineViewExt(this);
  transferOutline->setObjectName(QStringLiteral("outlineTransfer"));
  speedView = new statisticsView(this);
  speedView->setMinimumSize(300, 180);
  // The same samples as the Internet tab's graph.
  speedView->followSharedSamples();
  btnGoBack = new QPushButton(this);
  btnGoBack->setObjectName(QStringLiteral("btnGoToDialRecord"));
  layout->addWidget(statisticsOutline, 0, 0);
  layout->addWidget(transferOutline, 1, 0);
  layout->addWidget(speedView, 0, 1, 2, 1);
  layout->addWidget(btnGoBack, 2, 1, Qt::AlignRight);
  // The figures' captions and dates need half the page; the graph draws in any width.
  layout->setColumnStretch(0, 1);
  layout->setColumnStretch(1, 1);
  layout->setRowStretch(0, 3);
  layout->setRowStretch(1, 2);
}

QList<QELUIController *> RecordViews::controllers() const {
  return {records, statistics, transfer};
}

RecordViews RecordViews::build(QTabWidget *tabs, QObject *owner) {
  RecordViews views;
  views.recordsPage = new DialRecordTab(tabs);
  views.recordsPage->setProperty("itemIdentifier", QStringLiteral("DialRecord"));
  views.statisticsPage = new StatisticsTab(tabs);
  views.statisticsPage->setProperty("itemIdentifier", QStringLiteral("Statistics"));
  if (tabs) {
    tabs->addTab(views.recordsPage, Map_Name_Item_of_IndexString(QStringLiteral("DialRecord")));
    tabs->addTab(views.statisticsPage, Map_Name_Item_of_IndexString(QStringLiteral("Statistics")));
  }
  // The transfer outline first: the statistics refresh re-applies its wording.
  views.transfer = new transferSource(owner);
  views.transfer->outlineView = views.statisticsPage->transferOutline;
  views.statistics = new statisticSource(owner);
  views.statistics->outlineView = views.statisticsPage->statisticsOutline;
  views.records = new DialRecordController(owner);
  views.records->viewDialRecordTab_ = views.recordsPage;
  DialRecordController *records = views.records;
  StatisticsTab *page = views.statisticsPage;
  QObject::connect(page->btnGoBack, &QPushButton::clicked, records,
                   [records, page] { records->goBackToRecord(page->btnGoBack); });
  page->btnGoBack->setText(Map_Name_Item_of_IndexString(QStringLiteral("Go Back")));
  return views;
}
