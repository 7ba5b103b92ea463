#include "cookiestore.h"

#include "networkcookie.h"

#include <QSettings>
#include <QtTest>

namespace
{

const QString host = QStringLiteral("http://127.0.0.1:8080");

QSettings store()
{
    return QSettings(QStringLiteral("VEK"), QStringLiteral("Korvex_en_us"));
}

QNetworkCookie cookie(const char *name, const QString &value)
{
    return QNetworkCookie(QByteArray(name), value.toUtf8());
}

QString valueFor(const NetworkCookie &jar, const QString &url, const char *name)
{
    const QList<QNetworkCookie> cookies = jar.cookiesForUrl(QUrl(url));
    for (const QNetworkCookie &c : cookies) {
        if (c.name() == name)
            return QString::fromUtf8(c.value());
    }
    return QString();
}

} // namespace

class TestCookieStore final : public QObject
{
    Q_OBJECT
private slots:
    void init() { store().clear(); }
    void savesNameAndValueLatestWinsAndNothingIsRemoved();
    void otherPagesSaveName_data();
    void otherPagesSaveName();
    void emptyStoreRestoresNothing();
    void dyueComesBackForArticle();
    void analyticsCookiesRestoredIntoTheirJars();
};

void TestCookieStore::savesNameAndValueLatestWinsAndNothingIsRemoved()
{
    NetworkCookie jar(nullptr);
    jar.setCookies({cookie("sid", QStringLiteral("1")), cookie("lang", QStringLiteral("汉,字"))},
                   QUrl(host + QStringLiteral("/Expresslive")));
    CookieStore::saveCookies(QStringLiteral("webview_kuaixunzhibo"), jar.getAllCookies());
    jar.setCookies({cookie("sid", QStringLiteral("2"))},
                   QUrl(host + QStringLiteral("/Expresslive")));
    CookieStore::saveCookies(QStringLiteral("webview_kuaixunzhibo"), jar.getAllCookies());
    // An empty jar writes nothing and leaves the old entries.
    CookieStore::saveCookies(QStringLiteral("webview_kuaixunzhibo"),
                             NetworkCookie(nullptr).getAllCookies());

    QSettings settings = store();
    settings.beginGroup(QStringLiteral("cookies/webview_kuaixunzhibo"));
    QCOMPARE(settings.value(QStringLiteral("sid")).toString(), QStringLiteral("2"));
    QCOMPARE(settings.value(QStringLiteral("lang")).toString(), QStringLiteral("汉,字"));
    QCOMPARE(settings.childKeys().size(), 2);
}

void TestCookieStore::otherPagesSaveName_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    QTest::newRow("quotes") << host + QStringLiteral("/hangqing")
                            << QStringLiteral("webview_hangqingzhongxin");
    QTest::newRow("industry") << host + QStringLiteral("/Industry")
                              << QStringLiteral("webview_hangyebaodao");
    QTest::newRow("analysis") << host + QStringLiteral("/Article")
                              << QStringLiteral("webview_meirifenxi");
    QTest::newRow("headlines") << host + QStringLiteral("/Index")
                               << QStringLiteral("webview_meiritoutiao");
    QTest::newRow("favourites") << host + QStringLiteral("/Expresslive/collect?email=a@b.c")
                                << QStringLiteral("webview_favourite");
    QTest::newRow("extra query") << host + QStringLiteral("/Article?page=2") << QString();
    QTest::newRow("other mailbox")
        << host + QStringLiteral("/Expresslive/collect?email=x@y.z") << QString();
    QTest::newRow("other host") << QStringLiteral("http://example.invalid/Article") << QString();
}

void TestCookieStore::otherPagesSaveName()
{
    QFETCH(QString, address);
    QFETCH(QString, name);
    QCOMPARE(CookieStore::otherPagesSaveName(host, address, QStringLiteral("a@b.c")), name);
}

void TestCookieStore::emptyStoreRestoresNothing()
{
    NetworkCookie advert(nullptr), other(nullptr), analytics(nullptr);
    CookieStore::restoreCookies(host, {&advert, &other, &analytics});
    QVERIFY(advert.getAllCookies().isEmpty());
    QVERIFY(other.getAllCookies().isEmpty());
    QVERIFY(analytics.getAllCookies().isEmpty());
    QVERIFY(store().allKeys().isEmpty());
}

void TestCookieStore::dyueComesBackForArticle()
{
    // Older stores only have it beside the advertisement cookies.
    CookieStore::saveCookies(QStringLiteral("webview_2"), {cookie("dyue", QStringLiteral("old"))});
    NetworkCookie fromOld(nullptr);
    CookieStore::restoreCookies(host, {nullptr, &fromOld, nullptr});
    QCOMPARE(valueFor(fromOld, host + QStringLiteral("/Article"), "dyue"), QStringLiteral("old"));

    // What the quit routine stores takes precedence.
    CookieStore::saveDyue(
        {cookie("other", QStringLiteral("x")), cookie("dyue", QStringLiteral("new"))});
    NetworkCookie other(nullptr);
    CookieStore::restoreCookies(host, {nullptr, &other, nullptr});
    QCOMPARE(other.getAllCookies().size(), 1);
    QCOMPARE(valueFor(other, host + QStringLiteral("/Article"), "dyue"), QStringLiteral("new"));
    QCOMPARE(other.getAllCookies().first().domain(), QStringLiteral("127.0.0.1"));
}

void TestCookieStore::analyticsCookiesRestoredIntoTheirJars()
{
    CookieStore::saveCookies(
        QStringLiteral("webview_2"),
        {cookie(CookieStore::AdvertVisitorCookie.data(), QStringLiteral("v1"))});
    CookieStore::saveCookies(QStringLiteral("webview_cnzz"),
                             {cookie(CookieStore::StatVisitorCookie.data(), QStringLiteral("v2"))});
    NetworkCookie advert(nullptr), analytics(nullptr);
    CookieStore::restoreCookies(host, {&advert, nullptr, &analytics});
    QCOMPARE(valueFor(advert, host + QStringLiteral("/index/gg"),
                      CookieStore::AdvertVisitorCookie.data()),
             QStringLiteral("v1"));
    QCOMPARE(valueFor(analytics, host + QStringLiteral("/encnzzwin"),
                      CookieStore::StatWindowCookie.data()),
             QStringLiteral("v2"));
}

QTEST_GUILESS_MAIN(TestCookieStore)
#include "tst_cookiestore.moc"
