// Receive + split + parse throughput of the main program's socket server.
// A second process (this program with --write) sends 500-byte news items, one
// write per item as the listener does; this process counts getNewMessage.
//   bench_ipc [ITEMS] [ROUNDS] [--with-diagnostics]
#include "protocol.h"
#include "intake/localsocketserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QProcess>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

static QString itemText(int i)
{
    // About 500 bytes of UTF-8, Chinese and ASCII as the service sends.
    QString title =
        QStringLiteral("[快讯] 美联储主席讲话：通胀仍然偏高，年内可能再次加息 %1 ").arg(i);
    QString item = QStringLiteral(R"([{"id":%1,"vek_news_type":"%2","star":%3,"importance":0,)"
                                  R"("time":"2026-12-07 08:30:00","title":"%4","content":")")
                       .arg(i)
                       .arg(i % 3 ? QStringLiteral("FBN") : QStringLiteral("ES"))
                       .arg(i % 7)
                       .arg(title);
    while (item.toUtf8().size() < 480)
        item += QStringLiteral("Gold and silver edged higher. ");
    item += QStringLiteral("\"}]");
    return item;
}

static int writeItems(const QString &name, int count)
{
    std::vector<QByteArray> messages;
    messages.reserve(std::min(count, 1000));
    for (int i = 0; i < std::min(count, 1000); ++i)
        messages.push_back(Protocol::newsMessage(itemText(i)).toUtf8());
    QLocalSocket socket;
    socket.connectToServer(Protocol::socketPath(name), QIODevice::WriteOnly);
    if (!socket.waitForConnected(5000))
        return 3;
    for (int i = 0; i < count; ++i) {
        socket.write(messages[size_t(i) % messages.size()]);
        socket.flush();
        // Keep the kernel buffer busy without piling up memory here.
        if (socket.bytesToWrite() > (1 << 20))
            socket.waitForBytesWritten(5000);
    }
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(5000)) {
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(5000);
    return 0;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QLatin1String("--write"))
        return writeItems(args.at(2), args.at(3).toInt());

    const bool diagnostics = args.removeAll(QStringLiteral("--with-diagnostics")) > 0;
    if (!diagnostics)
        QLoggingCategory::setFilterRules(QStringLiteral("korvex.ipc.debug=false"));
    const int items = args.size() > 1 ? args.at(1).toInt() : 100000;
    const int rounds = args.size() > 2 ? args.at(2).toInt() : 5;
    QTextStream out(stdout);

    std::vector<double> rates;
    for (int round = 0; round < rounds; ++round) {
        const QString name =
            QStringLiteral("bench_ipc_%1_%2").arg(QCoreApplication::applicationPid()).arg(round);
        Korvex::LocalSocketServer server;
        if (!server.startServer(name)) {
            out << "cannot serve " << name << "\n";
            return 1;
        }
        int received = 0;
        qint64 bytes = 0;
        QElapsedTimer clock;
        QObject::connect(&server, &Korvex::LocalSocketServer::getNewMessage, &app,
                         [&](const QString &content, const QString &, const QString &) {
                             if (received++ == 0)
                                 clock.start();
                             bytes += content.size();
                             if (received == items)
                                 app.quit();
                         });
        QProcess writer;
        writer.setProcessChannelMode(QProcess::ForwardedChannels);
        writer.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--write"), name, QString::number(items)});
        app.exec();
        const double seconds = clock.nsecsElapsed() / 1e9;
        writer.waitForFinished(10000);
        // The clock starts at the first item, so it covers items - 1 arrivals.
        const double rate = (items - 1) / seconds;
        rates.push_back(rate);
        out << QStringLiteral("round %1: %2 items in %3 s: %4 items/s, %5 us/item\n")
                   .arg(round + 1)
                   .arg(received)
                   .arg(seconds, 0, 'f', 3)
                   .arg(rate, 0, 'f', 0)
                   .arg(1e6 / rate, 0, 'f', 2);
        out.flush();
    }
    std::sort(rates.begin(), rates.end());
    const double median = rates[rates.size() / 2];
    out << QStringLiteral("median: %1 items/s, %2 us/item (500-byte items, %3)\n")
               .arg(median, 0, 'f', 0)
               .arg(1e6 / median, 0, 'f', 2)
               .arg(diagnostics ? QStringLiteral("with diagnostics")
                                : QStringLiteral("diagnostics muted"));
    return 0;
}
