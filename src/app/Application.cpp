#include "Application.h"
#include "CustomerLogController.h"

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
#include "ReopenService.h"
#include "StartKnobs.h"

#include <QApplication>
#include <QDateTime>
#include <QDebug>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPainter>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

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
  if (link_->open()) {
    QDBusConnection connection = link_->connection();
    (new ReopenService(this))->registerOn(connection);
    return true;
  }
  otherInstance_ = link_->connection().isConnected();
  if (otherInstance_)
    ReopenService::askRunningInstance(BusNames::uiBusName());
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
  controllers_ = parts.controllers;
  // The run knobs act once the main window is up: after "AppReady" (the splash or the code
  // window has gone) and after the launch steps that follow it.
  auto knobsApplied = std::make_shared<bool>(false);
  NotificationCenter::defaultCenter().addObserver(
      this, QStringLiteral("AppReady"), nullptr, [this, knobsApplied](const Notification &) {
        if (*knobsApplied)
          return;
        *knobsApplied = true;
        QTimer::singleShot(0, this, [this] { StartKnobs::applyFromEnvironment(main_, controllers_); });
      });
  // Every orderly ending (the window's close, the Quit menu, the screenshot's quit, SIGTERM)
  // leaves the event loop; the ending that clears this run's entries from the settings runs there.
  connect(qApp, &QCoreApplication::aboutToQuit, this, &Application::endRun);
  main_->applicationWillFinishLaunching();
  main_->applicationDidFinishLaunching();
}

void Application::endRun() {
  if (runEnded_ || !main_)
    return;
  runEnded_ = true;
  // The window's close and the Quit menu have cleared them while asking whether to end; the
  // file is written again only when something is left.
  if (main_->settingDict().contains(kCMRuntimeDataKey))
    main_->deleteRuntimeDictionary();
}

QMainWindow *Application::mainWindow() const {
  return window_;
}

void Application::terminateFromSignal() {
  // The events of the last minute are not lost with the program.
  if (g_CustomerLogController)
    g_CustomerLogController->writeLogToTheFile();
  if (g_DialController && g_DialController->GetisDialNow())
    g_DialController->SelectDisconnectAction();
  if (center_)
    center_->stopMsgServer();
  QCoreApplication::exit(0);
}

namespace {
// The screen's pixels under `window`, so that sheets, alerts and windows above it show; the
// window alone where the platform cannot read the screen (offscreen, some Wayland sessions).
QPixmap grabScreenArea(QWidget *window) {
  QPixmap shot;
  QScreen *screen = window->screen();
  if (screen && QGuiApplication::platformName() != QLatin1String("offscreen")) {
    const QRect area = window->frameGeometry();
    shot = screen->grabWindow(0, area.x() - screen->geometry().x(), area.y() - screen->geometry().y(), area.width(),
                              area.height());
  }
  if (shot.isNull() || shot.width() <= 1) {
    shot = window->grab();
    // Without the screen, an open sheet is drawn where it shows: centred below the window's top.
    QPainter painter(&shot);
    for (QDialog *sheet : window->findChildren<QDialog *>(Qt::FindDirectChildrenOnly)) {
      if (!sheet->isVisible() || sheet->windowModality() != Qt::WindowModal)
        continue;
      const QPixmap picture = sheet->grab();
      painter.drawPixmap(qMax(0, (shot.width() - picture.width()) / 2), 0, picture);
    }
  }
  return shot;
}
} // namespace

void Application::screenshotWhenSettled(const QString &file) {
  auto done = std::make_shared<bool>(false);
  auto quiet = new QTimer(this);
  auto shoot = [this, file, done, quiet](bool capped) {
    if (*done)
      return;
    // A connect under way (or about to start by itself) ends first, within the cap.
    const DialController *dial = g_DialController;
    if (!capped && dial &&
        (dial->isDoingConnect() || dial->willConnectToInternet() || dial->isAutoReconnectPending())) {
      quiet->start(200);
      return;
    }
    *done = true;
    QWidget *window = main_ && main_->wndMain && main_->wndMain->isVisible() ? main_->wndMain.data() : window_;
    if (window && !grabScreenArea(window).save(file))
      qWarning() << "cannot write" << file;
    QCoreApplication::exit(0);
  };
  // The device's reports settle the window: the shot is taken once a second passed without a
  // new one (a PIN sheet that follows the device report is up by then).
  quiet->setSingleShot(true);
  connect(quiet, &QTimer::timeout, this, [shoot] { shoot(false); });
  auto settle = [quiet](const Notification &) { quiet->start(1000); };
  for (const char *name : {"DevicePlugin", "SimReady", "DeviceRemoved"})
    NotificationCenter::defaultCenter().addObserver(this, QLatin1String(name), nullptr, settle);
  // A connection that came up shows its time and speeds once they have counted a little.
  NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("ConnectStatusDidChange"), nullptr,
                                                  [quiet](const Notification &) { quiet->start(2500); });
  QTimer::singleShot(10000, this, [shoot] { shoot(true); });
}

namespace {
// Milliseconds since the kernel started this process (clock-tick resolution), so that loading
// the program's libraries counts too.
qint64 processAgeMs(qint64 fallbackStartMs) {
  QFile stat(QStringLiteral("/proc/self/stat")), uptime(QStringLiteral("/proc/uptime"));
  if (stat.open(QIODevice::ReadOnly) && uptime.open(QIODevice::ReadOnly)) {
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const long ticks = sysconf(_SC_CLK_TCK);
    bool ok1 = false, ok2 = false;
    const double startedSec = fields.value(19).toDouble(&ok1) / double(ticks > 0 ? ticks : 100);
    const double nowSec = uptime.readAll().split(' ').value(0).toDouble(&ok2);
    if (ok1 && ok2 && nowSec >= startedSec)
      return qint64((nowSec - startedSec) * 1000.0);
  }
  return QDateTime::currentMSecsSinceEpoch() - fallbackStartMs;
}
} // namespace

void Application::quitWhenReady(qint64 startedAtMs) {
  auto ready = [this, startedAtMs](const Notification &) {
    if (!window_ || !window_->isVisible())
      return;
    qint64 rssKb = 0;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
      for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
          rssKb = line.mid(6).trimmed().split(' ').value(0).toLongLong();
    std::printf("ready %lld rss %lld\n", static_cast<long long>(processAgeMs(startedAtMs)),
                static_cast<long long>(rssKb));
    std::fflush(stdout);
    QCoreApplication::exit(0);
  };
  NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("DevicePlugin"), nullptr, ready);
  NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("DeviceRemoved"), nullptr, ready);
}
