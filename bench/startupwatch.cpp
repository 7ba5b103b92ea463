#include "startupwatch.h"

#include "benchsupport.h"
#include "newspath.h"
#include "servicefixture.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace
{

// The main window's title; its frame is what becomes visible.
constexpr char MainWindowTitle[] = "Kelvora";
// Items of the start-up lie far above the service's own numbering.
constexpr int FirstSeq = 5000000;

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// A window that went away while it was looked at is simply not the one.
int ignoreErrors(::Display *, XErrorEvent *)
{
    return 0;
}

bool titled(::Display *display, Window window, int depth)
{
    char *name = nullptr;
    if (XFetchName(display, window, &name) && name) {
        const bool match = qstrcmp(name, MainWindowTitle) == 0;
        XFree(name);
        if (match)
            return true;
    }
    if (depth == 0)
        return false;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = titled(display, children[i], depth - 1);
    if (children)
        XFree(children);
    return found;
}

} // namespace

struct StartupWatch::Display {
    ::Display *display = nullptr;
    ~Display()
    {
        if (display)
            XCloseDisplay(display);
    }
};

StartupWatch::StartupWatch(ServiceFixture &service, int pushEveryMs)
    : m_service(service)
{
    m_pushTimer.setInterval(pushEveryMs);
    QObject::connect(&m_pushTimer, &QTimer::timeout, [this] { push(); });
}

StartupWatch::~StartupWatch() = default;

bool StartupWatch::begin(QString *error)
{
    m_display = std::make_unique<Display>();
    m_display->display = XOpenDisplay(nullptr);
    if (!m_display->display) {
        *error = QStringLiteral("cannot open the display");
        return false;
    }
    XSetErrorHandler(ignoreErrors);
    // The window manager maps each client's frame on the root window.
    XSelectInput(m_display->display, DefaultRootWindow(m_display->display), SubstructureNotifyMask);
    XFlush(m_display->display);
    m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(m_display->display),
                                                   QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { readDisplay(); });
    m_sinceEvent = NewsPath::lastEventSeq(m_service);
    m_figures = {};
    m_pushed = 0;
    m_startedAt = now();
    m_pushTimer.start();
    return true;
}

void StartupWatch::readDisplay()
{
    ::Display *display = m_display->display;
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && m_figures.mappedMs < 0 &&
            titled(display, event.xmap.window, 2))
            m_figures.mappedMs = now() - m_startedAt;
    }
}

void StartupWatch::push()
{
    const int seq = FirstSeq + m_pushed++;
    const qint64 sent = now();
    const QJsonObject item{
        {QStringLiteral("id"), 0},
        {QStringLiteral("vek_news_type"), QStringLiteral("FBN")},
        {QStringLiteral("title"), QStringLiteral("[快讯]启动测试 第%1条").arg(seq)},
        {QStringLiteral("content"), QStringLiteral("启动后的第一条消息")},
        {QStringLiteral("time"),
         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))},
        {QStringLiteral("importance"), 0},
        {QStringLiteral("seq"), seq},
        {QStringLiteral("sent"), sent},
    };
    m_service.push(
        QString::fromUtf8(QJsonDocument(QJsonArray{item}).toJson(QJsonDocument::Compact)));
}

void StartupWatch::lookAtService()
{
    const auto firstTime = [this](const QString &query) {
        const QJsonArray events = m_service.control("GET", query.arg(m_sinceEvent))
                                      .object()
                                      .value(QLatin1String("events"))
                                      .toArray();
        return events.isEmpty()
                   ? qint64(-1)
                   : qint64(events.first().toObject().value(QLatin1String("time")).toDouble());
    };
    if (m_figures.liveLoadedMs < 0) {
        const qint64 at = firstTime(QStringLiteral("/events?kind=load&path=/Expresslive&since=%1"));
        if (at > 0)
            m_figures.liveLoadedMs = at - m_startedAt;
    }
    if (m_figures.firstPopupItemMs < 0) {
        std::map<int, qint64> sent;
        const NewsPath::Arrivals shown = NewsPath::pageArrivals(
            m_service, QStringLiteral("iojieshou"), QStringLiteral("/wicket"), m_sinceEvent, &sent);
        qint64 first = -1;
        for (const auto &[seq, at] : shown) {
            if (seq >= FirstSeq && (first < 0 || at < first))
                first = at;
        }
        if (first > 0)
            m_figures.firstPopupItemMs = first - m_startedAt;
    }
}

StartupWatch::Figures StartupWatch::wait(int timeoutMs)
{
    // The service is asked a few times a second, not at every turn: it serves
    // the starting client's pages meanwhile.
    QElapsedTimer asked;
    Bench::waitFor(
        [&] {
            readDisplay();
            if (!asked.isValid() || asked.elapsed() >= 100) {
                lookAtService();
                asked.start();
            }
            return m_figures.mappedMs >= 0 && m_figures.liveLoadedMs >= 0 &&
                   m_figures.firstPopupItemMs >= 0;
        },
        timeoutMs);
    m_pushTimer.stop();
    m_notifier.reset();
    m_display.reset();
    return m_figures;
}
