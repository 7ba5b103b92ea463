// Push-to-hand-off latency of the real vek_listen: the stand-in service pushes
// numbered items at a steady rate, the listener hands them to a local server in
// the main program's place, and this program measures sent -> received.
//   bench_listen [ITEMS=500] [RATE=100]        (run from the source root)
#include "benchsupport.h"
#include "protocol.h"
#include "servicefixture.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace
{

} // namespace

int main(int argc, char *argv[])
{
    // Local socket names live in the temporary folder: a private one keeps a
    // running client out of it.
    QTemporaryDir tmp;
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int items = args.size() > 1 ? args.at(1).toInt() : 500;
    const int rate = args.size() > 2 ? args.at(2).toInt() : 100;
    if (qEnvironmentVariableIsEmpty("KORVEX_SOURCE_DIR"))
        qputenv("KORVEX_SOURCE_DIR", QFile::encodeName(QDir::currentPath()));
    QTextStream out(stdout);

    ServiceFixture service;
    QString error;
    if (!service.start(&error)) {
        out << "service: " << error << "\n";
        return 1;
    }
    QLocalServer main;
    if (!main.listen(Protocol::socketPath(Protocol::mainSocketName())))
        return 1;

    QByteArray buffer;
    std::vector<double> latencies;
    QObject::connect(&main, &QLocalServer::newConnection, [&] {
        QLocalSocket *socket = main.nextPendingConnection();
        QObject::connect(socket, &QLocalSocket::readyRead, [&, socket] {
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            buffer += socket->readAll();
            const QByteArray tag = Protocol::newsTag().toUtf8();
            // Items are back to back; one is whole once it parses.
            int start = buffer.indexOf(tag);
            while (start >= 0) {
                const int next = buffer.indexOf(tag, start + tag.size());
                const QByteArray item =
                    buffer.mid(start + tag.size(), next < 0 ? -1 : next - start - tag.size());
                const QJsonDocument doc = QJsonDocument::fromJson(item);
                if (!doc.isArray())
                    break;
                const qint64 sent =
                    qint64(doc.array().at(0).toObject().value(QLatin1String("sent")).toDouble());
                latencies.push_back(double(now - sent));
                buffer.remove(0, next < 0 ? buffer.size() : next);
                start = next < 0 ? -1 : 0;
            }
        });
    });

    QProcess listener;
    listener.setProcessEnvironment(service.environment());
    listener.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    listener.start(TestSupport::binDir() + QStringLiteral("/vek_listen"), QStringList());
    if (!Bench::waitFor([&] { return service.newsClients() == 1; }, 20000)) {
        out << "listener did not connect to the service\n";
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    service.pushBurst(items, rate);
    const bool complete = Bench::waitFor([&] { return int(latencies.size()) >= items; },
                                         10000 + items * 1000 / std::max(rate, 1));
    const double seconds = double(timer.elapsed()) / 1000.0;
    listener.kill();
    listener.waitForFinished(5000);

    out << "bench_listen: " << latencies.size() << "/" << items << " items at " << rate << "/s in "
        << QString::number(seconds, 'f', 2) << " s" << (complete ? "" : " (INCOMPLETE)") << "\n";
    out << "push -> hand-off latency ms: median " << Bench::percentile(latencies, 0.5) << ", p99 "
        << Bench::percentile(latencies, 0.99) << ", max " << Bench::percentile(latencies, 1.0)
        << "\n";
    return complete ? 0 : 2;
}
