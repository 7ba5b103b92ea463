#include "platform.h"

#include "logging.h"
#include "privatefolder.h"

#include <QDir>
#include <QFile>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <memory>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/statvfs.h>
#include <unistd.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace
{

int signalPipe[2] = {-1, -1};

void writeSignal(int sig)
{
    const char byte = static_cast<char>(sig);
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}

QByteArray readProcFile(pid_t pid, const char *entry)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(entry)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Fields of /proc/PID/stat after the command name, which may itself hold ") ".
QList<QByteArray> statFields(pid_t pid)
{
    const QByteArray stat = readProcFile(pid, "stat");
    const int close = stat.lastIndexOf(')');
    if (close < 0)
        return {};
    return stat.mid(close + 2).split(' ');
}

// A process is identified by its pid and start time, so a reused pid is not taken for it.
struct ProcessId {
    pid_t pid = 0;
    QByteArray startTime;
};

bool isGone(const ProcessId &process)
{
    const QList<QByteArray> fields = statFields(process.pid);
    // state is field 3, start time field 22 of the full line
    if (fields.size() < 20)
        return true;
    return fields.at(0) == "Z" || fields.at(0) == "X" || fields.at(19) != process.startTime;
}

uid_t realUid(pid_t pid)
{
    const QList<QByteArray> lines = readProcFile(pid, "status").split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("Uid:")) {
            const QList<QByteArray> ids = line.mid(4).simplified().split(' ');
            bool ok = false;
            const uint uid = ids.value(0).toUInt(&ok);
            return ok ? static_cast<uid_t>(uid) : static_cast<uid_t>(-1);
        }
    }
    return static_cast<uid_t>(-1);
}

QByteArray executableName(pid_t pid)
{
    char target[4096];
    const QByteArray link = QByteArray("/proc/") + QByteArray::number(pid) + "/exe";
    const ssize_t n = ::readlink(link.constData(), target, sizeof target - 1);
    if (n <= 0)
        return {};
    QByteArray path(target, static_cast<int>(n));
    // A leftover whose program file was replaced still counts.
    static const QByteArray deleted(" (deleted)");
    if (path.endsWith(deleted))
        path.chop(deleted.size());
    return path.mid(path.lastIndexOf('/') + 1);
}

// A process whose environment cannot be read is not ours to end.
bool runtimeDir(pid_t pid, QByteArray *value)
{
    QFile file(QStringLiteral("/proc/%1/environ").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> entries = file.readAll().split('\0');
    value->clear();
    for (const QByteArray &entry : entries) {
        if (entry.startsWith("XDG_RUNTIME_DIR=")) {
            *value = entry.mid(16);
            break;
        }
    }
    return true;
}

QList<ProcessId> sessionProcessesNamed(const QByteArray &exeName)
{
    QList<ProcessId> found;
    const pid_t self = ::getpid();
    const uid_t uid = ::getuid();
    const QByteArray ownRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool ok = false;
        const pid_t pid = static_cast<pid_t>(entry.toInt(&ok));
        if (!ok || pid <= 0 || pid == self)
            continue;
        if (realUid(pid) != uid || executableName(pid) != exeName)
            continue;
        QByteArray runtime;
        if (!runtimeDir(pid, &runtime) || runtime != ownRuntime)
            continue;
        ProcessId process{pid, statFields(pid).value(19)};
        if (!isGone(process))
            found.append(process);
    }
    return found;
}

// Waits up to `ms` for all processes to be gone; returns those still there.
QList<ProcessId> waitGone(QList<ProcessId> processes, int ms)
{
    const int step = 20;
    for (int waited = 0;; waited += step) {
        processes.erase(std::remove_if(processes.begin(), processes.end(), isGone),
                        processes.end());
        if (processes.isEmpty() || waited >= ms)
            return processes;
        QThread::msleep(step);
    }
}

void signalAll(const QList<ProcessId> &processes, int sig)
{
    for (const ProcessId &process : processes) {
        if (!isGone(process))
            ::kill(process.pid, sig);
    }
}

} // namespace

namespace Platform
{

void onTerminationRequest(QObject *context, std::function<void()> handler)
{
    if (signalPipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [handler = std::move(handler)] {
                         char byte = 0;
                         [[maybe_unused]] const auto n = ::read(signalPipe[0], &byte, 1);
                         handler();
                     });
    struct sigaction action = {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}

void onInputLine(QObject *context, std::function<void(const QString &)> handler)
{
    auto *notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, context);
    auto buffer = std::make_shared<QByteArray>();
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [notifier, buffer, handler = std::move(handler)] {
                         char chunk[4096];
                         const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
                         if (n <= 0) {
                             notifier->setEnabled(false); // end of input
                             return;
                         }
                         buffer->append(chunk, static_cast<int>(n));
                         int end = 0;
                         while ((end = buffer->indexOf('\n')) >= 0) {
                             const QByteArray line = buffer->left(end);
                             buffer->remove(0, end + 1);
                             handler(QString::fromUtf8(line));
                         }
                     });
}

