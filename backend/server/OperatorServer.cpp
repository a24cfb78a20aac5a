#include "OperatorServer.h"

#include "OperatorAddress.h"
#include "SimulatedModem.h"

#include <QDebug>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>
#include <QVariantList>
#include <algorithm>
#include <csignal>
#include <sys/prctl.h>

namespace {

const QString kNumberServicePath = QStringLiteral("/SPBUUP/SPBService");
const QString kUploadPath = QStringLiteral("/upload.php");
// The upload probe may send more than a request is otherwise allowed to; it is counted, not kept.
constexpr qint64 kMaxUploadBytes = 64LL * 1024 * 1024;

QByteArray reason(int status) {
  switch (status) {
  case 200:
    return "OK";
  case 400:
    return "Bad Request";
  case 404:
    return "Not Found";
  case 405:
    return "Method Not Allowed";
  case 413:
    return "Content Too Large";
  case 431:
    return "Request Header Fields Too Large";
  case 500:
    return "Internal Server Error";
  case 501:
    return "Not Implemented";
  case 503:
    return "Service Unavailable";
  default:
    return "Status";
  }
}

// A value of the scenario as one line of text: line breaks would make new lines of the list file.
QString oneLine(const QVariant &value) {
  QString text;
  if (value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QStringList) {
    QStringList parts;
    for (const QVariant &v : value.toList())
      parts << v.toString();
    text = parts.join(QLatin1Char(','));
  } else {
    text = value.toString();
  }
  text.remove(QLatin1Char('\r'));
  text.remove(QLatin1Char('\n'));
  return text;
}

QByteArray escaped(const QString &text) {
  return text.toHtmlEscaped().toUtf8();
}

bool isToken(const QByteArray &method) {
  if (method.isEmpty() || method.size() > 16)
    return false;
  for (char c : method)
    if (c < 'A' || c > 'Z')
      return false;
  return true;
}

} // namespace

OperatorServer::OperatorServer(const SimulatedModem *modem, QObject *parent)
    : QObject(parent), modem_(modem), server_(new QTcpServer(this)) {
  connect(server_, &QTcpServer::newConnection, this, &OperatorServer::onNewConnection);
}

OperatorServer::~OperatorServer() {
  stopIperf();
  // The connections go while the table they clean themselves out of still exists.
  QTcpServer *server = server_;
  server_ = nullptr;
  delete server;
}

bool OperatorServer::start() {
  const QUrl base = OperatorAddress::base();
  const QString host = base.host();
  // Only an address on this machine is ours to play; any other is the real operator's.
  if (host != QLatin1String("127.0.0.1") && host != QLatin1String("localhost")) {
    qInfo() << "vArivevorer: the operator address" << base.toString() << "is not local; not serving it";
    return false;
  }
  const int port = base.port(80);
  if (!listen(static_cast<quint16>(port))) {
    qWarning() << "vArivevorer: cannot serve the operator's address on port" << port << "-" << server_->errorString()
               << "- going on without it";
    return false;
  }
  return true;
}

bool OperatorServer::listen(quint16 port) {
  if (server_->isListening())
    server_->close();
  return server_->listen(QHostAddress::LocalHost, port);
}

quint16 OperatorServer::port() const {
  return server_->serverPort();
}

bool OperatorServer::isListening() const {
  return server_->isListening();
}

void OperatorServer::setAnswer(const QString &path, int status, const QByteArray &body, quint32 delayMs) {
  if (status < 0) {
    replacements_.remove(path);
    return;
  }
  Answer answer;
  answer.status = (status == 0 || (status >= 100 && status <= 999)) ? status : 500;
  answer.contentType = "text/plain; charset=utf-8";
  answer.body = body;
  answer.delayMs = delayMs;
  replacements_.insert(path, answer);
}

const OperatorServer::Answer *OperatorServer::replacementFor(const QString &path) const {
  auto exact = replacements_.constFind(path);
  if (exact != replacements_.constEnd())
    return &exact.value();
  // The longest folder that covers the path.
  const Answer *best = nullptr;
  qsizetype bestLength = 0;
  for (auto it = replacements_.constBegin(); it != replacements_.constEnd(); ++it) {
    if (it.key().endsWith(QLatin1Char('/')) && path.startsWith(it.key()) && it.key().size() > bestLength) {
      best = &it.value();
      bestLength = it.key().size();
    }
  }
  return best;
}

