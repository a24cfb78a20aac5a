#include "UrlOperation.h"

#include "DialService.h"
#include "OperatorAddress.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>
#include <vector>

std::atomic<float> UrlOperation::maxSendSpeed_{0.0f};
std::atomic_bool UrlOperation::threadUpLoadRunFlag_{false};
int UrlOperation::probeDurationMs_ = 20000;

namespace {
// How often a waiting request looks at its cancel flag.
constexpr int kCancelPollMs = 20;
// How often the probe samples the upload speed.
constexpr int kSampleMs = 50;
constexpr int kFillerLength = 1033;
constexpr int kProbeServers = 4;
constexpr int kWorkersPerServer = 2;
} // namespace

namespace {

// How much the network layer holds for us between two reads: the answer is taken from it in
// pieces of this size as it arrives.
constexpr qint64 kReadChunk = 256 * 1024;

// One request run to its end on the calling thread. Every piece of the answer goes to `sink`;
// a sink that answers false ends the request (the answer is too long).
bool runRequest(const QByteArray &body, const QUrl &url, const QString &method, int timeoutMs,
                const std::atomic_bool *cancel, const std::function<bool(const QByteArray &)> &sink, QString *why) {
  QNetworkAccessManager network;
  QNetworkRequest request(url);
  // Always from the network: a cached answer would measure nothing.
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  const QByteArray verb = method.toUpper().toLatin1();
  QNetworkReply *reply = nullptr;
  if (verb == "POST") {
    request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("text/xml;charset=utf-8"));
    reply = network.post(request, body);
  } else if (verb == "GET" || verb.isEmpty()) {
    reply = network.get(request);
  } else {
    reply = network.sendCustomRequest(request, verb, body);
  }
  std::unique_ptr<QNetworkReply> owner(reply);
  // The network layer buffers no more than a few pieces: what is not read waits in the socket.
  reply->setReadBufferSize(4 * kReadChunk);

  QEventLoop loop;
  bool timedOut = false;
  bool tooLong = false;
  const auto drain = [&] {
    while (!tooLong && reply->bytesAvailable() > 0) {
      const QByteArray piece = reply->read(kReadChunk);
      if (piece.isEmpty())
        break;
      if (!sink(piece)) {
        tooLong = true;
        reply->abort();
      }
    }
  };
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
    timedOut = true;
    reply->abort();
  });
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (cancel && cancel->load())
      reply->abort();
  });
  QObject::connect(reply, &QNetworkReply::readyRead, &loop, drain);
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  if (!reply->isFinished()) {
    // The limit is on the whole request, started once: data coming in does not extend it.
    limit.start(qMax(1, timeoutMs));
    if (cancel)
      poll.start(kCancelPollMs);
    loop.exec();
  }
  limit.stop();
  poll.stop();
  if (!timedOut && !tooLong && reply->error() == QNetworkReply::NoError)
    drain();
  if (timedOut) {
    *why = QStringLiteral("no complete answer within %1 ms from %2").arg(timeoutMs).arg(url.toDisplayString());
    return false;
  }
  if (tooLong) {
    *why = QStringLiteral("the answer from %1 is longer than allowed").arg(url.toDisplayString());
    return false;
  }
  if (cancel && cancel->load()) {
    *why = QStringLiteral("cancelled");
    return false;
  }
  if (reply->error() != QNetworkReply::NoError) {
    *why = reply->errorString();
    return false;
  }
  return true;
}

// The address with its query, or an empty URL with `why` set.
QUrl requestUrl(const QString &urlStr, const QVariantMap &params, QString *why) {
  QString address = urlStr;
  bool first = true;
  for (auto it = params.cbegin(); it != params.cend(); ++it) {
    address += QLatin1Char(first ? '?' : '&') + it.key() + QLatin1Char('=') + it.value().toString();
    first = false;
  }
  const QUrl url(address);
  if (!url.isValid() || url.scheme().isEmpty()) {
    *why = QStringLiteral("invalid address %1").arg(address);
    return {};
  }
  return url;
}

void report(const QString &why, const QString &method, QString *error) {
  if (error)
    *error = why;
  qWarning("error://%s method:%s", qPrintable(why), qPrintable(method));
}

