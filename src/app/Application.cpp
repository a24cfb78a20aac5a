#include "Application.h"

#include "Bundle.h"
#include "BusNames.h"
#include "ConfigManager.h"
#include "ConfigService.h"
#include "DialController.h"
#include "KLog.h"
#include "LanguageOperation.h"
#include "MainController.h"
#include "MainWindowBuilder.h"
#include "PackageLink.h"
#include "Plist.h"
#include "QELAlertPanel.h"
#include "QELMsgCenter.h"
#include "QELUIManager.h"

#include <QApplication>
#include <QDebug>
#include <QMainWindow>
#include <QStandardPaths>
#include <QTimer>

namespace {
QString userDataFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/qel-connection-manager/ModemList");
}
} // namespace

void setKLog() {
  bool on = false;
  if (ConfigManager *config = ConfigManager::sharedConfigManager()) {
    QVariantMap fresh;
    if (Plist::readDictionary(config->configFilePathOfKey(kCMSettingFile), &fresh)) {
      const QVariant value = fresh.value(QStringLiteral("IsLogOn"));
      const int type = value.typeId();
      if (type == QMetaType::Bool || type == QMetaType::LongLong || type == QMetaType::Double)
        on = value.toBool();
    }
  }
  SetKLogOpen(on);
}

Application::Application() = default;

Application::~Application() {
  if (center_)
    center_->stopMsgServer();
  delete window_;
}

bool Application::claimSingleInstance() {
  link_ = std::make_unique<PackageLink>(BusNames::uiBusName(), BusNames::backendBusName());
  if (link_->open())
    return true;
  otherInstance_ = link_->connection().isConnected();
  return false;
}

void Application::start() {
  config_ = std::make_unique<ConfigManager>(
      ConfigManager::locationsForBundle(Bundle::mainBundle().bundlePath(), userDataFolder()));
  ConfigManager::setSharedConfigManager(config_.get());
  setKLog();
  switches_ = std::make_unique<ConfigService>();
  ConfigService::setSharedConfigService(switches_.get());
  language_ = std::make_unique<LanguageOperation>(Bundle::mainBundle().resourcePath());
  LanguageOperation::setSharedLanguageOperation(language_.get());
  language_->initLanguage();

  center_ = std::make_unique<QELMsgCenter>(link_.get());
  center_->awakeFromNib();
  skin_ = std::make_unique<QELUIManager>(config_.get());
  QELAlertPanel *panel = QELAlertPanel::create(this);
  panel->qelSkinManager = skin_.get();
  panel->awakeFromNib();

  MainWindowBuilder::Parts parts = MainWindowBuilder::build(center_.get(), skin_.get(), this);
  main_ = parts.mainController;
  window_ = parts.window;
  main_->applicationWillFinishLaunching();
  main_->applicationDidFinishLaunching();
}

QMainWindow *Application::mainWindow() const {
  return window_;
}

void Application::terminateFromSignal() {
  if (g_DialController && g_DialController->GetisDialNow())
    g_DialController->SelectDisconnectAction();
  if (center_)
    center_->stopMsgServer();
  QCoreApplication::exit(0);
}

void Application::screenshotWhenSettled(const QString &file) {
  auto done = std::make_shared<bool>(false);
  auto shoot = [this, file, done] {
    if (*done)
      return;
    *done = true;
    if (window_ && !window_->grab().save(file))
      qWarning() << "cannot write" << file;
    QCoreApplication::exit(0);
  };
  // The device's first report (and the SIM's, when it comes) settles the window.
  auto settle = [this, shoot](const Notification &) { QTimer::singleShot(700, this, shoot); };
  NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("SimReady"), nullptr, settle);
  NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("DeviceRemoved"), nullptr, settle);
  QTimer::singleShot(10000, this, shoot);
}
