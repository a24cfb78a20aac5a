// A plug-in that accepts the shared objects but has nothing to show.
#include "PlugInInterface.h"

class SampleNoViewBundle : public QObject, public QELPlugInInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QELPlugInInterface_iid)
  Q_INTERFACES(QELPlugInInterface)
public:
  bool initWithParam(const QVariantMap &) override { return true; }
  QWidget *bundleView() override { return nullptr; }
};

#include "SampleNoViewBundle.moc"
