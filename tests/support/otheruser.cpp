#include "otheruser.h"

#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

OtherUser::OtherUser() = default;

OtherUser::~OtherUser() = default;

bool OtherUser::prepare(const QStringList &programs, QString *why)
{
    if (::geteuid() != 0) {
        *why = QStringLiteral("acting as another user needs root (CI runs as root)");
        return false;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty()) {
        *why = QStringLiteral("setpriv (util-linux) is missing");
        return false;
    }
    // Not under TMPDIR: the test's own folder is closed to other users.
    m_root = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/korvex-otheruser-XXXXXX"));
    if (!m_root->isValid() || ::chmod(QFile::encodeName(m_root->path()).constData(), 0755) != 0) {
        *why = QStringLiteral("cannot make a folder in /tmp for the other user");
        return false;
    }
    // The programs are root's (the other user may run, not change them); the
    // temporary folder is shared like /tmp; the rest is the other user's own.
    QDir().mkpath(programFolder());
    const QByteArray shared = QFile::encodeName(tempFolder());
    if (::mkdir(shared.constData(), 0700) != 0 || ::chmod(shared.constData(), 01777) != 0) {
        *why = QStringLiteral("cannot make a shared temporary folder");
        return false;
    }
    for (const QString &name : {QStringLiteral("home"), QStringLiteral("config"),
                                QStringLiteral("data"), QStringLiteral("cache")}) {
        const QByteArray path = QFile::encodeName(folder(name));
        if (::mkdir(path.constData(), 0700) != 0 || ::chown(path.constData(), Uid, Uid) != 0) {
            *why = QStringLiteral("cannot give the other user a folder");
            return false;
        }
    }
    QStringList test;
    for (const QString &program : programs) {
        const QString copy = TestSupport::copyProgram(
            TestSupport::binDir() + QLatin1Char('/') + program, programFolder(), program);
        if (copy.isEmpty()) {
            *why = QStringLiteral("cannot copy ") + program;
            return false;
        }
        QFile::setPermissions(copy, QFile::permissions(copy) | QFile::ReadOther | QFile::ExeOther);
        test << QStringLiteral("-x") << copy << QStringLiteral("-a");
    }
    test.removeLast();
    // /tmp mounted noexec would stop them.
    QProcess check;
    start(&check, QStandardPaths::findExecutable(QStringLiteral("test")), test);
    if (!check.waitForFinished(10000) || check.exitStatus() != QProcess::NormalExit ||
        check.exitCode() != 0) {
        *why = QStringLiteral("the other user cannot run programs from /tmp here");
        return false;
    }
    return true;
}

QString OtherUser::folder(const QString &name) const
{
    return m_root ? m_root->path() + QLatin1Char('/') + name : QString();
}

QString OtherUser::programFolder() const
{
    return folder(QStringLiteral("bin"));
}

QString OtherUser::tempFolder() const
{
    return folder(QStringLiteral("tmp"));
}

QProcessEnvironment OtherUser::environment(const QProcessEnvironment &base) const
{
    QProcessEnvironment env = base;
    env.insert(QStringLiteral("HOME"), folder(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), folder(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), folder(QStringLiteral("cache")));
    env.insert(QStringLiteral("TMPDIR"), tempFolder());
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    return env;
}

QStringList OtherUser::runner() const
{
    return {QStandardPaths::findExecutable(QStringLiteral("setpriv")),
            QStringLiteral("--reuid=%1").arg(Uid), QStringLiteral("--regid=%1").arg(Uid),
            QStringLiteral("--clear-groups"), QStringLiteral("--")};
}

void OtherUser::start(QProcess *process, const QString &program, const QStringList &arguments) const
{
    const QStringList command = runner();
    process->setWorkingDirectory(programFolder());
    process->start(command.first(), command.mid(1) + QStringList{program} + arguments);
    process->waitForStarted(5000);
}
