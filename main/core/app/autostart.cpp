#include "app/autostart.h"

#include "logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Korvex::Autostart
{

namespace
{

// One argument of an Exec line: quoted, with the characters the quoting
// reserves escaped, then the value's own escaping of backslashes.
QString quotedArgument(const QString &argument)
{
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString entryPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // Only an absolute folder counts; otherwise the default one.
    if (!QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/korvex.desktop");
}

QByteArray entryText(const QString &program)
{
    if (!QDir::isAbsolutePath(program))
        return {};
    for (const QChar c : program) {
        // "%%" would be the entry's way to write "%", but GLib's launcher looks
        // for the program before it undoes that, and so never starts it.
        if (c.category() == QChar::Other_Control || c == QLatin1Char('%'))
            return {};
    }
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Korvex\n"
                                        "Comment=Live financial news\n"
                                        "Exec=%1\n"
                                        "Icon=korvex\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(quotedArgument(program));
    return text.toUtf8();
}

bool isEnabled()
{
    QFile entry(entryPath());
    if (!entry.open(QIODevice::ReadOnly))
        return false;
    // Small by nature; a huge file is not ours to read whole.
    const QByteArray text = entry.read(64 * 1024);
    for (const QByteArray &line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed == "Hidden=true" || trimmed == "X-GNOME-Autostart-enabled=false")
            return false;
    }
    return true;
}

Problem setEnabled(bool enabled, const QString &program)
{
    const QString path = entryPath();
    if (!enabled) {
        // A link is removed itself, not what it points at.
        if (!QFileInfo(path).isSymLink() && !QFileInfo::exists(path))
            return Problem::None;
        if (QFile::remove(path))
            return Problem::None;
        qCWarning(lcMain).noquote() << "autostart: cannot remove" << path;
        return Problem::CannotRemove;
    }
    const QByteArray text = entryText(program);
    if (text.isEmpty()) {
        qCWarning(lcMain).noquote() << "autostart: no Exec line for" << program;
        return Problem::ProgramPath;
    }
    const QString folder = QFileInfo(path).absolutePath();
    // A save follows a link and would write whatever it points at: the link goes.
    if (QFileInfo(path).isSymLink() && !QFile::remove(path)) {
        qCWarning(lcMain).noquote() << "autostart: cannot replace the link" << path;
        return Problem::CannotWrite;
    }
    QSaveFile entry(path);
    // The whole entry or none: a half-written one could start something else.
    if (!QDir().mkpath(folder) || !entry.open(QIODevice::WriteOnly) ||
        entry.write(text) != text.size() || !entry.commit()) {
        qCWarning(lcMain).noquote() << "autostart: cannot write" << path << entry.errorString();
        return Problem::CannotWrite;
    }
    return Problem::None;
}

} // namespace Korvex::Autostart
