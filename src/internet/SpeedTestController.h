#pragma once

#include "QELUIController.h"

#include <QMutex>
#include <QString>
#include <QVariantMap>
#include <atomic>
#include <memory>

class QNetworkAccessManager;
class SpeedTestController;

// Time limits of the speed test's steps. Tests shorten them (main thread only: a test run copies
// them when it starts).
struct SpeedTestTimeouts {
  int listMs = 60000;     // the operator list file
  int latencyMs = 5000;   // each of the latency fetches
  int downloadMs = 60000; // each of the download fetches
  int uploadResultMs = 60000;
  // Added to the configured iperf length before the tool is stopped.
  int iperfSlackMs = 30000;
};

// Everything one speed test needs, gathered on the main thread when it starts, so the worker
// never reads the live settings or the device state.
struct SpeedTestSetup {
  bool switchedOn = false; // Internet/"Internet_IsNeedTestSpeedAtConnected" is present
  QString homeMccMnc;      // the SIM's home MCC followed by its MNC
  QString listUrl;         // "/throughputtest.txt" on the operator's server
  QString latencyUrl;      // "/latency.txt"
  QString downloadUrl;     // "/modemdltest.jpg"
  QString iperfHost;       // the iperf server: the operator's host and port
  int iperfPort = 0;
  QString iperfProgram;     // empty: iperf is not installed
  QVariant iperfParms;      // Internet/"Internet_ParmsForUploadTestTool" (a dictionary when set)
  int disconnectReason = 1; // Internet/"DisconnectReason"
  SpeedTestTimeouts timeouts;
  // The result service that decides (the shared one unless a test sets its own).
  SpeedTestController *service = nullptr;
  // Set when the test must end early (disconnect, the controller going away, quit).
  std::shared_ptr<std::atomic_bool> cancel = std::make_shared<std::atomic_bool>(false);
  bool cancelled() const { return cancel && cancel->load(); }
};

// The figures of one test, in the units the log names.
struct SpeedTestFigures {
  double delayTime = 0;     // milliseconds, the mean of the latency fetches that succeeded
  double downLoadData = 0;  // bytes received by the download fetches
  double downloadSpeed = 0; // bits per second
  float uploadSpeed = 0;    // KB/s (1 KB = 1000 bytes) from the iperf report
  int disconnectionReason = 1;
};

// The speed-test result service: decides whether the SIM's network takes part (the operator's
// list file), keeps the last radio measurement and cell identity the device side reports,
// writes the speed-test log and uploads a result.
//
// The shared instance registers its observers when it is made, so it is the one that uploads.
// The log and the decision may be used from the speed test's worker thread; the observers run on
// the main thread.
class SpeedTestController : public QELUIController {
  Q_OBJECT
public:
  // The operator's list of network codes is held whole up to this length; a longer answer fails.
  static constexpr qint64 kMaxListBytes = 256 * 1024;

  explicit SpeedTestController(QObject *parent = nullptr);
  ~SpeedTestController() override;

  // The one instance, made on first use (on the main thread).
  static SpeedTestController *shareSpeedTestController();

  // The settings, the SIM and the operator's addresses as they are now (main thread).
  static SpeedTestSetup currentSetup();
  static SpeedTestTimeouts &timeouts();

  // YES when the test is switched on and the operator's list names the SIM's MCC and MNC with
  // TEST "ON". Deletes the log first. Safe on a worker thread.
  bool isNeedTestSpeed(const SpeedTestSetup &setup);
  bool isNeedTestSpeed() { return isNeedTestSpeed(currentSetup()); }
  // The list's "MCC", "MNC" and "TEST" values (the last "=" part of a line wins); an empty
  // dictionary for a null text.
  QVariantMap readSupportTestSpeedMccMnc(const QString &text);
  // The answer of the list for a home MCC-MNC text (no download, no log).
  static bool listAcceptsHomeNetwork(const QVariantMap &list, const QString &homeMccMnc);

  // Observer of "ReadDelayTimeDownlaodUploadValusForSpeedTest": builds the result address, logs
  // it and posts it without waiting for the answer.
  Q_INVOKABLE void uploadSpeedTestResult(const Notification &notification);
  // The result address for a result's user info, the current radio details and the
  // subscriber's number and home network (each value percent-encoded).
  QString speedTestResultAddress(const QVariantMap &result, const QString &msisdn, const QString &homeMccMnc) const;
  // The number of result uploads whose answer (or failure) has come back.
  int finishedUploads() const { return finishedUploads_; }

  // Appends one entry to the log (safe from any thread).
  void writeToLogFile(const QString &text) { appendToLog(text); }
  static void appendToLog(const QString &text);
  // The log: "LogTest.txt" in the per-user log folder.
  static QString logFilePath();
  // The whole log after `previous` with the entry `text` added at `stamp`.
  static QByteArray appendedLogEntry(const QByteArray &previous, const QString &text, const QDateTime &stamp);
  static void deleteLogFile();

  Q_INVOKABLE void setRscpRssiEcnoInfo(const Notification &notification);
  Q_INVOKABLE void setCellIdInfo(const Notification &notification);
  QVariantMap radioInfo() const { return dictForRscpRssiEcno_; }
  QString cellId() const { return cellIDForSpeedTest_; }
  // Forgets the radio details (tests share one instance).
  void clearRadioInfo();

protected:
  void registerMessages() override;

private:
  QVariantMap dictForRscpRssiEcno_;
  bool haveRadioInfo_ = false;
  QString cellIDForSpeedTest_;
  bool haveCellId_ = false;
  QNetworkAccessManager *uploader_ = nullptr;
  int finishedUploads_ = 0;
};
