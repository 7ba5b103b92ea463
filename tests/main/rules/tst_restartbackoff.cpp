#include "companions/restartbackoff.h"

#include <QtTest>

using Korvex::RestartBackoff;

class TestRestartBackoff final : public QObject
{
    Q_OBJECT
private slots:
    void doublesUpToTheCap();
    void goodRunStartsOver();
    void resetForgetsFailures();
};

void TestRestartBackoff::doublesUpToTheCap()
{
    RestartBackoff backoff(1000, 30000, 60000);
    QList<int> delays;
    qint64 now = 0;
    for (int i = 0; i < 8; ++i) {
        backoff.started(now);
        now += 10; // dies at once each time
        delays << backoff.ended(now);
        now += delays.last();
    }
    QCOMPARE(delays, (QList<int>{1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000}));
}

void TestRestartBackoff::goodRunStartsOver()
{
    RestartBackoff backoff(1000, 30000, 60000);
    backoff.started(0);
    QCOMPARE(backoff.ended(5), 1000);
    backoff.started(1005);
    QCOMPARE(backoff.ended(1010), 2000);
    // Just short of a minute still counts as failing.
    backoff.started(3010);
    QCOMPARE(backoff.ended(3010 + 59999), 4000);
    backoff.started(70000);
    QCOMPARE(backoff.ended(130000), 1000);
    backoff.started(131000);
    QCOMPARE(backoff.ended(131001), 2000);
}

void TestRestartBackoff::resetForgetsFailures()
{
    RestartBackoff backoff(50, 400, 1000);
    for (int i = 0; i < 5; ++i) {
        backoff.started(0);
        backoff.ended(1);
    }
    backoff.reset();
    backoff.started(0);
    QCOMPARE(backoff.ended(1), 50);
    // An end without a recorded start does not count as a good run.
    QCOMPARE(backoff.ended(100000), 100);
}

QTEST_APPLESS_MAIN(TestRestartBackoff)
#include "tst_restartbackoff.moc"
