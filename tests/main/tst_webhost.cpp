#include "webhost.h"

#include <QtTest>

class TestWebHost final : public QObject
{
    Q_OBJECT
private slots:
    void hostArgument_data();
    void hostArgument();
};

void TestWebHost::hostArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("webHost");
    const QString program = QStringLiteral("/opt/korvex/Korvex");
    const QString fallback = QStringLiteral("http://default:1");
    QTest::newRow("none") << QStringList{program} << fallback;
    QTest::newRow("host") << QStringList{program, QStringLiteral("-host"),
                                         QStringLiteral("news.example:8080")}
                          << QStringLiteral("http://news.example:8080");
    QTest::newRow("later wins") << QStringList{program, QStringLiteral("-host"),
                                               QStringLiteral("a"), QStringLiteral("-host"),
                                               QStringLiteral("b")}
                                << QStringLiteral("http://b");
    QTest::newRow("last argument") << QStringList{program, QStringLiteral("-host")} << fallback;
    QTest::newRow("earlier kept when last is bare")
        << QStringList{program, QStringLiteral("-host"), QStringLiteral("a"),
                       QStringLiteral("-host")}
        << QStringLiteral("http://a");
    QTest::newRow("scheme given") << QStringList{program, QStringLiteral("-host"),
                                                 QStringLiteral("http://h")}
                                  << QStringLiteral("http://http://h");
    QTest::newRow("case-sensitive")
        << QStringList{program, QStringLiteral("-HOST"), QStringLiteral("h")} << fallback;
    QTest::newRow("among others") << QStringList{program,
                                                 QStringLiteral("-platform"),
                                                 QStringLiteral("x"),
                                                 QStringLiteral("-host"),
                                                 QStringLiteral("h"),
                                                 QStringLiteral("extra")}
                                  << QStringLiteral("http://h");
}

void TestWebHost::hostArgument()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, webHost);
    QCOMPARE(Korvex::webHostFromArguments(arguments, QStringLiteral("http://default:1")), webHost);
}

QTEST_GUILESS_MAIN(TestWebHost)
#include "tst_webhost.moc"