int endProcessesByName(const QString &exeName, int graceMs)
{
    const QByteArray name = QFile::encodeName(exeName);
    if (name.isEmpty() || name.contains('/'))
        return 0;
    const QList<ProcessId> processes = sessionProcessesNamed(name);
    if (processes.isEmpty())
        return 0;
    signalAll(processes, SIGTERM);
    const QList<ProcessId> stubborn = waitGone(processes, graceMs);
    signalAll(stubborn, SIGKILL);
    const QList<ProcessId> left = waitGone(stubborn, 5000);
    for (const ProcessId &process : left)
        qCWarning(lcPlatform).noquote() << "process" << process.pid << exeName << "did not end";
    return processes.size() - left.size();
}

QString rootVolumeSerial()
{
    struct statvfs info {
    };
    if (::statvfs("/", &info) != 0) {
        qCWarning(lcPlatform).noquote() << "root volume serial:" << std::strerror(errno);
        return QString();
    }
    return QString::number(static_cast<quint64>(info.f_fsid));
}

void drawWithoutOpenGL()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}

void releaseFreeHeap()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

void leanHeap()
{
#ifdef __GLIBC__
    if (!qEnvironmentVariableIsSet("MALLOC_ARENA_MAX"))
        mallopt(M_ARENA_MAX, 2);
    if (!qEnvironmentVariableIsSet("MALLOC_MMAP_THRESHOLD_"))
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

QString runtimeFolder(QString *error)
{
    const QString given = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!given.isEmpty()) {
        const QString problem = QDir::isAbsolutePath(given)
                                    ? PrivateFolder::make(given)
                                    : given + QStringLiteral(" is not an absolute path");
        if (problem.isEmpty())
            return QDir::cleanPath(given);
        qCWarning(lcPlatform).noquote()
            << "runtime folder from XDG_RUNTIME_DIR refused:" << problem << "- using our own";
    }
    const QString own =
        QDir::tempPath() + QStringLiteral("/korvex-") + QString::number(::geteuid());
    const QString problem = PrivateFolder::make(own);
    if (problem.isEmpty())
        return own;
    qCWarning(lcPlatform).noquote() << "no private runtime folder:" << problem;
    if (error)
        *error = problem;
    return QString();
}

bool peerIsThisUser(qintptr descriptor, qint64 *peerUid)
{
    struct ucred credentials {
    };
    socklen_t size = sizeof credentials;
    const bool known = descriptor >= 0 &&
                       ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED,
                                    &credentials, &size) == 0 &&
                       size == sizeof credentials;
    if (peerUid)
        *peerUid = known ? qint64(credentials.uid) : -1;
    return known && credentials.uid == ::geteuid();
}

SingleInstanceMarker::SingleInstanceMarker(const QString &key)
    : m_key(key)
{
}

SingleInstanceMarker::~SingleInstanceMarker()
{
    release();
}

bool SingleInstanceMarker::create()
{
    if (m_handle >= 0)
        return true;
    // A lock on a file in the per-user runtime folder: the kernel drops it with
    // the last holder, also after kill -9, so no stale marker survives.
    QString reason;
    const QString folder = runtimeFolder(&reason);
    if (folder.isEmpty()) {
        qCWarning(lcPlatform).noquote()
            << "single-instance marker: could not create it:" << reason << "- running without it";
        return true;
    }
    const QByteArray path =
        QFile::encodeName(folder + QLatin1Char('/') + m_key + QLatin1String(".lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    // Only a lock held by another process means another copy runs. A marker that
    // cannot be made at all must not keep the user from the client: it runs
    // unguarded, with a diagnostic.
    if (fd < 0) {
        qCWarning(lcPlatform).noquote()
            << "single-instance marker: could not create" << QFile::decodeName(path) << ':'
            << strerror(errno) << "- running without it";
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return false;
        qCWarning(lcPlatform).noquote()
            << "single-instance marker: could not lock" << QFile::decodeName(path) << ':'
            << strerror(error) << "- running without it";
        return true;
    }
    m_handle = fd;
    return true;
}

bool SingleInstanceMarker::isHeld() const
{
    return m_handle >= 0;
}

void SingleInstanceMarker::release()
{
    if (m_handle < 0)
        return;
    ::flock(m_handle, LOCK_UN);
    ::close(m_handle);
    m_handle = -1;
}

} // namespace Platform
