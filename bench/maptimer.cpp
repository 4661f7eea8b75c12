// kk-maptimer: starts a program and reports, on one line of stdout, the time from just before its
// exec to the map of its first top-level window, and its peak memory.
//
// The root window's map events are subscribed to before the fork, so no map can be missed and no
// polling interval blurs the figure. The child takes the start time itself, immediately before
// exec, and passes it back through a close-on-exec pipe (which also carries exec failures).
//
// With the XTest and DAMAGE extensions it can also probe the running program: pointer moves
// within one button (how many repaints and how much CPU they cause) and clicks on a page button
// (from the button's release to the repaint of a watched area). Positions are given in twips of
// a client area anchored at the bottom left of the window (a menu bar may lie above it); the
// window's width fixes the scale.
//
// Output keys (key=value, space separated):
//   map_ms     exec to MapNotify of the first top-level window
//   idle_after_map_ms  map to the moment the program went idle (-1: not within the -i cap)
//   hwm_kb     VmHWM of the program after the settle time, the awaited stderr line and idleness
//   rss_kb     VmRSS at the same moment, and its parts: anon_kb (heap and other private memory),
//              file_kb (mapped libraries, fonts and other files), shmem_kb (shared memory)
//   hwm_end_kb VmHWM after the probes, just before the program is ended
//   window, title, pid
//   hover_moves, hover_repaints (damage events during the moves), hover_changed (1 if any pixel
//     of the window differs afterwards), hover_cpu_ms (CPU the program spent on them, all threads)
//   hover_switch_ms  moving into the next button: to its first repaint
//   page_ms    median, release of the page button to the first repaint in the watched area;
//     page_max_ms, page_done_ms (to the last repaint), page_cpu_ms, page_changed (clicks that
//     changed the watched area), page_all_ms (every click, in order)
//   probe=not-built  probes were asked for, but this timer was built without XTest and DAMAGE
//
// With --hold the line is printed as soon as it is complete and the program is left running
// (its stderr still drained, so that it never blocks or dies writing to it) until the timer gets
// SIGTERM, SIGINT or SIGHUP; only then is the program ended. That keeps one copy of a program
// up while others are measured against it.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#ifdef KK_HAVE_XTEST_DAMAGE
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#endif

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
volatile pid_t g_child = 0;
volatile sig_atomic_t g_stopHolding = 0;

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

void onHoldSignal(int)
{
    g_stopHolding = 1;
}

void onSignal(int sig)
{
    if (g_child > 0) {
        kill(g_child, SIGKILL);
    }
    signal(sig, SIG_DFL);
    raise(sig);
}

[[noreturn]] void usage()
{
    std::fprintf(
        stderr,
        "usage: kk-maptimer [options] -- program [args...]\n"
        "  -s MS            settle time after the map before memory is read (default 300)\n"
        "  -t MS            give up if nothing is mapped within MS (default 30000)\n"
        "  -p TEXT          also wait (up to -P MS, default 3000) for a stderr line holding TEXT\n"
        "  -i MS            then wait (up to MS, default 10000; 0: not at all) until the program\n"
        "                   uses under 3 %% of a CPU over 100 ms, before memory is read\n"
        "  -q               do not forward the program's stderr\n"
        "  --hold           print the line, then leave the program running until this timer\n"
        "                   is sent SIGTERM, SIGINT or SIGHUP\n"
        "  --can-probe      exit 0 if built with the page and pointer probes, 1 if not\n"
        "  --design W,H     client area in twips, at the bottom left of the window\n"
        "  --hover X,Y      twips: centre of a button for the pointer-move probe\n"
        "  --hover-next X,Y twips: centre of another button (time of a hover change)\n"
        "  --hover-moves M  pointer moves within the button (default 0: no probe)\n"
        "  --page-click X,Y twips: the page button\n"
        "  --page-watch X,Y,W,H  twips: the area a page move repaints\n"
        "  --page-moves K   page clicks (default 0: no probe)\n");
    std::exit(2);
}

