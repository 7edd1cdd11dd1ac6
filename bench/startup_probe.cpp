// Start-up probe for bench/startup.sh: starts a program and reports, on one line,
//   <ms from start to the window being mapped> <CPU ms of the process by then> <resident MB
//   after SETTLE_MS more>
// Usage: startup_probe WINDOW_NAME SETTLE_MS PROGRAM [ARGS...]
// One X connection watches the root window for the map, so the probe itself neither polls the
// server nor competes with the program for it.
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

bool hasName(Display *display, Window window, const char *name)
{
    char *windowName = nullptr;
    if (!XFetchName(display, window, &windowName) || !windowName)
        return false;
    const bool same = std::strcmp(windowName, name) == 0;
    XFree(windowName);
    return same;
}

long cpuMilliseconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // Fields after the command name, which ends with the last ')': state is field 3, utime 14.
    const auto rest = line.substr(line.rfind(')') + 2);
    unsigned long user = 0;
    unsigned long system = 0;
    std::sscanf(rest.c_str(), "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user,
                &system);
    return static_cast<long>((user + system) * 1000 / sysconf(_SC_CLK_TCK));
}

long residentMegabytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long kilobytes = -1;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> kilobytes;
            break;
        }
        status.ignore(1 << 12, '\n');
    }
    return kilobytes < 0 ? -1 : kilobytes / 1024;
}

bool waitForMap(Display *display, const char *name, pid_t child, Clock::time_point deadline)
{
    const int fd = ConnectionNumber(display);
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && hasName(display, event.xmap.window, name))
                return true;
        }
        if (waitpid(child, nullptr, WNOHANG) == child)
            return false;
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        timeval tick{0, 2000};
        select(fd + 1, &fds, nullptr, nullptr, &tick);
    }
    return false;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_probe WINDOW_NAME SETTLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: no display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    const bool mapped = waitForMap(display, argv[1], child, start + std::chrono::seconds(20));
    const auto mappedAt = Clock::now();
    const long cpu = cpuMilliseconds(child);
    int status = 1;
    if (mapped) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(argv[2])));
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(mappedAt - start).count();
        std::printf("%lld %ld %ld\n", static_cast<long long>(ms), cpu, residentMegabytes(child));
        status = 0;
    } else {
        std::fprintf(stderr, "startup_probe: no window \"%s\" was mapped\n", argv[1]);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    return status;
}
