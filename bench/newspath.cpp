#include "newspath.h"

#include "korvexsession.h"
#include "servicefixture.h"
#include "windowmanager.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>

namespace NewsPath
{

namespace
{

struct ItemStamp {
    int seq = 0;
    qint64 sent = 0;
};

ItemStamp stampOf(const QString &text)
{
    static const QRegularExpression seq(QStringLiteral("\"seq\":(\\d+)"));
    static const QRegularExpression sent(QStringLiteral("\"sent\":(\\d+)"));
    ItemStamp stamp;
    const QRegularExpressionMatch s = seq.match(text);
    const QRegularExpressionMatch t = sent.match(text);
    if (s.hasMatch())
        stamp.seq = s.captured(1).toInt();
    if (t.hasMatch())
        stamp.sent = t.captured(1).toLongLong();
    return stamp;
}

// "Key:   1234 kB" lines of a /proc file, in MB.
double kbField(const QByteArray &text, const QByteArray &key)
{
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

QByteArray procFile(qint64 pid, const char *name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

bool startClient(WindowManager &windowManager, ServiceFixture &service, KorvexSession &korvex,
                 QTextStream &out)
{
    return startService(windowManager, service, out) && startKorvex(service, korvex, out);
}

bool startService(WindowManager &windowManager, ServiceFixture &service, QTextStream &out)
{
    QString error;
    if (!windowManager.start(&error))
        out << "no window manager (" << error << "); going on without one\n";
    if (!service.start(&error)) {
        out << "service: " << error << "\n";
        return false;
    }
    return true;
}

bool startKorvex(ServiceFixture &service, KorvexSession &korvex, QTextStream &out)
{
    QString error;
    QProcessEnvironment env = service.environment();
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("korvex.ticker.rows.debug=true"));
    if (!korvex.start(service.webHost(), env, &error)) {
        out << "Korvex: " << error << "\n";
        return false;
    }
    return true;
}

Arrivals pageArrivals(ServiceFixture &service, const QString &function, const QString &path,
                      int since, std::map<int, qint64> *sent, int *last)
{
    Arrivals arrivals;
    const QJsonObject reply =
        service
            .control("GET", QStringLiteral("/events?function=%1&path=%2&since=%3")
                                .arg(function, path)
                                .arg(since))
            .object();
    if (last)
        *last = std::max(since, reply.value(QLatin1String("last")).toInt());
    for (const QJsonValue &value : reply.value(QLatin1String("events")).toArray()) {
        const QJsonObject event = value.toObject();
        const ItemStamp stamp =
            stampOf(event.value(QLatin1String("args")).toArray().at(0).toString());
        if (stamp.seq <= 0)
            continue;
        arrivals.emplace(stamp.seq, qint64(event.value(QLatin1String("time")).toDouble()));
        if (stamp.sent > 0)
            sent->emplace(stamp.seq, stamp.sent);
    }
    return arrivals;
}

int lastEventSeq(ServiceFixture &service)
{
    return service.control("GET", QStringLiteral("/events?limit=1"))
        .object()
        .value(QLatin1String("last"))
        .toInt();
}

Arrivals tickerArrivals(KorvexSession &korvex, int fromLine)
{
    Arrivals arrivals;
    const QList<KorvexSession::Line> &lines = korvex.lines();
    static const QRegularExpression row(QStringLiteral("ticker row -?\\d+ (\\d+) "));
    for (int i = fromLine; i < lines.size(); ++i) {
        const QRegularExpressionMatch m = row.match(lines.at(i).text);
        if (m.hasMatch() && m.captured(1).toInt() > 900000)
            arrivals.emplace(m.captured(1).toInt() - 900000, lines.at(i).time);
    }
    return arrivals;
}

Cost costOf(qint64 pid)
{
    Cost cost;
    if (pid <= 0)
        return cost;
    const QByteArray stat = procFile(pid, "stat");
    // utime and stime: fields 14 and 15 of the whole line
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 12)
        cost.cpuTicks = fields.at(11).toLongLong() + fields.at(12).toLongLong();
    // Every thread's time on a CPU (threads that ended are not counted).
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile sched(tasks.filePath(task) + QStringLiteral("/schedstat"));
        if (!sched.open(QIODevice::ReadOnly))
            continue;
        cost.cpuNs =
            std::max<qint64>(cost.cpuNs, 0) + sched.readAll().split(' ').value(0).toLongLong();
    }
    cost.rssMb = kbField(procFile(pid, "status"), "VmRSS:");
    const QByteArray rollup = procFile(pid, "smaps_rollup");
    cost.pssMb = kbField(rollup, "Pss:");
    cost.pssAnonMb = kbField(rollup, "Pss_Anon:");
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    if (fds.exists())
        cost.openFiles =
            int(fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
    return cost;
}

} // namespace NewsPath
