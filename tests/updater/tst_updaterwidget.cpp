// The updater's window as a user sees it under X at 96 DPI: placement, scaling
// and the progress bar, downloading from the stand-in update host.
#include "widget.h"

#include "servicefixture.h"
#include "updaterun.h"

#include <QFile>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QtTest>

using Updater::Widget;

class TestUpdaterWidget final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void centredAndScaled_data();
    void centredAndScaled();
    void progressMaximumIsThePreviousDescriptionsSizeAndAStallEndsTheRun();

private:
    ServiceFixture m_service;
};

void TestUpdaterWidget::initTestCase()
{
    QString error;
    QVERIFY2(m_service.start(&error), qPrintable(error));
}

void TestUpdaterWidget::centredAndScaled_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<QSize>("bar");
    // 0: the screen's own DPI, which the test's X server sets to 96.
    QTest::newRow("96 dpi") << 0.0 << QSize(426, 293) << QSize(400, 267) << QSize(320, 14);
    // 426 x 1.25 = 532.5 and 14 x 1.25 = 17.5 round away from zero.
    QTest::newRow("120 dpi") << 1.25 << QSize(533, 366) << QSize(500, 334) << QSize(400, 18);
}

void TestUpdaterWidget::centredAndScaled()
{
    QFETCH(double, scale);
    QFETCH(QSize, window);
    QFETCH(QSize, inner);
    QFETCH(QSize, bar);
    Widget widget(nullptr, scale);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QCOMPARE(widget.scale(), scale > 0 ? scale : 1.0);
    QCOMPARE(widget.windowTitle(), QStringLiteral("VEK Update"));
    QVERIFY(widget.windowFlags().testFlag(Qt::FramelessWindowHint));

    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(widget.geometry(), QRect(area.x() + (area.width() - window.width()) / 2,
                                      area.y() + (area.height() - window.height()) / 2,
                                      window.width(), window.height()));
    QCOMPARE(widget.findChild<QWidget *>(QStringLiteral("widget"))->size(), inner);
    auto *progress = widget.findChild<QProgressBar *>(QStringLiteral("progressBar"));
    QCOMPARE(progress->minimumSize(), bar);
    QCOMPARE(progress->maximumSize(), bar);
    QVERIFY(!progress->isVisible());
}

void TestUpdaterWidget::progressMaximumIsThePreviousDescriptionsSizeAndAStallEndsTheRun()
{
    // The previous run left a description announcing 300000 bytes; the host now
    // serves 200000 and stalls half-way, so the bar shows where it stopped.
    QVERIFY(UpdateRun::prepareFolder().isEmpty());
    const QString dir = UpdateRun::folder();
    QFile description(dir + QStringLiteral("/update-win.xml"));
    QVERIFY(description.open(QIODevice::WriteOnly));
    description.write("<update><Version>1.1.000304</Version><Size>300000</Size></update>");
    description.close();
    m_service.control("POST", QStringLiteral("/update"),
                      {{QStringLiteral("size"), 200000}, {QStringLiteral("stall"), 100000}});
    QCOMPARE(m_service.lastStatus(), 200);

    Widget widget;
    QSignalSpy closed(&widget, &Widget::closed);
    widget.setUrl(QUrl(m_service.webUrl(QStringLiteral("/Korvex-win.exe"))));
    // Only the bar is watched here: no signed offer is needed for a plain download.
    widget.setRunInstaller(false);
    widget.show();
    widget.startDownload();
    auto *progress = widget.findChild<QProgressBar *>(QStringLiteral("progressBar"));
    QVERIFY(progress->isVisible());
    QTRY_COMPARE(progress->value(), 100000);
    QCOMPARE(progress->maximum(), 300000);
    QCOMPARE(closed.count(), 0);

    // The line stays silent: after the stall time (60 s in the program) the
    // download fails, its file goes, nothing runs and the window closes.
    widget.setStallMs(300);
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(!QFile::exists(dir + QStringLiteral("/Korvex-win.exe")));
    QCOMPARE(m_service.installerRuns().size(), 0);
}

QTEST_MAIN(TestUpdaterWidget)
#include "tst_updaterwidget.moc"
