#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTcpServer>
#include <QTcpSocket>

// A tiny HTTP/1.0 server: each path answers from its list of responses in turn (the last one
// repeats); every request is counted.
class HttpStub : public QObject {
public:
  struct Response {
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    bool cutShort = false; // promise more than is sent, then hang up
  };
  QHash<QString, QList<Response>> routes;
  QHash<QString, int> hits;
  QList<QByteArray> userAgents;

  HttpStub() {
    server_.listen(QHostAddress::LocalHost);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket *socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
  }
  QString url(const QString &path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
  }

private:
  void answer(QTcpSocket *socket) {
    QByteArray &buffer = buffers_[socket];
    buffer += socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
      return;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    const QString path = QString::fromLatin1(lines.value(0).split(' ').value(1));
    for (const QByteArray &line : lines)
      if (line.toLower().startsWith("user-agent:"))
        userAgents << line.mid(11).trimmed();
    buffers_.remove(socket);
    const int n = hits[path]++;
    const QList<Response> list = routes.value(path, {Response{404, {}, "missing", false}});
    const Response r = list.value(qMin(n, int(list.size()) - 1));
    QByteArray out = "HTTP/1.1 " + QByteArray::number(r.status) + " X\r\nConnection: close\r\n";
    for (const auto &h : r.headers)
      out += h.first + ": " + h.second + "\r\n";
    out += "Content-Length: " + QByteArray::number(r.body.size() + (r.cutShort ? 1000 : 0)) + "\r\n\r\n" + r.body;
    socket->write(out);
    socket->disconnectFromHost();
  }
  QTcpServer server_;
  QHash<QTcpSocket *, QByteArray> buffers_;
};
