// Starts a program and watches the X display until one of its windows shows
// a given colour at a given point of its client area: the moment the window
// has been painted on the screen. Then lets the program run a little longer,
// ends it and reads its peak memory from the kernel.
//
//   bench_first_paint FOLDER HOLD_MS RRGGBB X Y PROGRAM [ARG]...
//
// Prints one line: milliseconds from the start to the painted window, and
// the peak resident set size in KiB. The program runs in FOLDER, with
// nothing on its command line but ARG. Its windows are those on the window
// manager's client list (_NET_CLIENT_LIST) whose _NET_WM_PID is the child's
// process id; the screen is read one pixel at a time with GetImage, so the
// watch itself costs the X server little. The program learns nothing of the
// watch. Linux and X11 only: benchmark tooling, not part of the programs.
#include <xcb/xcb.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void pause(double ms) {
    timespec t{};
    t.tv_sec = static_cast<time_t>(ms / 1000);
    t.tv_nsec = static_cast<long>((ms - static_cast<double>(t.tv_sec) * 1000) * 1e6);
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

template <typename T>
struct FreeDeleter {
    void operator()(T* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter<T>>;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<uint32_t> cardinals(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property,
                                xcb_atom_t type) {
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 4096), nullptr));
    if (!reply || reply->format != 32) return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

struct Watch {
    xcb_connection_t* c = nullptr;
    xcb_window_t root = 0;
    xcb_atom_t clientList = 0;
    xcb_atom_t wmPid = 0;
    uint32_t colour = 0;
    int x = 0;
    int y = 0;

    // One of the child's windows shows the colour at (x, y) of its client area.
    bool painted(pid_t pid) const {
        for (xcb_window_t w : cardinals(c, root, clientList, XCB_ATOM_WINDOW)) {
            const auto pids = cardinals(c, w, wmPid, XCB_ATOM_CARDINAL);
            if (pids.empty() || pids.front() != static_cast<uint32_t>(pid)) continue;
            Reply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr));
            if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
            Reply<xcb_translate_coordinates_reply_t> at(xcb_translate_coordinates_reply(
                c,
                xcb_translate_coordinates(c, w, root, static_cast<int16_t>(x),
                                          static_cast<int16_t>(y)),
                nullptr));
            if (!at) continue;
            Reply<xcb_get_image_reply_t> image(
                xcb_get_image_reply(c,
                                    xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, at->dst_x,
                                                  at->dst_y, 1, 1, 0xffffffffu),
                                    nullptr));
            if (!image || xcb_get_image_data_length(image.get()) < 3) continue;
            const uint8_t* p = xcb_get_image_data(image.get());
            // A 24-bit TrueColor screen: blue, green, red in the low three bytes.
            const uint32_t rgb = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
            if (rgb == colour) return true;
        }
        return false;
    }
};

int usage() {
    std::fprintf(stderr, "usage: bench_first_paint FOLDER HOLD_MS RRGGBB X Y PROGRAM [ARG]...\n");
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 7) return usage();
    const char* folder = argv[1];
    const double holdMs = std::atof(argv[2]);
    Watch watch;
    watch.colour = static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 16));
    watch.x = std::atoi(argv[4]);
    watch.y = std::atoi(argv[5]);

    int screenNumber = 0;
    watch.c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(watch.c)) {
        std::fprintf(stderr, "bench_first_paint: cannot open the X display\n");
        return 1;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(watch.c));
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
    watch.root = screens.data->root;
    watch.clientList = atom(watch.c, "_NET_CLIENT_LIST");
    watch.wmPid = atom(watch.c, "_NET_WM_PID");

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("bench_first_paint: fork");
        return 1;
    }
    if (pid == 0) {
        if (chdir(folder) != 0) _exit(126);
        execv(argv[6], argv + 6);
        _exit(127);
    }

    // Poll every half millisecond: fine enough for start-up times of tens of
    // milliseconds, and light enough not to take a core from the program.
    double paintedAt = 0;
    int status = 0;
    rusage usage{};
    bool ended = false;
    while (paintedAt == 0) {
        if (wait4(pid, &status, WNOHANG, &usage) == pid) {
            ended = true;
            break;
        }
        if (watch.painted(pid))
            paintedAt = nowMs();
        else if (nowMs() - start > 30000)
            break;
        else
            pause(0.5);
    }
    if (!ended) {
        if (paintedAt != 0) pause(holdMs);
        kill(pid, SIGTERM);
        wait4(pid, &status, 0, &usage);
    }
    xcb_disconnect(watch.c);
    if (paintedAt == 0) {
        std::fprintf(
            stderr, "bench_first_paint: %s %s\n", argv[6],
            ended ? "ended before its window was painted" : "showed no painted window within 30 s");
        return 1;
    }
    std::printf("%.1f %ld\n", paintedAt - start, usage.ru_maxrss);
    return 0;
}
