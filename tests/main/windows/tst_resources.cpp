// The resources compiled into Korvex: every path the program uses is there and
// loads, pictures have the shapes their widgets scale them into, the alerts are
// sound PCM, the style sheets parse, the spinner page runs.
#include "resourcecheck.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QTranslator>
#include <QWebFrame>
#include <QWebPage>
#include <QtEndian>
#include <QtTest>

namespace
{

struct Wav {
    QString error;
    int format = 0;
    int channels = 0;
    int sampleRate = 0;
    int bits = 0;
    QVector<qint16> samples;
};

// Reads a RIFF/WAVE file chunk by chunk, as a strict player would.
Wav readWav(const QByteArray &bytes)
{
    Wav wav;
    auto u32 = [&bytes](int at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    auto u16 = [&bytes](int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        wav.error = QStringLiteral("not a RIFF/WAVE file");
        return wav;
    }
    if (u32(4) != quint32(bytes.size() - 8)) {
        wav.error = QStringLiteral("RIFF size does not match the file");
        return wav;
    }
    bool haveFormat = false;
    int at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 size = u32(at + 4);
        const int body = at + 8;
        if (quint64(body) + size > quint64(bytes.size())) {
            wav.error = QStringLiteral("chunk runs past the end of the file");
            return wav;
        }
        if (id == "fmt " && size >= 16) {
            wav.format = u16(body);
            wav.channels = u16(body + 2);
            wav.sampleRate = int(u32(body + 4));
            wav.bits = u16(body + 14);
            const int blockAlign = u16(body + 12);
            if (blockAlign != wav.channels * wav.bits / 8 ||
                u32(body + 8) != quint32(wav.sampleRate * blockAlign)) {
                wav.error = QStringLiteral("inconsistent format chunk");
                return wav;
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || wav.bits != 16) {
                wav.error = QStringLiteral("data before a 16-bit format chunk");
                return wav;
            }
            wav.samples.resize(int(size / 2));
            for (int i = 0; i < wav.samples.size(); ++i)
                wav.samples[i] = qint16(u16(body + 2 * i));
        }
        at = body + int(size) + int(size & 1);
    }
    if (wav.samples.isEmpty())
        wav.error = QStringLiteral("no samples");
    return wav;
}

const QStringList macButtons = {
    QStringLiteral(":/images/mac_close.png"),
    QStringLiteral(":/images/mac_close_back.png"),
    QStringLiteral(":/images/mac_min.png"),
    QStringLiteral(":/images/mac_min_back.png"),
    QStringLiteral(":/images/mac_full.png"),
    QStringLiteral(":/images/mac_full_back.png"),
    QStringLiteral(":/images/mac_normal.png"),
    QStringLiteral(":/images/mac_dark_back.png"),
    QStringLiteral(":/images/mac_dark_close.png"),
    QStringLiteral(":/images/mac_dark_min.png"),
    QStringLiteral(":/images/mac_dark_full.png"),
    QStringLiteral(":/images/mac_dark_normal.png"),
    QStringLiteral(":/images/mac_deactive_back.png"),
};

// Pictures shown as icons inside square buttons, scaled with their aspect kept.
const QStringList squareIcons = {
    QStringLiteral(":/img/VEK.png"),
    QStringLiteral(":/img/VEK_en_us.png"),
    QStringLiteral(":/img/sound.png"),
    QStringLiteral(":/img/no_sound.png"),
    QStringLiteral(":/img/item_caijingrili.png"),
    QStringLiteral(":/img/item_hangyebaodao.png"),
    QStringLiteral(":/img/item_meirifenxi.png"),
    QStringLiteral(":/img/item_meiritoutiao.png"),
    QStringLiteral(":/img/item_quanqiuzhibo_zh_cn.png"),
};

const QStringList sounds = {
    QStringLiteral(":/sound/News.wav"),
    QStringLiteral(":/sound/Band.wav"),
    QStringLiteral(":/sound/Notify.wav"),
};

} // namespace

class TestResources final : public QObject
{
    Q_OBJECT
private slots:
    void everyPathTheProgramUsesIsThere();
    void picturesHaveTheShapeTheirWidgetsNeed();
    void alertsArePcmThatNeitherClipsNorClicks();
    void styleSheetsParse_data();
    void styleSheetsParse();
    void translationAndIconFontLoad();
    void spinnerPageRuns();
};

void TestResources::everyPathTheProgramUsesIsThere()
{
    QStringList used =
        ResourceCheck::pathsUsedIn(TestSupport::sourceDir() + QStringLiteral("/main"));
    used << macButtons << squareIcons << sounds
         << QStringList{QStringLiteral(":/img/logo_en_us.png"),
                        QStringLiteral(":/img/version_background.png"),
                        QStringLiteral(":/mainwindow.css"),
                        QStringLiteral(":/mac_extras.css"),
                        QStringLiteral(":/spin.html"),
                        QStringLiteral(":/spin.js"),
                        QStringLiteral(":/fontawesome-webfont.ttf"),
                        QStringLiteral(":/Korvex_en_us.qm")};
    for (const QString &path : qAsConst(used)) {
        QVERIFY2(QFile::exists(path), qPrintable(path));
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly) && file.size() > 0, qPrintable(path));
        if (path.endsWith(QLatin1String(".png")) || path.endsWith(QLatin1String(".jpg")))
            QVERIFY2(!QImage(path).isNull(), qPrintable(path));
    }
}

