#include "protocol.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace Protocol
{

QString newsMessage(const QString &itemText)
{
    return newsTag() + itemText;
}

QString popupHelloMessage(const QString &timeZoneValue)
{
    return newsTag() + cookieChangedPrefix() + timeZoneValue;
}

QString timeZoneChangedMessage(const QString &timeZoneValue)
{
    return cookieChangedPrefix() + timeZoneValue;
}

QString displayTimeField(int seconds)
{
    if (seconds < 0)
        return QString();
    if (seconds > 999)
        return QStringLiteral("999");
    return QStringLiteral("%1").arg(seconds, 3, 10, QLatin1Char('0'));
}

QString popupNewsMessage(int displaySeconds, const QString &importance, const QString &itemText)
{
    return newsTag() + QLatin1Char('_') + displayTimeField(displaySeconds) + QLatin1Char('_') +
           importance + QLatin1Char('_') + itemText;
}

QLocalServer *listenExclusive(const QString &name, QString *error)
{
    error->clear();
    {
        QLocalSocket probe;
        probe.connectToServer(name, QIODevice::ReadWrite);
        if (probe.waitForConnected(1000)) {
            probe.disconnectFromServer();
            probe.close();
            return nullptr;
        }
    }
    auto *server = new QLocalServer;
    QLocalServer::removeServer(name);
    if (!server->listen(name)) {
        *error = server->errorString();
        if (error->isEmpty())
            *error = QStringLiteral("listen failed");
        delete server;
        return nullptr;
    }
    return server;
}

bool sendMessage(QLocalSocket *socket, const QString &message)
{
    if (!socket)
        return false;
    if (socket->state() != QLocalSocket::ConnectedState)
        return false;
    socket->write(message.toUtf8());
    socket->flush();
    return true;
}

QList<PopupPart> parsePopupUnit(const QString &unit)
{
    QList<PopupPart> parts;
    const QStringList pieces = unit.split(newsTag(), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        PopupPart part;
        if (piece.left(13) == QLatin1String("cookieChanged")) {
            part.kind = PopupPart::TimeZone;
            part.timeZoneValue = piece.section(QLatin1Char('_'), 1, 1);
        } else {
            part.kind = PopupPart::News;
            part.displayTime = piece.mid(1, 3);
            part.importance = piece.mid(5, 1);
            part.itemText = piece.mid(7);
        }
        parts.append(part);
    }
    return parts;
}

} // namespace Protocol
