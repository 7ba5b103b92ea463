// The whole system for a long time: the stand-in service pushes numbered items
// at a steady rate with hostile items mixed in, and a companion program is
// killed every few minutes. Each minute prints what every program costs (PSS,
// its anonymous part, RSS, open descriptors: the median of six readings 10 s
// apart; CPU over the minute); at the end, items lost per
// hop (inside and outside the restart windows), restarts, and the drift of
// memory and descriptors of the three together and of each program. A trading
// day's items: 20 items/s for an hour (72,000 items). Asserts nothing.
//   bench/soak [MINUTES=10] [RATE=5] [KILL_EVERY_MINUTES=3]
#include "benchsupport.h"
#include "korvexsession.h"
#include "newspath.h"
#include "servicefixture.h"
#include "windowmanager.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>

#include <algorithm>
#include <csignal>
#include <unistd.h>

namespace
{

QTextStream out(stdout);

const QStringList programs = {QStringLiteral("Korvex"), QStringLiteral("vek_listen"),
                              QStringLiteral("vek_popup")};
const QStringList victims = {QStringLiteral("vek_popup"), QStringLiteral("vek_listen")};
// Time a killed companion gets to come back and reconnect before losses count.
constexpr qint64 RestartWindowMs = 20000;

// Items no peer should choke on: cut, not an object, hostile script text,
// quoted tags, numbers past any integer, a huge headline.
QStringList hostileItems()
{
    return {
        QStringLiteral(R"([{"vek_news_type":"FBN","title":"[快讯] cut)"),
        QStringLiteral("[[1,2]]"),
        QStringLiteral("x"),
        QStringLiteral(R"([{"vek_news_type":"FBN","id":1,"title":"[快讯]</script><script>)"
                       R"(alert(1)</script>\u2028'\"&quot;"}])"),
        QStringLiteral(R"([{"vek_news_type":"FBN","title":"[快讯] __popup_more__ )"
                       R"(__popup_content__7 cookieChanged_9"}])"),
        QStringLiteral(R"([{"vek_news_type":"ES","star":1e300,"id":-4e52,"time":"x 99:99"}])"),
        QStringLiteral(R"([{"vek_news_type":"FBN","title":"[快讯])") +
            QString(200 * 1024, QChar(0x6da8)) + QStringLiteral(R"("}])"),
    };
}

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// The median of each figure over a minute's readings: one reading lands
// anywhere between two releases of the pages' garbage, some seconds after a
// 200k-character item or none, and alone it moves by several MB.
NewsPath::Cost medianCost(const QList<NewsPath::Cost> &readings)
{
    QList<double> pss, anon, rss, files;
    for (const NewsPath::Cost &cost : readings) {
        if (cost.pssMb < 0)
            continue; // not running at that moment (a companion coming back)
        pss << cost.pssMb;
        anon << cost.pssAnonMb;
        rss << cost.rssMb;
        files << cost.openFiles;
    }
    NewsPath::Cost median;
    if (pss.isEmpty())
        return median;
    const auto middle = [](QList<double> values) {
        std::sort(values.begin(), values.end());
        return values.at(values.size() / 2);
    };
    median.pssMb = middle(pss);
    median.pssAnonMb = middle(anon);
    median.rssMb = middle(rss);
    median.openFiles = int(middle(files));
    return median;
}

struct Kill {
    QString name;
    qint64 at = 0;
    qint64 backAt = 0; // when a new process of that name was seen; 0: never
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const int minutes = args.value(0, QStringLiteral("10")).toInt();
    const double rate = args.value(1, QStringLiteral("5")).toDouble();
    const int killEvery = args.value(2, QStringLiteral("3")).toInt();

    WindowManager windowManager;
    ServiceFixture service;
    KorvexSession korvex;
    if (!NewsPath::startClient(windowManager, service, korvex, out))
        return 1;
    out << "waiting for the client to come up...\n";
    out.flush();
    if (!Bench::waitFor(
            [&] {
                return service.newsClients() >= 1 &&
                       korvex.countContaining(QStringLiteral("connected to popup server!")) > 0;
            },
            60000))
        out << "the client did not report every link within 60 s; soaking anyway\n";
    Bench::waitFor([] { return false; }, 3000);

    const int count = int(minutes * 60 * rate);
    const QJsonObject burst =
        service
            .control("POST", QStringLiteral("/burst"),
                     QJsonObject{{QStringLiteral("count"), count}, {QStringLiteral("rate"), rate}})
            .object()
            .value(QLatin1String("burst"))
            .toObject();
    const int firstSeq = burst.value(QLatin1String("firstSeq")).toInt();
    const qint64 started = now();
    if (firstSeq <= 0) {
        out << "the service did not start the items: " << service.lastError() << "\n";
        return 1;
    }
    out << minutes << " min at " << rate << " items/s (" << count
        << " items), a companion killed every " << killEvery << " min\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
               .arg(QStringLiteral("min"), 4)
               .arg(QStringLiteral("program"), -11)
               .arg(QStringLiteral("pid"), 8)
               .arg(QStringLiteral("PSS MB"), 8)
               .arg(QStringLiteral("anon MB"), 8)
               .arg(QStringLiteral("RSS MB"), 8)
               .arg(QStringLiteral("fds"), 5)
               .arg(QStringLiteral("cpu %"), 7);
    out.flush();

