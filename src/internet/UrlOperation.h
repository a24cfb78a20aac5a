#pragma once

#include <QByteArray>
#include <QString>
#include <QVariantMap>
#include <atomic>
#include <optional>

// A small HTTP helper for the speed test: one blocking request, usable on any thread (each call
// has its own network access manager and event loop), and the upload-rate probe.
class UrlOperation {
public:
  // An answer kept whole (a list, a text) is at most this long unless the caller says otherwise.
  static constexpr qint64 kDefaultMaxBodyBytes = 1024 * 1024;

  // One request of `method` to `urlStr` followed by the query made from `params` ("?k=v&k=v",
  // values as given). POST sends `body` with its length and an XML content type. Takes at most
  // `timeoutMs` in all (however the answer trickles in), or until `*cancel` becomes true (checked
  // every few milliseconds). The answer's body, or nothing when the request failed (no
  // connection, an error status, the time limit, an answer longer than `maxBodyBytes`, which is
  // never held whole); `error` then says why.
  static std::optional<QByteArray> synchronousOperation(const QByteArray &body, const QString &urlStr,
                                                        const QVariantMap &params, const QString &method,
                                                        int timeoutMs = 60000, const std::atomic_bool *cancel = nullptr,
                                                        QString *error = nullptr,
                                                        qint64 maxBodyBytes = kDefaultMaxBodyBytes);

  // A GET that measures: the answer's bytes are counted as they stream in and none is kept, so
  // an endless answer costs time (up to `timeoutMs`), never memory. The count, or nothing when
  // the request failed as above (an answer cut by the time limit fails too).
  static std::optional<qint64> synchronousDownload(const QString &urlStr, int timeoutMs = 60000,
                                                   const std::atomic_bool *cancel = nullptr, QString *error = nullptr);

  // The upload-rate probe: eight workers send the filler to "/upload.php" on the operator's
  // servers while a timer samples the connection's current upload speed for the probe's length;
  // the highest sample is kept (getMaxSendSpeed). Blocks the calling thread for that length (its
  // event loop keeps running). Nothing in the program starts it.
  static void testUploadRateFromRadirer();
  static float getMaxSendSpeed() { return maxSendSpeed_.load(); }
  // How long the probe runs (20 s unless a test sets it).
  static void setProbeDurationMs(int ms) { probeDurationMs_ = ms; }
  static int probeDurationMs() { return probeDurationMs_; }
  // The filler each probe request carries: 1033 characters of "SAFD".
  static QString probeFiller();
  // Whether a probe is sampling now.
  static bool threadUpLoadRunFlag() { return threadUpLoadRunFlag_.load(); }

private:
  static std::atomic<float> maxSendSpeed_;
  static std::atomic_bool threadUpLoadRunFlag_;
  static int probeDurationMs_;
};
