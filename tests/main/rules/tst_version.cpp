#include "update/version.h"

#include <QtTest>

class TestVersion final : public QObject
{
    Q_OBJECT
private slots:
    void older_data();
    void older();
    void thisBuildIsComparedWithASixDigitLastField();
};

// "1.1.303" is shown and compared as "1.1.000303".
void TestVersion::thisBuildIsComparedWithASixDigitLastField()
{
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d{6}$"))
                 .match(Korvex::versionText())
                 .hasMatch(),
             qPrintable(Korvex::versionText()));
}

void TestVersion::older_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<bool>("older");
    const QString reset = QStringLiteral("1.1.000000");
    QTest::newRow("absent") << QString() << reset << true;
    QTest::newRow("older third field") << QStringLiteral("1.0.000999") << reset << true;
    QTest::newRow("equal") << QStringLiteral("1.1.000000") << reset << false;
    QTest::newRow("six-digit field") << QStringLiteral("1.1.000303") << reset << false;
    QTest::newRow("first field decides") << QStringLiteral("0.9.999") << reset << true;
    QTest::newRow("newer first field") << QStringLiteral("2.0.0") << reset << false;
    QTest::newRow("leading zeros compare numerically")
        << QStringLiteral("1.1.000303") << QStringLiteral("1.1.0304") << true;
    QTest::newRow("fourth field ignored")
        << QStringLiteral("1.1.0.1") << QStringLiteral("1.1.0.9") << false;
    QTest::newRow("missing fields count as 0")
        << QStringLiteral("1") << QStringLiteral("1.0.0") << false;
    QTest::newRow("short right side") << QStringLiteral("1.0.5") << QStringLiteral("1.1") << true;
    QTest::newRow("unparsable field is 0") << QStringLiteral("abc.1.1") << reset << true;
    QTest::newRow("empty fields kept") << QStringLiteral("1..5") << reset << true;
}

void TestVersion::older()
{
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(bool, older);
    QCOMPARE(Korvex::isVersionOlder(left, right), older);
}

QTEST_GUILESS_MAIN(TestVersion)
#include "tst_version.moc"
