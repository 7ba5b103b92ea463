#include "platform.h"

#include "logging.h"

#include <QByteArray>
#include <QList>
#include <QTextCodec>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <mutex>
#include <fcntl.h>
#include <sys/select.h>
#include <unistd.h>

namespace
{

// A window can vanish between listing and asking about it; that is no reason to end.
int ignoreXError(Display *, XErrorEvent *)
{
    return 0;
}

QString utf8Title(const char *data, int length)
{
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(data, length, &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return {};
    return text;
}

} // namespace

namespace Platform
{

namespace
{

class X11DesktopWindows final : public DesktopWindows
{
public:
    X11DesktopWindows();
    ~X11DesktopWindows() override;
    X11DesktopWindows(const X11DesktopWindows &) = delete;
    X11DesktopWindows &operator=(const X11DesktopWindows &) = delete;

    bool isAvailable() const override;
    QList<Window> list() override;
    QString title(quint64 id) override;
    bool isDesktopPart(quint64 id) override;
    void move(quint64 id, const QRect &frame) override;
    void waitForChange(int ms) override;
    void wake() override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

struct X11DesktopWindows::Private {
    Display *display = nullptr;
    ::Window root = 0;
    Atom stacking = None;
    Atom netWmName = None;
    Atom utf8String = None;
    Atom frameExtents = None;
    Atom windowType = None;
    Atom typeDock = None;
    Atom typeDesktop = None;
    int wakePipe[2] = {-1, -1};

    // Property `atom` of `window` as raw bytes, at most `maxItems` items.
    QByteArray property(::Window window, Atom atom, Atom type, int format, long maxItems) const
    {
        Atom actualType = None;
        int actualFormat = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, window, atom, 0, maxItems, False, type, &actualType,
                               &actualFormat, &count, &after, &data) != Success ||
            !data)
            return {};
        QByteArray bytes;
        if (actualType == type && actualFormat == format) {
            // 32-bit items come as longs.
            const int itemSize = format == 32 ? int(sizeof(long)) : format / 8;
            bytes = QByteArray(reinterpret_cast<const char *>(data), int(count) * itemSize);
        }
        XFree(data);
        return bytes;
    }

    QString title(::Window window) const
    {
        const QByteArray name = property(window, netWmName, utf8String, 8, 1024);
        if (!name.isEmpty())
            return utf8Title(name.constData(), name.size());
        XTextProperty text;
        if (!XGetWMName(display, window, &text) || !text.value)
            return {};
        QString result;
        if (text.encoding == XA_STRING) {
            result =
                QString::fromLatin1(reinterpret_cast<const char *>(text.value), int(text.nitems));
        } else {
            char **list = nullptr;
            int count = 0;
            if (Xutf8TextPropertyToTextList(display, &text, &list, &count) == Success && list &&
                count > 0) {
                result = utf8Title(list[0], int(qstrlen(list[0])));
            }
            if (list)
                XFreeStringList(list);
        }
        XFree(text.value);
        return result;
    }

    // Left, right, top, bottom decoration widths the window manager announced.
    QMargins extents(::Window window) const
    {
        const QByteArray raw = property(window, frameExtents, XA_CARDINAL, 32, 4);
        if (raw.size() < int(4 * sizeof(long)))
            return {};
        const long *v = reinterpret_cast<const long *>(raw.constData());
        return QMargins(int(v[0]), int(v[2]), int(v[1]), int(v[3]));
    }

    QList<::Window> clients() const
    {
        QList<::Window> windows;
        const QByteArray raw = property(root, stacking, XA_WINDOW, 32, 4096);
        if (!raw.isEmpty()) {
            const long *ids = reinterpret_cast<const long *>(raw.constData());
            for (int i = 0; i < raw.size() / int(sizeof(long)); ++i)
                windows << ::Window(ids[i]);
            return windows;
        }
        // No window manager that lists its clients: the root's children.
        ::Window rootReturn = 0;
        ::Window parent = 0;
        ::Window *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) && children) {
            for (unsigned int i = 0; i < count; ++i)
                windows << children[i];
            XFree(children);
        }
        return windows;
    }
};

