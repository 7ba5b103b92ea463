#pragma once

#include <QString>

#include <map>

class KorvexSession;
class QTextStream;
class ServiceFixture;
class WindowManager;

// Following numbered items ("seq", "sent") of the stand-in service through the
// client, and reading what its programs cost from /proc. Shared by bench/e2e
// and bench/soak.
namespace NewsPath
{

// Starts a window manager (going on without one if it fails), the stand-in
// service and the whole client logging its ticker rows. False, with the reason
// written to `out`, when the service or the client does not start.
bool startClient(WindowManager &windowManager, ServiceFixture &service, KorvexSession &korvex,
                 QTextStream &out);
// The two halves of startClient, for what is to happen between them.
bool startService(WindowManager &windowManager, ServiceFixture &service, QTextStream &out);
bool startKorvex(ServiceFixture &service, KorvexSession &korvex, QTextStream &out);

// seq -> the time an item reached a hop (ms since the epoch).
using Arrivals = std::map<int, qint64>;

// Page calls of `function` on `path` after event `since`: seq -> page time;
// the send times found go to `sent`. `last` (optional) gets the last event
// number seen, for the next call.
Arrivals pageArrivals(ServiceFixture &service, const QString &function, const QString &path,
                      int since, std::map<int, qint64> *sent, int *last = nullptr);
int lastEventSeq(ServiceFixture &service);
// Ticker rows logged from line `fromLine` on (burst items carry id 900000 + seq).
Arrivals tickerArrivals(KorvexSession &korvex, int fromLine);

// What one program costs now; -1 where /proc has no answer.
struct Cost {
    qint64 cpuTicks = -1; // user + system
    qint64 cpuNs = -1;    // time on a CPU, nanoseconds (schedstat: finer than ticks)
    double rssMb = -1;
    double pssMb = -1;
    double pssAnonMb = -1;
    int openFiles = -1;
};
Cost costOf(qint64 pid);

} // namespace NewsPath
