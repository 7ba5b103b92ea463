// The update description as both programs read it, hostile files included.
#include "updatedescription.h"

#include <QTemporaryDir>
#include <QtTest>

using Status = Common::UpdateDescription::Status;

class TestUpdateDescription final : public QObject
{
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void refusesHostileFilesWithoutReadingThem();
};

void TestUpdateDescription::reads_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("version");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QByteArray>("sha256");

    const QByteArray hash(64, 'a');
    QTest::newRow("all three") << QByteArray("<u><Version>1.1.000310</Version><Size> 4096 "
                                             "</Size><Sha256>" +
                                             hash.toUpper() + "</Sha256></u>")
                               << int(Status::Ok) << "1.1.000310" << qint64(4096)
                               << QByteArray::fromHex(hash);
    QTest::newRow("first of each, at any depth")
        << QByteArray("<u><a><Version>2.0<b>.1</b></Version></a><Version>9</Version>"
                      "<Size>7</Size><Size>x</Size></u>")
        << int(Status::Ok) << "2.0.1" << qint64(7) << QByteArray();
    QTest::newRow("the document element itself does not count")
        << QByteArray("<Version>9.9.9</Version>") << int(Status::Ok) << "" << qint64(-1)
        << QByteArray();
    QTest::newRow("nothing but a root") << QByteArray("<?xml version=\"1.0\"?><u/>")
                                        << int(Status::Ok) << "" << qint64(-1) << QByteArray();
    QTest::newRow("negative size") << QByteArray("<u><Version>2</Version><Size>-5</Size></u>")
                                   << int(Status::BadSize) << "2" << qint64(-1) << QByteArray();
    QTest::newRow("size not a number") << QByteArray("<u><Size>12kB</Size></u>")
                                       << int(Status::BadSize) << "" << qint64(-1) << QByteArray();
    QTest::newRow("size empty") << QByteArray("<u><Size/></u>") << int(Status::BadSize) << ""
                                << qint64(-1) << QByteArray();
    QTest::newRow("size beyond 64 bits")
        << QByteArray("<u><Size>99999999999999999999</Size></u>") << int(Status::BadSize) << ""
        << qint64(-1) << QByteArray();
    QTest::newRow("short hash") << QByteArray("<u><Sha256>abcd</Sha256></u>")
                                << int(Status::BadSha256) << "" << qint64(-1) << QByteArray();
    QTest::newRow("short signature")
        << QByteArray("<u><Signature>abcd</Signature></u>") << int(Status::BadSignature) << ""
        << qint64(-1) << QByteArray();
    QTest::newRow("not XML") << QByteArray("Version: 9.9.9\n<update") << int(Status::NotWellFormed)
                             << "" << qint64(-1) << QByteArray();
    QTest::newRow("cut short") << QByteArray("<u><Version>9.9.9</Version>")
                               << int(Status::NotWellFormed) << "9.9.9" << qint64(-1)
                               << QByteArray();
    QTest::newRow("empty") << QByteArray() << int(Status::NotWellFormed) << "" << qint64(-1)
                           << QByteArray();
}

void TestUpdateDescription::reads()
{
    QFETCH(QByteArray, xml);
    QFETCH(int, status);
    const Common::UpdateDescription description = Common::UpdateDescription::fromData(xml);
    QCOMPARE(int(description.status()), status);
    if (description.isValid()) {
        QTEST(description.version(), "version");
        QTEST(description.size(), "size");
        QTEST(description.sha256(), "sha256");
        QVERIFY(description.problem().isEmpty());
    } else {
        QVERIFY(!description.problem().isEmpty());
    }
    if (description.status() == Status::NotWellFormed)
        QVERIFY(description.problem().startsWith(QLatin1String("parse file failed at line ")));
}

void TestUpdateDescription::refusesHostileFilesWithoutReadingThem()
{
    // Nested entities: a thousand million copies if anything expanded them.
    QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE u [\n<!ENTITY e0 \"9.9.9\">\n";
    for (int i = 1; i <= 10; ++i)
        bomb += "<!ENTITY e" + QByteArray::number(i) + " \"" +
                QByteArray("&e" + QByteArray::number(i - 1) + ";").repeated(10) + "\">\n";
    bomb += "]>\n<u><Version>&e10;</Version></u>\n";
    QCOMPARE(Common::UpdateDescription::fromData(bomb).status(), Status::HasDoctype);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // 50 MB, well-formed, with a newer version at the very end: refused on its size alone.
    QFile huge(dir.filePath(QStringLiteral("update-win.xml")));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.write("<u><!--") == 7);
    QVERIFY(huge.resize(50 * 1024 * 1024 - 38));
    QVERIFY(huge.seek(huge.size()));
    huge.write("--><Version>9.9.9</Version></u>\n");
    huge.close();
    const Common::UpdateDescription big = Common::UpdateDescription::fromFile(huge.fileName());
    QCOMPARE(big.status(), Status::TooLarge);
    QVERIFY(big.problem().contains(QLatin1String("too large")));

    QCOMPARE(Common::UpdateDescription::fromFile(dir.filePath(QStringLiteral("none.xml"))).status(),
             Status::OpenFailed);
}

QTEST_GUILESS_MAIN(TestUpdateDescription)
#include "tst_updatedescription.moc"
