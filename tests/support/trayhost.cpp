#include "trayhost.h"

#include "desktopinput.h"
#include "desktopprogram.h"

#include <QDebug>
#include <QRegularExpression>
#include <QTest>

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
    const QStringList arguments =
        QStringLiteral("--edge bottom --align right --widthtype pixel --width 120 --heighttype "
                       "pixel --height 24 --SetDockType true --SetPartialStrut true")
            .split(QLatin1Char(' '));
    return TestSupport::startDesktopProgram(
        m_process, QStringLiteral("trayer"), arguments,
        [this]() -> QString {
            m_panel = findPanel();
            if (m_panel.isEmpty())
                return QStringLiteral("no panel window");
            if (!run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), m_panel})
                     .contains(QLatin1String("IsViewable")))
                return QStringLiteral("panel window %1 not shown").arg(m_panel);
            return {};
        },
        error);
}

void TrayHost::stop()
{
    TestSupport::endDesktopProgram(m_process);
    m_panel.clear();
}

QString TrayHost::panelWindow() const
{
    return isRunning() ? m_panel : QString();
}

QString TrayHost::findPanel() const
{
    if (!isRunning())
        return {};
    // trayer's own windows: a hidden leader and the "panel" that holds the icons.
    const QStringList ids =
        TestSupport::searchWindows({QStringLiteral("--class"), QStringLiteral("trayer")});
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

QString TrayHost::oneIcon(const QString &needle) const
{
    QStringList icons;
    if (QTest::qWaitFor(
            [&] {
                icons = embeddedWindows(needle);
                return icons.size() == 1;
            },
            5000))
        return icons.first();
    qWarning().noquote() << "tray: not one icon named" << needle << "in panel" << panelWindow()
                         << ":"
                         << run(QStringLiteral("xwininfo"),
                                {QStringLiteral("-tree"), QStringLiteral("-id"), panelWindow()});
    return {};
}

bool TrayHost::clickIcon(const QString &needle, int button) const
{
    const QString icon = oneIcon(needle);
    if (icon.isEmpty())
        return false;
    return TestSupport::xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), icon,
                                 QStringLiteral("8"), QStringLiteral("8"), QStringLiteral("sleep"),
                                 QStringLiteral("0.2"), QStringLiteral("click"),
                                 QString::number(button)});
}

bool TrayHost::pointAtIcon(const QString &needle) const
{
    const QString icon = oneIcon(needle);
    if (icon.isEmpty())
        return false;
    // In steps, as a hand comes to rest: a pointer that lands where the
    // toolkit saw it last is no move to it, and no tip comes up.
    for (const int step : {6, 9, 12}) {
        if (!TestSupport::xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), icon,
                                   QString::number(step), QString::number(step),
                                   QStringLiteral("sleep"), QStringLiteral("0.1")}))
            return false;
    }
    return true;
}
