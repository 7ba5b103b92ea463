#include "desktop/dialogplacement.h"

#include <QtTest>

class TestDialogPlacement final : public QObject
{
    Q_OBJECT
private slots:
    void centredOverTheWindowInsideTheArea_data();
    void centredOverTheWindowInsideTheArea();
};

void TestDialogPlacement::centredOverTheWindowInsideTheArea_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("over");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("topLeft");
    // A panel on top (y 0..29) and one at the left (x 0..49).
    const QRect area(50, 30, 1870, 1050);
    QTest::newRow("centred") << QSize(400, 300) << QRect(200, 100, 1000, 700) << area
                             << QPoint(500, 300);
    QTest::newRow("window past the right edge")
        << QSize(400, 300) << QRect(1700, 100, 1000, 700) << area << QPoint(1520, 300);
    QTest::newRow("window over the top panel")
        << QSize(400, 600) << QRect(200, -400, 800, 600) << area << QPoint(400, 30);
    QTest::newRow("window off the left edge")
        << QSize(400, 300) << QRect(-900, 100, 1000, 700) << area << QPoint(50, 300);
    QTest::newRow("larger than the area")
        << QSize(2000, 1200) << QRect(200, 100, 1000, 700) << area << QPoint(50, 30);
    QTest::newRow("second screen") << QSize(400, 300) << QRect(1920, 0, 1280, 1024)
                                   << QRect(1920, 0, 1280, 1024) << QPoint(2360, 362);
}

void TestDialogPlacement::centredOverTheWindowInsideTheArea()
{
    QFETCH(QSize, size);
    QFETCH(QRect, over);
    QFETCH(QRect, available);
    QFETCH(QPoint, topLeft);
    QCOMPARE(Korvex::Placement::centredOver(size, over, available), topLeft);
}

QTEST_APPLESS_MAIN(TestDialogPlacement)
#include "tst_dialogplacement.moc"