// The address a request may go to, or an empty URL once the failure is reported: an address that
// does not parse, or a request cancelled before it started.
QUrl startingUrl(const QString &urlStr, const QVariantMap &params, const QString &method,
                 const std::atomic_bool *cancel, QString *error) {
  QString why;
  const QUrl url = requestUrl(urlStr, params, &why);
  if (url.isEmpty()) {
    report(why, method, error);
    return {};
  }
  if (cancel && cancel->load()) {
    report(QStringLiteral("cancelled"), method, error);
    return {};
  }
  return url;
}

} // namespace

std::optional<QByteArray> UrlOperation::synchronousOperation(const QByteArray &body, const QString &urlStr,
                                                             const QVariantMap &params, const QString &method,
                                                             int timeoutMs, const std::atomic_bool *cancel,
                                                             QString *error, qint64 maxBodyBytes) {
  const QUrl url = startingUrl(urlStr, params, method, cancel, error);
  if (url.isEmpty())
    return std::nullopt;
  QString why;
  QByteArray answer;
  const auto keep = [&](const QByteArray &piece) {
    if (answer.size() + piece.size() > maxBodyBytes)
      return false;
    answer += piece;
    return true;
  };
  if (!runRequest(body, url, method, timeoutMs, cancel, keep, &why)) {
    report(why, method, error);
    return std::nullopt;
  }
  return answer;
}

std::optional<qint64> UrlOperation::synchronousDownload(const QString &urlStr, int timeoutMs,
                                                        const std::atomic_bool *cancel, QString *error) {
  const QString method = QStringLiteral("GET");
  const QUrl url = startingUrl(urlStr, {}, method, cancel, error);
  if (url.isEmpty())
    return std::nullopt;
  QString why;
  qint64 count = 0;
  const auto measure = [&](const QByteArray &piece) {
    count += piece.size();
    return true;
  };
  if (!runRequest({}, url, method, timeoutMs, cancel, measure, &why)) {
    report(why, method, error);
    return std::nullopt;
  }
  return count;
}

QString UrlOperation::probeFiller() {
  static const QString letters = QStringLiteral("SAFD");
  QString filler;
  filler.reserve(kFillerLength);
  for (int i = 0; i < kFillerLength; ++i)
    filler += letters.at(i % letters.size());
  return filler;
}

void UrlOperation::testUploadRateFromRadirer() {
  const QVariantMap params{{QStringLiteral("x"), probeFiller()}};
  // One operator here: its one upload address stands for each of the four servers.
  const QString address = OperatorAddress::url(QStringLiteral("/upload.php"));
  const int durationMs = qMax(1, probeDurationMs_);
  // Each run starts afresh: a flag left cleared by the last run would end this one's sampling
  // at once.
  threadUpLoadRunFlag_ = true;
  maxSendSpeed_ = DialService::sharedDialService()->sendSpeed();

  auto stop = std::make_shared<std::atomic_bool>(false);
  std::vector<std::unique_ptr<QThread>> workers;
  for (int server = 0; server < kProbeServers; ++server)
    for (int i = 0; i < kWorkersPerServer; ++i) {
      std::unique_ptr<QThread> worker(QThread::create([stop, params, address, durationMs] {
        // Sends again while the probe lasts, so the connection stays busy.
        QElapsedTimer clock;
        clock.start();
        while (!stop->load() && clock.elapsed() < durationMs)
          if (!synchronousOperation({}, address, params, QStringLiteral("GET"), durationMs, stop.get()))
            QThread::msleep(kSampleMs);
      }));
      worker->start();
      workers.push_back(std::move(worker));
    }

  // The sampler reads the speed on this thread's timer, so it neither spins nor races the
  // service's owner.
  QEventLoop loop;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout, &loop, [] {
    if (!threadUpLoadRunFlag_)
      return;
    const float speed = DialService::sharedDialService()->sendSpeed();
    if (speed > maxSendSpeed_.load())
      maxSendSpeed_ = speed;
  });
  QTimer::singleShot(durationMs, &loop, &QEventLoop::quit);
  sampler.start(kSampleMs);
  loop.exec();
  sampler.stop();
  threadUpLoadRunFlag_ = false;
  stop->store(true);
  for (auto &worker : workers)
    worker->wait();
  qInfo("sendSpeed:%f", double(maxSendSpeed_.load()));
}
