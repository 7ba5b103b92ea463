#include "desktop/minisplitthread.h"
#include "memorydesktop.h"

#include <QtTest>

using Korvex::MiniSplitThread;
using Korvex::Split::Left;
using Korvex::Split::Right;

// The split loop against other applications' windows held in memory, on a
// 1280-wide screen: the strip is 256 wide, docked right at x = 1024.
class TestMiniSplitThread final : public QObject
{
    Q_OBJECT
private slots:
    void titledWindowsLeaveTheStripOthersStay();
    void windowEnteringTheStripIsMovedOutUntilStopped();
    void withoutADesktopTheLoopEndsAtOnce();

private:
    static constexpr int Width = 1280;
};

namespace
{

// Returns once the loop has finished two more passes: any move it would make
// has been made.
bool twoMorePasses(const MemoryDesktop &desktop)
{
    const int after = desktop.passes() + 2;
    return QTest::qWaitFor([&] { return desktop.passes() >= after; }, 10000);
}

} // namespace

void TestMiniSplitThread::titledWindowsLeaveTheStripOthersStay()
{
    auto owned = std::make_unique<MemoryDesktop>();
    MemoryDesktop &desktop = *owned;
    const quint64 reaching = desktop.add(QStringLiteral("Reaching In"), QRect(900, 120, 300, 200));
    const quint64 wide = desktop.add(QStringLiteral("Too Wide"), QRect(0, 400, 1200, 150));
    const quint64 clear = desktop.add(QStringLiteral("Clear"), QRect(60, 600, 300, 120));
    const quint64 untitled = desktop.add(QString(), QRect(1100, 700, 100, 100));
    const quint64 panel = desktop.add(QStringLiteral("Panel"), QRect(1180, 560, 60, 100), true);
    const quint64 strip = desktop.add(QStringLiteral("Miniwindow"), QRect(1024, 0, 256, 1000));
    MiniSplitThread thread(nullptr, std::move(owned));
    thread.setScreen(Width, QStringLiteral("Miniwindow"));

    thread.startSplitting(Right);
    // Out of the strip with y and height kept; a window wider than the rest is narrowed.
    QTRY_COMPARE(desktop.frame(reaching), QRect(724, 120, 300, 200));
    QTRY_COMPARE(desktop.frame(wide), QRect(0, 400, 1024, 150));
    QVERIFY(twoMorePasses(desktop));
    // Untitled windows, the desktop's parts and the strip itself stay; a window
    // already outside is not moved again.
    QCOMPARE(desktop.frame(untitled), QRect(1100, 700, 100, 100));
    QCOMPARE(desktop.frame(panel), QRect(1180, 560, 60, 100));
    QCOMPARE(desktop.frame(strip), QRect(1024, 0, 256, 1000));
    QCOMPARE(desktop.frame(clear), QRect(60, 600, 300, 120));
    QCOMPARE(thread.movesMade(), 2);

    // Docked left, the strip is 0..256: only what reaches into it moves.
    desktop.move(strip, QRect(0, 0, 256, 1000));
    thread.startSplitting(Left);
    QTRY_COMPARE(desktop.frame(clear), QRect(256, 600, 300, 120));
    QTRY_COMPARE(desktop.frame(wide), QRect(256, 400, 1024, 150));
    QVERIFY(twoMorePasses(desktop));
    QCOMPARE(desktop.frame(reaching), QRect(724, 120, 300, 200));
    QCOMPARE(desktop.frame(untitled), QRect(1100, 700, 100, 100));
    QCOMPARE(thread.movesMade(), 4);
}

void TestMiniSplitThread::windowEnteringTheStripIsMovedOutUntilStopped()
{
    auto owned = std::make_unique<MemoryDesktop>();
    MemoryDesktop &desktop = *owned;
    const quint64 window = desktop.add(QStringLiteral("Editor"), QRect(100, 100, 400, 300));
    MiniSplitThread thread(nullptr, std::move(owned));
    thread.setScreen(Width, QStringLiteral("Miniwindow"));
    thread.startSplitting(Right);
    QVERIFY(twoMorePasses(desktop));

    // Dragged into the strip, and a new window opened there.
    desktop.move(window, QRect(1100, 100, 400, 300));
    QTRY_COMPARE(desktop.frame(window), QRect(624, 100, 400, 300));
    const quint64 opened = desktop.add(QStringLiteral("Dialog"), QRect(1050, 500, 200, 100));
    QTRY_COMPARE(desktop.frame(opened), QRect(824, 500, 200, 100));

    // Stopped, nothing keeps the strip free any more.
    thread.stop();
    QVERIFY(!thread.isRunning());
    const int moves = thread.movesMade();
    desktop.move(window, QRect(1100, 100, 400, 300));
    QCOMPARE(desktop.frame(window), QRect(1100, 100, 400, 300));
    QCOMPARE(thread.movesMade(), moves);
}

void TestMiniSplitThread::withoutADesktopTheLoopEndsAtOnce()
{
    auto owned = std::make_unique<MemoryDesktop>(false);
    MemoryDesktop &desktop = *owned;
    const quint64 window = desktop.add(QStringLiteral("Editor"), QRect(1100, 100, 400, 300));
    MiniSplitThread thread(nullptr, std::move(owned));
    thread.setScreen(Width, QStringLiteral("Miniwindow"));
    thread.startSplitting(Right);
    QVERIFY(thread.wait(10000));
    QCOMPARE(desktop.passes(), 0);
    QCOMPARE(desktop.frame(window), QRect(1100, 100, 400, 300));
}

QTEST_MAIN(TestMiniSplitThread)
#include "tst_minisplitthread.moc"
