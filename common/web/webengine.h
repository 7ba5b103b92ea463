#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWebPage;

// What the programs with web pages (Korvex, vek_popup, vek_listen) set up about
// the web engine: they keep a few pages loaded all day and must neither grow
// nor wake up while nothing arrives.
namespace WebEngine
{

// Before the application object: no OpenGL (Platform::drawWithoutOpenGL), two
// heap pools for all threads and large blocks apart (Platform::leanHeap), and
// the script engine's optimising compiler off (its first compiler runs the
// pages' short functions as fast). The network interfaces are looked at once a
// minute, not every 10 s as Qt's network access does in each program all day.
// Not never: a program started while the computer is offline learns only from
// such a look (where no network manager reports changes) that the network is
// there, and until then every request fails. Choices made in the environment
// stand.
void beforeApplication();

// Before the application object, in a program whose page plays no sound or
// video (the listener's hidden page, the pop-up): the engine's media framework
// finds no plugins, so it neither reads their registry (some 0.5 MB in each
// program) nor scans every plugin on a first start. Its registry is a file of
// ours in the runtime folder that stays unwritten: the user's shared one,
// which other programs start from, is left as it is. Choices made in the
// environment stand.
void withoutMediaPlayback();

// Process-wide settings, before the first page: no memory cache of resources no
// page uses any more and no page cache (the programs load a handful of pages
// from one host and go back and forth between none of them), no plugins. Text
// a page gives no font of its own is set in the application's font, as the
// windows' own text is: all three programs then map the same font files (with
// the engine's serif default, a hidden page's Chinese text pulled in a second
// CJK font of several MB).
void useLeanSettings();

// Hands memory back after a busy spell. The script engine keeps the garbage of
// a flood of items (and its allocator the freed pages) until much later, so a
// program grew with every burst; once items have stopped for `quietMs` (or at
// the latest `maxBusyMs` after the first item of a long busy spell), it
// collects the garbage, drops the engine's caches and returns free memory to
// the system. Nothing runs while no item arrives. Under a steady flow the
// garbage of a minute was some 15 MB in the main program; a release every 10 s
// keeps it to a few MB and costs a few ms.
class Releaser final : public QObject
{
    Q_OBJECT
public:
    explicit Releaser(QObject *parent = nullptr, int quietMs = 2000, int maxBusyMs = 10000);

    // An item was handled: release once things are quiet again.
    void noteActivity();
    // Every load of `page` counts as activity: what a load leaves behind (the
    // parser's and the scripts' garbage, several MB at start-up) goes back too.
    void watchLoads(QWebPage *page);
    void releaseNow();
    int releaseCount() const { return m_releases; }

private:
    QTimer m_timer;
    QElapsedTimer m_busySince;
    int m_quietMs;
    int m_maxBusyMs;
    int m_releases = 0;
};

} // namespace WebEngine
