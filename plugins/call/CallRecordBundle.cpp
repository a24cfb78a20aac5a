// The Record tab's plug-in: the whole call log as a list, kept in step with the log's
// notifications, and a Clear all button.
#include "CallBridge.h"
#include "PlugInInterface.h"

#include <QDateTime>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

class CallRecordBundle : public QObject, public QELPlugInInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QELPlugInInterface_iid)
  Q_INTERFACES(QELPlugInInterface)
public:
  bool initWithParam(const QVariantMap &) override {
    // A plug-in instance lives as long as the process; a second host must not find the first
    // host's bridge still answering.
    delete bridge_;
    bridge_ = new CallBridge(this);
    return bridge_->isConnected();
  }

  QWidget *bundleView() override {
    if (view_)
      return view_;
    view_ = new QWidget;
    view_->setObjectName(QStringLiteral("CallRecordBundleView"));
    list_ = new QListWidget(view_);
    list_->setObjectName(QStringLiteral("CallRecordBundleList"));
    auto *clear = new QPushButton(QStringLiteral("Clear all"), view_);
    clear->setObjectName(QStringLiteral("CallRecordBundleClear"));
    connect(clear, &QPushButton::clicked, this, [this] { bridge_->post(QStringLiteral("clearAllCallRecords")); });
    auto *layout = new QVBoxLayout(view_);
    layout->addWidget(list_, 1);
    layout->addWidget(clear);

    bridge_->observe(QStringLiteral("readCallRecords"),
                     [this](const QVariantMap &info) { fill(info.value(QStringLiteral("readCallRecords")).toList()); });
    bridge_->observe(QStringLiteral("clearAllCallRecordsSuccess"), [this](const QVariantMap &info) {
      fill(info.value(QStringLiteral("clearAllCallRecordsSuccess")).toList());
    });
    bridge_->observe(QStringLiteral("addNewCallRecord"), [this](const QVariantMap &info) {
      if (list_)
        list_->addItem(text(info.value(QStringLiteral("addNewCallRecord")).toMap()));
    });
    bridge_->observe(QStringLiteral("removeCallRecord"), [this](const QVariantMap &info) {
      const int row = info.value(QStringLiteral("removeCallRecord")).toInt();
      if (list_ && row >= 0 && row < list_->count())
        delete list_->takeItem(row);
    });
    return view_;
  }

private:
  static QString text(const QVariantMap &record) {
    const QString kind = record.value(QStringLiteral("callType")).toString();
    const QString mark = kind == QStringLiteral("missedCall")    ? QStringLiteral("Missed")
                         : kind == QStringLiteral("recivedCall") ? QStringLiteral("Received")
                                                                 : QStringLiteral("Dialled");
    return QStringLiteral("%1  %2  %3  %4")
        .arg(mark, record.value(QStringLiteral("mobilephone")).toString(),
             record.value(QStringLiteral("date"))
                 .toDateTime()
                 .toLocalTime()
                 .toString(QStringLiteral("yyyy-MM-dd HH:mm")),
             record.value(QStringLiteral("calltime")).toString());
  }

  void fill(const QVariantList &records) {
    if (!list_)
      return;
    list_->clear();
    for (const QVariant &r : records)
      list_->addItem(text(r.toMap()));
  }

  QPointer<CallBridge> bridge_;
  QPointer<QWidget> view_;
  QPointer<QListWidget> list_;
};

#include "CallRecordBundle.moc"
