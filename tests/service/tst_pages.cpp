#include "jsliteral.h"
#include "pagecontract.h"
#include "servicefixture.h"
#include "testsupport.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QWebFrame>
#include <QWebPage>
#include <QWebSettings>
#include <QtTest>

#include <memory>

namespace
{

// Keeps what the page's script writes to the console: QtWebKit reports script
// errors there.
class RecordingPage final : public QWebPage
{
    Q_OBJECT
public:
    using QWebPage::QWebPage;
    QStringList messages;

protected:
    void javaScriptConsoleMessage(const QString &message, int line, const QString &source) override
    {
        messages.append(source + QLatin1Char(':') + QString::number(line) + QStringLiteral(": ") +
                        message);
    }
};

// Stand-in for the program windows that pages call (those windows are built
// and tested with their programs): records every member call a page makes.
class BridgeRecorder final : public QObject
{
    Q_OBJECT
public:
    QStringList calls;

public slots:
    void achieveid(const QString &id) { record(QStringLiteral("achieveid"), {id}); }
    void windowNeedHide() { record(QStringLiteral("windowNeedHide"), {}); }
    void jsCallContentWidget(const QString &id)
    {
        record(QStringLiteral("jsCallContentWidget"), {id});
    }
    void loginSuccess(const QString &a, const QString &b, const QString &c, const QString &d,
                      const QString &e)
    {
        record(QStringLiteral("loginSuccess"), {a, b, c, d, e});
    }
    void regVerifySuccess(const QString &a, const QString &b, const QString &c, const QString &d)
    {
        record(QStringLiteral("regVerifySuccess"), {a, b, c, d});
    }

private:
    void record(const QString &member, const QStringList &args)
    {
        calls.append(member + QLatin1Char('(') + args.join(QLatin1Char('|')) + QLatin1Char(')'));
    }
};

struct PageContract {
    QString path;
    QStringList functions;
};

QList<PageContract> contract()
{
    const auto s = [](QLatin1String l) { return QString(l); };
    return {
        {s(Pages::Expresslive),
         {s(Pages::OutputMsg), s(Pages::ShowType), s(Pages::GuanggaoShow), s(Pages::GuanggaoHide),
          s(Pages::Statistical), s(Pages::GetNewsData), s(Pages::LoginCall)}},
        {s(Pages::Ecrilicalendar), {s(Pages::CalendarOutputMsg)}},
        {s(Pages::Advert), {}},
        {s(Pages::Hangqing), {}},
        {s(Pages::Industry), {}},
        {s(Pages::Article), {}},
        {s(Pages::Index), {}},
        {s(Pages::Collect) + QStringLiteral("?email=demo%40korvex.test"), {}},
        {s(Pages::Analytics), {}},
        {s(Pages::Minipage), {s(Pages::Obtain), s(Pages::ShowType), s(Pages::Shenyin)}},
        {s(Pages::MinipageText) + QStringLiteral("?id=100100&email=demo%40korvex.test"), {}},
        {s(Pages::PostWindow), {}},
        {s(Pages::Wicket), {s(Pages::Iojieshou), s(Pages::DelNews)}},
        {s(Pages::Login), {}},
        {s(Pages::Register), {}},
        {s(Pages::RegActive), {s(Pages::GetEmial)}},
        {s(Pages::FindCode01), {}},
        {s(Pages::FindCode02), {s(Pages::GetDataP)}},
        {s(Pages::FindCode03), {s(Pages::GetDataPwd)}},
    };
}

QString itemText(const QJsonObject &item)
{
    return QLatin1Char('[') +
           QString::fromUtf8(QJsonDocument(item).toJson(QJsonDocument::Compact)) + QLatin1Char(']');
}

} // namespace

class TestPages final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyPageDefinesItsFunctions();
    void liveItemsRenderAsTextInTheUsersZone();
    void popupCardReportsCallsAndCallsItsBridge();
    void loginPagesCallTheWindow();
    void webKitClientScriptReceivesItemsOverPolling();

private:
    std::unique_ptr<RecordingPage> load(const QString &path, const QString &bridgeName = {},
                                        QObject *bridge = nullptr,
                                        const QList<QNetworkCookie> &cookies = {});
    QVariant js(QWebPage *page, const QString &script)
    {
        return page->mainFrame()->evaluateJavaScript(script);
    }

    ServiceFixture m_service;
};

void TestPages::initTestCase()
{
    QString error;
    QVERIFY2(m_service.start(&error), qPrintable(error));
}

void TestPages::cleanupTestCase()
{
    m_service.stop();
}

