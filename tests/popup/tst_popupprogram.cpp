#include "desktopinput.h"
#include "protocol.h"
#include "recordingserver.h"
#include "servicefixture.h"
#include "testsupport.h"

#include <QGuiApplication>
#include <QImage>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QtTest>

#include <functional>
#include <memory>

namespace
{

bool near(QRgb pixel, int r, int g, int b)
{
    return qAbs(qRed(pixel) - r) <= 4 && qAbs(qGreen(pixel) - g) <= 4 &&
           qAbs(qBlue(pixel) - b) <= 4;
}

// Bounding box of the pixels of one colour within `area` of the screen.
QRect colourBox(const QImage &screen, const QRect &area, int r, int g, int b)
{
    QRect box;
    const QRect within = area & screen.rect();
    for (int y = within.top(); y <= within.bottom(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(screen.constScanLine(y));
        for (int x = within.left(); x <= within.right(); ++x) {
            if (near(line[x], r, g, b))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

// Real vek_popup programs under X, with this test as the main program and the
// stand-in service serving the pop-up page.
class TestPopupProgram final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void endToEndAsTheMainProgram();
    void secondProgramReportsItselfAndTheFirstKeepsReceiving();
    void pointerOverThePopupHoldsItPastItsTime();

private:
    QProcess *startPopup();
    void connectAsTheMainProgram(QLocalSocket &toPopup);
    // Where the pop-up stands at 96 DPI: 300 x 318 in the lower-right corner.
    static QRect cornerRect();
    // Its close button as drawn within `expected`, or an empty box when not there.
    QRect closeButtonAt(const QRect &expected, QImage *shot = nullptr) const;
    QStringList shownItems();
    void click(const QPoint &at);
    QImage screen() const;

    ServiceFixture m_service;
    std::unique_ptr<TestSupport::RecordingServer> m_main;
    QList<QProcess *> m_processes;
    QHash<QProcess *, QByteArray> m_stderr;
};

void TestPopupProgram::initTestCase()
{
    QString error;
    QVERIFY2(m_service.start(&error), qPrintable(error));
}

void TestPopupProgram::init()
{
    QVERIFY(m_service.reset());
    m_main = std::make_unique<TestSupport::RecordingServer>(Protocol::mainSocketName());
    QVERIFY(m_main->listening);
}

void TestPopupProgram::cleanup()
{
    for (QProcess *process : qAsConst(m_processes)) {
        if (QTest::currentTestFailed())
            qWarning().noquote() << "vek_popup said:\n"
                                 << QString::fromUtf8(m_stderr.value(process));
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished(5000);
        }
        delete process;
    }
    m_processes.clear();
    m_stderr.clear();
    m_main.reset();
}

QProcess *TestPopupProgram::startPopup()
{
    auto *process = new QProcess;
    m_processes << process;
    connect(process, &QProcess::readyReadStandardError, this,
            [this, process] { m_stderr[process] += process->readAllStandardError(); });
    process->start(TestSupport::binDir() + QStringLiteral("/vek_popup"),
                   {QStringLiteral("-host"), m_service.webUrl(QString())});
    return process;
}

// Item texts the pop-up page was handed, in order.
QStringList TestPopupProgram::shownItems()
{
    QStringList items;
    const QJsonArray events = m_service.events(QStringLiteral("iojieshou"));
    for (const QJsonValue &event : events) {
        if (event.toObject().value(QStringLiteral("path")).toString() == QLatin1String("/wicket"))
            items << event.toObject().value(QStringLiteral("args")).toArray().at(0).toString();
    }
    return items;
}

void TestPopupProgram::click(const QPoint &at)
{
    QCOMPARE(
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("mousemove"), QString::number(at.x()),
                           QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")}),
        0);
}

void TestPopupProgram::connectAsTheMainProgram(QLocalSocket &toPopup)
{
    toPopup.connectToServer(Protocol::popupSocketName());
    QVERIFY(toPopup.waitForConnected(1000));
    QVERIFY(Protocol::sendMessage(&toPopup, Protocol::popupHelloMessage(QStringLiteral("0"))));
}

QRect TestPopupProgram::cornerRect()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    return QRect(area.right() + 1 - 300, area.bottom() + 1 - 318, 300, 318);
}

QRect TestPopupProgram::closeButtonAt(const QRect &expected, QImage *shot) const
{
    const QImage image = screen();
    if (shot)
        *shot = image;
    const QRect titleStrip(expected.topLeft(), QSize(expected.width(), 42));
    // The close button (inside the 1 px border) sits in the title strip's right end.
    const QRect box = colourBox(image, titleStrip, 29, 82, 169);
    return box.width() >= 18 && box.top() - expected.top() == 13 ? box : QRect();
}

QImage TestPopupProgram::screen() const
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}

void TestPopupProgram::endToEndAsTheMainProgram()
{
    startPopup();
    QTRY_COMPARE_WITH_TIMEOUT(m_main->text(), Protocol::popupStartedTag(), 15000);

    QLocalSocket toPopup;
    connectAsTheMainProgram(toPopup);
    const QString text =
        QStringLiteral("[{\"id\":42,\"vek_news_type\":\"FBN\",\"title\":\"[快讯]现货黄金日内上涨1%"
                       "，报2412.5美元/盎司\","
                       "\"content\":\"美元走软，金价走高。\",\"time\":\"2026-12-07 08:15:00\"}]");
    QVERIFY(
        Protocol::sendMessage(&toPopup, Protocol::popupNewsMessage(30, QStringLiteral("0"), text)));
    QTRY_COMPARE_WITH_TIMEOUT(shownItems(), QStringList{text}, 15000);

    const QRect expected = cornerRect();
    const QRect titleStrip(expected.topLeft(), QSize(expected.width(), 42));
    QRect closeButton;
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT(!(closeButton = closeButtonAt(expected, &shot)).isEmpty(), 10000);
    if (!qEnvironmentVariableIsEmpty("KORVEX_SCREENSHOT_DIR"))
        shot.save(qEnvironmentVariable("KORVEX_SCREENSHOT_DIR") + QStringLiteral("/popup.png"));
    // The title strip runs along the top, the body is light, nothing lies outside.
    QVERIFY(expected.contains(closeButton));
    QCOMPARE(expected.right() - closeButton.right(), 9);
    QVERIFY(qGray(shot.pixel(expected.left() + 20, expected.bottom() - 20)) > 200);
    QVERIFY(qGray(shot.pixel(expected.left() + 20, expected.top() + 2)) > 150);
    QCOMPARE(shot.pixel(expected.left() - 3, expected.center().y()), qRgb(0, 0, 0));
    QCOMPARE(shot.pixel(expected.center().x(), expected.top() - 3), qRgb(0, 0, 0));

    const QRect more = colourBox(shot, titleStrip, 0, 39, 153);
    QVERIFY(!more.isEmpty());
    click(more.center());
    QTRY_COMPARE(m_main->text(), Protocol::popupStartedTag() + Protocol::popupMoreTag());

    // The item is the first in the page, under the title strip; clicking it opens it.
    click(expected.topLeft() + QPoint(150, 42 + 20));
    QTRY_COMPARE(m_main->text(), Protocol::popupStartedTag() + Protocol::popupMoreTag() +
                                     Protocol::popupContentTag() + QStringLiteral("42"));
}

void TestPopupProgram::secondProgramReportsItselfAndTheFirstKeepsReceiving()
{
    QProcess *first = startPopup();
    QTRY_COMPARE_WITH_TIMEOUT(m_main->text(), Protocol::popupStartedTag(), 15000);
    QProcess *second = startPopup();
    QTRY_COMPARE_WITH_TIMEOUT(m_main->text(), Protocol::popupStartedTag().repeated(2), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(m_stderr.value(second).contains("localSocketServer init error!"),
                             15000);
    QCOMPARE(second->state(), QProcess::Running);

    QLocalSocket toPopup;
    toPopup.connectToServer(Protocol::popupSocketName());
    QVERIFY(toPopup.waitForConnected(1000));
    const QString text = QStringLiteral("[{\"vek_news_type\":\"Oil\",\"title\":\"原油\"}]");
    QVERIFY(
        Protocol::sendMessage(&toPopup, Protocol::popupNewsMessage(5, QStringLiteral("0"), text)));
    QTRY_COMPARE_WITH_TIMEOUT(shownItems(), QStringList{text}, 15000);
    QVERIFY(!m_stderr.value(first).contains("localSocketServer init error!"));
}

void TestPopupProgram::pointerOverThePopupHoldsItPastItsTime()
{
    startPopup();
    QTRY_COMPARE_WITH_TIMEOUT(m_main->text(), Protocol::popupStartedTag(), 15000);
    QLocalSocket toPopup;
    connectAsTheMainProgram(toPopup);

    // The pointer rests where the pop-up comes up, on its page.
    const QRect expected = cornerRect();
    const QPoint onPage = expected.center();
    QVERIFY(TestSupport::xdotool(
        {QStringLiteral("mousemove"), QString::number(onPage.x()), QString::number(onPage.y())}));
    const QString text = QStringLiteral("[{\"vek_news_type\":\"FBN\",\"title\":\"停留\"}]");
    QVERIFY(
        Protocol::sendMessage(&toPopup, Protocol::popupNewsMessage(5, QStringLiteral("0"), text)));
    QTRY_VERIFY_WITH_TIMEOUT(!closeButtonAt(expected).isEmpty(), 15000);
    // A hand on the pop-up moves a little now and then.
    QVERIFY(TestSupport::xdotool({QStringLiteral("mousemove_relative"), QStringLiteral("--"),
                                  QStringLiteral("-20"), QStringLiteral("10")}));

    // Well past its 5 s of display it is still there, held by the pointer.
    QTest::qWait(7000);
    QVERIFY(!closeButtonAt(expected).isEmpty());

    // Once the pointer has gone, what was left of its time runs out and it goes.
    QVERIFY(TestSupport::xdotool(
        {QStringLiteral("mousemove"), QStringLiteral("10"), QStringLiteral("10")}));
    QTRY_VERIFY_WITH_TIMEOUT(closeButtonAt(expected).isEmpty(), 10000);
}

QTEST_MAIN(TestPopupProgram)
#include "tst_popupprogram.moc"
