// The main program on screens of 96, 120 and 144 DPI (one run each, the X
// server set to that DPI): every window, its pages and its text are the
// 96-DPI sizes times DPI / 96 on the screen, and at 96 DPI nothing changes.
// Sizes are read back from the X server, pages from a screenshot.
#include "mainwindow.h"
#include "everywindow.h"
#include "inprocessclient.h"

#include "desktopinput.h"
#include "desktop/highdpi.h"
#include "loginformwindow.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace
{

// Where the X server has a top-level widget's window, in the display's own
// pixels. Its X window now: a change of its flags (raising it to the front does
// that) makes a new one, which winId() does not always follow.
QRect nativeGeometry(const QWidget *window)
{
    return TestSupport::screenGeometry(window->windowHandle() ? window->windowHandle()->winId()
                                                              : window->winId());
}

// The whole screen as the X server shows it.
QImage screenshot()
{
    QProcess import;
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    if (!import.waitForFinished(10000))
        return {};
    return QImage::fromData(import.readAllStandardOutput(), "PNG");
}

// Bounds of the pixels of exactly `colour` inside `area`.
QRect colourBox(const QImage &image, const QRect &area, QRgb colour)
{
    QRect box;
    const QRect bounded = area.intersected(image.rect());
    for (int y = bounded.top(); y <= bounded.bottom(); ++y) {
        for (int x = bounded.left(); x <= bounded.right(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class TestHighDpi final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void programScalesByTheScreensDpi();
    void everyWindowIsItsSizeAtNinetySixTimesTheFactor_data();
    void everyWindowIsItsSizeAtNinetySixTimesTheFactor();
    void pagesAreDrawnLargerWithTheSameLayout_data();
    void pagesAreDrawnLargerWithTheSameLayout();
    void textKeepsItsSizeInTheWindowsPixels();
    // Last: KORVEX_SCREENSHOT_DIR=FOLDER keeps the main window and the login
    // window each alone on the screen, to look at.
    void screenshotsOfSingleWindows();

private:
    // KORVEX_SCREENSHOT_DIR=FOLDER keeps the screen as NAME_<dpi>.png there.
    void keepScreenshot(const QString &name) const;
    QWidget *window(const QString &name) const { return m_windows.window(name); }

    TestSupport::InProcessClient m_client;
    TestSupport::EveryWindow m_windows;
    int m_dpi = 96;
    double m_factor = 1.0;
};

void TestHighDpi::initTestCase()
{
    m_dpi = qEnvironmentVariableIntValue("KORVEX_TEST_DPI");
    QVERIFY2(m_dpi > 0, "KORVEX_TEST_DPI tells the X server's DPI");
    m_factor = m_dpi / 96.0;

    QString error;
    QVERIFY2(m_client.start(TestSupport::InProcessClient::WithService |
                                TestSupport::InProcessClient::English,
                            &error),
             qPrintable(error));
    // Logged in, so a news item opens in its own window.
    TestSupport::storeLoggedIn();
    QVERIFY(m_windows.open());
}

void TestHighDpi::cleanupTestCase()
{
    m_windows.close();
    m_client.service.stop();
}

void TestHighDpi::keepScreenshot(const QString &name) const
{
    TestSupport::keepScreenshot(name + QLatin1Char('_') + QString::number(m_dpi));
}

void TestHighDpi::programScalesByTheScreensDpi()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    QCOMPARE(screen->devicePixelRatio(), m_factor);
    // In the windows' own pixels the screen is the 96-DPI one, and so is its DPI,
    // so a 12-point font has the pixels it has at 96 DPI (and grows on the screen).
    QCOMPARE(screen->geometry().size(), QSize(1280, 1024));
    QVERIFY2(qAbs(screen->logicalDotsPerInch() - 96.0) < 1.0,
             qPrintable(QString::number(screen->logicalDotsPerInch())));
    // The companions (which scale themselves) do not inherit the factor.
    QVERIFY(!qEnvironmentVariableIsSet("QT_SCREEN_SCALE_FACTORS"));
    QVERIFY(!qEnvironmentVariableIsSet("QT_SCALE_FACTOR"));
}

void TestHighDpi::everyWindowIsItsSizeAtNinetySixTimesTheFactor_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("at96");
    // The windows' sizes on a 96-DPI screen (1280 x 1024).
    QTest::newRow("main window") << QStringLiteral("main") << QSize(1045, 700);
    QTest::newRow("ticker") << QStringLiteral("ticker") << QSize(600, 27);
    QTest::newRow("settings") << QStringLiteral("settings") << QSize(527, 622);
    QTest::newRow("login") << QStringLiteral("login") << QSize(509, 411);
    QTest::newRow("notice") << QStringLiteral("notice") << QSize(327, 310);
    QTest::newRow("content") << QStringLiteral("content") << QSize(637, 505);
    QTest::newRow("mini") << QStringLiteral("mini") << QSize(256, 1024);
    QTest::newRow("close dialog") << QStringLiteral("close") << QSize(412, 268);
    QTest::newRow("about") << QStringLiteral("about") << QSize(484, 328);
    QTest::newRow("alternative title bar") << QStringLiteral("macbar") << QSize(1045, 56);
}

void TestHighDpi::everyWindowIsItsSizeAtNinetySixTimesTheFactor()
{
    QFETCH(QString, name);
    QFETCH(QSize, at96);
    QWidget *shown = window(name);
    QVERIFY(shown && shown->isVisible());
    const QSize expected(qRound(at96.width() * m_factor), qRound(at96.height() * m_factor));
    QTRY_COMPARE(nativeGeometry(shown).size(), expected);
    // In its own pixels the window is as large as at 96 DPI.
    QCOMPARE(shown->size(), at96);
}

void TestHighDpi::pagesAreDrawnLargerWithTheSameLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("login page") << QStringLiteral("login");
    QTest::newRow("live page") << QStringLiteral("main");
}

void TestHighDpi::pagesAreDrawnLargerWithTheSameLayout()
{
    QFETCH(QString, name);
    QWidget *shown = window(name);
    QWebView *view = name == QLatin1String("login")
                         ? m_windows.main()->loginWindow()->pageView()
                         : shown->findChild<QWebView *>(QStringLiteral("webView_kuaixunzhibo"));
    QVERIFY(view);
    QWebFrame *frame = view->page()->mainFrame();
    QTRY_VERIFY_WITH_TIMEOUT(
        frame->evaluateJavaScript(QStringLiteral("document.readyState")).toString() ==
                QLatin1String("complete") &&
            view->url().host() == QLatin1String("127.0.0.1"),
        20000);
    shown->raise();
    // The page lays out in the window's pixels: as wide as at 96 DPI.
    QCOMPARE(frame->evaluateJavaScript(QStringLiteral("window.innerWidth")).toInt(), view->width());
    // A 100 x 40 block of the page covers 100 x 40 times the factor of the screen.
    frame->evaluateJavaScript(QStringLiteral(
        "var probe = document.createElement('div');"
        "probe.style.cssText = 'position:fixed;left:20px;top:20px;width:100px;height:40px;"
        "background:#ff00fe;z-index:99999';"
        "document.body.appendChild(probe);"));
    const QRect area = nativeGeometry(shown);
    QRect box;
    QTRY_VERIFY_WITH_TIMEOUT((box = colourBox(screenshot(), area, qRgb(255, 0, 254))).isValid(),
                             10000);
    keepScreenshot(name);
    // Within a pixel: a block that starts at a fraction of a screen pixel has a
    // blended edge, which is not of the block's exact colour.
    const QSize expected(qRound(100 * m_factor), qRound(40 * m_factor));
    QVERIFY2(qAbs(box.width() - expected.width()) <= 1 &&
                 qAbs(box.height() - expected.height()) <= 1,
             qPrintable(QStringLiteral("%1x%2").arg(box.width()).arg(box.height())));
    frame->evaluateJavaScript(QStringLiteral("document.body.removeChild(probe);"));
}

void TestHighDpi::textKeepsItsSizeInTheWindowsPixels()
{
    // The login window's title: 12 points, 16 of the window's pixels at every DPI.
    auto *title =
        m_windows.main()->loginWindow()->findChild<QLabel *>(QStringLiteral("loginLabel"));
    QCOMPARE(QFontInfo(title->font()).pixelSize(), 16);
}

void TestHighDpi::screenshotsOfSingleWindows()
{
    if (qEnvironmentVariableIsEmpty("KORVEX_SCREENSHOT_DIR"))
        QSKIP("no KORVEX_SCREENSHOT_DIR");
    for (const char *name : {"main", "login"}) {
        for (QWidget *top : QApplication::topLevelWidgets())
            top->hide();
        QWidget *shown = window(QLatin1String(name));
        shown->show();
        shown->move(0, 0);
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QTest::qWait(1500);
        keepScreenshot(QLatin1String(name) + QStringLiteral("_alone"));
    }
}

int main(int argc, char *argv[])
{
    // As the program does: the factor is chosen before the application object exists.
    Korvex::HighDpi::prepare();
    QApplication app(argc, argv);
    Korvex::HighDpi::releaseEnvironment();
    TestHighDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_highdpi.moc"
