#include "korvexsession.h"
#include "servicefixture.h"

#include <QtTest>

// A client left running all day writes its diagnostics to the desktop's
// journal: started as a user starts it, without logging rules, an item that
// goes all the way to the live page and the pop-up leaves no line there.
class TestQuietByDefault final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void anItemWritesNoLine();

private:
    ServiceFixture m_service;
    KorvexSession m_korvex;
};

void TestQuietByDefault::initTestCase()
{
    QString error;
    QVERIFY2(m_service.start(&error), qPrintable(error));
    QProcessEnvironment env = m_service.environment();
    env.remove(QStringLiteral("QT_LOGGING_RULES"));
    QVERIFY2(m_korvex.start(m_service.webHost(), env, &error), qPrintable(error));

    // Upper bounds only: under a loaded suite one client start has taken 31 s.
    QTRY_COMPARE_WITH_TIMEOUT(m_service.newsClients(), 1, 60000);
    // Quiet is not silent: what a user reading the journal needs is still there.
    QTRY_COMPARE_WITH_TIMEOUT(
        m_korvex.countContaining(QStringLiteral("connected to popup server!")), 1, 60000);
    QTRY_VERIFY_WITH_TIMEOUT(
        !m_service.pageEvents(QStringLiteral("load"), QStringLiteral("/Expresslive")).isEmpty() &&
            !m_service.pageEvents(QStringLiteral("load"), QStringLiteral("/wicket")).isEmpty(),
        30000);
}

void TestQuietByDefault::cleanupTestCase()
{
    m_korvex.stop();
    m_service.stop();
}

void TestQuietByDefault::anItemWritesNoLine()
{
    const int from = m_korvex.lines().size();
    const QString marker = QStringLiteral("QUIET-7301");
    QCOMPARE(m_service.pushToListeners(ServiceFixture::itemText(marker, 7301)), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.liveShown(marker), 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(m_service.popupShown(marker), 1, 20000);

    // Quitting collects all the programs wrote; the pop-up says it ends.
    QVERIFY(m_korvex.quit());
    const QList<KorvexSession::Line> lines = m_korvex.lines().mid(from);
    QVERIFY2(std::any_of(lines.begin(), lines.end(),
                         [](const KorvexSession::Line &line) {
                             return line.text ==
                                    QLatin1String("popup: termination requested, quitting");
                         }),
             "the pop-up's own output was not collected");
    // The toolkit's own complaints (no sound server here) are not ours to judge.
    static const QRegularExpression ours(QStringLiteral("^(korvex\\.[a-z.]+|popup|listen): "));
    for (const KorvexSession::Line &line : lines) {
        QVERIFY2(!line.text.contains(marker), qPrintable(line.text));
        if (line.text.contains(ours))
            QVERIFY2(line.text.startsWith(QLatin1String("popup: termination requested")),
                     qPrintable(line.text));
    }
}

QTEST_GUILESS_MAIN(TestQuietByDefault)
#include "tst_quietbydefault.moc"