bool parseInts(const char *text, int *out, int count)
{
    for (int i = 0; i < count; ++i) {
        char *end = nullptr;
        const long value = std::strtol(text, &end, 10);
        if (end == text) {
            return false;
        }
        out[i] = int(value);
        if (i + 1 < count) {
            if (*end != ',') {
                return false;
            }
            text = end + 1;
        } else if (*end != '\0') {
            return false;
        }
    }
    return true;
}

long statusKb(pid_t pid, const char *key)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", int(pid));
    FILE *file = std::fopen(path, "r");
    if (!file) {
        return -1;
    }
    char line[256];
    long value = -1;
    const size_t keyLength = std::strlen(key);
    while (std::fgets(line, sizeof line, file)) {
        if (std::strncmp(line, key, keyLength) == 0 && line[keyLength] == ':') {
            value = std::strtol(line + keyLength + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(file);
    return value;
}

// Nanoseconds the process has spent on a CPU, summed over its threads, from the scheduler's own
// accounting: much finer than the tick-based utime and stime.
long long cpuNs(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/task", int(pid));
    DIR *tasks = opendir(path);
    if (!tasks) {
        return -1;
    }
    long long total = 0;
    while (const dirent *entry = readdir(tasks)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        char file[320];
        std::snprintf(file, sizeof file, "/proc/%d/task/%s/schedstat", int(pid), entry->d_name);
        if (FILE *stat = std::fopen(file, "r")) {
            long long ns = 0;
            if (std::fscanf(stat, "%lld", &ns) == 1) {
                total += ns;
            }
            std::fclose(stat);
        }
    }
    closedir(tasks);
    return total;
}

struct Options {
    int settleMs = 300;
    int timeoutMs = 30000;
    const char *awaitText = nullptr;
    int awaitCapMs = 3000;
    int idleCapMs = 10000;
    bool quiet = false;
    bool hold = false;
    int design[2] = {0, 0};
    int hover[2] = {-1, -1};
    int hoverNext[2] = {-1, -1};
    int hoverMoves = 0;
    int pageClick[2] = {-1, -1};
    int pageWatch[4] = {0, 0, 0, 0};
    int pageMoves = 0;
};

class Session
{
public:
    Session(Display *display, const Options &options)
        : m_display(display)
        , m_options(options)
        , m_root(DefaultRootWindow(display))
    {
    }

    int run(char **argv);

private:
    // One pass over everything pending, X events and the child's stderr, waiting at most until
    // the deadline for something to arrive.
    void pump(double deadline);
    void handleEvent(XEvent &event);
    void readChildOutput();
    template<typename Done>
    bool waitUntil(double deadline, Done done)
    {
        while (!done()) {
            if (nowMs() >= deadline) {
                return false;
            }
            pump(deadline);
        }
        return true;
    }
    void endChild();
    void drainChildOutput();
    void hold();
    std::string windowTitle(Window window);

#ifdef KK_HAVE_XTEST_DAMAGE
    void probe();
    bool startDamage();
    void waitQuiet(double quietMs, double capMs);
    int px(int twips) const
    {
        return int(std::lround(twips * m_scale));
    }
    int clientX(int twips) const
    {
        return m_winX + px(twips);
    }
    int clientY(int twips) const
    {
        return m_winY + m_clientTop + px(twips);
    }
    std::vector<char> grab(int x, int y, int w, int h);
    void hoverProbe();
    void pageProbe();

    int m_damageEvent = 0;
    int m_damageError = 0;
    Damage m_damage = 0;
    double m_lastDamage = 0;
    long m_damageCount = 0;
    // Damage inside the watched rectangle (window coordinates).
    bool m_watchActive = false;
    int m_watch[4] = {0, 0, 0, 0};
    double m_firstWatchDamage = 0;
    double m_scale = 0;
    int m_winX = 0, m_winY = 0, m_winW = 0, m_winH = 0, m_clientTop = 0;
#endif

    Display *m_display;
    const Options &m_options;
    Window m_root;
    pid_t m_pid = 0;
    int m_errFd = -1;
    std::string m_errLine;
    bool m_awaitSeen = false;
    Window m_mapped = 0;
    double m_mapTime = 0;
    std::string m_results;
};

void Session::readChildOutput()
{
    char buffer[4096];
    const ssize_t n = read(m_errFd, buffer, sizeof buffer);
    if (n <= 0) {
        close(m_errFd);
        m_errFd = -1;
        return;
    }
    if (!m_options.quiet) {
        (void)!write(STDERR_FILENO, buffer, size_t(n));
    }
    if (m_options.awaitText) {
        m_errLine.append(buffer, size_t(n));
        size_t newline;
        while ((newline = m_errLine.find('\n')) != std::string::npos) {
            if (m_errLine.substr(0, newline).find(m_options.awaitText) != std::string::npos) {
                m_awaitSeen = true;
            }
            m_errLine.erase(0, newline + 1);
        }
    }
}

void Session::handleEvent(XEvent &event)
{
    const double at = nowMs();
    if (event.type == MapNotify && event.xmap.event == m_root && m_mapped == 0) {
        m_mapped = event.xmap.window;
        m_mapTime = at;
        return;
    }
#ifdef KK_HAVE_XTEST_DAMAGE
    if (m_damage != 0 && event.type == m_damageEvent + XDamageNotify) {
        const auto &damage = reinterpret_cast<XDamageNotifyEvent &>(event);
        m_lastDamage = at;
        ++m_damageCount;
        if (m_watchActive && m_firstWatchDamage == 0) {
            const XRectangle &area = damage.area;
            const bool overlaps = area.x < m_watch[0] + m_watch[2]
                && m_watch[0] < area.x + area.width && area.y < m_watch[1] + m_watch[3]
                && m_watch[1] < area.y + area.height;
            if (overlaps) {
                m_firstWatchDamage = at;
            }
        }
    }
#endif
}

void Session::pump(double deadline)
{
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        handleEvent(event);
    }
    pollfd fds[2] = {{ConnectionNumber(m_display), POLLIN, 0}, {m_errFd, POLLIN, 0}};
    const int count = m_errFd >= 0 ? 2 : 1;
    const double left = deadline - nowMs();
    const int timeout = left <= 0 ? 0 : int(std::ceil(left));
    if (poll(fds, nfds_t(count), timeout) > 0) {
        if (count == 2 && (fds[1].revents & (POLLIN | POLLHUP))) {
            readChildOutput();
        }
        if (fds[0].revents & POLLIN) {
            // XPending reads what the connection holds into Xlib's queue.
            while (XPending(m_display) > 0) {
                XEvent event;
                XNextEvent(m_display, &event);
                handleEvent(event);
            }
        }
    }
}

std::string Session::windowTitle(Window window)
{
    std::string title;
    XTextProperty property{};
    if (XGetWMName(m_display, window, &property) && property.value) {
        title.assign(reinterpret_cast<const char *>(property.value), property.nitems);
        XFree(property.value);
    }
    for (char &c : title) {
        if (c == '"' || c == '\n') {
            c = '\'';
        }
    }
    return title;
}

void Session::endChild()
{
    if (m_pid <= 0) {
        return;
    }
    kill(m_pid, SIGTERM);
    const double deadline = nowMs() + 3000;
    int status = 0;
    while (true) {
        const pid_t done = waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid || (done < 0 && errno != EINTR)) {
            break;
        }
        if (nowMs() > deadline) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
            break;
        }
        // Keep draining stderr so that a program writing on its way out never blocks.
        if (m_errFd >= 0) {
            pollfd fd{m_errFd, POLLIN, 0};
            if (poll(&fd, 1, 5) > 0) {
                readChildOutput();
            }
        } else {
            usleep(2000);
        }
    }
    drainChildOutput();
    m_pid = 0;
    g_child = 0;
}

