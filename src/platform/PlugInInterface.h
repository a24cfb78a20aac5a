#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <QtPlugin>
#include <memory>
#include <optional>

class QPluginLoader;
class QWidget;

// What the program asks of a tab plug-in's principal object. The program hands it the shared
// objects ("wndMain", "tabviewMain", "qelMsgCenter", ...; QObject pointers in QVariants) and
// puts the view it answers into a tab. The tab takes ownership of the view.
class QELPlugInInterface {
public:
  virtual ~QELPlugInInterface() = default;
  // False when the plug-in cannot work with these objects.
  virtual bool initWithParam(const QVariantMap &objects) = 0;
  virtual QWidget *bundleView() = 0;
};

#define QELPlugInInterface_iid "org.qel.ConnectionManager.PlugIn/1"
Q_DECLARE_INTERFACE(QELPlugInInterface, QELPlugInInterface_iid)

// A plug-in library that was opened and whose principal object implements the interface.
struct LoadedPlugIn {
  std::unique_ptr<QPluginLoader> loader;
  QObject *instance = nullptr; // owned by the loader's library
  QELPlugInInterface *principal = nullptr;

  LoadedPlugIn();
  LoadedPlugIn(LoadedPlugIn &&) noexcept;
  LoadedPlugIn &operator=(LoadedPlugIn &&) noexcept;
  ~LoadedPlugIn();
};

namespace PlugInLoader {

// The file of the plug-in named `bundleName` (such as "SMSBundle.bundle") in `folder`: the name
// itself when such a file exists, else the shared library of the same base name ("SMSBundle.so"
// or "libSMSBundle.so"). Empty when none exists or the name tries to leave the folder.
QString pathForBundle(const QString &folder, const QString &bundleName);

// Opens the plug-in and checks its principal object. Nothing stays loaded on failure; `error`
// then says why.
std::optional<LoadedPlugIn> load(const QString &folder, const QString &bundleName, QString *error = nullptr);

} // namespace PlugInLoader
