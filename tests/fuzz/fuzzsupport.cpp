#include "fuzzsupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz
{

void init(int *argc, char ***argv)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    // Settings land in a private folder, never in the user's store; in memory
    // when the machine has a memory file system, as every input writes the store
    // and a disk's syncing would be most of the time an input takes.
    const QString memory = QStringLiteral("/dev/shm");
    static QTemporaryDir home(QFileInfo(memory).isDir() && QFileInfo(memory).isWritable()
                                  ? memory + QStringLiteral("/korvex-fuzz-XXXXXX")
                                  : QString());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    static QCoreApplication app(*argc, *argv);
}

QStringList arguments(const uint8_t *data, size_t size)
{
    QStringList result;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    for (const QByteArray &argument : bytes.split('\0'))
        result << QString::fromLocal8Bit(argument);
    return result;
}

void fail(const QString &what)
{
    std::fprintf(stderr, "property violated: %s\n", what.toUtf8().constData());
    std::abort();
}

} // namespace Fuzz
