#include "korvexsession.h"

#include "platform.h"
#include "testsupport.h"

#include <QDateTime>
#include <QDebug>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <csignal>
#include <unistd.h>

namespace
{

// Every diagnostic line starts with the time it was written.
constexpr char TimeFormat[] = "yyyy-MM-ddThh:mm:ss.zzz";

QByteArray procFile(qint64 pid, const char *entry)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(entry)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool sameSession(qint64 pid, const QByteArray &session)
{
    const QByteArray name = session.left(session.indexOf('=') + 1);
    const QList<QByteArray> entries = procFile(pid, "environ").split('\0');
    for (const QByteArray &entry : entries) {
        if (entry.startsWith(name))
            return entry == session;
    }
    return session == name;
}

// State letter and parent of a process, from "PID (NAME) STATE PARENT ...";
// a process gone meanwhile reads as a zombie.
struct ProcessStat {
    char state = 'Z';
    qint64 parent = 0;
};

ProcessStat processStat(qint64 pid)
{
    const QByteArray stat = procFile(pid, "stat");
    const int close = stat.lastIndexOf(')');
    if (close < 0)
        return {};
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    return {fields.value(0).isEmpty() ? 'Z' : fields.value(0).at(0), fields.value(1).toLongLong()};
}

} // namespace

namespace TestSupport
{

QList<qint64> sessionProcesses(const QString &exeName, const QByteArray &session)
{
    const QByteArray own =
        session.isEmpty() ? QByteArray("XDG_RUNTIME_DIR=") + qgetenv("XDG_RUNTIME_DIR") : session;
    QHash<qint64, qint64> parents;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok || pid == ::getpid())
            continue;
        QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
        exe.remove(QLatin1String(" (deleted)"));
        if (QFileInfo(exe).fileName() != exeName || !sameSession(pid, own))
            continue;
        const ProcessStat stat = processStat(pid);
        if (stat.state != 'Z')
            parents.insert(pid, stat.parent);
    }
    // A program's fork that has not yet started another program (the bus
    // library looking for its launcher, say) still carries the program's file
    // for a moment: it is no second instance.
    QList<qint64> found;
    for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
        if (!parents.contains(it.value()))
            found << it.key();
    }
    std::sort(found.begin(), found.end());
    return found;
}

QStringList clientLeftovers()
{
    QStringList left;
    for (const QString &name : {QStringLiteral("Korvex"), QStringLiteral("vek_listen"),
                                QStringLiteral("vek_popup"), QStringLiteral("vek_updat")}) {
        if (!sessionProcesses(name).isEmpty())
            left << name;
    }
    for (const QString &folder : {Platform::runtimeFolder(), QDir::tempPath()})
        left +=
            QDir(folder).entryList({QStringLiteral("vek_*")},
                                   QDir::System | QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    return left;
}

} // namespace TestSupport

KorvexSession::KorvexSession(QObject *parent)
    : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &KorvexSession::readOutput);
}

KorvexSession::~KorvexSession()
{
    stop();
}

bool KorvexSession::start(const QString &webHost, const QProcessEnvironment &environment,
                          QString *error)
{
    QProcessEnvironment env = environment;
    env.insert(QStringLiteral("QT_MESSAGE_PATTERN"),
               QStringLiteral("%{time ") + QLatin1String(TimeFormat) +
                   QStringLiteral("} %{category}: %{message}"));
    m_process.setProcessEnvironment(env);
    const QString key = env.contains(QStringLiteral("XDG_RUNTIME_DIR"))
                            ? QStringLiteral("XDG_RUNTIME_DIR")
                            : QStringLiteral("HOME");
    m_session = (key + QLatin1Char('=') + env.value(key)).toLocal8Bit();
    // Companions are looked up in the working folder.
    const QString folder = m_folder.isEmpty() ? TestSupport::binDir() : m_folder;
    const bool launched = !m_launcher.isEmpty();
    m_process.setWorkingDirectory(launched ? m_workingFolder : folder);
    const QStringList command =
        m_runner + QStringList{launched ? m_launcher : folder + QStringLiteral("/Korvex"),
                               QStringLiteral("-host"), webHost};
    m_process.start(command.first(), command.mid(1));
    if (m_process.waitForStarted(10000))
        return true;
    if (error)
        *error = m_process.errorString();
    return false;
}

