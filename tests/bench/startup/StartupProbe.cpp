// Times a program's start: from just before exec to the map of its first top-level window,
// seen from the X server (the program itself is not asked). Then waits a while and reads the
// program's resident memory, and ends it.
//
//   startup_probe SETTLE_MS PROGRAM [ARGS...]
// prints "map-ms rss-kB".
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
using TClock = std::chrono::steady_clock;

long ResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = 0;
    while (status >> key)
    {
        if (key == "VmRSS:" && status >> value)
            return value;
        status.ignore(1 << 16, '\n');
    }
    return -1;
}

/// Waits for the first MapNotify of a top-level window that is not override-redirect (a
/// menu or a tool tip); false when none comes within the deadline.
bool WaitForMap(xcb_connection_t* x, TClock::time_point deadline)
{
    const int fd = xcb_get_file_descriptor(x);
    while (TClock::now() < deadline)
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x))
        {
            const bool mapped =
                (event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect == 0;
            std::free(event);
            if (mapped)
                return true;
        }
        pollfd wait{fd, POLLIN, 0};
        ::poll(&wait, 1, 10);
    }
    return false;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf(stderr, "usage: startup_probe SETTLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);
    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x) != 0)
    {
        std::fprintf(stderr, "startup_probe: no X display\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);
    xcb_discard_reply(x, xcb_get_input_focus(x).sequence);

    const TClock::time_point start = TClock::now();
    const pid_t child = ::fork();
    if (child == 0)
    {
        ::execvp(argv[2], argv + 2);
        std::perror("startup_probe: exec");
        ::_exit(127);
    }
    const bool mapped = WaitForMap(x, start + std::chrono::seconds(20));
    const double mapMs = std::chrono::duration<double, std::milli>(TClock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long rss = ResidentKb(child);
    ::kill(child, SIGTERM);
    int status = 0;
    ::waitpid(child, &status, 0);
    xcb_disconnect(x);
    if (!mapped)
    {
        std::fprintf(stderr, "startup_probe: %s mapped no window\n", argv[2]);
        return 1;
    }
    std::printf("%.2f %ld\n", mapMs, rss);
    return 0;
}
