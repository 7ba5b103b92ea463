// Longest stall of the GUI thread's event loop while the client ends its
// companion programs by name: at quit, and when the pop-up program is stopped
// for silent mode. Stand-ins that ignore SIGTERM play the companions, so each
// end takes the whole grace period before SIGKILL. A 5 ms timer measures the
// event-loop latency; the same end called straight on the GUI thread is
// printed beside it for scale.
#include "benchsupport.h"
#include "companions/companionsupervisor.h"
#include "companions/listenthread.h"
#include "platform.h"
#include "app/programfolder.h"
#include "companions/popupthread.h"
#include "korvexsession.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTextStream>

#include <algorithm>
#include <functional>

using Korvex::CompanionSupervisor;

namespace
{

// Event-loop latency while `action` runs and until `done` holds.
qint64 longestStallMs(const std::function<void()> &action, const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longest = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    tick.start(5);
    QCoreApplication::processEvents();
    last = clock.elapsed();
    action();
    Bench::waitFor(done, 20000);
    // The call itself may have been the stall.
    longest = std::max(longest, clock.elapsed() - last);
    return longest;
}

bool bothRunning(CompanionSupervisor &supervisor)
{
    return !TestSupport::sessionProcesses(QStringLiteral("vek_listen")).isEmpty() &&
           !TestSupport::sessionProcesses(QStringLiteral("vek_popup")).isEmpty() &&
           supervisor.listenThread()->isRunning() && supervisor.popupThread()->isRunning();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    if (!dir.isValid() || !TestSupport::copyCompanionStubs(dir.path()) ||
        !QDir::setCurrent(dir.path())) {
        out << "bench_quitstall: cannot set up the stand-in companions\n";
        return 1;
    }
    Korvex::setProgramFolder(dir.path());
    qputenv("KORVEX_STUB_IGNORE_TERM", "1");

    out << "Longest GUI-thread stall while companions that ignore SIGTERM are ended "
           "(target: <= 50 ms)\n";
    CompanionSupervisor supervisor(QStringLiteral("http://127.0.0.1:9"));
    supervisor.start();
    Bench::waitFor([&] { return bothRunning(supervisor); }, 10000);
    const qint64 direct = longestStallMs(
        [] { Platform::endProcessesByName(QStringLiteral("vek_popup")); },
        [&] { return TestSupport::sessionProcesses(QStringLiteral("vek_popup")).isEmpty(); });
    out << QStringLiteral("  %1 %2 ms\n")
               .arg(QStringLiteral("ending by name on the GUI thread"), -36)
               .arg(direct);

    supervisor.startPopup();
    Bench::waitFor([&] { return bothRunning(supervisor); }, 10000);
    const qint64 stop = longestStallMs([&] { supervisor.stopPopup(true); },
                                       [&] { return !supervisor.popupThread()->isRunning(); });
    out << QStringLiteral("  %1 %2 ms\n")
               .arg(QStringLiteral("pop-up stop (silent mode)"), -36)
               .arg(stop);

    supervisor.startPopup();
    Bench::waitFor([&] { return bothRunning(supervisor); }, 10000);
    const qint64 quit = longestStallMs([&] { supervisor.quit(); },
                                       [&] {
                                           return !supervisor.listenThread()->isRunning() &&
                                                  !supervisor.popupThread()->isRunning();
                                       });
    out << QStringLiteral("  %1 %2 ms\n")
               .arg(QStringLiteral("quit (both companions)"), -36)
               .arg(quit);
    return 0;
}