std::unique_ptr<RecordingPage> TestPages::load(const QString &path, const QString &bridgeName,
                                               QObject *bridge,
                                               const QList<QNetworkCookie> &cookies)
{
    auto page = std::make_unique<RecordingPage>();
    const QUrl url(m_service.webUrl(path));
    if (!cookies.isEmpty())
        page->networkAccessManager()->cookieJar()->setCookiesFromUrl(cookies, url);
    if (bridge) {
        QWebFrame *frame = page->mainFrame();
        connect(frame, &QWebFrame::javaScriptWindowObjectCleared, bridge,
                [frame, bridgeName, bridge] {
                    frame->addToJavaScriptWindowObject(bridgeName, bridge);
                });
    }
    QSignalSpy loaded(page.get(), &QWebPage::loadFinished);
    page->mainFrame()->load(url);
    if (!loaded.wait(15000) || !loaded.first().first().toBool())
        return nullptr;
    return page;
}

void TestPages::everyPageDefinesItsFunctions()
{
    QVERIFY(m_service.reset());
    QStringList served;
    const QJsonArray listed = m_service.control("GET", QStringLiteral("/pages"))
                                  .object()
                                  .value(QLatin1String("pages"))
                                  .toArray();
    for (const QJsonValue &p : listed)
        served.append(p.toObject().value(QLatin1String("path")).toString());

    int loads = 0;
    for (const PageContract &c : contract()) {
        QVERIFY2(served.contains(c.path.section(QLatin1Char('?'), 0, 0)), qPrintable(c.path));
        auto page = load(c.path);
        QVERIFY2(page, qPrintable(QStringLiteral("page did not load: ") + c.path));
        for (const QString &f : c.functions)
            QVERIFY2(js(page.get(), QStringLiteral("typeof window.") + f).toString() ==
                         QLatin1String("function"),
                     qPrintable(c.path + QStringLiteral(" lacks ") + f));
        // Each page tells the service it loaded (keep it open until that arrived).
        ++loads;
        QTRY_COMPARE(m_service.events(QStringLiteral("load")).size(), loads);
        QVERIFY2(page->messages.isEmpty(), qPrintable(c.path + QStringLiteral(": ") +
                                                      page->messages.join(QLatin1Char('\n'))));
    }
    QCOMPARE(served.size(), contract().size());
    // None reported a script error.
    QCOMPARE(m_service.control("GET", QStringLiteral("/events?kind=error"))
                 .object()
                 .value(QLatin1String("events"))
                 .toArray()
                 .size(),
             0);
}

