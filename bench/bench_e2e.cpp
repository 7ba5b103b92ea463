// Figures of the whole news path: the stand-in service pushes numbered items
// ("seq", "sent") through vek_listen -> Korvex -> live page, ticker and the
// pop-up program's page. A plain socket.io client on the same server gives the
// floor. Then the client idles and the CPU time and memory of its programs are
// read from /proc. Prints a table and writes the figures as JSON; asserts nothing.
//   bench/e2e [ITEMS=200] [RATE=10] [BURST=500] [IDLE_SECONDS=30]
#include "benchsupport.h"
#include "korvexsession.h"
#include "newspath.h"
#include "servicefixture.h"
#include "testsupport.h"
#include "windowmanager.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <map>
#include <unistd.h>
#include <vector>

namespace
{

QTextStream out(stdout);

void pause(int ms)
{
    Bench::waitFor([] { return false; }, ms);
}

using NewsPath::Arrivals;

// A plain socket.io client of the listener's generation on the same server.
class FloorClient
{
public:
    bool start(const QString &url)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { read(); });
        m_process.start(QStringLiteral("node"),
                        {TestSupport::sourceDir() + QStringLiteral("/bench/floorclient.js"), url});
        return m_process.waitForStarted(10000);
    }
    void stop() { TestSupport::stopProcess(&m_process); }
    bool connected() const { return m_connected; }
    Arrivals arrivals;
    std::map<int, qint64> sent;

private:
    void read()
    {
        while (m_process.canReadLine()) {
            const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
            if (words.value(0) == "connected")
                m_connected = true;
            else if (words.size() == 3) {
                arrivals.emplace(words.at(0).toInt(), words.at(2).toLongLong());
                sent.emplace(words.at(0).toInt(), words.at(1).toLongLong());
            }
        }
    }
    QProcess m_process;
    bool m_connected = false;
};

struct HopFigures {
    QString name;
    int received = 0;
    int lost = 0;
    double p50 = -1, p95 = -1, p99 = -1, max = -1;
};

HopFigures figures(const QString &name, const Arrivals &arrivals, const std::map<int, qint64> &sent,
                   int firstSeq, int lastSeq)
{
    HopFigures f;
    f.name = name;
    std::vector<double> latencies;
    for (int seq = firstSeq; seq <= lastSeq; ++seq) {
        const auto it = arrivals.find(seq);
        if (it == arrivals.end()) {
            ++f.lost;
            continue;
        }
        ++f.received;
        const auto s = sent.find(seq);
        if (s != sent.end())
            latencies.push_back(double(it->second - s->second));
    }
    f.p50 = Bench::percentile(latencies, 0.5);
    f.p95 = Bench::percentile(latencies, 0.95);
    f.p99 = Bench::percentile(latencies, 0.99);
    f.max = Bench::percentile(latencies, 1.0);
    return f;
}

QString ms(double value)
{
    return value < 0 ? QStringLiteral("-") : QString::number(value, 'f', 0);
}

QJsonObject toJson(const HopFigures &f)
{
    return QJsonObject{{QStringLiteral("received"), f.received}, {QStringLiteral("lost"), f.lost},
                       {QStringLiteral("p50_ms"), f.p50},        {QStringLiteral("p95_ms"), f.p95},
                       {QStringLiteral("p99_ms"), f.p99},        {QStringLiteral("max_ms"), f.max}};
}

struct Run {
    QString name;
    int items = 0;
    double rate = 0;
    QList<HopFigures> hops;
};

