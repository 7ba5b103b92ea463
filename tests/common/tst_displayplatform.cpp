#include "displayplatform.h"

#include <QtTest>

class TestDisplayPlatform final : public QObject
{
    Q_OBJECT
private slots:
    void choose_data();
    void choose();
};

void TestDisplayPlatform::choose_data()
{
    QTest::addColumn<QByteArray>("qpa");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Wayland with XWayland")
        << QByteArray() << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("xcb");
    QTest::newRow("Wayland alone")
        << QByteArray() << QByteArray("wayland-0") << QByteArray() << QByteArray("wayland");
    QTest::newRow("X alone") << QByteArray() << QByteArray() << QByteArray(":0") << QByteArray();
    QTest::newRow("explicit wayland wins")
        << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0") << QByteArray();
    QTest::newRow("explicit offscreen wins")
        << QByteArray("offscreen") << QByteArray("wayland-0") << QByteArray() << QByteArray();
    QTest::newRow("nothing") << QByteArray() << QByteArray() << QByteArray() << QByteArray();
}

void TestDisplayPlatform::choose()
{
    QFETCH(QByteArray, qpa);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, expected);
    QCOMPARE(DisplayPlatform::choose(qpa, wayland, display), expected);
}

QTEST_GUILESS_MAIN(TestDisplayPlatform)
#include "tst_displayplatform.moc"