// Reads what is left of the child's stderr. A grandchild that outlives the child (a wrapper's
// tracee, say) may hold the pipe open, so the wait for its end is bounded.
void Session::drainChildOutput()
{
    const double deadline = nowMs() + 300;
    while (m_errFd >= 0) {
        pollfd fd{m_errFd, POLLIN, 0};
        const double left = deadline - nowMs();
        if (left <= 0 || poll(&fd, 1, int(left) + 1) <= 0) {
            close(m_errFd);
            m_errFd = -1;
            break;
        }
        readChildOutput();
    }
}

int Session::run(char **argv)
{
    XSelectInput(m_display, m_root, SubstructureNotifyMask);
    XSync(m_display, False);
    fcntl(ConnectionNumber(m_display), F_SETFD, FD_CLOEXEC);

    int status[2];
    int errPipe[2];
    if (pipe2(status, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        std::perror("kk-maptimer: pipe");
        return 2;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("kk-maptimer: fork");
        return 2;
    }
    if (pid == 0) {
        dup2(errPipe[1], STDERR_FILENO);
        const int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, STDIN_FILENO);
            dup2(devNull, STDOUT_FILENO);
        }
        timespec start{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        (void)!write(status[1], &start, sizeof start);
        execvp(argv[0], argv);
        const int error = errno;
        (void)!write(status[1], &error, sizeof error);
        _exit(127);
    }
    m_pid = pid;
    g_child = pid;
    close(status[1]);
    close(errPipe[1]);
    m_errFd = errPipe[0];

    timespec start{};
    if (read(status[0], &start, sizeof start) != ssize_t(sizeof start)) {
        std::fprintf(stderr, "kk-maptimer: the child did not report its start\n");
        endChild();
        return 2;
    }
    int execError = 0;
    if (read(status[0], &execError, sizeof execError) == ssize_t(sizeof execError)) {
        std::fprintf(stderr, "kk-maptimer: cannot run %s: %s\n", argv[0], std::strerror(execError));
        waitpid(pid, nullptr, 0);
        return 2;
    }
    close(status[0]);
    const double startMs = double(start.tv_sec) * 1e3 + double(start.tv_nsec) / 1e6;

    const bool mapped = waitUntil(startMs + m_options.timeoutMs, [this] {
        if (m_mapped != 0) {
            return true;
        }
        // A program that ends before mapping anything is a failure, not a wait to the timeout.
        return waitpid(m_pid, nullptr, WNOHANG) == m_pid ? (m_pid = -m_pid, true) : false;
    });
    if (m_pid < 0) {
        m_pid = 0;
        g_child = 0;
        drainChildOutput();
        std::fprintf(stderr, "kk-maptimer: %s ended without mapping a window\n", argv[0]);
        return 1;
    }
    if (!mapped) {
        std::fprintf(stderr, "kk-maptimer: no window mapped within %d ms\n", m_options.timeoutMs);
        endChild();
        return 1;
    }

    char text[512];
    std::snprintf(text, sizeof text, "map_ms=%.2f", m_mapTime - startMs);
    m_results += text;

    const double settled = m_mapTime + m_options.settleMs;
    waitUntil(settled, [] { return false; });
    if (m_options.awaitText) {
        waitUntil(settled + m_options.awaitCapMs, [this] { return m_awaitSeen; });
    }
    // Work the program defers until after its map (pictures loaded later, say) counts towards its
    // peak too: wait until it has been idle for a while before reading the peak.
    const double idleCap = nowMs() + m_options.idleCapMs;
    double idleAt = -1;
    while (m_options.idleCapMs > 0 && nowMs() < idleCap) {
        const long long before = cpuNs(m_pid);
        const double from = nowMs();
        waitUntil(from + 100, [] { return false; });
        const long long used = cpuNs(m_pid) - before;
        if (used >= 0 && used < 3'000'000) {
            idleAt = from;
            break;
        }
    }
    std::snprintf(text, sizeof text, " idle_after_map_ms=%.0f",
                  idleAt < 0 ? -1.0 : idleAt - m_mapTime);
    m_results += text;
    std::snprintf(text, sizeof text, " hwm_kb=%ld rss_kb=%ld anon_kb=%ld file_kb=%ld shmem_kb=%ld",
                  statusKb(m_pid, "VmHWM"), statusKb(m_pid, "VmRSS"), statusKb(m_pid, "RssAnon"),
                  statusKb(m_pid, "RssFile"), statusKb(m_pid, "RssShmem"));
    m_results += text;

    if (m_options.hoverMoves > 0 || m_options.pageMoves > 0) {
#ifdef KK_HAVE_XTEST_DAMAGE
        probe();
#else
        // Said on the line itself, so that a table of empty probe cells has its reason beside it.
        m_results += " probe=not-built";
#endif
    }
    std::snprintf(text, sizeof text, " hwm_end_kb=%ld", statusKb(m_pid, "VmHWM"));
    m_results += text;
    std::snprintf(text, sizeof text, " pid=%d window=0x%lx title=\"%s\"", int(m_pid), m_mapped,
                  windowTitle(m_mapped).c_str());
    m_results += text;
    if (m_options.hold) {
        std::printf("%s\n", m_results.c_str());
        std::fflush(stdout);
        hold();
        endChild();
        return 0;
    }
    endChild();
    std::printf("%s\n", m_results.c_str());
    return 0;
}