QByteArray OperatorServer::operatorListFile() const {
  const QVariantMap scenario = modem_ ? modem_->scenario() : QVariantMap();
  const QVariantMap op = scenario.value(QStringLiteral("Operator")).toMap();
  const QString imsi = modem_ ? modem_->sim().imsi() : QString();
  int mncLength = scenario.value(QStringLiteral("SIM")).toMap().value(QStringLiteral("MNCLength"), 2).toInt();
  if (mncLength != 3)
    mncLength = 2;
  const QString simMcc = imsi.size() >= 3 + mncLength ? imsi.left(3) : QString();
  const QString simMnc = imsi.size() >= 3 + mncLength ? imsi.mid(3, mncLength) : QString();
  auto value = [&](const QString &key, const QString &fallback) {
    return op.contains(key) ? oneLine(op.value(key)) : fallback;
  };
  const QString text = QStringLiteral("MCC=%1\nMNC=%2\nTEST=%3\n")
                           .arg(value(QStringLiteral("MCC"), simMcc), value(QStringLiteral("MNC"), simMnc),
                                value(QStringLiteral("TEST"), QStringLiteral("ON")));
  return text.toUtf8();
}

QByteArray OperatorServer::numberServiceAnswer() const {
  const QVariantMap scenario = modem_ ? modem_->scenario() : QVariantMap();
  const QVariantMap op = scenario.value(QStringLiteral("Operator")).toMap();
  QVariant msisdn = scenario.value(QStringLiteral("MSISDN"));
  if (!msisdn.isValid())
    msisdn = op.value(QStringLiteral("MSISDN"));
  const QString imei = scenario.value(QStringLiteral("IMEI"), QStringLiteral("350000000000001")).toString();
  const QString imsi = modem_ ? modem_->sim().imsi() : QString();
  const QString make = op.value(QStringLiteral("HandsetMake"), QStringLiteral("Simulated")).toString();
  const QString model = op.value(QStringLiteral("HandsetModel"), QStringLiteral("USB Modem")).toString();

  QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                   "<S:Envelope xmlns:S=\"http://schemas.xmlsoap.org/soap/envelope/\"><S:Body>"
                   "<ns2:getDeviceProfileByIMSIResponse xmlns:ns2=\"http://localhost/SPBService\">"
                   "<ns2:DeviceProfileByIMSI>";
  if (msisdn.isValid())
    xml += "<MSISDN>" + escaped(msisdn.toString()) + "</MSISDN>";
  xml += "<IMEI>" + escaped(imei) + "</IMEI>";
  xml += "<IMSI>" + escaped(imsi) + "</IMSI>";
  xml += "<HandsetMake>" + escaped(make) + "</HandsetMake>";
  xml += "<HandsetModel>" + escaped(model) + "</HandsetModel>";
  xml += "</ns2:DeviceProfileByIMSI></ns2:getDeviceProfileByIMSIResponse></S:Body></S:Envelope>";
  return xml;
}

QByteArray OperatorServer::extenderPage(int which, const QString &query) {
  const QUrlQuery q(query);
  const QString msisdn = q.queryItemValue(QStringLiteral("msisdn"), QUrl::FullyDecoded);
  const QString imsi = q.queryItemValue(QStringLiteral("imsi"), QUrl::FullyDecoded);
  QByteArray page = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                    "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>Extender " +
                    QByteArray::number(which) + "</title></head><body><h1>Extender " + QByteArray::number(which) +
                    "</h1><p class=\"msisdn\">" + escaped(msisdn) + "</p><p class=\"imsi\">" + escaped(imsi) +
                    "</p></body></html>";
  return page;
}

