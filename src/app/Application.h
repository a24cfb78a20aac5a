#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class ConfigManager;
class ConfigService;
class LanguageOperation;
class PackageLink;
class QELMsgCenter;
class QELUIManager;
class MainController;
class QMainWindow;

// The composition root: creates the process-wide services and the controllers in a written
// order, installs the shared instances, and runs the launch sequence.
class Application : public QObject {
  Q_OBJECT
public:
  Application();
  ~Application() override;

  // False when another instance owns the program's name (the caller exits 0) or there is no bus.
  bool claimSingleInstance();
  bool otherInstanceRunning() const { return otherInstance_; }
  void start();
  // The SIGTERM road: disconnect, stop the backend, leave.
  void terminateFromSignal();
  // Writes a PNG of the main window's screen area (sheets and windows above it included; the
  // window alone where the screen cannot be read) once the device has been reported (or after
  // a time-out), then ends the program.
  void screenshotWhenSettled(const QString &file);

  // Ends the program as soon as the main window shows the device's first report, printing how
  // long that took and the resident memory ("ready <ms> rss <kB>"): the start-up benchmark.
  void quitWhenReady(qint64 startedAtMs);

  QMainWindow *mainWindow() const;

private:
  // Removes this run's runtime entries from the settings, once, whichever way the program ends.
  void endRun();

  std::unique_ptr<PackageLink> link_;
  std::unique_ptr<ConfigManager> config_;
  std::unique_ptr<ConfigService> switches_;
  std::unique_ptr<LanguageOperation> language_;
  std::unique_ptr<QELMsgCenter> center_;
  std::unique_ptr<QELUIManager> skin_;
  MainController *main_ = nullptr;
  QMainWindow *window_ = nullptr;
  QList<QObject *> controllers_;
  bool otherInstance_ = false;
  bool runEnded_ = false;
};

// Switches the AT log from "IsLogOn", read afresh from the settings file: on only when the key
// is there and holds a true number or boolean.
void setKLog();
