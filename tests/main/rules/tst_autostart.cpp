#include "app/autostart.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace Autostart = Korvex::Autostart;

// The login start entry in this test's private XDG_CONFIG_HOME, started by
// GLib's launcher as a desktop session would.
class TestAutostart final : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void entryStartsTheProgramWhateverItsPath();
    void anEntryTheDesktopHidReadsAsOff();
    void linkedEntryIsReplacedAndRemovedNotFollowed();
    void pathsAnEntryCannotHoldAreRefused();
};

void TestAutostart::init()
{
    QFile::remove(Autostart::entryPath());
    QCOMPARE(Autostart::entryPath(),
             qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/korvex.desktop"));
}

void TestAutostart::entryStartsTheProgramWhateverItsPath()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    // Quotes, shell characters and a backslash: each must reach the launcher as written.
    const QString folder = root.path() + QStringLiteral("/my \"news\" $HOME `id` \\ 汉字");
    QVERIFY(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/Korvex");
    const QString marker = root.path() + QStringLiteral("/started");
    {
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$0\" > \"$KORVEX_MARKER\"\n");
    }
    QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
    QCOMPARE(Autostart::setEnabled(true, program), Autostart::Problem::None);
    QVERIFY(Autostart::isEnabled());

    QProcess launcher;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KORVEX_MARKER"), marker);
    launcher.setProcessEnvironment(environment);
    launcher.start(QStringLiteral("gio"), {QStringLiteral("launch"), Autostart::entryPath()});
    QVERIFY(launcher.waitForFinished(10000));
    QCOMPARE(launcher.exitCode(), 0);
    QFile started(marker);
    QTRY_VERIFY(started.exists() && started.size() > 0);
    QVERIFY(started.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(started.readAll()), program);
}

void TestAutostart::anEntryTheDesktopHidReadsAsOff()
{
    // The desktop's own settings switch an entry off by marking it hidden.
    QVERIFY(QDir().mkpath(QFileInfo(Autostart::entryPath()).path()));
    QFile hidden(Autostart::entryPath());
    QVERIFY(hidden.open(QIODevice::WriteOnly));
    hidden.write(Autostart::entryText(QStringLiteral("/opt/korvex/Korvex")) + "Hidden=true\n");
    hidden.close();
    QVERIFY(!Autostart::isEnabled());
}

void TestAutostart::linkedEntryIsReplacedAndRemovedNotFollowed()
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.path() + QStringLiteral("/precious");
    {
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    QVERIFY(QDir().mkpath(QFileInfo(Autostart::entryPath()).path()));
    QVERIFY(QFile::link(target, Autostart::entryPath()));
    QCOMPARE(Autostart::setEnabled(true, QStringLiteral("/opt/korvex/Korvex")),
             Autostart::Problem::None);
    QVERIFY(!QFileInfo(Autostart::entryPath()).isSymLink());

    QFile::remove(Autostart::entryPath());
    QVERIFY(QFile::link(target, Autostart::entryPath()));
    QCOMPARE(Autostart::setEnabled(false, QString()), Autostart::Problem::None);
    QVERIFY(!QFileInfo(Autostart::entryPath()).isSymLink());
    QFile precious(target);
    QVERIFY(precious.open(QIODevice::ReadOnly));
    QCOMPARE(precious.readAll(), QByteArray("keep me"));
}

void TestAutostart::pathsAnEntryCannotHoldAreRefused()
{
    for (const QString &program :
         {QStringLiteral("Korvex"), QStringLiteral("/opt/a\nExec=/bin/evil"),
          QStringLiteral("/opt/100%/Korvex")}) {
        QCOMPARE(Autostart::setEnabled(true, program), Autostart::Problem::ProgramPath);
        QVERIFY(!QFile::exists(Autostart::entryPath()));
    }
}

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
