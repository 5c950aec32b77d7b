// Start-up time of a program as its user sees it: from exec to the moment its first top-level
// window is mapped on the X server named by DISPLAY. Runs the command Runs times, each in a
// fresh configuration folder, and prints the time of each run and their median in ms.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

double OneStart(xcb_connection_t *X, char **Command)
{
    std::string Folder = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp")
        + "/kivra-startup-XXXXXX";
    if (mkdtemp(Folder.data()) == nullptr)
        return -1;
    const auto Start = std::chrono::steady_clock::now();
    const pid_t Child = fork();
    if (Child == 0) {
        setenv("XDG_CONFIG_HOME", Folder.c_str(), 1);
        execvp(Command[0], Command);
        _exit(127);
    }
    double Ms = -1;
    while (xcb_generic_event_t *Event = xcb_wait_for_event(X)) {
        const bool Mapped = (Event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        free(Event);
        if (Mapped) {
            Ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start)
                     .count();
            break;
        }
    }
    kill(Child, SIGTERM);
    waitpid(Child, nullptr, 0);
    // Unmaps and destroys of the ended program are not the next run's map.
    usleep(200000);
    while (xcb_generic_event_t *Event = xcb_poll_for_event(X))
        free(Event);
    std::system(("rm -rf '" + Folder + "'").c_str());
    return Ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_time RUNS COMMAND [ARGS...]\n");
        return 2;
    }
    const int Runs = std::atoi(argv[1]);
    xcb_connection_t *X = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(X)) {
        std::fprintf(stderr, "no X server\n");
        return 1;
    }
    xcb_screen_t *Screen = xcb_setup_roots_iterator(xcb_get_setup(X)).data;
    const uint32_t Mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(X, Screen->root, XCB_CW_EVENT_MASK, &Mask);
    xcb_flush(X);
    std::vector<double> Times;
    for (int I = 0; I < Runs; ++I) {
        Times.push_back(OneStart(X, argv + 2));
        std::printf("%.1f\n", Times.back());
    }
    std::sort(Times.begin(), Times.end());
    std::printf("median %.1f ms\n", Times[Times.size() / 2]);
    xcb_disconnect(X);
    return 0;
}
