// Another application's top-level windows, for split-screen tests: plain Xlib,
// so nothing of the client's own toolkit is involved. Arguments, one window
// each: "TITLE@X,Y,WxH"; TITLE "-" leaves the window untitled, "~bad" gives it
// a title that is not valid UTF-8, and a "dock:" or "desktop:" in front of it
// gives the window that type (a panel, the desktop's background). Prints the window ids in argument
// order once all are mapped, then runs until killed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <unistd.h>

int main(int argc, char **argv)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "foreignwindows: no display\n");
        return 1;
    }
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom windowType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    std::vector<Window> created;
    for (int i = 1; i < argc; ++i) {
        const std::string spec = argv[i];
        const auto at = spec.rfind('@');
        int x = 0, y = 0;
        unsigned w = 100, h = 100;
        if (at == std::string::npos ||
            std::sscanf(spec.c_str() + at + 1, "%d,%d,%ux%u", &x, &y, &w, &h) != 4) {
            std::fprintf(stderr, "foreignwindows: bad argument %s\n", argv[i]);
            return 2;
        }
        std::string title = spec.substr(0, at);
        Atom type = None;
        const struct {
            const char *prefix;
            const char *atom;
        } kinds[] = {{"dock:", "_NET_WM_WINDOW_TYPE_DOCK"},
                     {"desktop:", "_NET_WM_WINDOW_TYPE_DESKTOP"}};
        for (const auto &kind : kinds) {
            if (title.rfind(kind.prefix, 0) == 0) {
                type = XInternAtom(display, kind.atom, False);
                title.erase(0, std::strlen(kind.prefix));
            }
        }
        const Window window =
            XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, w, h, 0, 0,
                                WhitePixel(display, DefaultScreen(display)));
        XSizeHints hints{};
        hints.flags = USPosition | USSize;
        hints.x = x;
        hints.y = y;
        hints.width = int(w);
        hints.height = int(h);
        XSetWMNormalHints(display, window, &hints);
        if (title == "~bad") {
            const char bad[] = "Bad \xff\xfe title";
            XChangeProperty(display, window, netWmName, utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(bad), int(sizeof bad - 1));
        } else if (title != "-") {
            XChangeProperty(display, window, netWmName, utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(title.data()),
                            int(title.size()));
            XStoreName(display, window, title.c_str());
        }
        // The window manager maps a window only once it has placed it.
        XSelectInput(display, window, StructureNotifyMask);
        if (type != None) {
            XChangeProperty(display, window, windowType, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char *>(&type), 1);
        }
        XMapWindow(display, window);
        created.push_back(window);
    }
    XSync(display, False);
    for (std::size_t mapped = 0; mapped < created.size();) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify)
            ++mapped;
    }
    for (const Window window : created)
        std::printf("%lu ", window);
    std::printf("\n");
    std::fflush(stdout);
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
        usleep(50000);
    }
}