QList<qint64> KorvexSession::programs(const QString &exeName) const
{
    return TestSupport::sessionProcesses(exeName, m_session);
}

void KorvexSession::setProgram(const QString &folder, const QStringList &runner)
{
    m_folder = folder;
    m_runner = runner;
}

void KorvexSession::setLauncher(const QString &launcher, const QString &workingFolder)
{
    m_launcher = launcher;
    m_workingFolder = workingFolder;
}

bool KorvexSession::quit(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return true;
    ::kill(pid_t(m_process.processId()), SIGTERM);
    const bool ended = m_process.waitForFinished(timeoutMs);
    readOutput();
    if (!ended)
        stop();
    return ended;
}

void KorvexSession::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
        readOutput();
    }
    // Companions of a killed client are orphans now; only this session's are touched.
    for (const QString &name :
         {QStringLiteral("vek_listen"), QStringLiteral("vek_popup"), QStringLiteral("vek_updat")}) {
        for (qint64 pid : programs(name))
            ::kill(pid_t(pid), SIGKILL);
    }
}

void KorvexSession::readOutput()
{
    m_partial += m_process.readAllStandardOutput();
    int start = 0;
    for (int end = m_partial.indexOf('\n'); end >= 0; end = m_partial.indexOf('\n', start)) {
        const QString text = QString::fromUtf8(m_partial.constData() + start, end - start);
        start = end + 1;
        Line line;
        const QDateTime written = QDateTime::fromString(text.left(23), QLatin1String(TimeFormat));
        if (written.isValid()) {
            line.time = written.toMSecsSinceEpoch();
            line.text = text.mid(24);
        } else {
            // A continuation of a multi-line message, or output of another kind.
            line.time =
                m_lines.isEmpty() ? QDateTime::currentMSecsSinceEpoch() : m_lines.last().time;
            line.text = text;
        }
        m_lines << line;
        emit lineRead(line);
    }
    m_partial.remove(0, start);
}

const QList<KorvexSession::Line> &KorvexSession::lines()
{
    readOutput();
    return m_lines;
}

QList<KorvexSession::Line> KorvexSession::linesContaining(const QString &needle)
{
    QList<Line> found;
    for (const Line &line : lines()) {
        if (line.text.contains(needle))
            found << line;
    }
    return found;
}

int KorvexSession::countContaining(const QString &needle)
{
    return linesContaining(needle).size();
}

void KorvexSession::dumpLines(int count)
{
    // The answers to the test's own questions are left out.
    QList<Line> shown;
    for (const Line &line : lines()) {
        if (!line.text.contains(QLatin1String("test hook: ")))
            shown << line;
    }
    qInfo().noquote() << QStringLiteral("---- client diagnostics (last %1 lines) ----").arg(count);
    for (int i = std::max(0, int(shown.size()) - count); i < shown.size(); ++i)
        qInfo().noquote() << shown.at(i).time << shown.at(i).text.left(300);
}

QString KorvexSession::askHook(const QString &command, int timeoutMs)
{
    const int from = lines().size();
    const QString answer = QStringLiteral("test hook: ") + command + QLatin1Char(' ');
    m_process.write((command + QLatin1Char('\n')).toUtf8());
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(100);
        for (int i = from; i < lines().size(); ++i) {
            const QString text = m_lines.at(i).text;
            const int at = text.indexOf(answer);
            if (at >= 0)
                return text.mid(at + answer.size());
        }
    }
    return {};
}

QRect KorvexSession::widgetOnScreen(const QString &objectName, int timeoutMs)
{
    const QStringList fields =
        askHook(QStringLiteral("geometry ") + objectName, timeoutMs).split(QLatin1Char(' '));
    if (fields.size() != 4)
        return {}; // "none", or no answer
    return QRect(fields.at(0).toInt(), fields.at(1).toInt(), fields.at(2).toInt(),
                 fields.at(3).toInt());
}

QString KorvexSession::labelText(const QString &objectName, int timeoutMs)
{
    const QString answer = askHook(QStringLiteral("text ") + objectName, timeoutMs);
    if (!answer.startsWith(QLatin1String("= ")))
        return {}; // "none", or no answer
    return answer.mid(2).replace(QLatin1String("\\n"), QLatin1String("\n"));
}
