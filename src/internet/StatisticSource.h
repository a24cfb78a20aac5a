#pragma once

#include "Node.h"
#include "QELUIController.h"

#include <QPointer>
#include <memory>

class NodeOutlineModel;
class NSOutlineViewExt;

// The Statistics outline: the time of the last records reset and the data sent and received
// today, this month and this year (the records' sums plus the running connection's amounts),
// live while a connection runs ("ConnectStatistics").
class statisticSource : public QELUIController {
  Q_OBJECT
public:
  explicit statisticSource(QObject *parent = nullptr);
  ~statisticSource() override;

  // Outlet, set by the builder before awakeFromNib().
  QPointer<NSOutlineViewExt> outlineView;

  Q_INVOKABLE void receiveConnectStatisticsData(const Notification &notification);
  void reloadStatisticSendData(const QVariantMap &info);
  Q_INVOKABLE void updateInterface();
  Q_INVOKABLE void tabViewItemWillChange(const Notification &notification);
  void Init_statistic_view();
  void reloadStatistic();
  void displayLastResetTime();
  void displayPeriodStatistics();
  // A KB amount in KB, MB or GB (bits with Internet/"dataType" "Kb"); null for a negative one.
  static QString autoSwitchStatisticData(double kilobytes);
  static double switchDataUnit(double value, double inputUnit, double outputUnit) {
    return value * inputUnit / outputUnit;
  }
  float getMonthTotalData() const { return monthlyTotalData_; }

  const Node &root() const { return *root_; }
  NodeOutlineModel *model() const { return model_; }
  QString sendData() const { return sendData_; }
  QString receiveData() const { return receiveData_; }
  // The value shown in outline row `row` (0 "Statistics" ... 10 the year's download).
  QString rowValue(int row) const;
  QString rowName(int row) const;

protected:
  void initializeNibResources() override;
  void registerMessages() override;

private:
  QList<Node *> rows() const;

  std::unique_ptr<Node> root_;
  Node *Daily = nullptr;
  Node *Monthly = nullptr;
  Node *Yearly = nullptr;
  NodeOutlineModel *model_ = nullptr;
  float monthlyTotalData_ = 0;
  QString sendData_;
  QString receiveData_;
};

extern statisticSource *statisticForm;
