#include "SoapClient.h"

#include "NotificationCenter.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QThread>
#include <QXmlStreamReader>

namespace {
const QString kXmlParseOver = QStringLiteral("xmlParseOver");
const QString kConnectServerError = QStringLiteral("connectServerError");
const QString kErrorInfor = QStringLiteral("errorInfor");
} // namespace

SoapClient::SoapClient(QObject *parent) : QObject(parent), network_(new QNetworkAccessManager(this)) {
  timeout_.setSingleShot(true);
  connect(&timeout_, &QTimer::timeout, this, [this] {
    if (!connection_.reply)
      return;
    abandon();
    connectionDidFail(QStringLiteral("The request timed out."));
  });
}

SoapClient::~SoapClient() {
  abandon();
}

bool SoapClient::initWithServerName(const QString &serverName) {
  const QUrl url(serverName, QUrl::StrictMode);
  if (serverName.isEmpty() || !url.isValid() || url.isRelative() || url.host().isEmpty()) {
    // No request may go to the address of before either.
    serverUrl_.clear();
    return false;
  }
  serverUrl_ = url;
  return true;
}

void SoapClient::post(const QString &name, const QVariantMap &userInfo) {
  QCoreApplication *app = QCoreApplication::instance();
  if (!app || QThread::currentThread() == app->thread()) {
    NotificationCenter::defaultCenter().postNotificationName(name, nullptr, userInfo);
    return;
  }
  QMetaObject::invokeMethod(
      app, [name, userInfo] { NotificationCenter::defaultCenter().postNotificationName(name, nullptr, userInfo); },
      Qt::QueuedConnection);
}

void SoapClient::abandon() {
  timeout_.stop();
  QNetworkReply *reply = connection_.reply;
  connection_.reply = nullptr;
  if (!reply)
    return;
  // Whatever the abandoned request still brings is not ours any more.
  disconnect(reply, nullptr, this, nullptr);
  reply->abort();
  reply->deleteLater();
}

QByteArray SoapClient::sendMessage(const QByteArray &body, bool wait, bool *sent) {
  if (sent)
    *sent = false;
  if (serverUrl_.isEmpty()) {
    qWarning() << "SoapClient: no valid service address; nothing sent";
    return {};
  }
  abandon();

  QNetworkRequest request(serverUrl_);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  request.setRawHeader("Content-Length", QByteArray::number(body.size()));
  request.setRawHeader("Content-Type", "text/xml;charset=utf-8");

  xmlNodeName_.clear();
  xmlNodeValue_.clear();
  xmlnodeNameStack_.clear();
  textStack_.clear();
  xmlNodeRecordArray_.clear();
  connection_ = MyURLConnection();

  QNetworkReply *reply = network_->post(request, body);
  connection_.reply = reply;
  connect(reply, &QNetworkReply::metaDataChanged, this, &SoapClient::connectionDidReceiveResponse);
  connect(reply, &QNetworkReply::readyRead, this, &SoapClient::connectionDidReceiveData);
  connect(reply, &QNetworkReply::finished, this, &SoapClient::connectionDidFinish);
  timeout_.start(timeoutMs_);
  if (sent)
    *sent = true;
  if (!wait)
    return {};

  QEventLoop loop;
  const QMetaObject::Connection over = connect(this, &SoapClient::requestOver, &loop, &QEventLoop::quit);
  if (connection_.reply == reply && !connection_.isFinished())
    loop.exec();
  disconnect(over);
  return connection_.data();
}

void SoapClient::connectionDidReceiveResponse() {
  if (!connection_.reply || sender() != connection_.reply)
    return;
  const QVariant status = connection_.reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (status.isValid())
    connection_.setResponse(status.toInt());
}

void SoapClient::connectionDidReceiveData() {
  QNetworkReply *reply = connection_.reply;
  if (!reply || sender() != reply)
    return;
  connection_.appendData(reply->readAll());
  if (connection_.data().size() > kMaxAnswerBytes) {
    abandon();
    connectionDidFail(QStringLiteral("The answer is too large."));
    return;
  }
  // The limit is on the whole request: a server that trickles its answer must not keep it open
  // for ever by sending a byte now and then.
}

void SoapClient::connectionDidFinish() {
  QNetworkReply *reply = connection_.reply;
  if (!reply || sender() != reply)
    return;
  timeout_.stop();
  connection_.appendData(reply->readAll());
  connection_.reply = nullptr;
  reply->deleteLater();
  // A server that answered, even with an error status, has answered: its text is read. Only a
  // request that got no answer at all fails.
  const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
  if (reply->error() != QNetworkReply::NoError && !answered) {
    connectionDidFail(reply->errorString());
    return;
  }
  if (connection_.data().size() > kMaxAnswerBytes) {
    connectionDidFail(QStringLiteral("The answer is too large."));
    return;
  }
  connection_.setFinished(true);
  if (!handleResponseData(connection_.data()))
    qWarning() << "SoapClient: the answer is not well-formed XML; records up to the fault are kept";
  emit requestOver();
  post(kXmlParseOver);
}

void SoapClient::connectionDidFail(const QString &description) {
  connection_.setFinished(true);
  emit requestOver();
  post(kConnectServerError, {{kErrorInfor, description}});
}

void SoapClient::stackPushIn(const QString &name) {
  xmlnodeNameStack_.append(name);
}

QString SoapClient::stackPopUP() {
  return xmlnodeNameStack_.isEmpty() ? QString() : xmlnodeNameStack_.takeLast();
}

bool SoapClient::handleResponseData(const QByteArray &data) {
  xmlnodeNameStack_.clear();
  textStack_.clear();
  QXmlStreamReader xml(data);
  while (!xml.atEnd()) {
    switch (xml.readNext()) {
    case QXmlStreamReader::StartElement:
      xmlNodeName_ = xml.qualifiedName().toString();
      stackPushIn(xmlNodeName_);
      textStack_.append(QString());
      xmlNodeValue_.clear();
      break;
    case QXmlStreamReader::Characters:
      // The parser may hand one element's text over in several runs (around a CDATA section,
      // an entity, a buffer end); the element's value is all of them.
      if (!textStack_.isEmpty()) {
        textStack_.last() += xml.text();
        xmlNodeValue_ = textStack_.last();
      }
      break;
    case QXmlStreamReader::EndElement: {
      const QString name = xml.qualifiedName().toString();
      const QString top = stackPopUP();
      xmlNodeValue_ = textStack_.isEmpty() ? QString() : textStack_.takeLast();
      if (top == name && xmlNodeRecordArray_.size() < kMaxRecords)
        xmlNodeRecordArray_.append(
            QVariantMap{{QStringLiteral("xmlNodeName"), name}, {QStringLiteral("xmlNodeValue"), xmlNodeValue_}});
      break;
    }
    default:
      break;
    }
  }
  return !xml.hasError();
}
