// The listener's page object as a hostile page would use it.
#include "newslisten.h"
#include "bridgeprobe.h"

#include <QPointer>
#include <QSignalSpy>
#include <QWebElement>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>
#include <QtTest>

using Listen::NewsListen;

class TestNewsListen final : public QObject
{
    Q_OBJECT
private slots:
    void pageReachesNoProgramMember();
    void traceKeepsTheNewestLinesAsText();
};

void TestNewsListen::pageReachesNoProgramMember()
{
    auto *listen = new NewsListen;
    QPointer<NewsListen> alive(listen);
    QWebFrame *frame = listen->findChild<QWebView *>()->page()->mainFrame();
    QTRY_COMPARE_WITH_TIMEOUT(
        frame->evaluateJavaScript(QStringLiteral("typeof Socket_IOListen")).toString(),
        QStringLiteral("object"), 10000);
    QVERIFY(TestSupport::bridgeSurvivesWindowCalls(frame, QStringLiteral("Socket_IOListen"),
                                                   QStringLiteral("jsToQtFunc")));
    QVERIFY(alive);
    QCOMPARE(frame->evaluateJavaScript(QStringLiteral("Socket_IOListen.returnCurrentTime().length"))
                 .toInt(),
             19);
    // Only a text is an item; only the compiled-in page gets the object.
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("Socket_IOListen.jsToQtFunc refused")));
    frame->evaluateJavaScript(QStringLiteral("Socket_IOListen.jsToQtFunc({a: 1})"));
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("not placed into a page of another")));
    QSignalSpy loaded(frame, &QWebFrame::loadFinished);
    frame->setHtml(QStringLiteral("<p>elsewhere</p>"), QUrl(QStringLiteral("http://127.0.0.1:9/")));
    QVERIFY(loaded.count() > 0 || loaded.wait(10000));
    QCOMPARE(frame->evaluateJavaScript(QStringLiteral("typeof Socket_IOListen")).toString(),
             QStringLiteral("undefined"));
    delete listen;
}

// The page's own trace of pushed items, all day long: bounded, and an item's
// markup stays text.
void TestNewsListen::traceKeepsTheNewestLinesAsText()
{
    NewsListen listen;
    QWebFrame *frame = listen.findChild<QWebView *>()->page()->mainFrame();
    QTRY_COMPARE_WITH_TIMEOUT(frame->evaluateJavaScript(QStringLiteral("typeof trace")).toString(),
                              QStringLiteral("function"), 10000);
    frame->evaluateJavaScript(QStringLiteral(
        "for (var i = 1; i <= 25; i++) trace(['item ' + i + ' <b>bold</b>', null, 'end']);"));
    const QWebElement box = frame->findFirstElement(QStringLiteral("#SocketIO"));
    QCOMPARE(box.findAll(QStringLiteral("p")).count(), 20);
    QCOMPARE(box.findAll(QStringLiteral("b")).count(), 0);
    const QWebElement newest = box.firstChild();
    QCOMPARE(newest.findAll(QStringLiteral("br")).count(), 1);
    QCOMPARE(newest.toPlainText().simplified(), QStringLiteral("item 25 <b>bold</b> end"));
}

QTEST_MAIN(TestNewsListen)
#include "tst_newslisten.moc"
