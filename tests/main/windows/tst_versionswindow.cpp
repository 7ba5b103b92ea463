#include "versionswindow.h"

#include "update/version.h"
#include "pages/webhost.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using Korvex::VersionsWindow;

// The about window: its version and the two links it hands to the main window.
class TestVersionsWindow final : public QObject
{
    Q_OBJECT
private slots:
    void showsTheVersionAndHandsOnItsLinks();
};

void TestVersionsWindow::showsTheVersionAndHandsOnItsLinks()
{
    Korvex::setWebHost(QStringLiteral("http://127.0.0.1:8080"));
    VersionsWindow window;
    window.show();
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("label_version"))->text(),
             QStringLiteral("Version: ") + Korvex::versionText());

    QSignalSpy links(&window, &VersionsWindow::urlClicked);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("pushButton_kelvora")),
                      Qt::LeftButton);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("pushButton_zhibodanye")),
                      Qt::LeftButton);
    QCOMPARE(links.count(), 2);
    QCOMPARE(links.at(0).at(0).toUrl(), QUrl(QStringLiteral("http://127.0.0.1:8080")));
    QCOMPARE(links.at(1).at(0).toUrl(), QUrl(QStringLiteral("http://127.0.0.1:8080/Expresslive")));

    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("version_close")),
                      Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestVersionsWindow)
#include "tst_versionswindow.moc"
