#include "originbridge.h"
#include "pageinput.h"

#include <QSignalSpy>
#include <QWebFrame>
#include <QWebPage>
#include <QtTest>

// The base of every program's page objects, in a real page: placed only into
// a document of its site, and only texts of sane size are taken.
namespace
{

Q_LOGGING_CATEGORY(lcProbe, "probe")

class ProbeBridge final : public Common::OriginBridge
{
    Q_OBJECT
public:
    ProbeBridge(QWebFrame *frame, const QUrl &site)
        : Common::OriginBridge(frame, site, QStringLiteral("Probe"), QStringLiteral("a probe"),
                               lcProbe, nullptr)
    {
    }
    QStringList taken;
public slots:
    void take(const QVariant &id)
    {
        if (const auto text = textOf("take", id, 8))
            taken << *text;
    }
};

} // namespace

class TestOriginBridge final : public QObject
{
    Q_OBJECT
private slots:
    void placedOnlyIntoItsSiteAndTakesOnlySaneTexts();
};

void TestOriginBridge::placedOnlyIntoItsSiteAndTakesOnlySaneTexts()
{
    QWebPage page;
    QWebFrame *frame = page.mainFrame();
    ProbeBridge bridge(frame, QUrl(QStringLiteral("http://127.0.0.1:8080")));
    connect(frame, &QWebFrame::javaScriptWindowObjectCleared, &bridge,
            [&bridge] { bridge.placeIntoPage(); });
    const auto show = [&page, frame](const char *base) {
        QSignalSpy loaded(&page, &QWebPage::loadFinished);
        frame->setHtml(QStringLiteral("<p>page</p>"), QUrl(QLatin1String(base)));
        QVERIFY(loaded.count() > 0 || loaded.wait(10000));
    };
    const auto typeOfProbe = [frame] {
        return frame->evaluateJavaScript(QStringLiteral("typeof Probe")).toString();
    };

    show("http://127.0.0.1:8080/minipage");
    QCOMPARE(typeOfProbe(), QStringLiteral("object"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Probe.take refused")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Probe.take refused")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Probe.take refused")));
    frame->evaluateJavaScript(QStringLiteral(
        "Probe.take('12345678'); Probe.take('123456789'); Probe.take({id: 1}); Probe.take(null);"
        "Probe.take(42);"));
    QCOMPARE(bridge.taken, (QStringList{QStringLiteral("12345678"), QStringLiteral("42")}));

    // Another port, plain https beside http, another name: another site.
    for (const char *other : {"http://127.0.0.1:8081/minipage", "https://127.0.0.1:8080/minipage",
                              "http://localhost:8080/minipage"}) {
        QTest::ignoreMessage(
            QtWarningMsg, QRegularExpression(QStringLiteral("not placed into a page of another")));
        show(other);
        QCOMPARE(typeOfProbe(), QStringLiteral("undefined"));
    }
}

QTEST_MAIN(TestOriginBridge)
#include "tst_originbridge.moc"
