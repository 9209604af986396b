#pragma once

#include "desktop/ApplicationHost.h"
#include "desktop/SessionBus.h"

#include "foundation/QtRunLoopDriver.h"
#include "ui/App.h"

#include <QApplication>

#include <memory>
#include <thread>

namespace desktop {

// Makes SIGINT and SIGTERM end the program through Application::terminate() at the next turn
// of the event loop, so a logout or a kill delivers the background phase (and what saves at
// it) before the program ends. Needs a QApplication; installed once.
void terminateOnSignals();

// Makes the application's style read the extension buttons' icons of menu bars and tool bars
// when first drawn instead of when each bar is made (reading one loads every image plug-in).
void deferExtensionIcons();

// Reads what the first window needs and only the system can tell, the font configuration, the
// user's week rules and time zone, on a thread of its own, so that it overlaps making the Qt
// application; joined when this goes, before anything measures text.
class StartPreparation {
public:
    StartPreparation();
    ~StartPreparation();
    StartPreparation(const StartPreparation&) = delete;
    StartPreparation& operator=(const StartPreparation&) = delete;

private:
    std::thread thread_;
};

// The program's entry: makes the Qt application and the run-loop driver, the application
// value A once, opens its first window and runs until the program ends. The desktop file name
// is the bundle identifier.
template <ui::App A> int runApp(int argc, char** argv) {
    avoidSessionBusAutolaunch();
    auto preparation = std::make_unique<StartPreparation>();
    QApplication qt(argc, argv);
    preparation.reset();
    foundation::QtRunLoopDriver driver;
    terminateOnSignals();
    deferExtensionIcons();
    ApplicationHost host{A{}};
    host.start();
    return host.exec();
}

} // namespace desktop
