#include "korvexsession.h"
#include "otheruser.h"
#include "protocol.h"
#include "recordingserver.h"
#include "servicefixture.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

// Two users of one machine, each with a whole client of their own: this test's
// user and another one (nobody, started as root can). Each user's sockets and
// marker are out of the other's reach, and what root can still reach is
// refused by both ends of the sockets. The cases run in order on the same two clients.
class TestOtherUser final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void bothUsersRunTheirOwnClientAndGetItems();
    void socketsAndMarkerAreTheOwnersOnly();
    void anotherUsersPeerIsRefusedByBothServers();
    void squatterOnThePopupNameGetsNothingAndLosesIt();

private:
    // The other user has no runtime folder: its client makes one in the shared TMPDIR.
    QString theirRuntimeFolder() const;
    int tickerRows(KorvexSession &session, const QString &marker);

    bool m_failed = false;
    OtherUser m_other;
    ServiceFixture m_service;
    KorvexSession m_mine;
    KorvexSession m_theirs;
};

QString TestOtherUser::theirRuntimeFolder() const
{
    return m_other.tempFolder() + QStringLiteral("/korvex-%1").arg(OtherUser::Uid);
}

int TestOtherUser::tickerRows(KorvexSession &session, const QString &marker)
{
    int rows = 0;
    for (const KorvexSession::Line &line : session.linesContaining(QStringLiteral("ticker row")))
        rows += line.text.contains(marker);
    return rows;
}

void TestOtherUser::initTestCase()
{
    QString why;
    if (!m_other.prepare({QStringLiteral("Korvex"), QStringLiteral("vek_listen"),
                          QStringLiteral("vek_popup"), QStringLiteral("vek_updat"),
                          QStringLiteral("ipcpeer")},
                         &why))
        QSKIP(qPrintable(why));
    QString error;
    QVERIFY2(m_service.start(&error), qPrintable(error));
    // Both users' programs share one temporary folder, as they share /tmp.
    const auto withDiagnostics = [this](QProcessEnvironment env) {
        env.insert(QStringLiteral("TMPDIR"), m_other.tempFolder());
        return TestSupport::withLoggingRules(env, QStringLiteral("korvex.ticker.rows.debug=true"));
    };
    QVERIFY2(m_mine.start(m_service.webHost(), withDiagnostics(m_service.environment()), &error),
             qPrintable(error));
    // Upper bound only: under a loaded suite one client start has taken 31 s.
    QTRY_VERIFY_WITH_TIMEOUT(m_mine.countContaining(QStringLiteral("connected to popup server!")),
                             60000);

    // The second user starts while the first one's client runs.
    m_theirs.setProgram(m_other.programFolder(), m_other.runner());
    QVERIFY2(m_theirs.start(m_service.webHost(),
                            withDiagnostics(m_service.environment(
                                m_other.environment(QProcessEnvironment::systemEnvironment()))),
                            &error),
             qPrintable(error));
    QTRY_VERIFY_WITH_TIMEOUT(m_theirs.countContaining(QStringLiteral("connected to popup server!")),
                             60000);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 2, 30000);
    QCOMPARE(m_mine.process()->state(), QProcess::Running);
}

void TestOtherUser::cleanup()
{
    m_failed = m_failed || QTest::currentTestFailed();
}

void TestOtherUser::cleanupTestCase()
{
    if (m_failed) {
        m_mine.dumpLines(60);
        m_theirs.dumpLines(60);
    }
    m_mine.stop();
    m_theirs.stop();
    m_service.stop();
}

void TestOtherUser::bothUsersRunTheirOwnClientAndGetItems()
{
    const QString marker = QStringLiteral("two-users-7201");
    QCOMPARE(m_service.pushToListeners(ServiceFixture::itemText(marker, 7201)), 2);
    QTRY_COMPARE_WITH_TIMEOUT(tickerRows(m_mine, marker), 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(tickerRows(m_theirs, marker), 1, 20000);
    // Each user's pop-up shows it.
    QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker), 2, 20000);
}

