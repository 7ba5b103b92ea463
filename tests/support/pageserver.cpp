#include "pageserver.h"

#include <QTcpSocket>
#include <QUrlQuery>

#include <utility>

PageServer::PageServer(const QByteArray &page, QObject *parent)
    : QObject(parent)
    , m_page(page)
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString PageServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

void PageServer::serve(QTcpSocket *socket)
{
    QByteArray buffered = socket->property("buffer").toByteArray() + socket->readAll();
    const int end = buffered.indexOf("\r\n\r\n");
    if (end < 0) {
        socket->setProperty("buffer", buffered);
        return;
    }
    socket->setProperty("buffer", QByteArray());
    const QList<QByteArray> lines = buffered.left(end).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    Request request;
    request.path = QString::fromUtf8(first.value(1));
    for (const QByteArray &line : lines) {
        if (line.toLower().startsWith("cookie:"))
            request.cookie = QString::fromUtf8(line.mid(7).trimmed());
    }
    requests.append(request);

    if (request.path.startsWith(QLatin1String("/report?"))) {
        const QUrlQuery query(request.path.mid(8));
        const Call call{query.queryItemValue(QStringLiteral("fn"), QUrl::FullyDecoded),
                        query.queryItemValue(QStringLiteral("arg"), QUrl::FullyDecoded)};
        calls.append(call);
        answer(socket, "ok");
        emit called(call.function, call.argument);
        return;
    }
    if (holdPages) {
        m_held.append(socket);
        return;
    }
    answer(socket, m_page);
}

void PageServer::releasePages()
{
    holdPages = false;
    const QList<QPointer<QTcpSocket>> held = std::exchange(m_held, {});
    for (const QPointer<QTcpSocket> &socket : held) {
        if (socket)
            answer(socket, m_page);
    }
}

void PageServer::answer(QTcpSocket *socket, const QByteArray &body)
{
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

QByteArray PageServer::reportingPage()
{
    return QByteArrayLiteral(
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>wicket</title>"
        "<script>"
        "var items = [];"
        "function report(fn, arg) {"
        "  var x = new XMLHttpRequest();"
        "  x.open('GET', '/report?fn=' + fn + '&arg=' + encodeURIComponent(arg), true);"
        "  x.send();"
        "}"
        "function iojieshou(t) { items.push(t); report('iojieshou', t); }"
        "function delNews() { items = []; report('delNews', ''); }"
        "</script></head><body style=\"margin:0;background:#efefef\"></body></html>");
}
