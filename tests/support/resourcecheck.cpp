#include "resourcecheck.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QWidget>

namespace ResourceCheck
{

QStringList pathsUsedIn(const QString &dir)
{
    static const QRegularExpression resourcePath(QStringLiteral(
        R"((?:qrc)?:(/[A-Za-z0-9_./-]+\.(?:png|jpg|jpeg|gif|svg|wav|css|html|js|qm|ttf)))"));
    QStringList found;
    QDirIterator it(dir,
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.ui"),
                     QStringLiteral("*.html"), QStringLiteral("*.qml")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        auto matches = resourcePath.globalMatch(text);
        while (matches.hasNext()) {
            const QString path = QLatin1Char(':') + matches.next().captured(1);
            if (!found.contains(path))
                found.append(path);
        }
    }
    found.sort();
    return found;
}

namespace
{
QStringList *captured = nullptr;
QtMessageHandler previous = nullptr;

void capture(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (captured && type == QtWarningMsg && message.contains(QLatin1String("style")))
        captured->append(message);
    else if (previous)
        previous(type, context, message);
}
} // namespace

QStringList styleSheetWarnings(const QString &css)
{
    QStringList warnings;
    captured = &warnings;
    previous = qInstallMessageHandler(capture);
    qApp->setStyleSheet(css);
    // The sheet is parsed when the first widget is polished.
    QWidget probe;
    probe.ensurePolished();
    qApp->setStyleSheet(QString());
    qInstallMessageHandler(previous);
    captured = nullptr;
    return warnings;
}

} // namespace ResourceCheck
