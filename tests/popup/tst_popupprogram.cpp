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
#include <QSettings>
#include <QStandardPaths>
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
    void popupsGoToTheChosenScreenAndToThePrimaryWhileItIsGone();
    void leavesTheSharedMediaRegistryAlone();

private:
    QProcess *startPopup(const QProcessEnvironment &environment = {});
    void connectAsTheMainProgram(QLocalSocket &toPopup);
    // Where the pop-up stands at 96 DPI: 300 x 318 in the lower-right corner.
    static QRect cornerRect();
    // Its close button as drawn within `expected`, or an empty box when not there.
    static QRect closeButtonIn(const QImage &shot, const QRect &expected);
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

QProcess *TestPopupProgram::startPopup(const QProcessEnvironment &environment)
{
    auto *process = new QProcess;
    m_processes << process;
    if (!environment.isEmpty())
        process->setProcessEnvironment(environment);
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
    toPopup.connectToServer(Protocol::socketPath(Protocol::popupSocketName()));
    QVERIFY(toPopup.waitForConnected(1000));
    QVERIFY(Protocol::sendMessage(&toPopup, Protocol::popupHelloMessage(QStringLiteral("0"))));
}

QRect TestPopupProgram::cornerRect()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    return QRect(area.right() + 1 - 300, area.bottom() + 1 - 318, 300, 318);
}

QRect TestPopupProgram::closeButtonIn(const QImage &shot, const QRect &expected)
{
    const QRect titleStrip(expected.topLeft(), QSize(expected.width(), 42));
    // The close button (inside the 1 px border) sits in the title strip's right end.
    const QRect box = colourBox(shot, titleStrip, 29, 82, 169);
    return box.width() >= 18 && box.top() - expected.top() == 13 ? box : QRect();
}

QRect TestPopupProgram::closeButtonAt(const QRect &expected, QImage *shot) const
{
    const QImage image = screen();
    if (shot)
        *shot = image;
    return closeButtonIn(image, expected);
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
    toPopup.connectToServer(Protocol::socketPath(Protocol::popupSocketName()));
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

namespace
{

// An X server of two screens, as Qt sees a desk with two displays: two X
// screens of one server (Xvfb places Xinerama heads on top of each other, and
// its one RandR output cannot be split).
class TwoScreenServer final
{
public:
    ~TwoScreenServer() { TestSupport::stopProcess(&m_process); }

    bool start()
    {
        m_process.start(QStringLiteral("Xvfb"),
                        {QStringLiteral("-displayfd"), QStringLiteral("1"),
                         QStringLiteral("-screen"), QStringLiteral("0"),
                         QStringLiteral("1280x1024x24"), QStringLiteral("-screen"),
                         QStringLiteral("1"), QStringLiteral("1024x768x24"), QStringLiteral("-dpi"),
                         QStringLiteral("96"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        // The server writes its display number once it accepts clients.
        QByteArray number;
        while (!number.endsWith('\n') && m_process.waitForReadyRead(10000))
            number += m_process.readAllStandardOutput();
        m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
        return number.endsWith('\n');
    }
    QString display() const { return m_display; }
    // What screen `screen` shows now.
    QImage shot(int screen) const
    {
        QProcess import;
        import.start(QStringLiteral("import"),
                     {QStringLiteral("-display"), m_display + QStringLiteral(".%1").arg(screen),
                      QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
        import.waitForFinished(10000);
        return QImage::fromData(import.readAllStandardOutput(), "PNG")
            .convertToFormat(QImage::Format_RGB32);
    }

private:
    QProcess m_process;
    QString m_display;
};

void storePopupScreen(const QString &value)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("VEK"),
                    QStringLiteral("Korvex_en_us"));
    store.setValue(QStringLiteral("funcorder_part1/popupScreen"), value);
}

} // namespace

void TestPopupProgram::popupsGoToTheChosenScreenAndToThePrimaryWhileItIsGone()
{
    TwoScreenServer desk;
    QVERIFY(desk.start());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), desk.display());
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));

    // Qt names each X screen after its one output, "screen"; the second is "screen (2)".
    storePopupScreen(QStringLiteral("screen:screen (2)"));
    startPopup(environment);
    QTRY_COMPARE_WITH_TIMEOUT(m_main->text(), Protocol::popupStartedTag(), 15000);
    QLocalSocket toPopup;
    connectAsTheMainProgram(toPopup);

    const QRect onPrimary(1280 - 300, 1024 - 318, 300, 318);
    const QRect onSecond(1024 - 300, 768 - 318, 300, 318);
    int sent = 0;
    // One item for 2 s; true when it was on `screen`'s lower right, not on the
    // other screen, and went again.
    const auto popsUpOn = [&](int screen, const QRect &corner) {
        const QString text =
            QStringLiteral("[{\"vek_news_type\":\"Oil\",\"title\":\"%1\"}]").arg(++sent);
        if (!Protocol::sendMessage(&toPopup,
                                   Protocol::popupNewsMessage(2, QStringLiteral("0"), text)))
            return false;
        // A screenshot takes a while: wait by the clock, not by QTRY's count of steps.
        const auto seen = [&](bool wanted) {
            QDeadlineTimer deadline(15000);
            do {
                if (closeButtonIn(desk.shot(screen), corner).isEmpty() != wanted)
                    return true;
                QTest::qWait(100);
            } while (!deadline.hasExpired());
            return false;
        };
        const QRect otherCorner = screen == 0 ? onSecond : onPrimary;
        return seen(true) && closeButtonIn(desk.shot(1 - screen), otherCorner).isEmpty() &&
               seen(false);
    };
    QVERIFY(popsUpOn(1, onSecond));

    // The chosen screen is not there (as when it is unplugged): the primary takes
    // the pop-ups, without a restart of the program.
    storePopupScreen(QStringLiteral("screen:HDMI-9"));
    QVERIFY(popsUpOn(0, onPrimary));

    // Back once it is there again.
    storePopupScreen(QStringLiteral("screen:screen (2)"));
    QVERIFY(popsUpOn(1, onSecond));
}