// Pushes `count` items at `rate` and follows them to every hop.
Run runBurst(const QString &name, int count, double rate, ServiceFixture &service,
             KorvexSession &korvex, FloorClient &floor)
{
    Run run;
    run.name = name;
    run.items = count;
    run.rate = rate;
    const int sinceEvent = NewsPath::lastEventSeq(service);
    const int sinceLine = korvex.lines().size();
    const QJsonObject burst =
        service
            .control("POST", QStringLiteral("/burst"),
                     QJsonObject{{QStringLiteral("count"), count}, {QStringLiteral("rate"), rate}})
            .object()
            .value(QLatin1String("burst"))
            .toObject();
    const int firstSeq = burst.value(QLatin1String("firstSeq")).toInt();
    const int lastSeq = burst.value(QLatin1String("lastSeq")).toInt();
    if (firstSeq <= 0) {
        out << name << ": the service did not start the burst: " << service.lastError() << "\n";
        return run;
    }

    std::map<int, qint64> sent = floor.sent;
    Arrivals intake, ticker, popup;
    const auto collect = [&] {
        intake = NewsPath::pageArrivals(service, QStringLiteral("OutputMsg"),
                                        QStringLiteral("/Expresslive"), sinceEvent, &sent);
        popup = NewsPath::pageArrivals(service, QStringLiteral("iojieshou"),
                                       QStringLiteral("/wicket"), sinceEvent, &sent);
        ticker = NewsPath::tickerArrivals(korvex, sinceLine);
    };
    // Sending takes count / rate; then every hop gets a few seconds to catch up,
    // as long as any of them still makes progress.
    pause(int(1000.0 * count / rate));
    size_t seen = 0;
    for (int quiet = 0; quiet < 5;) {
        pause(1000);
        collect();
        const size_t now = intake.size() + ticker.size() + popup.size() + floor.arrivals.size();
        const bool complete = int(intake.size()) >= count && int(ticker.size()) >= count &&
                              int(popup.size()) >= count;
        if (complete)
            break;
        quiet = now == seen ? quiet + 1 : 0;
        seen = now;
    }
    for (const auto &entry : floor.sent)
        sent.emplace(entry.first, entry.second);

    run.hops << figures(QStringLiteral("floor: plain socket.io client"), floor.arrivals, sent,
                        firstSeq, lastSeq)
             << figures(QStringLiteral("intake: live page OutputMsg"), intake, sent, firstSeq,
                        lastSeq)
             << figures(QStringLiteral("ticker row"), ticker, sent, firstSeq, lastSeq)
             << figures(QStringLiteral("pop-up page iojieshou"), popup, sent, firstSeq, lastSeq);
    return run;
}

struct ProcessFigures {
    QString name;
    qint64 pid = 0;
    double cpuPercent = -1;
    double rssMb = -1;
};

