#include "common/platform.h"

#include <QtTest>

#include <csignal>

class TestPlatform final : public QObject
{
    Q_OBJECT
private slots:
    void terminationSignalReachesEventLoop();
};

void TestPlatform::terminationSignalReachesEventLoop()
{
    int calls = 0;
    Platform::onTerminationRequest(this, [&calls] { ++calls; });
    ::raise(SIGTERM);
    QTRY_COMPARE(calls, 1);
    ::raise(SIGINT);
    QTRY_COMPARE(calls, 2);
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
