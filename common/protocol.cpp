#include "protocol.h"

#include "logging.h"
#include "platform.h"

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

QString socketPath(const QString &name, QString *error)
{
    if (name.contains(QLatin1Char('/')))
        return name;
    const QString folder = Platform::runtimeFolder(error);
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

QLocalServer *listenExclusive(const QString &name, QString *error)
{
    error->clear();
    const QString path = socketPath(name, error);
    if (path.isEmpty())
        return nullptr;
    {
        QLocalSocket probe;
        probe.connectToServer(path, QIODevice::ReadWrite);
        if (probe.waitForConnected(1000)) {
            qint64 uid = -1;
            const bool ours = Platform::peerIsThisUser(probe.socketDescriptor(), &uid);
            probe.disconnectFromServer();
            probe.close();
            if (ours)
                return nullptr;
            // Only someone able to enter our private folder put it there; it
            // must not receive what is meant for our own program.
            qCWarning(lcIpc).noquote()
                << path << QStringLiteral("was served by another user (uid %1)").arg(uid)
                << "instead of this user's program: taking the name back";
        }
    }
    auto *server = new QLocalServer;
    server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(path);
    if (!server->listen(path)) {
        *error = server->errorString();
        if (error->isEmpty())
            *error = QStringLiteral("listen failed");
        delete server;
        return nullptr;
    }
    return server;
}

bool serverIsThisUser(QLocalSocket *socket)
{
    qint64 uid = -1;
    if (Platform::peerIsThisUser(socket->socketDescriptor(), &uid))
        return true;
    qCWarning(lcIpc).noquote() << socket->fullServerName()
                               << QStringLiteral("is served by another user (uid %1)").arg(uid)
                               << "instead of this user's program: nothing is sent to it";
    socket->abort();
    return false;
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
