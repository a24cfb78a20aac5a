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

std::optional<QByteArray> UrlOperation::synchronousOperation(const QByteArray &body, const QString &urlStr,
                                                             const QVariantMap &params, const QString &method,
                                                             int timeoutMs, const std::atomic_bool *cancel,
                                                             QString *error) {
  QString address = urlStr;
  bool first = true;
  for (auto it = params.cbegin(); it != params.cend(); ++it) {
    address += QLatin1Char(first ? '?' : '&') + it.key() + QLatin1Char('=') + it.value().toString();
    first = false;
  }
  const QUrl url(address);
  const auto fail = [&](const QString &why) -> std::optional<QByteArray> {
    if (error)
      *error = why;
    qWarning("error://%s method:%s", qPrintable(why), qPrintable(method));
    return std::nullopt;
  };
  if (!url.isValid() || url.scheme().isEmpty())
    return fail(QStringLiteral("invalid address %1").arg(address));
  if (cancel && cancel->load())
    return fail(QStringLiteral("cancelled"));

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

  QEventLoop loop;
  bool timedOut = false;
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
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  if (!reply->isFinished()) {
    limit.start(qMax(1, timeoutMs));
    if (cancel)
      poll.start(kCancelPollMs);
    loop.exec();
  }
  limit.stop();
  poll.stop();
  if (timedOut)
    return fail(QStringLiteral("no answer within %1 ms from %2").arg(timeoutMs).arg(url.toDisplayString()));
  if (cancel && cancel->load())
    return fail(QStringLiteral("cancelled"));
  if (reply->error() != QNetworkReply::NoError)
    return fail(reply->errorString());
  return reply->readAll();
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
