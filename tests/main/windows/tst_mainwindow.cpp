#include "mainwindow.h"
#include "inprocessclient.h"
#include "mainwindowpages.h"
#include "pagejars.h"
#include "toolbarwindow.h"

#include "settings/configstore.h"
#include "pages/webhost.h"
#include "servicefixture.h"

#include <QPushButton>
#include <QtTest>

#include <ctime>
#include <memory>

using Korvex::MainWindow;

// The real main window, built in this test's private store and data folders.
class TestMainWindow final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void firstStartTakesTheDefaults();
    void storedSettingsReachTheWindow();
    void pageJarsAreSavedAfterEachLoad();
    void tickerIsShownAndHiddenAsChosen();

private:
    TestSupport::InProcessClient m_client;
};

void TestMainWindow::initTestCase()
{
    // No companion program: the window is what is tested here.
    QString error;
    QVERIFY2(m_client.start(TestSupport::InProcessClient::Plain, &error), qPrintable(error));
}

void TestMainWindow::init()
{
    QFile::remove(TestSupport::storePath());
}

void TestMainWindow::firstStartTakesTheDefaults()
{
    qputenv("TZ", "Asia/Kathmandu");
    tzset();
    auto window = std::make_unique<MainWindow>();
    qunsetenv("TZ");
    tzset();

    QCOMPARE(window->clientState().subscriptionMask(), 0xffffffu);
    QCOMPARE(window->clientState().timeZoneValue(), QStringLiteral("-2.25"));
    QCOMPARE(window->clientState().funcSettings().popupNewsFeed, 0xffffffu);
    QCOMPARE(window->clientState().funcSettings().second, 10);
    QVERIFY(window->toolBarWindowWasShown());
    QCOMPARE(Korvex::readConfig(QStringLiteral("general_language"),
                                {QStringLiteral("timeZone_index"), QStringLiteral("dst_index")}),
             QStringList({QStringLiteral("23"), QStringLiteral("0")}));
    QVERIFY(
        Korvex::readConfig(QStringLiteral("customMenu"), {QStringLiteral("value")}).at(0).isNull());
}

void TestMainWindow::storedSettingsReachTheWindow()
{
    TestSupport::storeThisVersion();
    Korvex::writeConfig(QStringLiteral("customMenu"), {QStringLiteral("value")},
                        {QStringLiteral("ffff7f")});
    Korvex::writeConfig(QStringLiteral("funcorder_part1"),
                        {QStringLiteral("toolBarWindow"), QStringLiteral("sound")},
                        {QStringLiteral("0"), QStringLiteral("2")});
    TestSupport::storeZone(14, 1);

    auto window = std::make_unique<MainWindow>();

    QCOMPARE(window->clientState().subscriptionMask(), 0xffff7fu);
    QCOMPARE(window->clientState().timeZoneValue(), QStringLiteral("-7"));
    QVERIFY(window->clientState().funcSettings().sound == Korvex::SoundSetting::Notify);
    QVERIFY(!window->toolBarWindowWasShown());
}

// Each page's jar holds the time-zone cookie for the address it loads, placed
// before the load; after the loads the store keeps only the cookies the next
// start restores, nothing of earlier runs' other pages.
void TestMainWindow::pageJarsAreSavedAfterEachLoad()
{
    ServiceFixture &service = m_client.service;
    QString error;
    QVERIFY2(service.start(&error), qPrintable(error));
    Korvex::setWebHost(service.webUrl(QString()));
    Korvex::writeConfig(QStringLiteral("cookies/webview_mini"), {QStringLiteral("earlier")},
                        {QStringLiteral("gone")});
    TestSupport::storeZone(14, 0);

    auto window = std::make_unique<MainWindow>();
    const QString before = QStringLiteral("-8");
    QCOMPARE(window->clientState().timeZoneValue(), before);
    const auto hasZone = [&](const char *jar, const char *path) {
        return TestSupport::jarHasZone(window->pageJars()->jar(QLatin1String(jar)),
                                       Korvex::webHost() + QLatin1String(path), before);
    };
    QVERIFY(hasZone("webview_kuaixunzhibo", "/Expresslive"));
    QVERIFY(hasZone("webview_caijingrili", "/Ecrilicalendar"));
    QVERIFY(hasZone("webview_mini", "/minipage"));
    QTRY_VERIFY_WITH_TIMEOUT(
        !Korvex::readConfig(QStringLiteral("cookies/webview_cnzz"), {QStringLiteral("kvx_visitor")})
             .at(0)
             .isEmpty(),
        20000);
    QSettings store(Korvex::organizationName(), Korvex::applicationName());
    store.beginGroup(QStringLiteral("cookies"));
    for (const QString &key : store.allKeys())
        QVERIFY2(
            QStringList({QStringLiteral("webview_2/kvx_site"), QStringLiteral("webview_2/dyue"),
                         QStringLiteral("webview_cnzz/kvx_visitor")})
                .contains(key),
            qPrintable(key));

    // A change of zone reaches every jar: tst_contentpages.
    window.reset();
    service.stop();
}

// The ticker closed by its own cross comes back by its button on the main
// window, and each choice holds at the next start, also one left in mini mode.
void TestMainWindow::tickerIsShownAndHiddenAsChosen()
{
    const QStringList key{QStringLiteral("toolBarWindow")};
    auto window = std::make_unique<MainWindow>();
    QVERIFY(window->isToolBarWindowShown());
    auto *button = window->findChild<QPushButton *>(QStringLiteral("button3_toolBarWindow"));
    QVERIFY(button && !button->isHidden());
    window->toolBarWindow()->findChild<QPushButton *>(QStringLiteral("button_close"))->click();
    QVERIFY(!window->isToolBarWindowShown());
    window->vekQuit();
    QCOMPARE(Korvex::readConfig(QStringLiteral("funcorder_part1"), key),
             QStringList{QStringLiteral("0")});
    window.reset();

    window = std::make_unique<MainWindow>();
    QVERIFY(!window->isToolBarWindowShown());
    window->findChild<QPushButton *>(QStringLiteral("button3_toolBarWindow"))->click();
    QVERIFY(window->isToolBarWindowShown());
    window->onBtn3MiniMoshiClicked();
    QVERIFY(!window->toolBarWindow()->isVisible());
    window->vekQuit();
    QCOMPARE(Korvex::readConfig(QStringLiteral("funcorder_part1"), key),
             QStringList{QStringLiteral("1")});
    window.reset();
    QVERIFY(std::make_unique<MainWindow>()->isToolBarWindowShown());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
