#include "linkrules.h"

#include <QtTest>

class TestLinkRules final : public QObject
{
    Q_OBJECT
private slots:
    void onlyWebAndMailLinksLeave_data();
    void onlyWebAndMailLinksLeave();
    void sameSiteIsSchemeHostAndPort_data();
    void sameSiteIsSchemeHostAndPort();
};

void TestLinkRules::onlyWebAndMailLinksLeave_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("leaves");
    QTest::newRow("http") << "http://example.com/news?a=1" << true;
    QTest::newRow("https") << "https://example.com/" << true;
    QTest::newRow("mailto") << "mailto:desk@example.com" << true;
    QTest::newRow("file") << "file:///etc/passwd" << false;
    QTest::newRow("smb") << "smb://192.0.2.7/share/run.exe" << false;
    QTest::newRow("data") << "data:text/html,<script>alert(1)</script>" << false;
    QTest::newRow("javascript") << "javascript:alert(1)" << false;
    QTest::newRow("custom") << "vekupdate://install?from=http://example.com" << false;
}

void TestLinkRules::onlyWebAndMailLinksLeave()
{
    QFETCH(QString, link);
    QFETCH(bool, leaves);
    const QUrl url(link);
    QCOMPARE(LinkRules::mayOpenOnDesktop(url), leaves);
    // What is refused says so by its scheme, not by the page's text.
    if (!leaves) {
        QVERIFY(LinkRules::refusal(url).contains(url.scheme()));
        QVERIFY(!LinkRules::refusal(url).contains(QLatin1String("alert")));
    }
}

void TestLinkRules::sameSiteIsSchemeHostAndPort_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("same");
    QTest::newRow("same") << "http://127.0.0.1:8080/Industry?x=1" << true;
    QTest::newRow("other port") << "http://127.0.0.1:8081/Industry" << false;
    QTest::newRow("https") << "https://127.0.0.1:8080/Industry" << false;
    QTest::newRow("other name") << "http://localhost:8080/Industry" << false;
    QTest::newRow("default port") << "http://127.0.0.1/Industry" << false;
    QTest::newRow("javascript") << "javascript://127.0.0.1:8080/%0Aalert(1)" << false;
    QTest::newRow("no host") << "http:/Industry" << false;
}

void TestLinkRules::sameSiteIsSchemeHostAndPort()
{
    QFETCH(QString, link);
    QFETCH(bool, same);
    QCOMPARE(LinkRules::sameSite(QUrl(link), QUrl(QStringLiteral("http://127.0.0.1:8080"))), same);
    // A missing port is the scheme's own; a host has one spelling.
    QVERIFY(LinkRules::sameSite(QUrl(QStringLiteral("https://example.com:443/a")),
                                QUrl(QStringLiteral("https://example.com"))));
    QVERIFY(LinkRules::sameSite(QUrl(QStringLiteral("http://xn--bcher-kva.example/")),
                                QUrl(QStringLiteral("http://BÜCHER.example"))));
}

QTEST_GUILESS_MAIN(TestLinkRules)
#include "tst_linkrules.moc"