OperatorServer::Answer OperatorServer::answerFor(const QByteArray &method, const QString &target) const {
  const qsizetype mark = target.indexOf(QLatin1Char('?'));
  const QString path = mark < 0 ? target : target.left(mark);
  const QString query = mark < 0 ? QString() : target.mid(mark + 1);
  const QString extender = QString::fromLatin1(OperatorAddress::kExtenderPath);
  Answer a;
  a.contentType = "text/plain; charset=utf-8";
  if (path == QLatin1String("/throughputtest.txt")) {
    a.body = operatorListFile();
  } else if (path == QLatin1String("/latency.txt")) {
    a.body = "latency\n";
  } else if (path == QLatin1String("/modemdltest.jpg")) {
    const QVariantMap op = modem_ ? modem_->scenario().value(QStringLiteral("Operator")).toMap() : QVariantMap();
    bool ok = false;
    qlonglong size = op.value(QStringLiteral("DownloadSize")).toLongLong(&ok);
    if (!ok || size < 4)
      size = kDefaultDownloadSize;
    size = qMin<qlonglong>(size, kMaxDownloadSize);
    a.contentType = "image/jpeg";
    a.body = QByteArray(size, '\0');
    // The markers of a picture at both ends, so a client that looks sees one.
    a.body[0] = '\xff';
    a.body[1] = '\xd8';
    a.body[size - 2] = '\xff';
    a.body[size - 1] = '\xd9';
  } else if (path.startsWith(QLatin1String("/check/checkspeed.php"))) {
    a.body = "OK";
  } else if (path == kUploadPath) {
    a.body = "OK";
  } else if (path == kNumberServicePath) {
    if (method != "POST") {
      a.status = 405;
      a.body = "POST only";
    } else {
      a.contentType = "text/xml;charset=utf-8";
      a.body = numberServiceAnswer();
    }
  } else if (path == extender + QLatin1String("extender1.xhtml") ||
             path == extender + QLatin1String("extender2.xhtml")) {
    a.contentType = "application/xhtml+xml; charset=utf-8";
    a.body = extenderPage(path.endsWith(QLatin1String("1.xhtml")) ? 1 : 2, query);
  } else {
    a.status = 404;
    a.body = "Not Found";
  }
  return a;
}

void OperatorServer::onNewConnection() {
  while (QTcpSocket *socket = server_->nextPendingConnection()) {
    connections_.insert(socket, Connection());
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
    // A closed connection no longer counts, whenever its object goes.
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
      forget(socket);
      socket->deleteLater();
    });
    connect(socket, &QObject::destroyed, this, [this, socket] { forget(socket); });
    // A client that never finishes its request does not keep the connection for ever.
    QTimer::singleShot(kIdleMs, socket, [this, socket] {
      auto it = connections_.find(socket);
      if (it != connections_.end() && !it->handled)
        socket->abort();
    });
  }
  // Further clients wait in the system's queue until a connection closes.
  if (connections_.size() >= kMaxConnections)
    server_->pauseAccepting();
}

void OperatorServer::forget(QTcpSocket *socket) {
  if (connections_.remove(socket) && server_ && connections_.size() < kMaxConnections)
    server_->resumeAccepting();
}

void OperatorServer::refuse(QTcpSocket *socket, int status) {
  // What is still unread would turn the close into a reset that can cost the client the answer.
  socket->readAll();
  Answer a;
  a.status = status;
  a.contentType = "text/plain; charset=utf-8";
  a.body = reason(status);
  writeAnswer(socket, a);
}

bool OperatorServer::readHead(QTcpSocket *socket, Connection &c) {
  const QByteArray more = socket->read(kMaxHeaderBytes + 1 - c.head.size());
  c.head += more;
  qsizetype end = c.head.indexOf("\r\n\r\n");
  qsizetype separator = 4;
  const qsizetype bare = c.head.indexOf("\n\n");
  if (bare >= 0 && (end < 0 || bare < end)) {
    end = bare;
    separator = 2;
  }
  if (end < 0) {
    if (c.head.size() > kMaxHeaderBytes) {
      c.handled = true;
      refuse(socket, 431);
    }
    return false;
  }
  // What follows the head is the start of the body.
  QByteArray rest = c.head.mid(end + separator);
  c.head.truncate(end);

  QList<QByteArray> lines = c.head.split('\n');
  for (QByteArray &line : lines)
    if (line.endsWith('\r'))
      line.chop(1);
  const QList<QByteArray> request = lines.value(0).split(' ');
  if (request.size() != 3 || !isToken(request.at(0)) || !request.at(1).startsWith('/') ||
      !request.at(2).startsWith("HTTP/1.")) {
    c.handled = true;
    refuse(socket, 400);
    return false;
  }
  c.method = request.at(0);
  c.target = request.at(1);
  bool haveLength = false;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const qsizetype colon = lines.at(i).indexOf(':');
    if (colon <= 0) {
      c.handled = true;
      refuse(socket, 400);
      return false;
    }
    const QByteArray name = lines.at(i).left(colon).trimmed().toLower();
    const QByteArray value = lines.at(i).mid(colon + 1).trimmed();
    if (name == "transfer-encoding") {
      c.handled = true;
      refuse(socket, 501);
      return false;
    }
    if (name == "content-length") {
      bool ok = false;
      const qlonglong length = value.toLongLong(&ok);
      const bool digits =
          !value.isEmpty() && std::all_of(value.begin(), value.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
      if (!ok || !digits || length < 0 || (haveLength && length != c.expected)) {
        c.handled = true;
        refuse(socket, 400);
        return false;
      }
      haveLength = true;
      c.expected = length;
    }
  }
  const bool upload = c.target == kUploadPath.toLatin1() || c.target.startsWith(kUploadPath.toLatin1() + '?');
  if (c.expected > (upload ? kMaxUploadBytes : kMaxBodyBytes)) {
    c.handled = true;
    refuse(socket, 413);
    return false;
  }
  c.keepBody = c.expected <= kMaxBodyBytes;
  c.headDone = true;
  const QByteArray first = rest.left(c.expected);
  c.got = first.size();
  if (c.keepBody)
    c.body = first;
  c.head.clear();
  return true;
}

