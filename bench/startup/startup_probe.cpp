// startup_probe PROGRAM [ARGUMENTS...]: starts a program on the X display and prints, on one
// line, the milliseconds from its start until its first window is mapped, its peak resident
// memory in KiB and its exit status. Once the window is mapped the probe asks it to close, as a
// window manager's close button would (WM_DELETE_WINDOW), and waits for the program to end.
//
// It needs an X server without a window manager: then a program's top-level window is a child
// of the root window, and its MapNotify reaches the probe as soon as the server maps it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(60);

// The first top-level window that is mapped, or none when the program ends or time runs out.
std::optional<Window> WaitForFirstMap(Display* display, pid_t child) {
    const Clock::time_point deadline = Clock::now() + kPatience;
    while (Clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                return event.xmap.window;
            }
        }
        if (waitpid(child, nullptr, WNOHANG) == child) {
            return std::nullopt;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(ConnectionNumber(display), &readable);
        timeval tick{0, 50000};
        select(ConnectionNumber(display) + 1, &readable, nullptr, nullptr, &tick);
    }
    return std::nullopt;
}

void AskToClose(Display* display, Window window) {
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = window;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &message);
    XFlush(display);
}

// Waits for the program to end, killing it when it does not; its status and peak memory.
int Reap(pid_t child, rusage& usage) {
    const Clock::time_point deadline = Clock::now() + kPatience;
    int status = 0;
    while (wait4(child, &status, WNOHANG, &usage) == 0) {
        if (Clock::now() > deadline) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            break;
        }
        usleep(10000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "startup_probe: cannot open the X display (is DISPLAY set?)\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    if (child < 0) {
        std::perror("startup_probe: fork");
        return 1;
    }
    const std::optional<Window> window = WaitForFirstMap(display, child);
    const auto shown = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (window) {
        AskToClose(display, *window);
    } else {
        kill(child, SIGKILL);
    }
    rusage usage{};
    const int status = Reap(child, usage);
    XCloseDisplay(display);
    if (!window) {
        std::fprintf(stderr, "startup_probe: %s showed no window (status %d)\n", argv[1], status);
        return 1;
    }
    std::printf("%.1f %ld %d\n", shown, usage.ru_maxrss, status);
    return 0;
}
