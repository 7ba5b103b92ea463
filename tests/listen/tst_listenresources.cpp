// The scripts compiled into vek_listen are the pinned versions and run in WebKit.
#include <QFile>
#include <QWebFrame>
#include <QWebPage>
#include <QtTest>

class TestListenResources final : public QObject
{
    Q_OBJECT
private slots:
    void scriptsRunInWebKit();
};

void TestListenResources::scriptsRunInWebKit()
{
    QVERIFY(QFile::exists(QStringLiteral(":/source/jquery.js")));
    QVERIFY(QFile::exists(QStringLiteral(":/source/socketio.js")));

    // Loaded by relative name from a page in the same resource folder, as the
    // listener page does.
    QWebPage page;
    QSignalSpy loaded(&page, &QWebPage::loadFinished);
    page.mainFrame()->setHtml(
        QStringLiteral("<html><head><script src=\"jquery.js\"></script>"
                       "<script src=\"socketio.js\"></script></head><body></body></html>"),
        QUrl(QStringLiteral("qrc:/source/probe.html")));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 10000);
    QWebFrame *frame = page.mainFrame();
    QCOMPARE(frame->evaluateJavaScript(QStringLiteral("jQuery.fn.jquery")).toString(),
             QStringLiteral("2.1.3"));
    // socket.io protocol revision 4 is what the service speaks.
    QCOMPARE(frame->evaluateJavaScript(QStringLiteral("typeof io")).toString(),
             QStringLiteral("function"));
    QCOMPARE(frame->evaluateJavaScript(QStringLiteral("io.protocol")).toInt(), 4);
}

QTEST_MAIN(TestListenResources)
#include "tst_listenresources.moc"