QList<ProcessFigures> idleFigures(KorvexSession &korvex, int seconds)
{
    QList<ProcessFigures> processes;
    for (const QString &name : {QStringLiteral("Korvex"), QStringLiteral("vek_listen"),
                                QStringLiteral("vek_popup"), QStringLiteral("vek_updat")}) {
        ProcessFigures p;
        p.name = name;
        p.pid = name == QLatin1String("Korvex") ? korvex.pid()
                                                : TestSupport::sessionProcesses(name).value(0, 0);
        processes << p;
    }
    QMap<QString, qint64> before;
    for (const ProcessFigures &p : processes)
        before[p.name] = NewsPath::costOf(p.pid).cpuTicks;
    QElapsedTimer timer;
    timer.start();
    pause(seconds * 1000);
    const double elapsed = double(timer.elapsed()) / 1000.0;
    const double ticksPerSecond = double(::sysconf(_SC_CLK_TCK));
    for (ProcessFigures &p : processes) {
        if (p.pid <= 0)
            continue;
        const NewsPath::Cost cost = NewsPath::costOf(p.pid);
        if (cost.cpuTicks >= 0 && before[p.name] >= 0)
            p.cpuPercent =
                100.0 * double(cost.cpuTicks - before[p.name]) / ticksPerSecond / elapsed;
        p.rssMb = cost.rssMb;
    }
    return processes;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString jsonPath = QStringLiteral("bench_e2e.json");
    for (int i = args.size() - 1; i >= 0; --i) {
        if (args.at(i).startsWith(QLatin1String("--json="))) {
            jsonPath = args.at(i).mid(7);
            args.removeAt(i);
        }
    }
    const int items = args.value(0, QStringLiteral("200")).toInt();
    const double rate = args.value(1, QStringLiteral("10")).toDouble();
    const int burst = args.value(2, QStringLiteral("500")).toInt();
    const int idleSeconds = args.value(3, QStringLiteral("30")).toInt();

    WindowManager windowManager;
    ServiceFixture service;
    KorvexSession korvex;
    if (!NewsPath::startClient(windowManager, service, korvex, out))
        return 1;
    FloorClient floor;
    if (!floor.start(QStringLiteral("http://127.0.0.1:%1").arg(service.newsPorts().value(0)))) {
        out << "floor client: cannot start node\n";
        return 1;
    }
    out << "waiting for the client to come up...\n";
    out.flush();
    // Page loads carry no seq; they are looked up by kind.
    const auto loaded = [&](const QString &path) {
        return !service.control("GET", QStringLiteral("/events?kind=load&path=%1").arg(path))
                    .object()
                    .value(QLatin1String("events"))
                    .toArray()
                    .isEmpty();
    };
    const bool ready = Bench::waitFor(
        [&] {
            return floor.connected() && service.newsClients() >= 2 &&
                   korvex.countContaining(QStringLiteral("connected to popup server!")) > 0 &&
                   loaded(QStringLiteral("/Expresslive")) && loaded(QStringLiteral("/wicket"));
        },
        60000);
    if (!ready)
        out << "the client did not report every link within 60 s; measuring anyway\n";
    pause(2000); // first page work settles

    QList<Run> runs;
    out << "rate run: " << items << " items at " << rate << "/s...\n";
    out.flush();
    runs << runBurst(QStringLiteral("rate"), items, rate, service, korvex, floor);
    out << "burst run: " << burst << " items at once...\n";
    out.flush();
    runs << runBurst(QStringLiteral("burst"), burst, 1000, service, korvex, floor);
    out << "idle: " << idleSeconds << " s...\n";
    out.flush();
    pause(3000);
    const QList<ProcessFigures> idle = idleFigures(korvex, idleSeconds);

    floor.stop();
    korvex.quit();
    service.stop();
    windowManager.stop();

    QJsonArray runsJson;
    for (const Run &run : qAsConst(runs)) {
        out << "\n" << run.name << ": " << run.items << " items at " << run.rate << "/s\n";
        out << QStringLiteral("  %1 %2 %3 %4 %5 %6 %7\n")
                   .arg(QStringLiteral("hop"), -32)
                   .arg(QStringLiteral("got"), 6)
                   .arg(QStringLiteral("lost"), 6)
                   .arg(QStringLiteral("p50 ms"), 8)
                   .arg(QStringLiteral("p95 ms"), 8)
                   .arg(QStringLiteral("p99 ms"), 8)
                   .arg(QStringLiteral("max ms"), 8);
        QJsonObject hops;
        for (const HopFigures &f : run.hops) {
            out << QStringLiteral("  %1 %2 %3 %4 %5 %6 %7\n")
                       .arg(f.name, -32)
                       .arg(f.received, 6)
                       .arg(f.lost, 6)
                       .arg(ms(f.p50), 8)
                       .arg(ms(f.p95), 8)
                       .arg(ms(f.p99), 8)
                       .arg(ms(f.max), 8);
            hops.insert(f.name, toJson(f));
        }
        runsJson.append(QJsonObject{{QStringLiteral("name"), run.name},
                                    {QStringLiteral("items"), run.items},
                                    {QStringLiteral("rate"), run.rate},
                                    {QStringLiteral("hops"), hops}});
    }

    out << "\nidle " << idleSeconds << " s\n";
    out << QStringLiteral("  %1 %2 %3\n")
               .arg(QStringLiteral("program"), -12)
               .arg(QStringLiteral("cpu %"), 11)
               .arg(QStringLiteral("rss MB"), 8);
    QJsonObject idleJson;
    double cpuTotal = 0;
    for (const ProcessFigures &p : idle) {
        const bool running = p.pid > 0;
        out << QStringLiteral("  %1 %2 %3\n")
                   .arg(p.name, -12)
                   .arg(running ? QString::number(p.cpuPercent, 'f', 2)
                                : QStringLiteral("not running"),
                        11)
                   .arg(running ? QString::number(p.rssMb, 'f', 1) : QStringLiteral("-"), 8);
        if (running)
            cpuTotal += std::max(0.0, p.cpuPercent);
        idleJson.insert(p.name, running ? QJsonObject{{QStringLiteral("cpu_percent"), p.cpuPercent},
                                                      {QStringLiteral("rss_mb"), p.rssMb}}
                                        : QJsonObject{{QStringLiteral("running"), false}});
    }
    out << QStringLiteral("  %1 %2\n")
               .arg(QStringLiteral("together"), -12)
               .arg(cpuTotal, 8, 'f', 2);

    const HopFigures *ratePopup =
        runs.size() > 0 && runs[0].hops.size() > 3 ? &runs[0].hops[3] : nullptr;
    const Run *burstRun = runs.size() > 1 ? &runs[1] : nullptr;
    out << "\ntargets (printed, not asserted):\n";
    if (ratePopup)
        out << "  push -> pop-up page p99 <= 50 ms at 10 items/s: " << ms(ratePopup->p99)
            << " ms\n";
    if (burstRun && burstRun->hops.size() > 2)
        out << "  lost at a burst of " << burstRun->items << ": intake " << burstRun->hops[1].lost
            << ", ticker " << burstRun->hops[2].lost << " (target 0)\n";
    out << "  idle CPU of all four <= 1 % of a core: " << QString::number(cpuTotal, 'f', 2)
        << " %\n";

    const QJsonObject report{
        {QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
        {QStringLiteral("runs"), runsJson},
        {QStringLiteral("idle_seconds"), idleSeconds},
        {QStringLiteral("idle"), idleJson},
        {QStringLiteral("idle_cpu_percent_together"), cpuTotal}};
    QFile json(jsonPath);
    if (json.open(QIODevice::WriteOnly)) {
        json.write(QJsonDocument(report).toJson());
        out << "\nfigures written to " << jsonPath << "\n";
    } else {
        out << "\ncannot write " << jsonPath << "\n";
    }
    return 0;
}