void TestResources::picturesHaveTheShapeTheirWidgetsNeed()
{
    // The circle buttons are swapped on hover and focus changes and scaled to twice
    // the button: every variant must be one square size, large enough not to blur.
    const QSize macSize = QImage(macButtons.first()).size();
    QVERIFY(macSize.width() == macSize.height() && macSize.width() >= 40);
    for (const QString &path : macButtons) {
        const QImage image(path);
        QCOMPARE(image.size(), macSize);
        QVERIFY2(image.hasAlphaChannel(), qPrintable(path));
        // Round: the corners are see-through, the centre is not.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(macSize.width() / 2, macSize.height() / 2)), 255);
    }

    for (const QString &path : squareIcons) {
        const QImage image(path);
        QVERIFY2(image.width() == image.height() && image.width() >= 32, qPrintable(path));
        QVERIFY2(image.hasAlphaChannel(), qPrintable(path));
    }

    // The logo goes into a label of at least 150 x 35 with its aspect kept; a
    // much squarer or wider picture would leave it tiny.
    const QImage logo(QStringLiteral(":/img/logo_en_us.png"));
    QVERIFY(logo.height() >= 35);
    const double logoAspect = double(logo.width()) / logo.height();
    QVERIFY2(logoAspect > 150.0 / 35 * 0.8 && logoAspect < 150.0 / 35 * 1.2,
             qPrintable(QString::number(logoAspect)));

    // The about window stretches its background to 484 x 328, ignoring aspect.
    const QImage background(QStringLiteral(":/img/version_background.png"));
    QVERIFY(background.width() >= 484 && background.height() >= 328);
    QVERIFY(qAbs(double(background.width()) / background.height() - 484.0 / 328) < 0.02);
}

void TestResources::alertsArePcmThatNeitherClipsNorClicks()
{
    QVector<QVector<qint16>> all;
    for (const QString &path : sounds) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const Wav wav = readWav(file.readAll());
        QVERIFY2(wav.error.isEmpty(), qPrintable(path + QStringLiteral(": ") + wav.error));
        QCOMPARE(wav.format, 1); // plain PCM, what the simple sound player plays
        QCOMPARE(wav.bits, 16);
        QVERIFY(wav.channels == 1 || wav.channels == 2);
        QVERIFY(wav.sampleRate >= 22050 && wav.sampleRate <= 48000);
        const double seconds = double(wav.samples.size()) / wav.channels / wav.sampleRate;
        QVERIFY2(seconds > 0.1 && seconds < 1.0, qPrintable(path));

        int peak = 0;
        for (qint16 s : wav.samples)
            peak = qMax(peak, qAbs(int(s)));
        QVERIFY2(peak < 32767, qPrintable(path + QStringLiteral(" clips")));
        QVERIFY2(peak > 8000, qPrintable(path + QStringLiteral(" is nearly silent")));
        // Faded in and out: no click at either end.
        QVERIFY(qAbs(int(wav.samples.first())) < 500);
        QVERIFY(qAbs(int(wav.samples.last())) < 500);
        all.append(wav.samples);
    }
    QVERIFY(all[0] != all[1] && all[1] != all[2] && all[0] != all[2]);
}

void TestResources::styleSheetsParse_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("main window") << QStringLiteral(":/mainwindow.css");
    QTest::newRow("alternative title bar") << QStringLiteral(":/mac_extras.css");
}

void TestResources::styleSheetsParse()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // Read as Latin-1 by the program: anything beyond ASCII would be garbled.
    for (char c : bytes)
        QVERIFY2(uchar(c) < 0x80, qPrintable(path));
    const QString css = QString::fromLatin1(bytes);
    QVERIFY(css.contains(QLatin1Char('{')));
    const QStringList warnings = ResourceCheck::styleSheetWarnings(css);
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

void TestResources::translationAndIconFontLoad()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/Korvex_en_us.qm")));
    QCOMPARE(translator.translate("LocalSocketServer", "ES"), QStringLiteral("ES"));

    const int id = QFontDatabase::addApplicationFont(QStringLiteral(":/fontawesome-webfont.ttf"));
    QVERIFY(id >= 0);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    QVERIFY(!families.isEmpty());
    // The close glyph every secondary window uses is in it.
    QVERIFY(QFontMetrics(QFont(families.first())).inFontUcs4(0xF00D));
}

void TestResources::spinnerPageRuns()
{
    QWebPage page;
    QSignalSpy loaded(&page, &QWebPage::loadFinished);
    page.mainFrame()->load(QUrl(QStringLiteral("qrc:/spin.html")));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 10000);
    QCOMPARE(loaded.first().first().toBool(), true);
    QWebFrame *frame = page.mainFrame();
    QCOMPARE(frame->evaluateJavaScript(QStringLiteral("typeof Spinner")).toString(),
             QStringLiteral("function"));
    QCOMPARE(frame
                 ->evaluateJavaScript(
                     QStringLiteral("document.querySelectorAll('#spinner .spinner').length"))
                 .toInt(),
             1);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
