#include "jsliteral.h"
#include "pagecontract.h"

#include <QSignalSpy>
#include <QWebFrame>
#include <QWebPage>
#include <QtTest>

// Page calls are checked in a real QtWebKit page: what the page function
// receives must be the very string we passed, and nothing else may run.
class TestJsLiteral final : public QObject
{
    Q_OBJECT

private slots:
    void reachesPageUnchanged_data();
    void reachesPageUnchanged();
    void severalArguments();
};

static const QString pageScript =
    QStringLiteral("var ran = 0; var got = null; var count = 0;"
                   "function OutputMsg(s) { got = s; count = arguments.length; }");

static bool loadPage(QWebPage &page, const QString &html)
{
    QSignalSpy loaded(&page, &QWebPage::loadFinished);
    page.mainFrame()->setHtml(html);
    return loaded.count() > 0 || loaded.wait(10000);
}

void TestJsLiteral::reachesPageUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("single quote break-out") << QStringLiteral("'); ran = 1; ('");
    QTest::newRow("double quote break-out") << QStringLiteral("\"); ran = 1; //");
    QTest::newRow("backslashes") << QStringLiteral("\\'); ran = 1; //\\");
    QTest::newRow("line breaks") << QStringLiteral("a\nb\r\nc\rd\te");
    QTest::newRow("U+2028 U+2029") << QStringLiteral("x\u2028');ran=1;//\u2029y");
    QTest::newRow("script end tag")
        << QStringLiteral("</script><script>ran = 1;</script><!-- <script>");
    QTest::newRow("control characters") << QString::fromUtf16(u"nul\u0000bell\u0007esc\u001b");
    QTest::newRow("news item") << QStringLiteral(
        R"([{"vek_news_type":"FBN","title":"[快讯] 美元 'USD' \"涨\" 🚀 &amp;","id":12}])");
    QTest::newRow("empty") << QString();
}

void TestJsLiteral::reachesPageUnchanged()
{
    QFETCH(QString, text);
    const QString call = JsLiteral::call(Pages::OutputMsg, {text});

    // Evaluated as a script ...
    QWebPage page;
    QVERIFY(loadPage(page, QStringLiteral("<html><body><script>") + pageScript +
                               QStringLiteral("</script></body></html>")));
    page.mainFrame()->evaluateJavaScript(call);
    QCOMPARE(page.mainFrame()->evaluateJavaScript(QStringLiteral("got")).toString(), text);
    QCOMPARE(page.mainFrame()->evaluateJavaScript(QStringLiteral("count")).toInt(), 1);
    QCOMPARE(page.mainFrame()->evaluateJavaScript(QStringLiteral("ran")).toInt(), 0);

    // ... and inside an HTML script element, where "</script>" would end it.
    QWebPage inlinePage;
    QVERIFY(loadPage(inlinePage, QStringLiteral("<html><body><script>") + pageScript +
                                     QStringLiteral("</script><script>") + call +
                                     QStringLiteral("</script></body></html>")));
    QCOMPARE(inlinePage.mainFrame()->evaluateJavaScript(QStringLiteral("got")).toString(), text);
    QCOMPARE(inlinePage.mainFrame()->evaluateJavaScript(QStringLiteral("ran")).toInt(), 0);
}

void TestJsLiteral::severalArguments()
{
    QCOMPARE(JsLiteral::call(Pages::GuanggaoShow), QStringLiteral("guanggaoshow()"));
    QWebPage page;
    QVERIFY(loadPage(page, QStringLiteral("<html><body><script>var got = null;"
                                          "function login(a, b) { got = [a, b, arguments.length]; }"
                                          "</script></body></html>")));
    page.mainFrame()->evaluateJavaScript(
        JsLiteral::call(Pages::LoginCall, {QStringLiteral("a'b@c.d"), QStringLiteral("1")}));
    QCOMPARE(page.mainFrame()->evaluateJavaScript(QStringLiteral("got")).toStringList(),
             (QStringList{QStringLiteral("a'b@c.d"), QStringLiteral("1"), QStringLiteral("2")}));
}

QTEST_MAIN(TestJsLiteral)
#include "tst_jsliteral.moc"
