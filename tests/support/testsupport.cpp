#include "testsupport.h"

#include "protocol.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QMutex>
#include <QProcess>
#include <QTest>

#include <memory>

namespace TestSupport
{

QString binDir()
{
    const QString fromEnv = qEnvironmentVariable("KORVEX_BIN_DIR");
    return fromEnv.isEmpty() ? QCoreApplication::applicationDirPath() : fromEnv;
}

QString sourceDir()
{
    return qEnvironmentVariable("KORVEX_SOURCE_DIR");
}

QString copyProgram(const QString &program, const QString &folder, const QString &name)
{
    const QString target = folder + QLatin1Char('/') + name;
    QFile::remove(target);
    if (!QFile::copy(program, target))
        return QString();
    QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner | QFile::ReadOwner);
    return target;
}

void stopProcess(QProcess *process)
{
    if (!process || process->state() == QProcess::NotRunning)
        return;
    process->kill();
    process->waitForFinished(5000);
}

} // namespace TestSupport

namespace TestSupport
{

QString helperProgram(const QString &name)
{
    return binDir() + QLatin1Char('/') + name;
}

bool processAlive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    // Z: ended, not yet reaped; X: being reaped, its entry about to go.
    const QByteArray state = text.mid(close + 2, 1);
    return close > 0 && state != "Z" && state != "X" && state != "x";
}

bool isServed(const QString &name)
{
    QLocalSocket probe;
    probe.connectToServer(Protocol::socketPath(name));
    const bool connected = probe.waitForConnected(200);
    probe.abort();
    return connected;
}

bool copyCompanionStubs(const QString &folder)
{
    const QString stub = helperProgram(QStringLiteral("companionstub"));
    for (const QString &name : {QStringLiteral("vek_listen"), QStringLiteral("vek_popup")}) {
        if (copyProgram(stub, folder, name).isEmpty())
            return false;
    }
    return true;
}

QList<StubStart> stubStarts(const QString &log, const QString &program)
{
    QList<StubStart> result;
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2)
            continue;
        StubStart start;
        start.pid = words.takeFirst().toLongLong();
        start.program = words.takeFirst();
        start.arguments = words;
        if (QFileInfo(start.program).fileName() == program)
            result << start;
    }
    return result;
}

bool postedEventsHandled(int timeoutMs)
{
    // Shared: the call may still run after a timeout here.
    const auto handled = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [handled] { *handled = true; }, Qt::QueuedConnection);
    return QTest::qWaitFor([handled] { return *handled; }, timeoutMs);
}

QString newsItem(const QString &type, const QString &title, const QJsonObject &more)
{
    QJsonObject item{{QStringLiteral("vek_news_type"), type},
                     {QStringLiteral("title"), title},
                     {QStringLiteral("time"), QStringLiteral("2026-12-07 09:30:00")},
                     {QStringLiteral("id"), 0},
                     {QStringLiteral("importance"), 0}};
    for (auto it = more.begin(); it != more.end(); ++it)
        item.insert(it.key(), it.value());
    return QString::fromUtf8(QJsonDocument(QJsonArray{item}).toJson(QJsonDocument::Compact));
}

QProcessEnvironment withLoggingRules(QProcessEnvironment env, const QString &rules)
{
    const QString key = QStringLiteral("QT_LOGGING_RULES");
    const QString inherited = env.value(key);
    env.insert(key, inherited.isEmpty() ? rules : inherited + QLatin1Char(';') + rules);
    return env;
}

namespace
{
// Companion supervisors and the network give messages from their own threads.
QMutex g_keptLock;
QStringList *g_kept = nullptr;
QtMessageHandler g_passedOn = nullptr;

void keepMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        const QMutexLocker locker(&g_keptLock);
        if (g_kept)
            g_kept->append(message);
    }
    if (g_passedOn)
        g_passedOn(type, context, message);
}
} // namespace

MessagesKept::MessagesKept()
{
    const QMutexLocker locker(&g_keptLock);
    g_kept = &m_messages;
    g_passedOn = qInstallMessageHandler(keepMessage);
}

MessagesKept::~MessagesKept()
{
    const QMutexLocker locker(&g_keptLock);
    qInstallMessageHandler(g_passedOn);
    g_kept = nullptr;
}

QStringList MessagesKept::messages() const
{
    const QMutexLocker locker(&g_keptLock);
    return m_messages;
}

} // namespace TestSupport
