// The resources compiled into vek_updat: window icon, background, translation.
#include "resourcecheck.h"
#include "testsupport.h"

#include <QFile>
#include <QImage>
#include <QTranslator>
#include <QtTest>

class TestUpdaterResources final : public QObject
{
    Q_OBJECT
private slots:
    void everyPathTheProgramUsesIsThere();
    void picturesFitTheWindow();
};

void TestUpdaterResources::everyPathTheProgramUsesIsThere()
{
    QStringList used =
        ResourceCheck::pathsUsedIn(TestSupport::sourceDir() + QStringLiteral("/updater"));
    used << QStringLiteral(":/source/VEK.png") << QStringLiteral(":/source/background_en_us.jpg")
         << QStringLiteral(":/source/Korvex_en_us.qm");
    for (const QString &path : qAsConst(used))
        QVERIFY2(QFile::exists(path), qPrintable(path));

    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/source/Korvex_en_us.qm")));
}

void TestUpdaterResources::picturesFitTheWindow()
{
    const QImage icon(QStringLiteral(":/source/VEK.png"));
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.width(), icon.height());

    // Stretched to the 400 x 267 inner widget (times the screen scale) ignoring
    // aspect: it must have that aspect and enough pixels for a 2x screen.
    const QImage background(QStringLiteral(":/source/background_en_us.jpg"));
    QVERIFY(!background.isNull());
    QVERIFY(background.width() >= 800 && background.height() >= 534);
    QVERIFY(qAbs(double(background.width()) / background.height() - 400.0 / 267) < 0.02);
}

QTEST_MAIN(TestUpdaterResources)
#include "tst_updaterresources.moc"
