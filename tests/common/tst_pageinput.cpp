#include "pageinput.h"

#include <QDateTime>
#include <QtTest>

#include <limits>

// What the "Qtconnectjs" object accepts from a page: texts and whole numbers
// of sane size; everything else is refused.
class TestPageInput final : public QObject
{
    Q_OBJECT
private slots:
    void text_data();
    void text();
    void seconds_data();
    void seconds();
    void describeNeverShowsContent();
};

void TestPageInput::text_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("maxChars");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("result");
    QTest::newRow("text") << QVariant(QStringLiteral("12345")) << 256 << true
                          << QStringLiteral("12345");
    QTest::newRow("empty text") << QVariant(QStringLiteral("")) << 256 << true << QString();
    QTest::newRow("whole number") << QVariant(12345.0) << 256 << true << QStringLiteral("12345");
    QTest::newRow("negative number") << QVariant(-7.0) << 256 << true << QStringLiteral("-7");
    QTest::newRow("int") << QVariant(3) << 256 << true << QStringLiteral("3");
    QTest::newRow("fraction") << QVariant(1.5) << 256 << false << QString();
    QTest::newRow("NaN") << QVariant(std::numeric_limits<double>::quiet_NaN()) << 256 << false
                         << QString();
    QTest::newRow("infinity") << QVariant(std::numeric_limits<double>::infinity()) << 256 << false
                              << QString();
    QTest::newRow("huge number") << QVariant(1e300) << 256 << false << QString();
    QTest::newRow("null") << QVariant() << 256 << false << QString();
    QTest::newRow("bool") << QVariant(true) << 256 << false << QString();
    QTest::newRow("object") << QVariant(QVariantMap{{QStringLiteral("id"), 1}}) << 256 << false
                            << QString();
    QTest::newRow("list") << QVariant(QVariantList{1, 2}) << 256 << false << QString();
    QTest::newRow("date") << QVariant(QDateTime::currentDateTime()) << 256 << false << QString();
    QTest::newRow("at the bound") << QVariant(QString(256, QLatin1Char('x'))) << 256 << true
                                  << QString(256, QLatin1Char('x'));
    QTest::newRow("over the bound")
        << QVariant(QString(257, QLatin1Char('x'))) << 256 << false << QString();
    QTest::newRow("number over the bound") << QVariant(123456.0) << 3 << false << QString();
}

void TestPageInput::text()
{
    QFETCH(QVariant, value);
    QFETCH(int, maxChars);
    QFETCH(bool, accepted);
    QFETCH(QString, result);
    const std::optional<QString> taken = PageInput::text(value, maxChars);
    QCOMPARE(taken.has_value(), accepted);
    if (accepted)
        QCOMPARE(*taken, result);
}

void TestPageInput::seconds_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("result"); // -1: refused
    QTest::newRow("number") << QVariant(8.0) << 8;
    QTest::newRow("zero") << QVariant(0.0) << 0;
    QTest::newRow("a day") << QVariant(86400.0) << 86400;
    QTest::newRow("more than a day") << QVariant(86401.0) << -1;
    QTest::newRow("negative") << QVariant(-1.0) << -1;
    QTest::newRow("fraction") << QVariant(2.5) << -1;
    QTest::newRow("decimal text") << QVariant(QStringLiteral("15")) << 15;
    QTest::newRow("text with blanks") << QVariant(QStringLiteral(" 15 ")) << 15;
    QTest::newRow("word") << QVariant(QStringLiteral("abc")) << -1;
    QTest::newRow("long text") << QVariant(QString(1 << 20, QLatin1Char('9'))) << -1;
    QTest::newRow("null") << QVariant() << -1;
    QTest::newRow("object") << QVariant(QVariantMap{}) << -1;
    QTest::newRow("bool") << QVariant(true) << -1;
    QTest::newRow("huge") << QVariant(1e18) << -1;
}

void TestPageInput::seconds()
{
    QFETCH(QVariant, value);
    QFETCH(int, result);
    const std::optional<int> taken = PageInput::seconds(value);
    QCOMPARE(taken.value_or(-1), result);
}

void TestPageInput::describeNeverShowsContent()
{
    const QString secret = QStringLiteral("<script>secret</script>");
    QVERIFY(!PageInput::describe(secret).contains(QLatin1String("secret")));
    QCOMPARE(PageInput::describe(secret), QStringLiteral("a text of 23 characters"));
    QCOMPARE(PageInput::describe(QVariant()), QStringLiteral("nothing"));
    QVERIFY(PageInput::describe(QVariantMap{}).contains(QLatin1String("QVariantMap")));
}

QTEST_GUILESS_MAIN(TestPageInput)
#include "tst_pageinput.moc"
