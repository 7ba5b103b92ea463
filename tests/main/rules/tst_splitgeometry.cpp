#include "desktop/splitgeometry.h"

#include <QtTest>

using namespace Korvex;

class TestSplitGeometry final : public QObject
{
    Q_OBJECT
private slots:
    void strip();
    void outsideStrip_data();
    void outsideStrip();
    void movable();
};

void TestSplitGeometry::strip()
{
    // A 1920 x 1040 available area: a 384-wide strip, docked right at x = 1536.
    QCOMPARE(Split::stripWidth(1920), 384);
    QCOMPARE(Split::stripPosition(Split::Right, 1920), QPoint(1536, 0));
    QCOMPARE(Split::stripPosition(Split::Left, 1920), QPoint(0, 0));
    QCOMPARE(Split::stripWidth(1283), 256);
}

void TestSplitGeometry::outsideStrip_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("expected");
    const int R = Split::Right;
    const int L = Split::Left;
    QTest::newRow("right: too wide") << R << QRect(10, 50, 1600, 700) << QRect(0, 50, 1536, 700);
    QTest::newRow("right: reaches in")
        << R << QRect(1000, 80, 800, 600) << QRect(736, 80, 800, 600);
    QTest::newRow("right: ends at the edge")
        << R << QRect(736, 0, 800, 600) << QRect(736, 0, 800, 600);
    QTest::newRow("right: clear") << R << QRect(100, 5, 300, 200) << QRect(100, 5, 300, 200);
    QTest::newRow("right: exactly the rest")
        << R << QRect(0, 0, 1536, 900) << QRect(0, 0, 1536, 900);
    QTest::newRow("left: reaches in") << L << QRect(100, 30, 800, 600) << QRect(384, 30, 800, 600);
    QTest::newRow("left: too wide") << L << QRect(0, 0, 1920, 1040) << QRect(384, 0, 1536, 1040);
    QTest::newRow("left: off screen") << L << QRect(-50, 30, 300, 200) << QRect(384, 30, 300, 200);
    QTest::newRow("left: at the edge") << L << QRect(384, 30, 300, 200) << QRect(384, 30, 300, 200);
    // Beyond the rest of the screen on the left side: only windows in the strip move.
    QTest::newRow("left: clear but wide")
        << L << QRect(400, 0, 1600, 500) << QRect(400, 0, 1600, 500);
}

void TestSplitGeometry::outsideStrip()
{
    QFETCH(int, side);
    QFETCH(QRect, frame);
    QFETCH(QRect, expected);
    QCOMPARE(Split::outsideStrip(frame, Split::Side(side), 1920), expected);
}

void TestSplitGeometry::movable()
{
    const QString strip = QStringLiteral("Miniwindow");
    QVERIFY(Split::isMovable(QStringLiteral("Terminal"), strip));
    QVERIFY(!Split::isMovable(QString(), strip));
    QVERIFY(!Split::isMovable(strip, strip));
    QVERIFY(Split::isMovable(QStringLiteral("Miniwindow 2"), strip));
}

QTEST_APPLESS_MAIN(TestSplitGeometry)
#include "tst_splitgeometry.moc"
