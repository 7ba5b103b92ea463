#include "app/logwriter.h"

#include "settings/configstore.h"

#include <QtTest>

class TestLogWriter final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void startWritesOneExactEntry();
    void textIsWrittenUnchanged();
    void secondRunKeepsOnlyItsOwnEntries();
    void unwritableFolderDropsTheEntry();
};

namespace
{

QString logPath()
{
    return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/VEK/Korvex_en_us/logs.txt");
}

QByteArray readLog()
{
    QFile file(logPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray stamp(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toLatin1();
}

// The entry as it must appear, for a write that happened between `before` and
// `after` (the second may turn in between).
bool isEntry(const QByteArray &bytes, const QByteArray &text, const QDateTime &before,
             const QDateTime &after)
{
    const QByteArray body = ":\n" + text + "\n\n\n";
    return bytes == stamp(before) + body || bytes == stamp(after) + body;
}

} // namespace

void TestLogWriter::initTestCase()
{
    QCoreApplication::setOrganizationName(Korvex::organizationName());
    QCoreApplication::setApplicationName(Korvex::applicationName());
}

void TestLogWriter::init()
{
    QDir(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/VEK")).removeRecursively();
}

void TestLogWriter::startWritesOneExactEntry()
{
    const QString folder =
        qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/VEK/Korvex_en_us");
    QCOMPARE(Korvex::logFolder(), folder);
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("fllewrite , path is  ") + folder));
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("fliewrite , write logs to ") +
                                                logPath() + QStringLiteral("--vek started...")));
    const QDateTime before = QDateTime::currentDateTime();
    Korvex::startLog();
    const QDateTime after = QDateTime::currentDateTime();
    const QByteArray bytes = readLog();
    QVERIFY2(isEntry(bytes, "vek started...", before, after), bytes.constData());
    // Owner, group and others (the "user" bits repeat whichever of them applies).
    QCOMPARE(QFileInfo(logPath()).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(QFileInfo(folder).permissions() & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestLogWriter::textIsWrittenUnchanged()
{
    const QString text = QStringLiteral("第一行\n\"second\" line\r\n\nthird");
    const QDateTime before = QDateTime::currentDateTime();
    Korvex::filewrite(QStringLiteral("logs.txt"), text);
    const QDateTime after = QDateTime::currentDateTime();
    QVERIFY(isEntry(readLog(), text.toUtf8(), before, after));
}

void TestLogWriter::secondRunKeepsOnlyItsOwnEntries()
{
    Korvex::startLog();
    Korvex::filewrite(QStringLiteral("logs.txt"), QStringLiteral("first run"));
    QVERIFY(readLog().contains("first run"));

    const QDateTime before = QDateTime::currentDateTime();
    Korvex::startLog();
    const QByteArray startOnly = readLog();
    Korvex::filewrite(QStringLiteral("logs.txt"),
                      QStringLiteral("loaded(1):onWebView_kuaixunzhibo;"));
    const QDateTime after = QDateTime::currentDateTime();

    const QByteArray bytes = readLog();
    QVERIFY(!bytes.contains("first run"));
    QVERIFY(isEntry(startOnly, "vek started...", before, after));
    QVERIFY(
        isEntry(bytes.mid(startOnly.size()), "loaded(1):onWebView_kuaixunzhibo;", before, after));
}

void TestLogWriter::unwritableFolderDropsTheEntry()
{
    // A plain file where the data folder should be: nothing can be created below it.
    const QString blocker = QDir::tempPath() + QStringLiteral("/not-a-folder");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
    QTest::ignoreMessage(
        QtWarningMsg, QRegularExpression(QStringLiteral("^filewrite , error to open this file")));
    Korvex::startLog();
    qputenv("XDG_DATA_HOME", saved);
    QVERIFY(QFileInfo(blocker).isFile());
}

QTEST_GUILESS_MAIN(TestLogWriter)
#include "tst_logwriter.moc"
