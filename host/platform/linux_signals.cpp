// Linux platform: SIGTERM, SIGINT, SIGHUP and SIGUSR1, and SIGCONT for the frame clock, whichever
// display system draws. Pairs with linux_internal.h and host/platform.h (takeStopRequest,
// takeResumedFromStop).
//
// The one path of a stop signal. Until deferStop() (called just before the server's blanking is
// switched off, and when the saver window is shown) the handler ends the process at once: nothing
// needs putting back. From then on it only sets the request and writes the wake-up pipe: sleepMs
// returns early, the message box of the dialogs module is dismissed, and the frame loop's next turn
// finds it through takeStopRequest() and destroys the saver window; the window procedure's
// WM_DESTROY posts the quit message, and the frame loop ends through the normal tear-down, which puts
// the server's blanking back (X11).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "host/platform/linux_internal.h"

namespace {

volatile sig_atomic_t deferred = 0;
volatile sig_atomic_t requested = 0;
volatile sig_atomic_t continued = 0;
int wakeRead = -1;
int wakeWrite = -1;

void onStopSignal(int) {
    // Nothing is open yet that needs closing: the dialog writes its file in one step, and the
    // server's blanking is only switched off once the stop is deferred.
    if (!deferred) _exit(0);
    requested = 1;
    if (wakeWrite >= 0) {
        const int saved = errno;
        const char byte = 1;
        ssize_t written = write(wakeWrite, &byte, 1);
        (void)written;
        errno = saved;
    }
}

void onContinue(int) { continued = 1; }

long long monotonicMs() { return linux_platform::monotonicNs() / 1000000; }

}  // namespace

namespace linux_platform {

void installStopHandlers() {
    int ends[2];
    if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) {
        wakeRead = ends[0];
        wakeWrite = ends[1];
    }
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // The terminal that started the saver closing, or the session ending, must not leave the
    // server's blanking switched off either.
    sigaction(SIGHUP, &action, nullptr);
    // A screen locker's request to start the saver over (xsecurelock's reset when its password
    // prompt closes): the saver ends cleanly and the locker starts it again, or does without.
    sigaction(SIGUSR1, &action, nullptr);
    action.sa_handler = onContinue;
    sigaction(SIGCONT, &action, nullptr);
}

void deferStop() { deferred = 1; }

bool stopRequested() { return requested != 0; }

void sleepUnlessStopped(std::uint32_t milliseconds) {
    const long long end = monotonicMs() + milliseconds;
    for (;;) {
        if (requested) return;
        const long long left = end - monotonicMs();
        if (left <= 0) return;
        if (wakeRead < 0) {
            const timespec pause = {static_cast<time_t>(left / 1000), static_cast<long>(left % 1000) * 1000000};
            nanosleep(&pause, nullptr);
            continue;
        }
        pollfd wake = {wakeRead, POLLIN, 0};
        poll(&wake, 1, static_cast<int>(left));
    }
}

}  // namespace linux_platform

namespace platform {

bool takeStopRequest() {
    static bool taken = false;
    if (taken || !requested) return false;
    taken = true;
    return true;
}

bool takeResumedFromStop() {
    if (!continued) return false;
    continued = 0;
    return true;
}

}  // namespace platform
