// The split-screen loop while the mini strip is docked right: its CPU share
// with other applications' windows open (target: at most 1 % of a core), and
// how long a window that enters the strip stays there before it is moved out
// (target: at most 300 ms). Needs an X display; a window manager (openbox) is
// started on it. Usage (from the source root, after a build):
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bin/bench_split [WINDOWS=20] [SECONDS=10]
//   [MOVES=50]
#include "benchsupport.h"
#include "desktop/minisplitthread.h"
#include "desktop/splitgeometry.h"
#include "testsupport.h"
#include "windowmanager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <X11/Xlib.h>

#include <cstdio>
#include <sys/resource.h>
#include <time.h>

using Korvex::MiniSplitThread;

namespace
{

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Absolute x of a client window.
int windowX(Display *display, Window window)
{
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return x;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int windows = args.value(1, QStringLiteral("20")).toInt();
    const int seconds = args.value(2, QStringLiteral("10")).toInt();
    const int moves = args.value(3, QStringLiteral("50")).toInt();

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::printf("bench_split: needs an X display (run it under xvfb-run)\n");
        return 1;
    }
    const int width = DisplayWidth(display, DefaultScreen(display));
    const int strip = Korvex::Split::stripWidth(width);
    const int edge = width - strip;

    WindowManager windowManager;
    QString error;
    if (!windowManager.start(&error)) {
        std::printf("bench_split: %s\n", qPrintable(error));
        return 1;
    }
    // Titled windows clear of the strip, as a desktop with a few applications open.
    QStringList specs;
    for (int i = 0; i < windows; ++i)
        specs << QStringLiteral("Window %1@%2,%3,300x200")
                     .arg(i)
                     .arg(20 + (i % 10) * 40)
                     .arg(40 + (i / 10) * 250);
    QProcess foreign;
    foreign.start(TestSupport::helperProgram(QStringLiteral("foreignwindows")), specs);
    if (!foreign.waitForReadyRead(10000)) {
        std::printf("bench_split: foreign windows did not come up\n");
        return 1;
    }
    const QStringList ids =
        QString::fromLatin1(foreign.readLine()).simplified().split(QLatin1Char(' '));
    Bench::waitFor([] { return false; }, 1000); // placed by the window manager

    // CPU share of this process over `seconds`: first without the loop (the
    // bench's own waiting), then while docked with nothing to move.
    const auto cpuShare = [seconds] {
        const double before = processCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        Bench::waitFor([] { return false; }, seconds * 1000);
        return (processCpuSeconds() - before) / (double(wall.elapsed()) / 1000.0);
    };
    const double baseline = cpuShare();
    MiniSplitThread thread;
    thread.setScreen(width, QStringLiteral("Miniwindow"));
    thread.startSplitting(Korvex::Split::Right);
    const double share = cpuShare() - baseline;

    // A window dragged into the strip, until it is out again.
    const Window target = Window(ids.value(0).toULong());
    std::vector<double> latencies;
    int missed = 0;
    for (int i = 0; i < moves; ++i) {
        XMoveWindow(display, target, edge + 20, 300);
        XSync(display, False);
        QElapsedTimer since;
        since.start();
        // Wait for the window manager to have placed it inside, then for the move out.
        bool inside = false;
        while (since.elapsed() < 2000) {
            const int x = windowX(display, target);
            if (!inside && x >= edge)
                inside = true;
            if (inside && x < edge)
                break;
            timespec pause{0, 1000000};
            nanosleep(&pause, nullptr);
        }
        if (since.elapsed() >= 2000)
            ++missed;
        else
            latencies.push_back(double(since.nsecsElapsed()) / 1e6);
        XMoveWindow(display, target, 20, 300);
        XSync(display, False);
        Bench::waitFor([] { return false; }, 100 + (i % 7) * 30);
    }
    thread.stop();

    std::printf("split loop, strip right on a %d px wide screen, %d foreign windows\n", width,
                windows);
    std::printf("  CPU share of the loop while docked: %.2f %% of a core over %d s (target <= 1 "
                "%%; the bench's own waiting, %.2f %%, taken off)\n",
                share * 100.0, seconds, baseline * 100.0);
    std::printf("  window in the strip until moved out: median %.1f ms, p99 %.1f ms, max %.1f ms "
                "over %zu moves, %d not moved within 2 s (target <= 300 ms)\n",
                Bench::percentile(latencies, 0.5), Bench::percentile(latencies, 0.99),
                Bench::percentile(latencies, 1.0), latencies.size(), missed);
    std::printf("  moves made by the loop: %d\n", thread.movesMade());
    foreign.kill();
    foreign.waitForFinished();
    XCloseDisplay(display);
    return 0;
}
