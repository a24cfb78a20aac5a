// A plug-in whose principal object refuses to start (it needs a message centre it is not given
// in tests).
#include "PlugInInterface.h"

#include <QLabel>

class SampleRefusingBundle : public QObject, public QELPlugInInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QELPlugInInterface_iid)
  Q_INTERFACES(QELPlugInInterface)
public:
  bool initWithParam(const QVariantMap &objects) override { return objects.contains(QStringLiteral("qelMsgCenter")); }
  QWidget *bundleView() override { return new QLabel(QStringLiteral("should not be shown")); }
};

#include "SampleRefusingBundle.moc"