    NewsPath::Arrivals intake, ticker, popup;
    std::map<int, qint64> sent;
    int intakeSince = NewsPath::lastEventSeq(service);
    int popupSince = intakeSince;
    int tickerLine = 0;
    const auto collect = [&] {
        for (const auto &[seq, at] : NewsPath::pageArrivals(service, QStringLiteral("OutputMsg"),
                                                            QStringLiteral("/Expresslive"),
                                                            intakeSince, &sent, &intakeSince))
            intake.emplace(seq, at);
        for (const auto &[seq, at] :
             NewsPath::pageArrivals(service, QStringLiteral("iojieshou"), QStringLiteral("/wicket"),
                                    popupSince, &sent, &popupSince))
            popup.emplace(seq, at);
        for (const auto &[seq, at] : NewsPath::tickerArrivals(korvex, tickerLine))
            ticker.emplace(seq, at);
        tickerLine = korvex.lines().size();
    };

    QMap<QString, qint64> pids;
    QMap<QString, int> restarts;
    QMap<QString, qint64> ticks;
    QList<Kill> kills;
    const auto watch = [&] {
        for (const QString &name : programs) {
            const qint64 pid = name == QLatin1String("Korvex")
                                   ? korvex.pid()
                                   : TestSupport::sessionProcesses(name).value(0, 0);
            if (pid > 0 && pids.value(name) > 0 && pid != pids.value(name)) {
                ++restarts[name];
                ticks.remove(name);
                for (Kill &kill : kills) {
                    if (kill.name == name && kill.backAt == 0)
                        kill.backAt = now();
                }
            }
            if (pid > 0)
                pids[name] = pid;
        }
    };
    watch();

    const QStringList hostile = hostileItems();
    QList<double> pss, anon; // per minute: PSS and anonymous PSS of the three together
    QList<int> fdsTotal;
    QMap<QString, QList<double>> anonOf; // per minute and program
    QMap<QString, QList<double>> fdsOf;
    int hostileSent = 0;
    const double ticksPerSecond = double(::sysconf(_SC_CLK_TCK));
    for (int minute = 1; minute <= minutes; ++minute) {
        QMap<QString, QList<NewsPath::Cost>> readings;
        for (int second = 0; second < 60; ++second) {
            Bench::waitFor([] { return false; }, 1000);
            watch();
            if (second % 10 == 5)
                service.push(hostile.at(hostileSent++ % hostile.size()));
            if (second % 10 == 9) {
                for (const QString &name : programs)
                    readings[name] << NewsPath::costOf(pids.value(name));
            }
        }
        collect();
        double together = 0, anonTogether = 0;
        int fds = 0;
        for (const QString &name : programs) {
            NewsPath::Cost cost = medianCost(readings.value(name));
            cost.cpuTicks = NewsPath::costOf(pids.value(name)).cpuTicks;
            const qint64 before = ticks.value(name, -1);
            const double cpu = before >= 0 && cost.cpuTicks >= 0
                                   ? 100.0 * double(cost.cpuTicks - before) / ticksPerSecond / 60.0
                                   : -1;
            ticks[name] = cost.cpuTicks;
            together += std::max(0.0, cost.pssMb);
            anonTogether += std::max(0.0, cost.pssAnonMb);
            fds += std::max(0, cost.openFiles);
            anonOf[name] << std::max(0.0, cost.pssAnonMb);
            fdsOf[name] << std::max(0, cost.openFiles);
            out << QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8\n")
                       .arg(minute, 4)
                       .arg(name, -11)
                       .arg(pids.value(name), 8)
                       .arg(cost.pssMb, 8, 'f', 1)
                       .arg(cost.pssAnonMb, 8, 'f', 1)
                       .arg(cost.rssMb, 8, 'f', 1)
                       .arg(cost.openFiles, 5)
                       .arg(cpu < 0 ? QStringLiteral("-") : QString::number(cpu, 'f', 2), 7);
        }
        out << QStringLiteral("%1 %2 %3 PSS together, %4 descriptors; items so far: intake %5, "
                              "ticker %6, pop-up %7\n")
                   .arg(minute, 4)
                   .arg(QStringLiteral("all"), -11)
                   .arg(together, 8, 'f', 1)
                   .arg(fds)
                   .arg(intake.size())
                   .arg(ticker.size())
                   .arg(popup.size());
        out.flush();
        pss << together;
        anon << anonTogether;
        fdsTotal << fds;
        // After the minute's reading, so each reading finds every program running.
        if (killEvery > 0 && minute % killEvery == 0 && minute < minutes) {
            const QString victim = victims.at((minute / killEvery - 1) % victims.size());
            const qint64 pid = pids.value(victim);
            if (pid > 0 && ::kill(pid_t(pid), SIGKILL) == 0)
                kills << Kill{victim, now(), 0};
        }
    }
    // The last items get a few seconds to arrive.
    Bench::waitFor([] { return false; }, 10000);
    watch();
    collect();
    const int lastSeq = firstSeq + count - 1;