void Session::hold()
{
    struct sigaction action = {};
    action.sa_handler = onHoldSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: the signal has to cut the poll short.
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(sig, &action, nullptr);
    }
    bool ended = false;
    while (!g_stopHolding && !ended) {
        // Events are still read (and dropped) so that the server never stalls on this client.
        waitUntil(nowMs() + 200, [] { return g_stopHolding != 0; });
        ended = waitpid(m_pid, nullptr, WNOHANG) == m_pid;
    }
    if (ended) {
        m_pid = 0;
        g_child = 0;
        drainChildOutput();
    }
}

#ifdef KK_HAVE_XTEST_DAMAGE
bool Session::startDamage()
{
    int major = 0, minor = 0;
    if (!XDamageQueryExtension(m_display, &m_damageEvent, &m_damageError)
        || !XDamageQueryVersion(m_display, &major, &minor)) {
        return false;
    }
    m_damage = XDamageCreate(m_display, m_mapped, XDamageReportRawRectangles);
    XSync(m_display, False);
    return true;
}

// Waits until no damage has arrived for quietMs (at least quietMs, at most capMs).
void Session::waitQuiet(double quietMs, double capMs)
{
    const double cap = nowMs() + capMs;
    double quietSince = nowMs();
    while (true) {
        quietSince = std::max(quietSince, m_lastDamage);
        const double now = nowMs();
        if (now >= quietSince + quietMs || now >= cap) {
            return;
        }
        pump(std::min(quietSince + quietMs, cap));
    }
}

