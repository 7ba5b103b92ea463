#include "installerstart.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/statvfs.h>
#include <unistd.h>

namespace Updater::InstallerStart
{

namespace
{
bool isExecutable(const QByteArray &path)
{
    return ::access(path.constData(), X_OK) == 0;
}
} // namespace

QString problem(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct statvfs mount {
    };
    if (::statvfs(native.constData(), &mount) == 0 && (mount.f_flag & ST_NOEXEC))
        return QStringLiteral("installer cannot start: %1 lies on a file system mounted noexec")
            .arg(path);
    if (!isExecutable(native))
        return QStringLiteral("installer cannot start: %1: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(errno)));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("installer cannot start: %1").arg(file.errorString());
    const QByteArray head = file.read(256);
    if (head.startsWith("\x7f"
                        "ELF"))
        return {};
    if (head.startsWith("#!")) {
        // "#!INTERPRETER [ARGUMENT]" on the first line.
        const int end = head.indexOf('\n');
        const QByteArray line = head.mid(2, end < 0 ? -1 : end - 2).simplified();
        const QByteArray interpreter = line.split(' ').value(0);
        if (!interpreter.isEmpty() && isExecutable(interpreter))
            return {};
        return QStringLiteral("installer cannot start: no interpreter \"%1\"")
            .arg(QString::fromLocal8Bit(interpreter));
    }
    return QStringLiteral("installer cannot start: %1 is not a program").arg(path);
}

} // namespace Updater::InstallerStart