    korvex.quit();
    service.stop();
    windowManager.stop();

    // An item counts as lost in a restart window when it was due while a killed
    // companion was away or reconnecting.
    const auto dueAt = [&](int seq) { return started + qint64(1000.0 * (seq - firstSeq) / rate); };
    const auto inRestartWindow = [&](qint64 at) {
        for (const Kill &kill : std::as_const(kills)) {
            const qint64 end = (kill.backAt > 0 ? kill.backAt : kill.at) + RestartWindowMs;
            if (at >= kill.at - 1000 && at <= end)
                return true;
        }
        return false;
    };
    out << "\nitems " << firstSeq << ".." << lastSeq << " (" << count << "), hostile items "
        << hostileSent << "\n";
    out << QStringLiteral("  %1 %2 %3 %4\n")
               .arg(QStringLiteral("hop"), -24)
               .arg(QStringLiteral("got"), 7)
               .arg(QStringLiteral("lost in restarts"), 17)
               .arg(QStringLiteral("lost otherwise"), 15);
    const QList<QPair<QString, const NewsPath::Arrivals *>> hops = {
        {QStringLiteral("intake: live page"), &intake},
        {QStringLiteral("ticker row"), &ticker},
        {QStringLiteral("pop-up page"), &popup}};
    for (const auto &[name, arrivals] : hops) {
        int got = 0, lostInRestart = 0, lostOtherwise = 0;
        for (int seq = firstSeq; seq <= lastSeq; ++seq) {
            if (arrivals->count(seq))
                ++got;
            else if (inRestartWindow(dueAt(seq)))
                ++lostInRestart;
            else
                ++lostOtherwise;
        }
        out << QStringLiteral("  %1 %2 %3 %4\n")
                   .arg(name, -24)
                   .arg(got, 7)
                   .arg(lostInRestart, 17)
                   .arg(lostOtherwise, 15);
    }
    out << "\nkills and restarts:\n";
    for (const Kill &kill : std::as_const(kills))
        out << "  " << kill.name << " killed at minute "
            << QString::number(double(kill.at - started) / 60000.0, 'f', 1) << ", back "
            << (kill.backAt > 0
                    ? QString::number(kill.backAt - kill.at) + QStringLiteral(" ms later")
                    : QStringLiteral("never"))
            << "\n";
    for (const QString &name : programs)
        out << "  " << name << ": " << restarts.value(name) << " restarts\n";
    if (pss.size() >= 3) {
        // After warm-up (the first minute) against the end, each the median of up to
        // five minutes: one reading moves with a companion just restarted and with
        // the shared libraries' share, which other processes change.
        const int span = std::min(5, int(pss.size() - 1) / 2);
        const auto median = [](QList<double> values) {
            std::sort(values.begin(), values.end());
            return values.at(values.size() / 2);
        };
        const auto drift = [&](const QString &what, const QList<double> &perMinute,
                               const char *unit, const char *target) {
            const double warm = median(perMinute.mid(1, span));
            const double last = median(perMinute.mid(perMinute.size() - span));
            out << what << " after warm-up " << QString::number(warm, 'f', 1) << unit
                << ", at the end " << QString::number(last, 'f', 1) << unit << " ("
                << (warm > 0 ? QString::number(100.0 * (last - warm) / warm, 'f', 1)
                             : QStringLiteral("-"))
                << " %" << target << ")\n";
        };
        out << "\nmedians of " << span << " minute(s):\n";
        drift(QStringLiteral("  PSS together"), pss, " MB", "");
        drift(QStringLiteral("  anonymous PSS together"), anon, " MB", "; target <= 2 %");
        for (const QString &name : programs)
            drift(QStringLiteral("  anonymous PSS of ") + name, anonOf.value(name), " MB", "");
        QList<double> fds;
        for (int f : std::as_const(fdsTotal))
            fds << f;
        drift(QStringLiteral("  descriptors together"), fds, "", "; target flat");
        for (const QString &name : programs)
            drift(QStringLiteral("  descriptors of ") + name, fdsOf.value(name), "", "");
    }
    return 0;
}
