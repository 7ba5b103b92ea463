#include "framebands.h"

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

QTEST_GUILESS_MAIN(TestFrameBands)
#include "tst_framebands.moc"
