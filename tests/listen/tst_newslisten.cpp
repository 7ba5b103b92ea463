// The listener's page object as a hostile page would use it.
#include "newslisten.h"
#include "bridgeprobe.h"

#include <QPointer>
#include <QWebFrame>
#include <QWebPage>
#include <QWebView>
#include <QtTest>

class TestNewsListen final : public QObject
{
    Q_OBJECT
private slots:
    void pageReachesNoProgramMember();
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
    delete listen;
}

QTEST_MAIN(TestNewsListen)
#include "tst_newslisten.moc"