void TestPages::liveItemsRenderAsTextInTheUsersZone()
{
    QVERIFY(m_service.reset());
    // Eight hours behind the service's clock.
    auto page =
        load(QString(Pages::Expresslive), {}, nullptr, {QNetworkCookie("setLanguage", "-8")});
    QVERIFY(page);

    const QString title = QStringLiteral(
        "<img src=x onerror=\"window.pwned=1\">'); window.pwned=2; ('</script>&lt;b&gt;黄金\u2028");
    const QString hostile =
        itemText({{QStringLiteral("id"), 5},
                  {QStringLiteral("vek_news_type"), QStringLiteral("FBN")},
                  {QStringLiteral("title"), title},
                  {QStringLiteral("time"), QStringLiteral("2026-12-07 15:30:00")},
                  {QStringLiteral("importance"), 1}});
    const QString plain =
        itemText({{QStringLiteral("id"), 6},
                  {QStringLiteral("vek_news_type"), QStringLiteral("Oil")},
                  {QStringLiteral("title"), QStringLiteral("原油")},
                  {QStringLiteral("time"), QStringLiteral("2026-12-07 01:05:00")}});
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    js(page.get(), JsLiteral::call(QString(Pages::OutputMsg), {hostile}));
    js(page.get(), JsLiteral::call(QString(Pages::OutputMsg), {plain}));
    js(page.get(), JsLiteral::call(QString(Pages::OutputMsg), {QStringLiteral("not json at all")}));

    const QString first = QStringLiteral("document.querySelectorAll('#list li')[2]");
    QCOMPARE(
        js(page.get(), QStringLiteral("document.querySelectorAll('#list img, #list b').length"))
            .toInt(),
        0);
    QCOMPARE(js(page.get(), QStringLiteral("typeof window.pwned")).toString(),
             QStringLiteral("undefined"));
    QCOMPARE(
        js(page.get(), first + QStringLiteral(".querySelector('.title').textContent")).toString(),
        QString(title).replace(QStringLiteral("&lt;b&gt;"), QStringLiteral("<b>")));
    QVERIFY(js(page.get(), first + QStringLiteral(".className"))
                .toString()
                .contains(QLatin1String("important")));
    QCOMPARE(
        js(page.get(), first + QStringLiteral(".querySelector('.time').textContent")).toString(),
        QStringLiteral("07:30"));
    QCOMPARE(js(page.get(),
                QStringLiteral(
                    "document.querySelectorAll('#list li')[1].querySelector('.date').textContent"))
                 .toString(),
             QStringLiteral("2026-12-06")); // the shift crosses midnight

    // The filter hides what is not listed; the unparsable text is kept, shown as text.
    // Codes are data: names of object members filter like any other code.
    js(page.get(),
       JsLiteral::call(QString(Pages::ShowType), {QStringLiteral(",Oil,hasOwnProperty")}));
    QCOMPARE(
        js(page.get(), QStringLiteral("document.getElementById('filter').textContent")).toString(),
        QStringLiteral("显示：原油 · hasOwnProperty"));
    QCOMPARE(
        js(page.get(), QStringLiteral("document.querySelectorAll('#list li')[1].style.display"))
            .toString(),
        QString());
    QCOMPARE(js(page.get(), first + QStringLiteral(".style.display")).toString(),
             QStringLiteral("none"));
    QCOMPARE(js(page.get(), QStringLiteral("document.querySelector('#list li .raw').textContent"))
                 .toString(),
             QStringLiteral("not json at all"));

    // An empty list wants no category at all: nothing is shown.
    js(page.get(), JsLiteral::call(QString(Pages::ShowType), {QString()}));
    QCOMPARE(
        js(page.get(), QStringLiteral("var n = 0; var l = document.querySelectorAll('#list li');"
                                      "for (var i = 0; i < l.length; ++i) n += "
                                      "l[i].style.display === 'none' ? 0 : 1; n"))
            .toInt(),
        0);
    QCOMPARE(
        js(page.get(), QStringLiteral("document.getElementById('empty').className")).toString(),
        QStringLiteral("empty"));
    js(page.get(), JsLiteral::call(QString(Pages::ShowType), {QStringLiteral(",Oil")}));

    QCOMPARE(js(page.get(), JsLiteral::call(QString(Pages::GetNewsData))).toString(),
             QStringLiteral("not json at all--news--") + plain + QStringLiteral("--news--") +
                 hostile);

    // The service saw the exact text, with the page's own clock.
    QTRY_COMPARE(m_service.events(QString(Pages::OutputMsg)).size(), 3);
    const QJsonObject e = m_service.events(QString(Pages::OutputMsg)).first().toObject();
    QCOMPARE(e.value(QLatin1String("args")).toArray().first().toString(), hostile);
    QCOMPARE(e.value(QLatin1String("path")).toString(), QString(Pages::Expresslive));
    const qint64 time = qint64(e.value(QLatin1String("time")).toDouble());
    QVERIFY(time >= before && time <= QDateTime::currentMSecsSinceEpoch());
    QVERIFY2(page->messages.isEmpty(), qPrintable(page->messages.join(QLatin1Char('\n'))));
}

void TestPages::popupCardReportsCallsAndCallsItsBridge()
{
    QVERIFY(m_service.reset());
    BridgeRecorder popconjs;
    auto page = load(QString(Pages::Wicket), QString(Pages::PopupBridge), &popconjs);
    QVERIFY(page);
    const QString item =
        itemText({{QStringLiteral("id"), 42},
                  {QStringLiteral("vek_news_type"), QStringLiteral("ES")},
                  {QStringLiteral("country"), QStringLiteral("美国")},
                  {QStringLiteral("eventname"), QStringLiteral("非农就业人口")},
                  {QStringLiteral("star"), 5},
                  {QStringLiteral("currency"), QStringLiteral("利多美元")},
                  {QStringLiteral("time"), QStringLiteral("2026-12-07 21:30:00")}});
    js(page.get(), JsLiteral::call(QString(Pages::Iojieshou), {item}));
    QCOMPARE(js(page.get(), QStringLiteral("document.querySelector('#list li .notes').textContent"))
                 .toString(),
             QStringLiteral(" 【利多美元】"));
    QVERIFY(js(page.get(), QStringLiteral("document.querySelector('#list li').className"))
                .toString()
                .contains(QLatin1String("important")));
    js(page.get(), QStringLiteral("document.querySelector('#list li').onclick()"));
    js(page.get(), QStringLiteral("document.getElementById('hide').onclick()"));
    QCOMPARE(popconjs.calls,
             QStringList({QStringLiteral("achieveid(42)"), QStringLiteral("windowNeedHide()")}));
    js(page.get(), JsLiteral::call(QString(Pages::DelNews)));
    QCOMPARE(js(page.get(), QStringLiteral("document.querySelectorAll('#list li').length")).toInt(),
             0);

    QTRY_COMPARE(m_service.events(QString(Pages::DelNews)).size(), 1);
    const QJsonArray all = m_service.control("GET", QStringLiteral("/events?path=%2Fwicket"))
                               .object()
                               .value(QLatin1String("events"))
                               .toArray();
    QStringList order;
    for (const QJsonValue &v : all)
        order.append(v.toObject().value(QLatin1String("function")).toString());
    QCOMPARE(order,
             QStringList({QStringLiteral("load"), QStringLiteral("iojieshou"),
                          QStringLiteral("Popconjs.achieveid"),
                          QStringLiteral("Popconjs.windowNeedHide"), QStringLiteral("delNews")}));
}