std::vector<char> Session::grab(int x, int y, int w, int h)
{
    std::vector<char> bytes;
    XImage *image
        = XGetImage(m_display, m_mapped, x, y, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (image) {
        bytes.assign(image->data,
                     image->data + size_t(image->bytes_per_line) * size_t(image->height));
        XDestroyImage(image);
    }
    return bytes;
}

void Session::probe()
{
    int tmpEvent = 0, tmpError = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_display, &tmpEvent, &tmpError, &major, &minor) || !startDamage()) {
        m_results += " probe=unavailable";
        return;
    }
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_display, m_mapped, &attributes);
    Window child = 0;
    XTranslateCoordinates(m_display, m_mapped, m_root, 0, 0, &m_winX, &m_winY, &child);
    m_winW = attributes.width;
    m_winH = attributes.height;
    if (m_options.design[0] <= 0 || m_options.design[1] <= 0) {
        m_results += " probe=no-design";
        return;
    }
    m_scale = double(m_winW) / m_options.design[0];
    m_clientTop = m_winH - px(m_options.design[1]);
    // Whatever the program paints after its first map settles first.
    waitQuiet(200, 5000);
    if (m_options.hoverMoves > 0 && m_options.hover[0] >= 0) {
        hoverProbe();
    }
    if (m_options.pageMoves > 0 && m_options.pageClick[0] >= 0) {
        pageProbe();
    }
}

