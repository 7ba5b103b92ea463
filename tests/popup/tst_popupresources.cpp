// The resources compiled into vek_popup: its style sheet, icon font and translation.
#include "resourcecheck.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QTranslator>
#include <QtTest>

class TestPopupResources final : public QObject
{
    Q_OBJECT
private slots:
    void everyPathTheProgramUsesIsThere();
    void styleSheetParses();
    void translationAndIconFontLoad();
};

void TestPopupResources::everyPathTheProgramUsesIsThere()
{
    QStringList used =
        ResourceCheck::pathsUsedIn(TestSupport::sourceDir() + QStringLiteral("/popup"));
    used << QStringLiteral(":/source/popupwidget.css")
         << QStringLiteral(":/source/fontawesome-webfont.ttf")
         << QStringLiteral(":/source/vek_popup_en.qm");
    for (const QString &path : qAsConst(used))
        QVERIFY2(QFile::exists(path), qPrintable(path));
}

void TestPopupResources::styleSheetParses()
{
    QFile file(QStringLiteral(":/source/popupwidget.css"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    for (char c : bytes) // read as Latin-1 by the program
        QVERIFY(uchar(c) < 0x80);
    const QStringList warnings = ResourceCheck::styleSheetWarnings(QString::fromLatin1(bytes));
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

void TestPopupResources::translationAndIconFontLoad()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/source/vek_popup_en.qm")));
    const int id =
        QFontDatabase::addApplicationFont(QStringLiteral(":/source/fontawesome-webfont.ttf"));
    QVERIFY(id >= 0);
    QVERIFY(!QFontDatabase::applicationFontFamilies(id).isEmpty());
}

QTEST_MAIN(TestPopupResources)
#include "tst_popupresources.moc"
