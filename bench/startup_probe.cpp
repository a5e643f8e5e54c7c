// Starts a program on the X display and reports how long it took to put its
// window on the screen, and how much memory it holds once it has settled.
//
//   startup_probe SETTLE_MS PROGRAM [ARGUMENTS...]
//
// Prints one line, "<start-up in ms> <VmRSS in KiB>", then ends the program.
//
// The clock (CLOCK_MONOTONIC) starts just before the fork that execs the
// program. The probe listens on the root window for every window created
// there, and follows each one: the program's window is the one whose
// _NET_WM_PID is the program's process id (of several, the first to be shown).
// The clock stops at the first event after which that window is viewable: mapped, and inside a
// mapped frame when a window manager has reparented it. Events are read as they arrive; between the
// window being known and viewable the probe also looks every millisecond. The memory is VmRSS from
// /proc/PID/status SETTLE_MS after that.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double Now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

int IgnoreErrors(Display *, XErrorEvent *)
{
    return 0; // a window may be gone before it is asked about
}

long WindowPid(Display *display, Window window, Atom netWmPid)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32 && count == 1)
        pid = static_cast<long>(*reinterpret_cast<unsigned long *>(data));
    if (data)
        XFree(data);
    return pid;
}

// Viewable and larger than 1x1: Wine maps the 0x0 window that carries a
// program's task-bar button as a 1x1 X window, which nobody sees.
bool Viewable(Display *display, Window window)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) &&
           attributes.map_state == IsViewable && attributes.width > 1 && attributes.height > 1;
}

long VmRssKib(pid_t pid)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    FILE *file = std::fopen(path.c_str(), "r");
    if (!file)
        return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, file))
        if (std::sscanf(line, "VmRSS: %ld kB", &kib) == 1)
            break;
    std::fclose(file);
    return kib;
}

void End(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SETTLE_MS PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(IgnoreErrors);
    const int fd = ConnectionNumber(display);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
    const Window root = DefaultRootWindow(display);
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = Now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return 1;
    }
    if (pid == 0) {
        execv(argv[2], argv + 2);
        std::perror(argv[2]);
        _exit(127);
    }

    // Windows created on the root, followed for map and property changes.
    // A program may own several (Wine gives each process hidden helper windows
    // with its process id): the first of them to become viewable is the
    // program's window.
    std::set<Window> followed;
    std::set<Window> candidates; // the program's windows, once known
    double shown = -1;
    const auto consider = [&](Window candidate) {
        if (WindowPid(display, candidate, netWmPid) == pid)
            candidates.insert(candidate);
    };
    const auto anyViewable = [&] {
        for (Window candidate : candidates)
            if (Viewable(display, candidate))
                return true;
        return false;
    };
    while (shown < 0) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            // Override-redirect windows count too: Wine makes every window
            // one when it manages them itself.
            if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
                const Window created = event.xcreatewindow.window;
                followed.insert(created);
                XSelectInput(display, created, StructureNotifyMask | PropertyChangeMask);
                consider(created); // it may have been named before it was followed
            } else if (event.type == PropertyNotify && event.xproperty.atom == netWmPid) {
                consider(event.xproperty.window);
            } else if (event.type == MapNotify && followed.count(event.xmap.window)) {
                consider(event.xmap.window);
            }
        }
        if (anyViewable()) {
            shown = Now();
            break;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "startup_probe: %s ended before its window was shown\n", argv[2]);
            return 1;
        }
        if (Now() - start > 30000) {
            std::fprintf(stderr, "startup_probe: no window of %s within 30 s\n", argv[2]);
            End(pid);
            return 1;
        }
        // Once the window is known, a map of a frame between it and the root
        // may come without an event here: look again every millisecond.
        pollfd wait{fd, POLLIN, 0};
        poll(&wait, 1, candidates.empty() ? 100 : 1);
    }

    usleep(static_cast<useconds_t>(settleMs) * 1000);
    const long rss = VmRssKib(pid);
    End(pid);
    XCloseDisplay(display);
    std::printf("%.3f %ld\n", shown - start, rss);
    return 0;
}