void TestPages::loginPagesCallTheWindow()
{
    QVERIFY(m_service.reset());
    BridgeRecorder window;
    auto login = load(QString(Pages::Login), QString(Pages::LoginBridge), &window);
    QVERIFY(login);
    js(login.get(), QStringLiteral("document.getElementById('email').value = 'demo@korvex.test';"
                                   "document.getElementById('password').value = 'korvex123';"
                                   "document.getElementById('submit').onclick();"));
    QTRY_COMPARE(window.calls,
                 QStringList(QStringLiteral("loginSuccess(1|演示用户|demo@korvex.test|1|1)")));

    window.calls.clear();
    auto check = load(QString(Pages::RegActive), QString(Pages::LoginBridge), &window);
    QVERIFY(check);
    js(check.get(),
       JsLiteral::call(QString(Pages::GetEmial), {QStringLiteral("pending@korvex.test")}));
    QTRY_VERIFY(js(check.get(), QStringLiteral("document.getElementById('hint').textContent"))
                    .toString()
                    .contains(QLatin1String("135790")));
    js(check.get(), QStringLiteral("document.getElementById('code').value = '135790';"
                                   "document.getElementById('submit').onclick();"));
    QTRY_COMPARE(window.calls, QStringList(QStringLiteral(
                                   "regVerifySuccess(1|待激活用户|pending@korvex.test|0)")));
    QVERIFY(login->messages.isEmpty() && check->messages.isEmpty());
}

void TestPages::webKitClientScriptReceivesItemsOverPolling()
{
    // The socket.io client file the listener compiles in, run by QtWebKit.
    const QString client = TestSupport::sourceDir() +
                           QStringLiteral("/node_modules/socket.io-client/dist/socket.io.min.js");
    QVERIFY2(QFile::exists(client), qPrintable(client));
    const QList<int> ports = m_service.newsPorts();
    QCOMPARE(ports.size(), 3);
    const QStringList items{
        itemText({{QStringLiteral("title"), QStringLiteral("[快讯]人民币中间价调升")}}),
        itemText({{QStringLiteral("title"), QStringLiteral("现货黄金 ' \\ \" 测试")}})};
    for (int port : ports) {
        RecordingPage page;
        page.settings()->setAttribute(QWebSettings::LocalContentCanAccessRemoteUrls, true);
        QSignalSpy loaded(&page, &QWebPage::loadFinished);
        page.mainFrame()->setHtml(
            QStringLiteral("<html><head><script src=\"socket.io.min.js\"></script>"
                           "</head><body></body></html>"),
            QUrl::fromLocalFile(client));
        QVERIFY(loaded.count() > 0 || loaded.wait(10000)); // setHtml may finish at once
        js(&page, QStringLiteral("window.got = []; window.up = false;"
                                 "var s = io('http://127.0.0.1:%1', {transports: ['polling']});"
                                 "s.on('connect', function () { window.up = true; });"
                                 "s.on('pushToWebClient', function (d) { window.got.push(d); });")
                      .arg(port));
        QTRY_VERIFY_WITH_TIMEOUT(js(&page, QStringLiteral("window.up")).toBool(), 10000);
        for (const QString &item : items)
            QVERIFY(m_service.push(item));
        QTRY_COMPARE_WITH_TIMEOUT(js(&page, QStringLiteral("window.got.length")).toInt(), 2, 10000);
        QCOMPARE(js(&page, QStringLiteral("window.got")).toStringList(), items);
        js(&page, QStringLiteral("s.close()"));
        QVERIFY2(page.messages.isEmpty(), qPrintable(page.messages.join(QLatin1Char('\n'))));
    }
}

QTEST_MAIN(TestPages)
#include "tst_pages.moc"
