#pragma once

#include <QString>
#include <QVector>

class QProcessEnvironment;

// Where the listener finds the news service: one host on three equivalent ports.
namespace Listen::NewsEndpoint
{

struct Endpoint {
    QString host;
    QVector<int> ports; // always three
};

// The compiled-in host and ports 8021-8023; KORVEX_NEWS_HOST and KORVEX_NEWS_PORTS
// ("p1,p2,p3") override them, so tests can point the listener at a local service.
Endpoint fromEnvironment(const QProcessEnvironment &environment);

// The port picked by a pseudo-random draw: remainder 0, 1, 2 of draw / 3 picks
// the first, second, third port.
int portForDraw(quint32 draw, const Endpoint &endpoint);

// "http://" host ":" port
QString listenUrl(const QString &host, int port);

// The page statement that starts the news connection.
QString startStatement(const QString &listenUrl);

} // namespace Listen::NewsEndpoint
