#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

// Date queries and downloads of the linked icons, over HTTP. Every answer arrives on the main
// loop and is handed to WeblinkUpdateUtilities; a failed query or download is dropped.
class DownloadUtilities : public QObject {
  Q_OBJECT
public:
  static constexpr int kQueryTimeoutMs = 15000;
  static constexpr int kDownloadTimeoutMs = 60000;
  // Icons are small: a larger body is not taken.
  static constexpr qint64 kMaxDownloadBytes = 16 * 1024 * 1024;

  static DownloadUtilities *sharedDownloadManager();

  // Accepted only for an existing folder.
  void setDownloadFolder(const QString &path);
  QString downloadFolder() const { return downloadFolder_; }

  void startQueryURLModifiedDate(const QString &url);
  void startDownloadingURL(const QString &url);

  // Requests under way (tests wait for them).
  int pendingRequests() const { return int(replies_.size()); }

private:
  DownloadUtilities() = default;
  QNetworkAccessManager *network();
  void queryAnswered(QNetworkReply *reply);
  void downloadHeaders(QNetworkReply *reply);
  void downloadFinished(QNetworkReply *reply);

  struct Download {
    bool query = false;
    bool decided = false;
    QString destination;
    QByteArray body;
  };
  QString downloadFolder_;
  QNetworkAccessManager *network_ = nullptr;
  QHash<QNetworkReply *, Download> replies_;
};
