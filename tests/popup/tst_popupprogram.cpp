#include "common/protocol.h"
#include "tests/support/pageserver.h"
#include "tests/support/testsupport.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QtTest>

#include <memory>

// Real vek_popup processes against a test main-program socket and a page server.
class TestPopupProgram final : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void secondProgramReportsItselfAndTheFirstKeepsReceiving();

private:
    QProcess *startPopup();

    std::unique_ptr<PageServer> m_page;
    std::unique_ptr<QLocalServer> m_main;
    QString m_fromPopups;
    QList<QProcess *> m_processes;
    QHash<QProcess *, QByteArray> m_stderr;
};

void TestPopupProgram::init()
{
    m_page = std::make_unique<PageServer>(PageServer::reportingPage());
    m_main = std::make_unique<QLocalServer>();
    QVERIFY(m_main->listen(Protocol::mainSocketName()));
    m_fromPopups.clear();
    connect(m_main.get(), &QLocalServer::newConnection, this, [this] {
        QLocalSocket *socket = m_main->nextPendingConnection();
        connect(socket, &QLocalSocket::readyRead, this,
                [this, socket] { m_fromPopups += QString::fromUtf8(socket->readAll()); });
    });
}

void TestPopupProgram::cleanup()
{
    for (QProcess *process : qAsConst(m_processes)) {
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished(5000);
        }
        delete process;
    }
    m_processes.clear();
    m_stderr.clear();
    m_main.reset();
    m_page.reset();
}

QProcess *TestPopupProgram::startPopup()
{
    auto *process = new QProcess;
    m_processes << process;
    process->setProcessChannelMode(QProcess::SeparateChannels);
    connect(process, &QProcess::readyReadStandardError, this,
            [this, process] { m_stderr[process] += process->readAllStandardError(); });
    process->start(TestSupport::binDir() + QStringLiteral("/vek_popup"),
                   {QStringLiteral("-host"), m_page->baseUrl()});
    return process;
}

void TestPopupProgram::secondProgramReportsItselfAndTheFirstKeepsReceiving()
{
    QProcess *first = startPopup();
    QTRY_COMPARE_WITH_TIMEOUT(m_fromPopups, Protocol::popupStartedTag(), 15000);
    // "-host" points the page at our server.
    QTRY_VERIFY_WITH_TIMEOUT(!m_page->requests.isEmpty(), 15000);
    QCOMPARE(m_page->requests.first().path, QStringLiteral("/wicket"));

    QProcess *second = startPopup();
    QTRY_COMPARE_WITH_TIMEOUT(m_fromPopups, Protocol::popupStartedTag().repeated(2), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(m_stderr.value(second).contains("localSocketServer init error!"),
                             15000);
    QCOMPARE(second->state(), QProcess::Running);

    QLocalSocket toPopup;
    toPopup.connectToServer(Protocol::popupSocketName());
    QVERIFY(toPopup.waitForConnected(1000));
    QVERIFY(Protocol::sendMessage(&toPopup, Protocol::popupHelloMessage(QStringLiteral("8"))));
    const QString text = QStringLiteral("{\"vek_news_type\":\"FBN\",\"content\":\"金价上涨\"}");
    QVERIFY(
        Protocol::sendMessage(&toPopup, Protocol::popupNewsMessage(30, QStringLiteral("0"), text)));

    QTRY_VERIFY_WITH_TIMEOUT(!m_page->calls.isEmpty(), 15000);
    QCOMPARE(m_page->calls.first().function, QStringLiteral("iojieshou"));
    QCOMPARE(m_page->calls.first().argument, text);
    QVERIFY(!m_stderr.value(first).contains("localSocketServer init error!"));
}

QTEST_GUILESS_MAIN(TestPopupProgram)
#include "tst_popupprogram.moc"
