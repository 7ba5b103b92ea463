// Running update_translations (lupdate with the project's options) over the
// sources keeps every translation written by hand, even one whose code has not
// landed yet, so nobody's translations are lost by a routine update.
#include "testsupport.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace
{

struct Entry {
    QString translation;
    QString type;
};

// (context, source) -> translation of a .ts file.
QMap<QPair<QString, QString>, Entry> readTs(const QString &path)
{
    QMap<QPair<QString, QString>, Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    QString context, source;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            Entry entry;
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
            entry.translation = xml.readElementText();
            entries.insert({context, source}, entry);
        }
    }
    return entries;
}

} // namespace

class TestTranslations final : public QObject
{
    Q_OBJECT
private slots:
    void updateKeepsHandWrittenTranslations_data();
    void updateKeepsHandWrittenTranslations();
};

void TestTranslations::updateKeepsHandWrittenTranslations_data()
{
    QTest::addColumn<QString>("ts");
    QTest::addColumn<QStringList>("dirs");
    const QStringList sets =
        QString::fromUtf8(KORVEX_LUPDATE_SETS).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (const QString &set : sets) {
        const QString ts = set.section(QLatin1Char(':'), 0, 0);
        const QStringList dirs = set.section(QLatin1Char(':'), 1).split(QLatin1Char(','));
        QTest::newRow(qPrintable(ts)) << ts << dirs;
    }
}

void TestTranslations::updateKeepsHandWrittenTranslations()
{
    QFETCH(QString, ts);
    QFETCH(QStringList, dirs);
    const QString original =
        TestSupport::sourceDir() + QStringLiteral("/resources/translations/") + ts;
    QTemporaryDir work;
    const QString copy = work.filePath(ts);
    QVERIFY(QFile::copy(original, copy));

    QStringList args =
        QString::fromUtf8(KORVEX_LUPDATE_OPTIONS).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &dir : qAsConst(dirs))
        args << TestSupport::sourceDir() + QLatin1Char('/') + dir;
    args << QStringLiteral("-ts") << copy;
    QProcess lupdate;
    lupdate.start(QString::fromUtf8(KORVEX_LUPDATE), args);
    QVERIFY(lupdate.waitForFinished(60000));
    QCOMPARE(lupdate.exitCode(), 0);

    const auto before = readTs(original);
    const auto after = readTs(copy);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (it->translation.isEmpty())
            continue;
        const QString what = it.key().first + QLatin1Char('/') + it.key().second;
        QVERIFY2(after.contains(it.key()), qPrintable(what));
        QCOMPARE(after.value(it.key()).translation, it->translation);
    }
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
