#include "settings/configstore.h"

#include <QtTest>

class TestConfigStore final : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void landsInTheNativeUserFile();
    void absentIsNullButEmptyIsNot();
    void writeLeavesOtherKeysAndKeepsTexts();
    void mismatchedListsDoNotCrash();
    void nothingIsWrittenWhereOthersCouldReadIt();
};

namespace
{
QString storePath()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/VEK/Korvex_en_us.conf");
}
} // namespace

void TestConfigStore::init()
{
    QFile::remove(storePath());
}

// The store holds the mailbox and the pages' cookies. Another local user who
// could write to its folder plants a link to a file they read: the mailbox
// must not reach it, and the folder is closed so nothing can be swapped in
// between a check and a save.
void TestConfigStore::nothingIsWrittenWhereOthersCouldReadIt()
{
    const QString folder = QFileInfo(storePath()).path();
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
    const QString bait = QDir::temp().filePath(QStringLiteral("theirs.conf"));
    QFile baitFile(bait);
    QVERIFY(baitFile.open(QIODevice::WriteOnly));
    baitFile.close();
    QVERIFY(QFile::link(bait, storePath()));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^settings: .* a link")));
    Korvex::writeConfig(QStringLiteral("state"), {QStringLiteral("mailbox")},
                        {QStringLiteral("trader@example.com")});
    QVERIFY(baitFile.open(QIODevice::ReadOnly));
    QCOMPARE(baitFile.readAll(), QByteArray());
    QVERIFY(QFileInfo(storePath()).isSymLink());
    // Owner, group and others (the "user" bits repeat whichever of them applies).
    QCOMPARE(QFileInfo(folder).permissions() & 0x7077,
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // Once the link is gone, the store is the user's alone again.
    QVERIFY(QFile::remove(storePath()));
    Korvex::writeConfig(QStringLiteral("state"), {QStringLiteral("mailbox")},
                        {QStringLiteral("trader@example.com")});
    QCOMPARE(QFileInfo(storePath()).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
}

void TestConfigStore::landsInTheNativeUserFile()
{
    Korvex::writeConfig(QStringLiteral("funcorder_part1"), {QStringLiteral("popup")},
                        {QStringLiteral("1")});
    QVERIFY(QFile::exists(storePath()));
    QSettings raw(storePath(), QSettings::IniFormat);
    QCOMPARE(raw.value(QStringLiteral("funcorder_part1/popup")).toString(), QStringLiteral("1"));
}

void TestConfigStore::absentIsNullButEmptyIsNot()
{
    Korvex::writeConfig(QStringLiteral("state"), {QStringLiteral("username")}, {QString()});
    Korvex::writeConfig(QStringLiteral("state"), {QStringLiteral("mailbox")}, {QStringLiteral("")});
    const QStringList values = Korvex::readConfig(
        QStringLiteral("state"),
        {QStringLiteral("status"), QStringLiteral("username"), QStringLiteral("mailbox")});
    QCOMPARE(values.size(), 3);
    QVERIFY(values.at(0).isNull());
    QVERIFY(!values.at(1).isNull());
    QVERIFY(values.at(1).isEmpty());
    QVERIFY(!values.at(2).isNull());
    QVERIFY(values.at(2).isEmpty());
}

void TestConfigStore::writeLeavesOtherKeysAndKeepsTexts()
{
    const QStringList keys = {QStringLiteral("username"), QStringLiteral("mailbox"),
                              QStringLiteral("status")};
    // Texts the store's file format treats specially must come back unchanged.
    const QStringList values = {QStringLiteral("王小明 \"q\" a\\b"), QStringLiteral("a, b; c=d"),
                                QStringLiteral("@Invalid()")};
    Korvex::writeConfig(QStringLiteral("state"), keys, values);
    Korvex::writeConfig(QStringLiteral("state"), {QStringLiteral("status")}, {QStringLiteral("0")});
    Korvex::writeConfig(QStringLiteral("cookies/webview_favourite"), {QStringLiteral("sid")},
                        {QStringLiteral("x/y")});

    QCOMPARE(Korvex::readConfig(QStringLiteral("state"), keys),
             QStringList({values.at(0), values.at(1), QStringLiteral("0")}));
    QCOMPARE(
        Korvex::readConfig(QStringLiteral("cookies/webview_favourite"), {QStringLiteral("sid")}),
        QStringList{QStringLiteral("x/y")});
}

void TestConfigStore::mismatchedListsDoNotCrash()
{
    QTest::ignoreMessage(QtWarningMsg,
                         "writeConfig : fewer values than keys for group funcorder_part1");
    Korvex::writeConfig(QStringLiteral("funcorder_part1"),
                        {QStringLiteral("popup"), QStringLiteral("second")}, {QStringLiteral("0")});
    const QStringList values = Korvex::readConfig(
        QStringLiteral("funcorder_part1"), {QStringLiteral("popup"), QStringLiteral("second")});
    QCOMPARE(values.at(0), QStringLiteral("0"));
    QVERIFY(values.at(1).isNull());
}

QTEST_GUILESS_MAIN(TestConfigStore)
#include "tst_configstore.moc"
