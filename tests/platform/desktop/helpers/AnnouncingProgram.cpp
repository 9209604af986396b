// A program that runs until it is signalled. Linked with the desktop layer, it announces itself
// with the bundle identifier of its bundle folder, the program's.
#include <signal.h>
#include <unistd.h>

#include <cstdio>

namespace {
volatile sig_atomic_t stopRequested = 0;
}

int main() {
    // SIGTERM ends it the orderly way, withdrawing the announcement; SIGKILL cannot be caught.
    struct sigaction action {};
    action.sa_handler = [](int) { stopRequested = 1; };
    sigaction(SIGTERM, &action, nullptr);
    std::printf("ready %d\n", int(getpid()));
    std::fflush(stdout);
    while (!stopRequested)
        pause();
    return 0;
}