void TestOtherUser::socketsAndMarkerAreTheOwnersOnly()
{
    const struct {
        QString folder;
        uid_t uid;
    } users[] = {{qEnvironmentVariable("XDG_RUNTIME_DIR"), ::geteuid()},
                 {theirRuntimeFolder(), OtherUser::Uid}};
    for (const auto &user : users) {
        struct stat info {
        };
        QVERIFY2(::lstat(QFile::encodeName(user.folder).constData(), &info) == 0,
                 qPrintable(user.folder));
        QVERIFY(S_ISDIR(info.st_mode));
        QCOMPARE(info.st_uid, user.uid);
        QCOMPARE(info.st_mode & 0777, mode_t(0700));
        for (const QString &name : {Protocol::mainSocketName(), Protocol::popupSocketName(),
                                    QStringLiteral("VEK_Single_Process.lock")}) {
            const QString path = user.folder + QLatin1Char('/') + name;
            QVERIFY2(::lstat(QFile::encodeName(path).constData(), &info) == 0, qPrintable(path));
            QCOMPARE(info.st_uid, user.uid);
            QVERIFY2((info.st_mode & 077) == 0, qPrintable(path));
        }
    }
    // Nothing in the temporary folder that both share.
    QCOMPARE(
        QDir(m_other.tempFolder()).entryList({QStringLiteral("vek_*")}, QDir::System | QDir::Files),
        QStringList());
}

// Root gets past the sockets' owner-only access; the servers still read
// nothing from a peer that is not their user.
void TestOtherUser::anotherUsersPeerIsRefusedByBothServers()
{
    for (const QString &name : {Protocol::mainSocketName(), Protocol::popupSocketName()}) {
        const QString path = theirRuntimeFolder() + QLatin1Char('/') + name;
        QLocalSocket intruder;
        intruder.connectToServer(path);
        QVERIFY2(intruder.waitForConnected(5000), qPrintable(intruder.errorString()));
        intruder.write(
            Protocol::showWindowTag().toUtf8() +
            Protocol::newsMessage(QStringLiteral("_010_0_[{\"t\":\"injected\"}]")).toUtf8());
        intruder.flush();
        QTRY_COMPARE(intruder.state(), QLocalSocket::UnconnectedState);
        QTRY_COMPARE(m_theirs.countContaining(
                         QStringLiteral("refused a connection on ") + path +
                         QStringLiteral(" from another user (uid %1)").arg(::geteuid())),
                     1);
    }
    QCOMPARE(m_theirs.countContaining(QStringLiteral("received show_window")), 0);
    QCOMPARE(m_service.popupShown(QStringLiteral("injected")), 0);
}

// Someone of another user takes the pop-up program's name (while it restarts,
// say) and their pop-up program announces itself: the client sends nothing to
// the squatter and says why. The pop-up program's next start takes its name
// back, and items pop up again.
void TestOtherUser::squatterOnThePopupNameGetsNothingAndLosesIt()
{
    const QString path = theirRuntimeFolder() + QLatin1Char('/') + Protocol::popupSocketName();
    TestSupport::RecordingServer squatter(path);
    QVERIFY(squatter.listening);
    // A squatter wants to be reached.
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0777) == 0);

    QFile announcement(m_other.tempFolder() + QStringLiteral("/announcement"));
    QVERIFY(announcement.open(QIODevice::WriteOnly));
    announcement.write(Protocol::popupStartedTag().toUtf8());
    announcement.close();
    announcement.setPermissions(announcement.permissions() | QFile::ReadOther);
    QProcess popup;
    m_other.start(&popup, m_other.programFolder() + QStringLiteral("/ipcpeer"),
                  {QStringLiteral("write"),
                   theirRuntimeFolder() + QLatin1Char('/') + Protocol::mainSocketName(),
                   announcement.fileName(), QStringLiteral("0"), QStringLiteral("0")});
    QVERIFY(popup.waitForFinished(10000));
    QCOMPARE(popup.exitCode(), 0);

    QTRY_COMPARE_WITH_TIMEOUT(
        m_theirs.countContaining(path + QStringLiteral(" is served by another user (uid %1)"
                                                       " instead of this user's program")
                                            .arg(::geteuid())),
        1, 20000);
    QTRY_VERIFY(!squatter.connections.isEmpty());
    QTRY_COMPARE(squatter.connections.first()->state(), QLocalSocket::UnconnectedState);

    const QList<qint64> popups = m_theirs.programs(QStringLiteral("vek_popup"));
    QCOMPARE(popups.size(), 1);
    const int connects = m_theirs.countContaining(QStringLiteral("connected to popup server!"));
    QVERIFY(::kill(pid_t(popups.first()), SIGKILL) == 0);
    QTRY_COMPARE_WITH_TIMEOUT(
        m_theirs.countContaining(
            path + QStringLiteral(" was served by another user (uid %1)").arg(::geteuid())),
        1, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(
        m_theirs.countContaining(QStringLiteral("connected to popup server!")), connects + 1,
        30000);
    const QString marker = QStringLiteral("name-back-7202");
    QCOMPARE(m_service.pushToListeners(ServiceFixture::itemText(marker, 7202)), 2);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker), 2, 20000);
    QCOMPARE(squatter.bytes, QByteArray());
}

QTEST_MAIN(TestOtherUser)
#include "tst_otheruser.moc"
