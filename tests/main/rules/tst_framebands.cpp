#include "desktop/framebands.h"

#include <QtTest>

using Korvex::FrameHit;

Q_DECLARE_METATYPE(Korvex::FrameHit)

// The main window's frame: a 1045 x 700 window, a 40-pixel title bar whose
// login block starts at x = 700.
class TestFrameBands final : public QObject
{
    Q_OBJECT
private slots:
    void hit_data();
    void hit();
    void bandsResizeAndShowTheirCursor();
    void resizeByHand_data();
    void resizeByHand();
};

void TestFrameBands::hit_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<FrameHit>("expected");
    QTest::newRow("page area") << QPoint(500, 300) << FrameHit::Client;
    QTest::newRow("title bar drags") << QPoint(300, 20) << FrameHit::Caption;
    QTest::newRow("title bar left of the login block") << QPoint(699, 20) << FrameHit::Caption;
    QTest::newRow("login block is buttons") << QPoint(700, 20) << FrameHit::Client;
    QTest::newRow("right of the buttons: band") << QPoint(1040, 20) << FrameHit::Right;
    QTest::newRow("left band") << QPoint(3, 300) << FrameHit::Left;
    QTest::newRow("outermost left column") << QPoint(0, 300) << FrameHit::Left;
    QTest::newRow("right band") << QPoint(1044, 300) << FrameHit::Right;
    QTest::newRow("top band over the title bar") << QPoint(300, 2) << FrameHit::Top;
    QTest::newRow("top band over the login block") << QPoint(800, 2) << FrameHit::Top;
    QTest::newRow("bottom band") << QPoint(500, 695) << FrameHit::Bottom;
    QTest::newRow("last client row") << QPoint(500, 693) << FrameHit::Client;
    QTest::newRow("first bottom-band row") << QPoint(500, 694) << FrameHit::Bottom;
    QTest::newRow("top-left") << QPoint(2, 2) << FrameHit::TopLeft;
    QTest::newRow("top-right") << QPoint(1043, 1) << FrameHit::TopRight;
    QTest::newRow("bottom-left") << QPoint(4, 698) << FrameHit::BottomLeft;
    QTest::newRow("bottom-right") << QPoint(1044, 699) << FrameHit::BottomRight;
    // The points a user reaches for first.
    QTest::newRow("3 px inside the right edge, 3 px below the top")
        << QPoint(1045 - 3, 3) << FrameHit::TopRight;
    QTest::newRow("title bar left of the login block") << QPoint(100, 30) << FrameHit::Caption;
    QTest::newRow("on the login buttons") << QPoint(760, 25) << FrameHit::Client;
    QTest::newRow("on the close button at the right end") << QPoint(1030, 25) << FrameHit::Client;
    QTest::newRow("interior") << QPoint(20, 650) << FrameHit::Client;
    QTest::newRow("band below the title bar, left") << QPoint(7, 300) << FrameHit::Left;
    QTest::newRow("first column inside the left band") << QPoint(8, 300) << FrameHit::Client;
    QTest::newRow("title bar's last row") << QPoint(300, 40) << FrameHit::Caption;
    QTest::newRow("first row under the title bar") << QPoint(300, 41) << FrameHit::Client;
}

void TestFrameBands::hit()
{
    QFETCH(QPoint, pos);
    QFETCH(FrameHit, expected);
    const Korvex::FrameLayout layout{QSize(1045, 700), 40, 700};
    QCOMPARE(Korvex::frameHit(pos, layout), expected);
}

void TestFrameBands::bandsResizeAndShowTheirCursor()
{
    QCOMPARE(Korvex::resizeEdges(FrameHit::Client), Qt::Edges());
    QCOMPARE(Korvex::resizeEdges(FrameHit::Caption), Qt::Edges());
    QCOMPARE(Korvex::resizeEdges(FrameHit::BottomRight), Qt::BottomEdge | Qt::RightEdge);
    QCOMPARE(Korvex::resizeEdges(FrameHit::Left), Qt::Edges(Qt::LeftEdge));
    QCOMPARE(Korvex::frameCursor(FrameHit::TopRight), Qt::SizeBDiagCursor);
    QCOMPARE(Korvex::frameCursor(FrameHit::Bottom), Qt::SizeVerCursor);
    QCOMPARE(Korvex::frameCursor(FrameHit::Caption), Qt::ArrowCursor);
}

void TestFrameBands::resizeByHand_data()
{
    QTest::addColumn<int>("edges");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");
    const QRect start(100, 50, 1045, 700);
    QTest::newRow("bottom-right grows")
        << int(Qt::BottomEdge | Qt::RightEdge) << QPoint(80, 50) << QRect(100, 50, 1125, 750);
    QTest::newRow("left grows, right edge stays")
        << int(Qt::LeftEdge) << QPoint(-30, 9) << QRect(70, 50, 1075, 700);
    QTest::newRow("top shrinks, bottom edge stays")
        << int(Qt::TopEdge) << QPoint(0, -20) << QRect(100, 30, 1045, 720);
    QTest::newRow("never below the minimum, left")
        << int(Qt::LeftEdge) << QPoint(500, 0) << QRect(145, 50, 1000, 700);
    QTest::newRow("never below the minimum, top-right")
        << int(Qt::TopEdge | Qt::RightEdge) << QPoint(-200, 100) << QRect(100, 50, 1000, 700);
    QTest::newRow("no edges: nothing") << 0 << QPoint(40, 40) << start;
}

void TestFrameBands::resizeByHand()
{
    QFETCH(int, edges);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    const QRect start(100, 50, 1045, 700);
    QCOMPARE(Korvex::resizedGeometry(start, Qt::Edges(edges), delta, QSize(1000, 700)), expected);
}

QTEST_GUILESS_MAIN(TestFrameBands)
#include "tst_framebands.moc"