// The pop-up page plays no sound or video, so the program loads no media
// plugins; the registry of them that the user's other programs share and start
// from is not rewritten to match (it would then hold none, and the next
// program to play media would scan every plugin again).
void TestPopupProgram::leavesTheSharedMediaRegistryAlone()
{
    const QDir shared(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                      QStringLiteral("/gstreamer-1.0"));
    const auto contents = [&shared] {
        QByteArray all;
        for (const QFileInfo &file : shared.entryInfoList(QDir::Files, QDir::Name)) {
            QFile in(file.filePath());
            all += file.fileName().toUtf8() + (in.open(QIODevice::ReadOnly) ? in.readAll() : "?");
        }
        return all;
    };
    // A program that plays media builds the shared registry: here one whose
    // environment makes the media choices (none of them changes where it goes).
    QProcessEnvironment media = QProcessEnvironment::systemEnvironment();
    media.insert(QStringLiteral("GST_PLUGIN_PATH_1_0"), QString());
    QProcess *builder = startPopup(media);
    QTRY_VERIFY_WITH_TIMEOUT(
        !shared.entryList({QStringLiteral("registry.*.bin")}, QDir::Files).isEmpty(), 30000);
    builder->terminate();
    QVERIFY(builder->waitForFinished(10000));
    const QByteArray before = contents();

    startPopup();
    QTRY_COMPARE_WITH_TIMEOUT(m_main->text(), Protocol::popupStartedTag().repeated(2), 15000);
    QLocalSocket toPopup;
    connectAsTheMainProgram(toPopup);
    const QString text =
        QStringLiteral("[{\"id\":7,\"vek_news_type\":\"FBN\",\"title\":\"[快讯]\"}]");
    QVERIFY(
        Protocol::sendMessage(&toPopup, Protocol::popupNewsMessage(30, QStringLiteral("0"), text)));
    QTRY_COMPARE_WITH_TIMEOUT(shownItems(), QStringList{text}, 15000);
    QCOMPARE(contents(), before);
}

QTEST_MAIN(TestPopupProgram)
#include "tst_popupprogram.moc"
