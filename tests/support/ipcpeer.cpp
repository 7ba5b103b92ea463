// A second process for local-socket tests. A NAME is found where the programs
// find it (a file in the runtime folder); a path is taken as it is.
//   ipcpeer write NAME FILE SEED MAXCHUNK
//       connects to NAME and writes FILE's bytes; SEED 0 writes them in one
//       write, otherwise in random chunks of 1..MAXCHUNK bytes, each flushed,
//       with tiny pauses now and then. Disconnects when done.
//   ipcpeer paced NAME FILE PIECES
//       connects to NAME and writes FILE's bytes in the pieces PIECES gives,
//       "BYTES:PAUSE_MS,..." (each piece flushed, then the pause), and the rest
//       in one piece; prints "written" and keeps the connection until its
//       standard input closes, as a listener that stays up does.
//   ipcpeer serve NAME
//       listens on NAME, prints "listening", then every received chunk as one
//       line of text on stdout.
#include "protocol.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>

// Reads `path` into `data` and connects `socket` to `name`: 0, or the exit code.
static int openPeer(const QString &name, const QString &path, QByteArray &data,
                    QLocalSocket &socket)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 2;
    data = file.readAll();
    socket.connectToServer(Protocol::socketPath(name), QIODevice::WriteOnly);
    return socket.waitForConnected(5000) ? 0 : 3;
}

static int writeFile(const QString &name, const QString &path, quint32 seed, int maxChunk)
{
    QByteArray data;
    QLocalSocket socket;
    if (const int failed = openPeer(name, path, data, socket))
        return failed;
    if (seed == 0) {
        socket.write(data);
    } else {
        QRandomGenerator rng(seed);
        for (int pos = 0; pos < data.size();) {
            // Mostly small pieces, sometimes large ones.
            const int limit = rng.bounded(4) == 0 ? maxChunk : std::min(maxChunk, 16);
            const int size = std::min<int>(1 + rng.bounded(limit), data.size() - pos);
            socket.write(data.constData() + pos, size);
            socket.flush();
            pos += size;
            if (rng.bounded(8) == 0)
                QThread::usleep(rng.bounded(200));
        }
    }
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(5000)) {
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(5000);
    return 0;
}

static int writePaced(const QString &name, const QString &path, const QString &pieces)
{
    QByteArray data;
    QLocalSocket socket;
    if (const int failed = openPeer(name, path, data, socket))
        return failed;
    const auto writeAll = [&socket](const QByteArray &bytes) {
        socket.write(bytes);
        while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(5000)) {
        }
    };
    int pos = 0;
    for (const QString &piece : pieces.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const int size = piece.section(QLatin1Char(':'), 0, 0).toInt();
        writeAll(data.mid(pos, size));
        pos += size;
        QThread::msleep(piece.section(QLatin1Char(':'), 1, 1).toULong());
    }
    writeAll(data.mid(pos));
    std::printf("written\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(5000);
    return 0;
}

static int serve(const QString &name)
{
    auto *server = new QLocalServer(qApp);
    const QString path = Protocol::socketPath(name);
    QLocalServer::removeServer(path);
    if (!server->listen(path))
        return 4;
    QObject::connect(server, &QLocalServer::newConnection, server, [server] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket] {
                std::printf("%s\n", socket->readAll().constData());
                std::fflush(stdout);
            });
        }
    });
    std::printf("listening\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args.at(1) == QLatin1String("write"))
        return writeFile(args.at(2), args.at(3), args.at(4).toUInt(), args.at(5).toInt());
    if (args.size() == 5 && args.at(1) == QLatin1String("paced"))
        return writePaced(args.at(2), args.at(3), args.at(4));
    if (args.size() == 3 && args.at(1) == QLatin1String("serve"))
        return serve(args.at(2));
    QTextStream(stderr) << "usage: ipcpeer write NAME FILE SEED MAXCHUNK | paced NAME FILE PIECES"
                           " | serve NAME\n";
    return 1;
}
