#include "settings/categorymask.h"

#include <QtTest>

class TestCategoryMask final : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void update_data();
    void update();
};

void TestCategoryMask::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("mask");
    QTest::newRow("default with prefix") << QStringLiteral("0xffffff") << 0xffffffu;
    QTest::newRow("written form") << QStringLiteral("ffff7f") << 0xffff7fu;
    QTest::newRow("upper case") << QStringLiteral("FFFFFE") << 0xfffffeu;
    QTest::newRow("zero") << QStringLiteral("0") << 0u;
    QTest::newRow("absent") << QString() << 0u;
    QTest::newRow("empty") << QStringLiteral("") << 0u;
    QTest::newRow("not hex") << QStringLiteral("xyz") << 0u;
    QTest::newRow("negative") << QStringLiteral("-1") << 0u;
    QTest::newRow("too wide for 32 bits") << QStringLiteral("1ffffffff") << 0u;
}

void TestCategoryMask::parse()
{
    QFETCH(QString, text);
    QFETCH(quint32, mask);
    QCOMPARE(Korvex::parseMask(text), mask);
}

void TestCategoryMask::update_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<quint32>("bit");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("expected");
    QTest::newRow("uncheck copper of the default")
        << QStringLiteral("0xffffff") << 0x01u << false << QStringLiteral("fffffe");
    QTest::newRow("uncheck macro economy keeps high bits")
        << QStringLiteral("ffffff") << 0x40u << false << QStringLiteral("ffffbf");
    QTest::newRow("set an already set bit")
        << QStringLiteral("ff") << 0x08u << true << QStringLiteral("ff");
    QTest::newRow("no leading zeros")
        << QStringLiteral("0x0000") << 0x04u << true << QStringLiteral("4");
    QTest::newRow("clear the last bit")
        << QStringLiteral("20") << 0x20u << false << QStringLiteral("0");
    QTest::newRow("unparsable counts as empty")
        << QStringLiteral("junk") << 0x10u << true << QStringLiteral("10");
}

void TestCategoryMask::update()
{
    QFETCH(QString, stored);
    QFETCH(quint32, bit);
    QFETCH(bool, on);
    QFETCH(QString, expected);
    QCOMPARE(Korvex::updateMaskText(stored, bit, on), expected);
}

QTEST_GUILESS_MAIN(TestCategoryMask)
#include "tst_categorymask.moc"