X11DesktopWindows::X11DesktopWindows()
    : d(std::make_unique<Private>())
{
    static std::once_flag handlerSet;
    std::call_once(handlerSet, [] { XSetErrorHandler(ignoreXError); });
    // Under Wayland the client runs on its X server (XWayland) unless the user
    // named another platform; then the X windows are ours to move.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        (!platform.isEmpty() && !platform.startsWith("xcb"))) {
        static std::atomic_bool told{false};
        if (!told.exchange(true)) {
            qCWarning(lcPlatform).noquote()
                << "split screen: no X11 desktop, other windows are not moved";
        }
        return;
    }
    d->display = XOpenDisplay(nullptr);
    if (!d->display) {
        qCWarning(lcPlatform).noquote() << "split screen: cannot open the X display";
        return;
    }
    d->root = DefaultRootWindow(d->display);
    d->stacking = XInternAtom(d->display, "_NET_CLIENT_LIST_STACKING", False);
    d->netWmName = XInternAtom(d->display, "_NET_WM_NAME", False);
    d->utf8String = XInternAtom(d->display, "UTF8_STRING", False);
    d->frameExtents = XInternAtom(d->display, "_NET_FRAME_EXTENTS", False);
    d->windowType = XInternAtom(d->display, "_NET_WM_WINDOW_TYPE", False);
    d->typeDock = XInternAtom(d->display, "_NET_WM_WINDOW_TYPE_DOCK", False);
    d->typeDesktop = XInternAtom(d->display, "_NET_WM_WINDOW_TYPE_DESKTOP", False);
    // Frames and windows appearing or moving on the root wake the waiting loop.
    XSelectInput(d->display, d->root, SubstructureNotifyMask | PropertyChangeMask);
    XFlush(d->display);
    if (::pipe2(d->wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        d->wakePipe[0] = d->wakePipe[1] = -1;
}

X11DesktopWindows::~X11DesktopWindows()
{
    if (d->display)
        XCloseDisplay(d->display);
    for (int fd : d->wakePipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool X11DesktopWindows::isAvailable() const
{
    return d->display != nullptr;
}

QList<DesktopWindows::Window> X11DesktopWindows::list()
{
    QList<Window> result;
    if (!d->display)
        return result;
    for (::Window id : d->clients()) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(d->display, id, &attributes))
            continue;
        int x = 0;
        int y = 0;
        ::Window child = 0;
        if (!XTranslateCoordinates(d->display, id, d->root, 0, 0, &x, &y, &child))
            continue;
        const QMargins m = d->extents(id);
        Window window;
        window.id = id;
        window.frame = QRect(x - m.left(), y - m.top(), attributes.width + m.left() + m.right(),
                             attributes.height + m.top() + m.bottom());
        result << window;
    }
    return result;
}

QString X11DesktopWindows::title(quint64 id)
{
    return d->display ? d->title(::Window(id)) : QString();
}

bool X11DesktopWindows::isDesktopPart(quint64 id)
{
    if (!d->display)
        return false;
    const QByteArray raw = d->property(::Window(id), d->windowType, XA_ATOM, 32, 16);
    const long *types = reinterpret_cast<const long *>(raw.constData());
    for (int i = 0; i < raw.size() / int(sizeof(long)); ++i) {
        if (Atom(types[i]) == d->typeDock || Atom(types[i]) == d->typeDesktop)
            return true;
    }
    return false;
}

void X11DesktopWindows::move(quint64 id, const QRect &frame)
{
    if (!d->display)
        return;
    const QMargins m = d->extents(::Window(id));
    // North-west gravity: the window manager puts the frame's corner at (x, y).
    const int width = qMax(1, frame.width() - m.left() - m.right());
    const int height = qMax(1, frame.height() - m.top() - m.bottom());
    XMoveResizeWindow(d->display, ::Window(id), frame.x(), frame.y(), unsigned(width),
                      unsigned(height));
    XFlush(d->display);
}

void X11DesktopWindows::waitForChange(int ms)
{
    if (!d->display)
        return;
    const int xfd = ConnectionNumber(d->display);
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(xfd, &fds);
    int top = xfd;
    if (d->wakePipe[0] >= 0) {
        FD_SET(d->wakePipe[0], &fds);
        top = qMax(top, d->wakePipe[0]);
    }
    if (XPending(d->display) == 0) {
        timeval timeout{ms / 1000, (ms % 1000) * 1000};
        ::select(top + 1, &fds, nullptr, nullptr, &timeout);
    }
    while (XPending(d->display) > 0) {
        XEvent event;
        XNextEvent(d->display, &event);
    }
    char drain[16];
    while (d->wakePipe[0] >= 0 && ::read(d->wakePipe[0], drain, sizeof drain) > 0) {
    }
}

void X11DesktopWindows::wake()
{
    if (d->wakePipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto n = ::write(d->wakePipe[1], &byte, 1);
    }
}

} // namespace

std::unique_ptr<DesktopWindows> openDesktopWindows()
{
    return std::make_unique<X11DesktopWindows>();
}

namespace
{
// Held open by displayDpi() until releaseDpiConnection(): a server that resets
// when its last client leaves (a bare Xvfb or xinit) refuses the toolkit's own
// connection for a moment after ours closes.
Display *g_dpiDisplay = nullptr;
} // namespace

double displayDpi()
{
    if (!g_dpiDisplay)
        g_dpiDisplay = XOpenDisplay(nullptr);
    Display *display = g_dpiDisplay;
    if (!display)
        return 0;
    double dpi = 0;
    // The resource string holds one "name:\tvalue" per line.
    if (const char *resources = XResourceManagerString(display)) {
        const QList<QByteArray> lines = QByteArray(resources).split('\n');
        for (const QByteArray &line : lines) {
            if (line.startsWith("Xft.dpi:")) {
                bool ok = false;
                const double value = line.mid(int(qstrlen("Xft.dpi:"))).trimmed().toDouble(&ok);
                if (ok && value > 0)
                    dpi = value;
            }
        }
    }
    const int screen = DefaultScreen(display);
    const int widthMm = DisplayWidthMM(display, screen);
    if (dpi <= 0 && widthMm > 0)
        dpi = DisplayWidth(display, screen) * 25.4 / widthMm;
    return dpi;
}

void releaseDpiConnection()
{
    if (g_dpiDisplay)
        XCloseDisplay(g_dpiDisplay);
    g_dpiDisplay = nullptr;
}

} // namespace Platform
