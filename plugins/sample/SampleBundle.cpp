// A small tab plug-in: shows which of the program's shared objects it was given.
#include "PlugInInterface.h"

#include <QLabel>
#include <QPointer>
#include <QStringList>

class SampleBundle : public QObject, public QELPlugInInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QELPlugInInterface_iid)
  Q_INTERFACES(QELPlugInInterface)
public:
  bool initWithParam(const QVariantMap &objects) override {
    objects_ = objects;
    return true;
  }
  QWidget *bundleView() override {
    if (!view_) {
      const QStringList keys = objects_.keys();
      view_ = new QLabel(QStringLiteral("Sample plug-in: %1").arg(keys.join(QStringLiteral(", "))));
      view_->setObjectName(QStringLiteral("SampleBundleView"));
      view_->setProperty("receivedKeys", keys);
    }
    return view_;
  }

private:
  QVariantMap objects_;
  QPointer<QLabel> view_;
};

#include "SampleBundle.moc"