void Session::hoverProbe()
{
    const int cx = clientX(m_options.hover[0]);
    const int cy = clientY(m_options.hover[1]);
    // Entering the button may highlight it and show its description; that is not what is measured.
    XTestFakeMotionEvent(m_display, -1, cx, cy, 0);
    XSync(m_display, False);
    waitQuiet(250, 5000);

    const std::vector<char> before = grab(0, 0, m_winW, m_winH);
    const long damageBefore = m_damageCount;
    const long long cpuBefore = cpuNs(m_pid);
    const double t0 = nowMs();
    static const int offsets[][2]
        = {{1, 0}, {2, 1}, {3, -1}, {-1, 2}, {-2, -2}, {4, 1}, {-3, 0}, {0, -3}};
    for (int i = 0; i < m_options.hoverMoves; ++i) {
        const int *d = offsets[i % 8];
        XTestFakeMotionEvent(m_display, -1, cx + d[0], cy + d[1], 0);
        // One round trip per move: the server has delivered each move before the next is sent.
        XSync(m_display, False);
    }
    const double sent = nowMs() - t0;
    waitQuiet(300, 5000);
    const long long cpuAfter = cpuNs(m_pid);
    const std::vector<char> after = grab(0, 0, m_winW, m_winH);
    char text[256];
    std::snprintf(text, sizeof text,
                  " hover_moves=%d hover_send_ms=%.1f hover_repaints=%ld hover_changed=%d "
                  "hover_cpu_ms=%.2f hover_cpu_us_per_move=%.1f",
                  m_options.hoverMoves, sent, m_damageCount - damageBefore, before != after ? 1 : 0,
                  double(cpuAfter - cpuBefore) / 1e6,
                  double(cpuAfter - cpuBefore) / 1e3 / m_options.hoverMoves);
    m_results += text;

    if (m_options.hoverNext[0] >= 0) {
        // Moving into another button: the highlight moves and the description changes.
        const long count = m_damageCount;
        const long long cpu0 = cpuNs(m_pid);
        const double start = nowMs();
        XTestFakeMotionEvent(m_display, -1, clientX(m_options.hoverNext[0]),
                             clientY(m_options.hoverNext[1]), 0);
        XSync(m_display, False);
        waitUntil(start + 5000, [&] { return m_damageCount > count; });
        const double first = m_damageCount > count ? m_lastDamage - start : -1;
        waitQuiet(200, 5000);
        const double last = m_damageCount > count ? m_lastDamage - start : -1;
        std::snprintf(text, sizeof text,
                      " hover_switch_ms=%.2f hover_switch_done_ms=%.2f hover_switch_cpu_ms=%.2f",
                      first, last, double(cpuNs(m_pid) - cpu0) / 1e6);
        m_results += text;
    }
}

