#include "pages/webhost.h"

#include <QtTest>

class TestWebHost final : public QObject
{
    Q_OBJECT
private slots:
    void hostArgument_data();
    void hostArgument();
    void contentAddress_data();
    void contentAddress();
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

void TestWebHost::contentAddress_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("mailbox");
    QTest::newRow("plain") << QStringLiteral("4711") << QStringLiteral("a@example.com");
    QTest::newRow("quotes") << QStringLiteral("1'\"2") << QStringLiteral("o'neil@example.com");
    QTest::newRow("delimiters") << QStringLiteral("1&email=x#frag") << QStringLiteral("a+b@x.org");
    QTest::newRow("spaces, %, =") << QStringLiteral(" 5 %41=") << QStringLiteral("a b@c");
    QTest::newRow("non-ASCII") << QStringLiteral("黄金\u00e9") << QStringLiteral("用户@例子.中国");
    // Qt 5's query encoder kept only the first half of such a code point.
    QTest::newRow("noncharacter beyond 16 bits")
        << QStringLiteral("7\U000FFFFF8") << QStringLiteral("a\U0010FFFF@x.org");
    QTest::newRow("empty") << QString() << QString();
}

// The service reads the query as a form does ("+" is a space, "%XX" a byte):
// what it reads back must be exactly what went in, and nothing may end up in
// another field or the fragment.
void TestWebHost::contentAddress()
{
    QFETCH(QString, id);
    QFETCH(QString, mailbox);
    const QUrl url = Korvex::contentAddress(QStringLiteral("http://127.0.0.1:8080"), id, mailbox);
    QVERIFY(url.isValid());
    QCOMPARE(url.path(), QStringLiteral("/minipage/pagetext"));
    QVERIFY(!url.hasFragment());
    const QByteArray query = url.query(QUrl::FullyEncoded).toLatin1();
    const QList<QByteArray> fields = query.split('&');
    QCOMPARE(fields.size(), 2);
    const auto formValue = [](QByteArray field, const char *key) {
        const QByteArray prefix = QByteArray(key) + '=';
        if (!field.startsWith(prefix))
            return QStringLiteral("<no %1>").arg(QLatin1String(key));
        field = field.mid(prefix.size()).replace('+', ' ');
        return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
    };
    QCOMPARE(formValue(fields.at(0), "id"), id);
    QCOMPARE(formValue(fields.at(1), "email"), mailbox);
}

QTEST_GUILESS_MAIN(TestWebHost)
#include "tst_webhost.moc"
