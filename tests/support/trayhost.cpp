#include "trayhost.h"

#include "desktopinput.h"
#include "desktopprogram.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>

namespace
{

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000))
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

} // namespace

TrayHost::~TrayHost()
{
    stop();
}

bool TrayHost::start(QString *error)
{
    const auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        stop();
        return false;
    };
    const QString trayer =
        TestSupport::prepareDesktopProgram(m_process, QStringLiteral("trayer"), error);
    if (trayer.isEmpty())
        return false;
    const QStringList arguments =
        QStringLiteral("--edge bottom --align right --widthtype pixel --width 120 --heighttype "
                       "pixel --height 24 --SetDockType true --SetPartialStrut true")
            .split(QLatin1Char(' '));
    // A start whose panel has not shown after a while is tried again: now and
    // then, with other tests' displays busy, a first panel never got mapped.
    QString panel;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        m_process.start(trayer, arguments);
        if (!m_process.waitForStarted(10000))
            return fail(m_process.errorString());
        const QDeadlineTimer deadline(10000);
        while (m_process.state() == QProcess::Running && !deadline.hasExpired()) {
            panel = panelWindow();
            if (!panel.isEmpty() && run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), panel})
                                        .contains(QLatin1String("IsViewable")))
                return true;
            QThread::msleep(50);
        }
        qWarning("trayer start %d did not show its panel (%s, panel window %s)", attempt,
                 m_process.state() == QProcess::Running ? "still running" : "exited",
                 panel.isEmpty() ? "not found" : qPrintable(panel));
        stop();
    }
    return fail(QStringLiteral("trayer did not show its panel"));
}

void TrayHost::stop()
{
    TestSupport::endDesktopProgram(m_process);
}

QString TrayHost::panelWindow() const
{
    if (m_process.state() != QProcess::Running)
        return {};
    // trayer's own windows: a hidden leader and the "panel" that holds the icons.
    const QStringList ids =
        run(QStringLiteral("xdotool"),
            {QStringLiteral("search"), QStringLiteral("--class"), QStringLiteral("trayer")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        const QString name = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), id});
        if (name.trimmed() == QLatin1String("panel"))
            return QStringLiteral("0x") + QString::number(id.toULongLong(), 16);
    }
    return {};
}

QStringList TrayHost::embeddedWindows(const QString &needle) const
{
    const QString panel = panelWindow();
    if (panel.isEmpty())
        return {};
    // "     0x600006 "Korvex_en_us": ("tst" "Korvex_en_us")  22x22+0+0  +1257+1001"
    static const QRegularExpression line(
        QStringLiteral("^\\s+(0x[0-9a-f]+) (\"[^\"]*\"): (\\([^)]*\\))"));
    QStringList found;
    const QStringList lines =
        run(QStringLiteral("xwininfo"), {QStringLiteral("-tree"), QStringLiteral("-id"), panel})
            .split(QLatin1Char('\n'));
    for (const QString &text : lines) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch() && QString(match.captured(2) + match.captured(3)).contains(needle))
            found << match.captured(1);
    }
    return found;
}

bool TrayHost::clickIcon(const QString &needle, int button) const
{
    const QStringList icons = embeddedWindows(needle);
    if (icons.size() != 1)
        return false;
    return TestSupport::xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"),
                                 icons.first(), QStringLiteral("8"), QStringLiteral("8"),
                                 QStringLiteral("sleep"), QStringLiteral("0.2"),
                                 QStringLiteral("click"), QString::number(button)});
}
