#include "DownloadUtilities.h"

#include "SafeFile.h"
#include "WeblinkUpdateUtilities.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>

namespace {
bool succeeded(QNetworkReply *reply) {
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  return reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
}

// The file name the server suggests: the one of "Content-Disposition", else the last part of the
// address the answer came from (after any redirect).
QString suggestedFilename(QNetworkReply *reply) {
  const QString disposition = QString::fromLatin1(reply->rawHeader("Content-Disposition"));
  static const QRegularExpression name(QStringLiteral("filename=\"?([^\";]+)\"?"));
  if (const QRegularExpressionMatch m = name.match(disposition); m.hasMatch())
    return QFileInfo(m.captured(1).trimmed()).fileName();
  return reply->url().fileName();
}
} // namespace

DownloadUtilities *DownloadUtilities::sharedDownloadManager() {
  static DownloadUtilities *manager = new DownloadUtilities;
  return manager;
}

QNetworkAccessManager *DownloadUtilities::network() {
  if (!network_)
    network_ = new QNetworkAccessManager(this);
  return network_;
}

void DownloadUtilities::setDownloadFolder(const QString &path) {
  if (!path.isEmpty() && QFileInfo(path).isDir())
    downloadFolder_ = path;
}

void DownloadUtilities::startQueryURLModifiedDate(const QString &url) {
  const QUrl address(url);
  if (!address.isValid() || address.scheme().isEmpty())
    return;
  QNetworkRequest request(address);
  request.setRawHeader("User-Agent", "MySpecialUserAgent/1.0");
  request.setTransferTimeout(kQueryTimeoutMs);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  QNetworkReply *reply = network()->get(request);
  Download query;
  query.query = true;
  replies_.insert(reply, query);
  // Only the answer's head is wanted: the body is not read.
  connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { queryAnswered(reply); });
  connect(reply, &QNetworkReply::finished, this, [this, reply] {
    replies_.remove(reply);
    reply->deleteLater();
  });
}

void DownloadUtilities::queryAnswered(QNetworkReply *reply) {
  auto it = replies_.find(reply);
  if (it == replies_.end() || it->decided)
    return;
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (status >= 300 && status < 400)
    return; // a redirect on the way: the final answer follows
  it->decided = true;
  const QString date = QString::fromLatin1(reply->rawHeader("Last-Modified"));
  const QString url = reply->url().toString();
  reply->abort();
  if (status >= 200 && status < 300 && !date.isEmpty())
    WeblinkUpdateUtilities::sharedUpdateManager()->lastModifiedDate(date, url);
}

void DownloadUtilities::startDownloadingURL(const QString &url) {
  const QUrl address(url);
  if (!address.isValid() || address.scheme().isEmpty())
    return;
  QNetworkRequest request(address);
  request.setTransferTimeout(kDownloadTimeoutMs);
  QNetworkReply *reply = network()->get(request);
  replies_.insert(reply, Download());
  connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { downloadHeaders(reply); });
  connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
    auto it = replies_.find(reply);
    if (it == replies_.end() || !it->decided || it->destination.isEmpty())
      return;
    it->body += reply->readAll();
    if (it->body.size() > kMaxDownloadBytes) {
      qWarning() << "DownloadUtilities: refused an oversized download of" << reply->request().url().toString();
      it->destination.clear();
      reply->abort();
    }
  });
  connect(reply, &QNetworkReply::finished, this, [this, reply] { downloadFinished(reply); });
}

void DownloadUtilities::downloadHeaders(QNetworkReply *reply) {
  auto it = replies_.find(reply);
  if (it == replies_.end() || it->decided)
    return;
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (status >= 300 && status < 400)
    return;
  it->decided = true;
  const QString url = reply->request().url().toString();
  const QString suggested = suggestedFilename(reply);
  // An answer under another name than the one asked for (a redirect elsewhere, an error page)
  // is not taken as the icon.
  if (suggested.isEmpty() || !url.endsWith(suggested) || !succeeded(reply)) {
    reply->abort();
    return;
  }
  const QString destination = WeblinkUpdateUtilities::sharedUpdateManager()->destinationSuggestedFilenameForURL(url);
  if (destination.isEmpty() || QFileInfo(destination).isDir()) {
    reply->abort();
    return;
  }
  it->destination = destination;
}

void DownloadUtilities::downloadFinished(QNetworkReply *reply) {
  reply->deleteLater();
  Download download = replies_.take(reply);
  if (download.destination.isEmpty() || !succeeded(reply))
    return;
  download.body += reply->readAll();
  if (download.body.size() > kMaxDownloadBytes)
    return;
  // The old copy is replaced only by a complete new one.
  SafeFile::makeFolder(QFileInfo(download.destination).absolutePath(), 0700);
  if (!SafeFile::writeAtomically(download.destination, download.body)) {
    qWarning() << "DownloadUtilities: could not store" << download.destination;
    return;
  }
  WeblinkUpdateUtilities::sharedUpdateManager()->downloadDidFinishWithURL(reply->request().url().toString());
}
