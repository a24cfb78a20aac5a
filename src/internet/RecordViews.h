#pragma once

#include <QList>
#include <QWidget>

class DialRecordController;
class DialRecordTab;
class NSOutlineViewExt;
class QELUIController;
class QPushButton;
class QTabWidget;
class statisticSource;
class statisticsView;
class transferSource;

// The "Statistics" page: the Statistics and Transfer outlines, the speed graph and the way back
// to the records.
class StatisticsTab : public QWidget {
  Q_OBJECT
public:
  explicit StatisticsTab(QWidget *parent = nullptr);

  NSOutlineViewExt *statisticsOutline = nullptr;
  NSOutlineViewExt *transferOutline = nullptr;
  statisticsView *speedView = nullptr;
  QPushButton *btnGoBack = nullptr;
};

// Makes the records and statistics pages in `tabs` and their controllers (not yet woken), with
// the outlets set. The builder of the main window calls it beside its own controllers.
struct RecordViews {
  DialRecordController *records = nullptr;
  statisticSource *statistics = nullptr;
  transferSource *transfer = nullptr;
  DialRecordTab *recordsPage = nullptr;
  StatisticsTab *statisticsPage = nullptr;
  QList<QELUIController *> controllers() const;

  static RecordViews build(QTabWidget *tabs, QObject *owner);
};
