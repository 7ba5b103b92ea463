#include "desktopinput.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace TestSupport
{

namespace
{

QString number(int value)
{
    return QString::number(value);
}

} // namespace

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

QStringList searchWindows(const QStringList &criteria)
{
    for (int tries = 0; tries < 5; ++tries) {
        QProcess search;
        search.start(QStringLiteral("xdotool"), QStringList{QStringLiteral("search")} + criteria);
        if (!search.waitForFinished(5000))
            return {};
        if (search.readAllStandardError().isEmpty())
            return QString::fromLocal8Bit(search.readAllStandardOutput())
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    return {};
}

bool clickAt(const QPoint &at, int button, int repeat)
{
    return xdotool({QStringLiteral("mousemove"), number(at.x()), number(at.y()),
                    QStringLiteral("sleep"), QStringLiteral("0.2"), QStringLiteral("click"),
                    QStringLiteral("--repeat"), number(repeat), QStringLiteral("--delay"),
                    QStringLiteral("80"), number(button)});
}

bool dragWithTheMouse(const QPoint &from, const QPoint &by)
{
    QStringList steps{
        QStringLiteral("mousemove"), number(from.x()),        number(from.y()),
        QStringLiteral("sleep"),     QStringLiteral("0.3"),   QStringLiteral("mousedown"),
        QStringLiteral("1"),         QStringLiteral("sleep"), QStringLiteral("0.3")};
    // The first step is one pixel: it hands the move to the window manager.
    const QList<QPoint> path{from + QPoint(1, 1), from + by / 2, from + by};
    for (const QPoint &at : path)
        steps << QStringLiteral("mousemove") << number(at.x()) << number(at.y())
              << QStringLiteral("sleep") << QStringLiteral("0.3");
    steps << QStringLiteral("mouseup") << QStringLiteral("1");
    return xdotool(steps);
}

QPoint radioIndicator(const QRect &onScreen)
{
    // A radio button answers only on its circle and its text.
    return onScreen.topLeft() + QPoint(8, onScreen.height() / 2);
}

QRect screenGeometry(quint64 windowId)
{
    QProcess info;
    info.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(windowId)});
    if (!info.waitForFinished(5000) || info.exitCode() != 0)
        return {};
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const auto field = [&out](const char *name) {
        const QRegularExpression re(QLatin1String(name) + QStringLiteral(":\\s+(-?\\d+)"));
        return re.match(out).captured(1).toInt();
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                 field("Height"));
}

quint64 activeWindow()
{
    QProcess active;
    active.start(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")});
    if (!active.waitForFinished(5000) || active.exitCode() != 0)
        return 0;
    return active.readAllStandardOutput().trimmed().toULongLong();
}

void keepScreenshot(const QString &name)
{
    const QString folder = qEnvironmentVariable("KORVEX_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    // What was just asked for has been drawn.
    QTest::qWait(500);
    QProcess::execute(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"),
                       folder + QLatin1Char('/') + name + QStringLiteral(".png")});
}

} // namespace TestSupport
