#include "privatefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PrivateFolder
{

QString make(const QString &path)
{
    // A trailing "/" would make the kernel follow a link after all.
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QByteArray native = QFile::encodeName(clean);
    const auto failed = [&clean](const QString &why) {
        return QStringLiteral("private folder %1 refused: %2").arg(clean, why);
    };
    QDir().mkpath(QFileInfo(clean).path());
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));

    // Checked on what was opened, not on the name, so nothing can be swapped in between.
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP || error == ENOTDIR)
            return failed(QStringLiteral("a link or not a folder"));
        return failed(QString::fromLocal8Bit(std::strerror(error)));
    }
    QString problem;
    struct stat status {
    };
    if (::fstat(fd, &status) != 0)
        problem = failed(QString::fromLocal8Bit(std::strerror(errno)));
    else if (status.st_uid != ::geteuid())
        problem = failed(QStringLiteral("owned by uid %1").arg(status.st_uid));
    else if ((status.st_mode & 077) != 0 && ::fchmod(fd, 0700) != 0)
        problem = failed(QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);
    return problem;
}

QString makeFile(const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const auto failed = [&clean](const QString &why) {
        return QStringLiteral("private file %1 refused: %2").arg(clean, why);
    };
    QDir().mkpath(QFileInfo(clean).path());
    const int fd = ::open(QFile::encodeName(clean).constData(),
                          O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        return failed(error == ELOOP ? QStringLiteral("a link")
                                     : QString::fromLocal8Bit(std::strerror(error)));
    }
    QString problem;
    struct stat status {
    };
    if (::fstat(fd, &status) != 0)
        problem = failed(QString::fromLocal8Bit(std::strerror(errno)));
    else if (!S_ISREG(status.st_mode))
        problem = failed(QStringLiteral("not a plain file"));
    else if (status.st_uid != ::geteuid())
        problem = failed(QStringLiteral("owned by uid %1").arg(status.st_uid));
    else if ((status.st_mode & 077) != 0 && ::fchmod(fd, 0600) != 0)
        problem = failed(QString::fromLocal8Bit(std::strerror(errno)));
    ::close(fd);
    return problem;
}

} // namespace PrivateFolder
