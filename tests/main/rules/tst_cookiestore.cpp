#include "pages/cookiestore.h"

#include "networkcookie.h"

#include <QSettings>
#include <QtTest>

#include <sys/inotify.h>
#include <unistd.h>

namespace CookieStore = Korvex::CookieStore;

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

QString valueFor(const Common::NetworkCookie &jar, const QString &url, const char *name)
{
    const QList<QNetworkCookie> cookies = jar.cookiesForUrl(QUrl(url));
    for (const QNetworkCookie &c : cookies) {
        if (c.name() == name)
            return QString::fromUtf8(c.value());
    }
    return QString();
}

// Counts the saves of the store's file since the last count, as the kernel saw
// them: a save writes a new file and renames it over the old one. (Merely
// opening it for writing, as the store does to see whether it may, is no save.)
class StoreWrites
{
public:
    explicit StoreWrites(const QString &path)
        : m_name(QFile::encodeName(QFileInfo(path).fileName()))
        , m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        inotify_add_watch(m_fd, QFile::encodeName(QFileInfo(path).path()).constData(), IN_MOVED_TO);
    }
    ~StoreWrites() { ::close(m_fd); }
    int count()
    {
        int writes = 0;
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t got; (got = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (ssize_t at = 0; at < got;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                if (event->len > 0 && m_name == event->name)
                    ++writes;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return writes;
    }

private:
    QByteArray m_name;
    int m_fd;
};

} // namespace

class TestCookieStore final : public QObject
{
    Q_OBJECT
private slots:
    void init() { store().clear(); }
    void savesOnlyRestoredCookiesInOneWrite();
    void otherPagesSaveName_data();
    void otherPagesSaveName();
    void emptyStoreRestoresNothing();
    void dyueComesBackForArticle();
    void analyticsCookiesRestoredIntoTheirJars();
};

// 300 cookies of an advertisement page: only the one the next start restores
// is written, in one write of the store; keys that nothing reads (an earlier
// version wrote every cookie of every page) go at start-up; the file is the
// user's alone.
void TestCookieStore::savesOnlyRestoredCookiesInOneWrite()
{
    {
        QSettings earlier = store();
        for (int i = 0; i < 300; ++i)
            earlier.setValue(QStringLiteral("cookies/webview_kuaixunzhibo/c%1").arg(i), i);
        earlier.setValue(QStringLiteral("cookies/webview_2/c1"), 1);
        earlier.setValue(QStringLiteral("cookies/dyue"), QStringLiteral("d"));
    }
    CookieStore::restoreCookies(host, {});
    QCOMPARE(store().allKeys(), QStringList{QStringLiteral("cookies/dyue")});

    Common::NetworkCookie jar(nullptr);
    QList<QNetworkCookie> many;
    for (int i = 0; i < 300; ++i)
        many << cookie(QStringLiteral("c%1").arg(i).toLatin1().constData(), QString::number(i));
    many << cookie(CookieStore::AdvertVisitorCookie.data(), QStringLiteral("汉,字"));
    jar.setCookies(many, QUrl(host + QStringLiteral("/index/gg")));
    QCOMPARE(jar.getAllCookies().size(), 301);

    StoreWrites writes(store().fileName());
    CookieStore::saveCookies(QStringLiteral("webview_2"), jar.getAllCookies());
    CookieStore::saveCookies(QStringLiteral("webview_kuaixunzhibo"), jar.getAllCookies());
    QCOMPARE(writes.count(), 1);
    QCOMPARE(store().allKeys(), (QStringList{QStringLiteral("cookies/dyue"),
                                             QStringLiteral("cookies/webview_2/kvx_site")}));
    QCOMPARE(store().value(QStringLiteral("cookies/webview_2/kvx_site")).toString(),
             QStringLiteral("汉,字"));
    // Owner, group and others (the "user" bits repeat whichever of them applies).
    QCOMPARE(QFileInfo(store().fileName()).permissions() & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner);

    // Unchanged: no write. The latest value wins; an empty jar leaves it.
    CookieStore::saveCookies(QStringLiteral("webview_2"), jar.getAllCookies());
    QCOMPARE(writes.count(), 0);
    CookieStore::saveCookies(
        QStringLiteral("webview_2"),
        {cookie(CookieStore::AdvertVisitorCookie.data(), QStringLiteral("2"))});
    CookieStore::saveCookies(QStringLiteral("webview_2"), {});
    QCOMPARE(store().value(QStringLiteral("cookies/webview_2/kvx_site")).toString(),
             QStringLiteral("2"));
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
    Common::NetworkCookie advert(nullptr), other(nullptr), analytics(nullptr);
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
    Common::NetworkCookie fromOld(nullptr);
    CookieStore::restoreCookies(host, {nullptr, &fromOld, nullptr});
    QCOMPARE(valueFor(fromOld, host + QStringLiteral("/Article"), "dyue"), QStringLiteral("old"));

    // What the quit routine stores takes precedence.
    CookieStore::saveDyue(
        {cookie("other", QStringLiteral("x")), cookie("dyue", QStringLiteral("new"))});
    Common::NetworkCookie other(nullptr);
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
    Common::NetworkCookie advert(nullptr), analytics(nullptr);
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