void OperatorServer::onReadyRead(QTcpSocket *socket) {
  auto it = connections_.find(socket);
  if (it == connections_.end())
    return;
  Connection &c = it.value();
  if (c.handled) {
    // One request per connection; anything after it is dropped.
    socket->readAll();
    return;
  }
  if (!c.headDone && !readHead(socket, c))
    return;
  if (c.handled)
    return;
  while (c.got < c.expected && socket->bytesAvailable() > 0) {
    const QByteArray more = socket->read(qMin<qint64>(c.expected - c.got, 64 * 1024));
    if (more.isEmpty())
      break;
    c.got += more.size();
    if (c.keepBody)
      c.body += more;
  }
  if (c.got < c.expected)
    return;
  c.handled = true;
  socket->readAll();
  handleRequest(socket, c);
}

void OperatorServer::handleRequest(QTcpSocket *socket, const Connection &c) {
  requests_ << QString::fromLatin1(c.method + ' ' + c.target);
  while (requests_.size() > kMaxRecorded)
    requests_.removeFirst();

  const QString target = QString::fromLatin1(c.target);
  const qsizetype mark = target.indexOf(QLatin1Char('?'));
  const QString path = mark < 0 ? target : target.left(mark);
  const Answer *replacement = replacementFor(path);
  // The list opens every speed test, so the upload's server is started with its first one
  // rather than with every backend.
  if (!iperf_ && path == QLatin1String("/throughputtest.txt"))
    startIperf(port());
  const Answer answer = replacement ? *replacement : answerFor(c.method, target);
  if (answer.delayMs >= kNeverMs)
    return; // held until the client gives up
  auto deliver = [socket, answer] {
    if (answer.status == 0)
      socket->abort();
    else
      writeAnswer(socket, answer);
  };
  if (answer.delayMs == 0)
    deliver();
  else
    QTimer::singleShot(static_cast<int>(answer.delayMs), socket, deliver);
}

void OperatorServer::writeAnswer(QTcpSocket *socket, const Answer &answer) {
  QByteArray out = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reason(answer.status) + "\r\n";
  if (!answer.contentType.isEmpty())
    out += "Content-Type: " + answer.contentType + "\r\n";
  out += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
  out += "Connection: close\r\n\r\n";
  out += answer.body;
  socket->write(out);
  socket->disconnectFromHost();
}

void OperatorServer::startIperf(quint16 port) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("iperf"));
  if (program.isEmpty())
    return;
  iperf_ = new QProcess(this);
  iperf_->setProgram(program);
  iperf_->setArguments({QStringLiteral("-s"), QStringLiteral("-u"), QStringLiteral("-p"), QString::number(port)});
  iperf_->setStandardOutputFile(QProcess::nullDevice());
  iperf_->setStandardErrorFile(QProcess::nullDevice());
  // The measuring server goes with the backend, even when the backend is killed.
  iperf_->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  iperf_->start();
  if (!iperf_->waitForStarted(3000)) {
    qWarning() << "vArivevorer: iperf did not start:" << iperf_->errorString();
    delete iperf_;
    iperf_ = nullptr;
  }
}

void OperatorServer::stopIperf() {
  if (!iperf_)
    return;
  if (iperf_->state() != QProcess::NotRunning) {
    iperf_->terminate();
    if (!iperf_->waitForFinished(2000)) {
      iperf_->kill();
      iperf_->waitForFinished(1000);
    }
  }
  delete iperf_;
  iperf_ = nullptr;
}
