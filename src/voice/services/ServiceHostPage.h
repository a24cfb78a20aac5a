#pragma once

#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>

// A tab of the SIM services (USSD, SIM toolkit) whose controls a plug-in draws: the host keeps the
// tab and puts the plug-in's view into it.
class ServiceHostPage : public QWidget {
  Q_OBJECT
public:
  explicit ServiceHostPage(const QString &identifier, QWidget *parent = nullptr) : QWidget(parent) {
    setObjectName(identifier);
    setProperty("itemIdentifier", identifier);
    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
  }

  // The plug-in's view; a second call replaces the first. Null leaves the page empty.
  void setBundleView(QWidget *view) {
    if (view == bundleView_)
      return;
    delete bundleView_;
    bundleView_ = view;
    if (view) {
      view->setParent(this);
      layout_->addWidget(view);
      view->show();
    }
  }
  QWidget *bundleView() const { return bundleView_; }

private:
  QVBoxLayout *layout_ = nullptr;
  QPointer<QWidget> bundleView_;
};
