#include "desktop/Application.h"
#include "desktop/RunApp.h"

#include "foundation/Bundle.h"

#include <QApplication>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace desktop {

namespace {

int signalPipe[2] = {-1, -1};

// Only what is safe in a signal handler: one byte to the event loop.
void signalled(int) {
    const char byte = 0;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

void terminateOnSignals() {
    if (signalPipe[0] >= 0 || !QCoreApplication::instance()) return;
    if (const auto identifier = foundation::Bundle::main()->bundleIdentifier())
        QGuiApplication::setDesktopFileName(QString::fromStdString(*identifier));
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char drained[16];
        while (::read(signalPipe[0], drained, sizeof drained) > 0) {
        }
        Application::shared().terminate();
    });
    struct sigaction action {};
    action.sa_handler = signalled;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

} // namespace desktop