void Session::pageProbe()
{
    const int bx = clientX(m_options.pageClick[0]);
    const int by = clientY(m_options.pageClick[1]);
    m_watch[0] = clientX(m_options.pageWatch[0]) - m_winX;
    m_watch[1] = clientY(m_options.pageWatch[1]) - m_winY;
    m_watch[2] = px(m_options.pageWatch[2]);
    m_watch[3] = px(m_options.pageWatch[3]);

    XTestFakeMotionEvent(m_display, -1, bx, by, 0);
    XSync(m_display, False);
    waitQuiet(200, 5000);

    std::vector<double> firsts, lasts, cpus;
    int changed = 0;
    for (int i = 0; i < m_options.pageMoves; ++i) {
        // The press paints the pressed button; the release is what moves the page.
        XTestFakeButtonEvent(m_display, 1, True, 0);
        XSync(m_display, False);
        waitQuiet(150, 5000);
        const std::vector<char> before = grab(m_watch[0], m_watch[1], m_watch[2], m_watch[3]);
        m_firstWatchDamage = 0;
        m_watchActive = true;
        const long long cpu0 = cpuNs(m_pid);
        const double t0 = nowMs();
        XTestFakeButtonEvent(m_display, 1, False, 0);
        XFlush(m_display);
        waitUntil(t0 + 1000, [this] { return m_firstWatchDamage != 0; });
        waitQuiet(150, 5000);
        m_watchActive = false;
        const std::vector<char> after = grab(m_watch[0], m_watch[1], m_watch[2], m_watch[3]);
        if (m_firstWatchDamage != 0) {
            firsts.push_back(m_firstWatchDamage - t0);
            lasts.push_back(m_lastDamage - t0);
        }
        cpus.push_back(double(cpuNs(m_pid) - cpu0) / 1e6);
        changed += before != after ? 1 : 0;
        if (before == after) {
            // The last page is reached (or the click missed): further clicks would measure nothing.
            ++i;
            m_results += " page_stopped_at=" + std::to_string(i);
            break;
        }
    }
    const auto median = [](std::vector<double> values) {
        if (values.empty()) {
            return -1.0;
        }
        std::sort(values.begin(), values.end());
        const size_t n = values.size();
        return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    };
    const auto maximum = [](const std::vector<double> &values) {
        return values.empty() ? -1.0 : *std::max_element(values.begin(), values.end());
    };
    char text[256];
    std::snprintf(text, sizeof text,
                  " page_moves=%d page_changed=%d page_ms=%.2f page_max_ms=%.2f page_done_ms=%.2f "
                  "page_cpu_ms=%.2f",
                  m_options.pageMoves, changed, median(firsts), maximum(firsts), median(lasts),
                  median(cpus));
    m_results += text;
    std::string all = " page_all_ms=";
    for (size_t k = 0; k < firsts.size(); ++k) {
        std::snprintf(text, sizeof text, k ? ",%.1f" : "%.1f", firsts[k]);
        all += text;
    }
    m_results += all;
}
#endif
} // namespace

int main(int argc, char **argv)
{
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> const char * {
            if (i + 1 >= argc) {
                usage();
            }
            return argv[++i];
        };
        if (arg == "--") {
            ++i;
            break;
        } else if (arg == "-s") {
            options.settleMs = std::atoi(value());
        } else if (arg == "-t") {
            options.timeoutMs = std::atoi(value());
        } else if (arg == "-p") {
            options.awaitText = value();
        } else if (arg == "-P") {
            options.awaitCapMs = std::atoi(value());
        } else if (arg == "-i") {
            options.idleCapMs = std::atoi(value());
        } else if (arg == "-q") {
            options.quiet = true;
        } else if (arg == "--hold") {
            options.hold = true;
        } else if (arg == "--can-probe") {
#ifdef KK_HAVE_XTEST_DAMAGE
            return 0;
#else
            return 1;
#endif
        } else if (arg == "--design") {
            if (!parseInts(value(), options.design, 2))
                usage();
        } else if (arg == "--hover") {
            if (!parseInts(value(), options.hover, 2))
                usage();
        } else if (arg == "--hover-next") {
            if (!parseInts(value(), options.hoverNext, 2))
                usage();
        } else if (arg == "--hover-moves") {
            options.hoverMoves = std::atoi(value());
        } else if (arg == "--page-click") {
            if (!parseInts(value(), options.pageClick, 2))
                usage();
        } else if (arg == "--page-watch") {
            if (!parseInts(value(), options.pageWatch, 4))
                usage();
        } else if (arg == "--page-moves") {
            options.pageMoves = std::atoi(value());
        } else {
            usage();
        }
    }
    if (i >= argc) {
        usage();
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "kk-maptimer: cannot open the display %s\n", XDisplayName(nullptr));
        return 2;
    }
    signal(SIGINT, onSignal);
    signal(SIGTERM, onSignal);
    signal(SIGHUP, onSignal);
    Session session(display, options);
    const int result = session.run(argv + i);
    XCloseDisplay(display);
    return result;
}
