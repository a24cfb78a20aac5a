#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>
#include <functional>

namespace testsupport {

// Runs the event loop until `done` answers true or `timeoutMs` passes.
bool waitUntil(const std::function<bool()> &done, int timeoutMs = 5000);

// Bus names unique to this test process and a counter, so parallel tests never meet.
QString uniqueBusName(const QString &role);
// Points QEL_OPERATOR_URL of this process (and so of the backends it starts) at a loopback port
// that was free a moment ago, so that tests side by side each meet their own operator server.
// Answers the address.
QString useFreeOperatorAddress();

// The bundle the build produced (bin/, Resources/, PlugIns/).
QString buildBundlePath();

// Writes `dict` as a plist file, creating folders; answers the path.
QString writePlist(const QString &path, const QVariantMap &dict);

// A backend process (the real vArivevorer) on names of its own, stopped on destruction.
class BackendProcess {
public:
  BackendProcess(const QString &uiName, const QString &backendName, const QString &scenarioPath = {});
  ~BackendProcess();
  bool start();
  bool waitForName(int timeoutMs = 5000) const;
  const QString &backendName() const { return backendName_; }
  QProcess &process() { return process_; }
  // Calls a method of the simulator's control interface and answers the reply's arguments.
  QVariantList control(const QString &method, const QVariantList &args = {}) const;
  // The packages the backend received, oldest first.
  QByteArrayList received() const;

private:
  QString uiName_, backendName_, scenario_;
  QProcess process_;
};

} // namespace testsupport
