#include "protocol.h"
#include "recordingserver.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QtTest>

#include <memory>

// A Wayland session without X: a real compositor (weston, headless), a private
// session bus (dbus-daemon) with a recording notification server on it, this
// test as the main program, and the real vek_popup started as Korvex starts
// it, with no platform named.
class TestPopupNotifications final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void itemsBecomeNotificationsWhoseActionsReachTheMainProgram();

private:
    // The lines the notification server printed, one JSON object per Notify.
    QList<QJsonObject> notifications();

    QProcess m_bus;
    QProcess m_compositor;
    QProcess m_server;
    QProcess m_popup;
    QString m_busAddress;
    QString m_waylandDisplay;
    QByteArray m_serverOutput;
};

void TestPopupNotifications::initTestCase()
{
    // A bus of the test's own: no desktop's notification service can answer on it.
    const QString config = QDir::tempPath() + QStringLiteral("/bus.conf");
    QFile file(config);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<busconfig><type>session</type><listen>unix:tmpdir=" + QDir::tempPath().toUtf8() +
               "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
               "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
               "<allow own=\"*\"/></policy></busconfig>");
    file.close();
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                 QStringLiteral("--config-file=") + config});
    QByteArray address;
    while (!address.endsWith('\n') && m_bus.waitForReadyRead(10000))
        address += m_bus.readAllStandardOutput();
    m_busAddress = QString::fromUtf8(address.trimmed());
    QVERIFY2(!m_busAddress.isEmpty(), "dbus-daemon gave no address");

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    m_server.setProcessEnvironment(environment);
    connect(&m_server, &QProcess::readyReadStandardOutput, this,
            [this] { m_serverOutput += m_server.readAllStandardOutput(); });
    m_server.start(TestSupport::helperProgram(QStringLiteral("notificationpeer")), QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(m_serverOutput.startsWith("ready\n"), 10000);

    m_waylandDisplay = QStringLiteral("wayland-korvex-%1").arg(QCoreApplication::applicationPid());
    m_compositor.setProcessChannelMode(QProcess::MergedChannels);
    m_compositor.setStandardOutputFile(QProcess::nullDevice());
    m_compositor.start(QStringLiteral("weston"), {QStringLiteral("--backend=headless-backend.so"),
                                                  QStringLiteral("--socket=") + m_waylandDisplay,
                                                  QStringLiteral("--idle-time=0")});
    QVERIFY2(m_compositor.waitForStarted(10000),
             "weston did not start (scripts/setup installs it)");
    const QString socket =
        qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + m_waylandDisplay;
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);
}

void TestPopupNotifications::cleanupTestCase()
{
    for (QProcess *process : {&m_popup, &m_compositor, &m_server, &m_bus})
        TestSupport::stopProcess(process);
}

QList<QJsonObject> TestPopupNotifications::notifications()
{
    QList<QJsonObject> calls;
    for (const QByteArray &line : m_serverOutput.split('\n')) {
        if (line.startsWith('{'))
            calls << QJsonDocument::fromJson(line).object();
    }
    return calls;
}

void TestPopupNotifications::itemsBecomeNotificationsWhoseActionsReachTheMainProgram()
{
    TestSupport::RecordingServer main(Protocol::mainSocketName());
    QVERIFY(main.listening);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), m_waylandDisplay);
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    m_popup.setProcessEnvironment(environment);
    m_popup.setProcessChannelMode(QProcess::ForwardedChannels);
    // No page is needed for a notification: the host answers nothing.
    m_popup.start(TestSupport::binDir() + QStringLiteral("/vek_popup"),
                  {QStringLiteral("-host"), QStringLiteral("http://127.0.0.1:9")});
    QTRY_COMPARE_WITH_TIMEOUT(main.text(), Protocol::popupStartedTag(), 15000);

    QLocalSocket toPopup;
    toPopup.connectToServer(Protocol::socketPath(Protocol::popupSocketName()));
    QVERIFY(toPopup.waitForConnected(1000));
    QVERIFY(Protocol::sendMessage(&toPopup, Protocol::popupHelloMessage(QStringLiteral("0"))));
    const QString item = QStringLiteral(
        "[{\"id\":42,\"vek_news_type\":\"FBN\",\"title\":\"[快讯]<b>现货黄金</b>日内上涨1%\","
        "\"content\":\"美元走软&nbsp;&amp; 金价 <i>走高</i> a<b\",\"time\":\"2026-12-07 "
        "08:15:00\"}]");
    QVERIFY(
        Protocol::sendMessage(&toPopup, Protocol::popupNewsMessage(30, QStringLiteral("1"), item)));

    QTRY_COMPARE_WITH_TIMEOUT(notifications().size(), 1, 15000);
    const QJsonObject shown = notifications().first();
    QCOMPARE(shown.value(QStringLiteral("app")).toString(), QStringLiteral("Korvex"));
    QCOMPARE(shown.value(QStringLiteral("summary")).toString(),
             QStringLiteral("[快讯]现货黄金日内上涨1%"));
    // The server reads markup: the item's own tags are gone, its text shows as it is.
    QCOMPARE(shown.value(QStringLiteral("body")).toString(),
             QStringLiteral("美元走软 &amp; 金价 走高 a&lt;b"));
    QCOMPARE(shown.value(QStringLiteral("actions")).toArray(),
             QJsonArray({QStringLiteral("more"), QStringLiteral("More"), QStringLiteral("default"),
                         QStringLiteral("Open")}));
    QCOMPARE(shown.value(QStringLiteral("timeout")).toInt(), 30000);
    QCOMPARE(shown.value(QStringLiteral("urgency")).toInt(), 2);

    // "More" brings the main window as the pop-up's button does; the
    // notification itself opens the item.
    const QByteArray id = QByteArray::number(shown.value(QStringLiteral("id")).toInt());
    m_server.write("invoke " + id + " more\n");
    QTRY_COMPARE(main.text(), Protocol::popupStartedTag() + Protocol::popupMoreTag());
    // Another program's notification is not ours to answer.
    m_server.write("invoke 999 more\ninvoke " + id + " default\n");
    QTRY_COMPARE(main.text(), Protocol::popupStartedTag() + Protocol::popupMoreTag() +
                                  Protocol::popupContentTag() + QStringLiteral("42"));
}

QTEST_GUILESS_MAIN(TestPopupNotifications)
#include "tst_popupnotifications.moc"
